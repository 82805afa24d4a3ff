// The delete tool through the editor: clicks and drags at pixels, the undo history, the pixels.
#include "tools/delete_tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "board/file/board_writer.h"
#include "board/file/settings.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

class DeleteTool : public EditorScenario {
  protected:
    land *a = nullptr, *b = nullptr, *inPart = nullptr;
    group* part = nullptr;

    void SetUp() override {
        EditorScenario::SetUp();
        a = Land({10, 10});
        b = Land({20, 10});
        part = board.CreateGroup(Intern("DIP8"));
        inPart = board.CreateLand(1, 18, false, {30, 10});
        board.AppendElement(part, inPart);
        board.AppendElement(part, board.CreateLand(1, 18, false, {32, 10}));
        board.AppendElement(nullptr, part);
        editor.redraw();
        ASSERT_TRUE(editor.command(Cmd::DeleteTool));
        ASSERT_EQ(editor.tools->modes.mode(), kModeDelete);
    }
    land* Land(Point p) {
        land* e = board.CreateLand(1, 18, false, p);
        board.AppendElement(nullptr, e);
        return e;
    }
    void drag(Point from, Point to) {
        int x0, y0, x1, y1;
        pixel(from, x0, y0);
        pixel(to, x1, y1);
        editor.mouseMove(x0, y0, 0);
        editor.leftDown(x0, y0, kMkLeft);
        editor.mouseMove((x0 + x1) / 2, (y0 + y1) / 2, kMkLeft);
        editor.mouseMove(x1, y1, kMkLeft);
    }
    void release(Point at) {
        int x, y;
        pixel(at, x, y);
        editor.leftUp(x, y, 0);
    }
    size_t top() const {
        size_t n = 0;
        for (container* c : Items(board.items)) n += c != nullptr;
        return n;
    }
    std::string file() const { return WriteDocument(board); }
};

TEST_F(DeleteTool, AClickTakesThePartAndASecondClickDeletesItAsOneStep) {
    const std::string before = file();
    click({30.5, 10});  // on a land of the part: the whole part is taken
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintDeleteConfirm);
    EXPECT_EQ(editor.tools->selection.count(), 1u);
    EXPECT_EQ(top(), 2u);
    EXPECT_FALSE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    click({40, 30});  // anywhere
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(top(), 2u);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_TRUE(editor.doc.modified);
    EXPECT_TRUE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), before);
}

TEST_F(DeleteTool, CtrlTakesTheElementInsideThePartAndDecideDeletesIt) {
    click({30.5, 10}, kMkControl);
    EXPECT_EQ(result(), ToolResult::NextState);
    ASSERT_EQ(editor.tools->selection.count(), 1u);
    EXPECT_EQ(AsElement(editor.tools->selection.list.next), inPart);
    editor.character(kCharReturn);  // 決定
    EXPECT_EQ(result(), ToolResult::Committed);
    size_t members = 0;
    for (container* c : Items(part->members)) members += c != nullptr;
    EXPECT_EQ(members, 1u);
}

TEST_F(DeleteTool, EscAndBackspacePutWhatWasTakenBackInItsPlace) {
    const std::string before = file();
    click({20.5, 10});
    ASSERT_EQ(result(), ToolResult::NextState);
    editor.character(kCharEscape);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_TRUE(screenIsPlain());

    click({10.5, 10});
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(AsElement(board.items.next), a);
}

TEST_F(DeleteTool, NothingUnderTheClickBeeps) {
    const int beeps = host.beeps;
    click({45, 35});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

TEST_F(DeleteTool, WithClickToDeleteOneClickIsOneStepAndTheDialogSetsTheOption) {
    host.answer<DeleteSettingsModel>([](DeleteSettingsModel& m) {
        EXPECT_FALSE(m.deleteOnClick);
        m.deleteOnClick = true;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_EQ(host.shown<DeleteSettingsModel>(), 1);
    EXPECT_TRUE(editor.selection.deleteOnClick);
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "Delete", "<none>"), "Fast");
    EXPECT_TRUE(editor.menuState(Cmd::ClickDelete).checked);

    const std::string before = file();
    click({20.5, 10});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(top(), 2u);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), before);

    // Cancelled, the dialog changes nothing.
    host.answer<DeleteSettingsModel>([](DeleteSettingsModel& m) {
        m.deleteOnClick = false;
        return false;
    });
    editor.command(Cmd::SelectSettings);
    EXPECT_TRUE(editor.selection.deleteOnClick);
}

TEST_F(DeleteTool, ARectangleTakesWhatItHoldsAndItsBandLeavesNoTrace) {
    const std::string before = file();
    drag({5, 5}, {25, 15});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintDeleteBand);
    EXPECT_TRUE(editor.tools->overlay.band);
    // The band runs from the press point to where the mouse is now, also while it is held.
    {
        Framebuffer fb = plainScreen();
        int x0, y0, x1, y1;
        pixel({5, 5}, x0, y0);
        pixel({25, 15}, x1, y1);
        DrawRectangleBand(fb, {x0, y0}, {x1, y1}, false);
        EXPECT_TRUE(screenIs(fb));
    }
    // The arrow keys do not scroll while the band is out.
    const double left = editor.view.viewLeft;
    editor.keyDown(EditorKey::kRight);
    EXPECT_EQ(editor.view.viewLeft, left);
    release({25, 15});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_FALSE(editor.tools->overlay.band);
    EXPECT_EQ(editor.tools->selection.count(), 2u);  // a and b; the part reaches beyond
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintDeleteConfirm);
    click({40, 30});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(top(), 1u);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_TRUE(screenIsPlain());
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), before);
}

TEST_F(DeleteTool, AnEmptyRectangleBeepsAndEscClosesTheBandWithoutATrace) {
    const int beeps = host.beeps;
    drag({35, 25}, {45, 35});
    release({45, 35});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_TRUE(screenIsPlain());

    drag({5, 5}, {25, 15});
    editor.character(kCharEscape);
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_FALSE(editor.tools->overlay.band);
    EXPECT_TRUE(screenIsPlain());
}

}  // namespace
}  // namespace zevo::test
