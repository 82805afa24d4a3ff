// The view as the editor shows it and the tool bar around it, driven as a user drives them: the
// crosshair and the tools' overlays following the mouse, long repaints, where the view starts
// and where the part search takes it, the buttons after a tool's frames close, the board edge,
// the title, and what the editor says (and with which icon) around its commands.
#include <gtest/gtest.h>

#include <cmath>

#include "board/model/intern.h"
#include "scripted_host.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

using zevo::testing::ScratchDir;

class EditorView : public ::testing::Test {
  protected:
    ScratchDir dir;
    ScriptedHost host;
    Editor editor{host, ScratchPaths(dir)};
    Board& board = editor.doc.board;
    const fs::path example = fs::path(ZEVO_EXAMPLES) / "example.pcb";

    void start(std::vector<std::string> args = {}) {
        editor.startUp(args);
        editor.finishStartUp();
    }
    // 10 pixels per millimetre, the board's corner at the lower left, a 1 mm grid, on-grid.
    void plainView() {
        editor.view.SetView(10, 0, 0);
        editor.view.SetGrid(1, 1);
        editor.view.SetGridOrigin(0, 0);
        if (!editor.view.onGrid()) editor.view.ToggleOnGrid();
        editor.redraw();
    }
    int countInColumn(int x, Pixel p) const {
        int n = 0;
        for (int y = 0; y < editor.screen().height(); ++y) n += editor.screen().at(x, y) == p;
        return n;
    }
    int countInRow(int y, Pixel p) const {
        int n = 0;
        for (int x = 0; x < editor.screen().width(); ++x) n += editor.screen().at(x, y) == p;
        return n;
    }
    Framebuffer plainScreen() const {
        Framebuffer fb(editor.view.clientWidth, editor.view.clientHeight);
        RenderOptions o;
        o.boardEdge = true;
        RenderBoard(board, editor.view, fb, o);
        return fb;
    }
};

// ------------------------------------------------------------------ the mouse

TEST_F(EditorView, TheCrosshairStandsOnTheGridPointTheClickTakes) {
    start();
    plainView();
    editor.options.longCursor = true;
    editor.mouseMove(103, 207, 0);
    // The click would take the grid point (10, 27): pixel column 100, row (47.9 - 27) * 10 = 209.
    const Point taken = editor.view.ScreenToInput(103, 207);
    EXPECT_DOUBLE_EQ(taken.x, 10);
    EXPECT_DOUBLE_EQ(taken.y, 27);
    const Point at = editor.view.WorldToScreen(taken);
    const int cx = int(std::lround(at.x)), cy = int(std::lround(at.y));
    ASSERT_EQ(cx, 100);
    ASSERT_EQ(cy, 209);
    const int h = editor.screen().height(), w = editor.screen().width();
    // Exclusive-or white over a black ground: most of the line is white.
    EXPECT_GT(countInColumn(cx, kWhitePen), h / 2);
    EXPECT_GT(countInRow(cy, kWhitePen), w / 2);
    EXPECT_LT(countInColumn(103, kWhitePen), 3);
    EXPECT_LT(countInRow(207, kWhitePen), 3);

    // Within the same grid cell the crosshair stays; Escape takes it away.
    const int updates = host.screenUpdates;
    editor.mouseMove(102, 208, 0);
    EXPECT_EQ(host.screenUpdates, updates);
    EXPECT_GT(countInColumn(cx, kWhitePen), h / 2);
    // Off-grid it is the mouse pixel itself.
    editor.view.ToggleOnGrid();
    editor.mouseMove(103, 207, 0);
    EXPECT_GT(countInColumn(103, kWhitePen), h / 2);
    EXPECT_LT(countInColumn(cx, kWhitePen), 3);
}

TEST_F(EditorView, ToolOverlaysFollowTheMouseWithTheLongCursorOff) {
    start();
    plainView();
    editor.options.longCursor = false;            // the default of a new settings file
    ASSERT_TRUE(editor.command(Cmd::RoundLand));  // round land: its preview follows the cursor
    editor.mouseMove(200, 200, 0);
    const Framebuffer before = editor.screen();
    const int updates = host.screenUpdates;
    editor.mouseMove(300, 100, 0);
    // The screen changed where the preview went, and the window was told to show it.
    EXPECT_GT(host.screenUpdates, updates);
    EXPECT_NE(before.pixels()[size_t(100 * before.width() + 300)],
              editor.screen().pixels()[size_t(100 * before.width() + 300)]);
    // Nothing of the crosshair is drawn.
    EXPECT_LT(countInColumn(300, kWhitePen), 30);
    // A zoom by key leaves the mouse where it is, over another point: the preview goes there.
    editor.keyDown(EditorKey::kPageDown);
    ASSERT_EQ(editor.tools->overlay.cursorPreview.size(), 1u);
    const Point under = editor.view.ScreenToInput(300, 100);
    EXPECT_DOUBLE_EQ(editor.tools->overlay.cursorPreview[0]->x, under.x);
    EXPECT_DOUBLE_EQ(editor.tools->overlay.cursorPreview[0]->y, under.y);

    // The line tool's rubber segment too, after a first click.
    editor.character(kCharEscape);
    ASSERT_TRUE(editor.command(Cmd::Line));
    editor.mouseMove(100, 100, 0);
    editor.leftDown(100, 100, kMkLeft);
    editor.leftUp(100, 100, 0);
    ASSERT_EQ(editor.tools->modes.depth(), 2);
    const int drawn = host.screenUpdates;
    const Framebuffer short_ = editor.screen();
    editor.mouseMove(250, 100, 0);
    EXPECT_GT(host.screenUpdates, drawn);
    // The segment now runs along row 99 (y 38 mm) to the cursor: column 200 changed near it.
    bool changed = false;
    for (int y = 85; y <= 113; ++y) changed |= short_.at(200, y) != editor.screen().at(200, y);
    EXPECT_TRUE(changed);
}

// ------------------------------------------------------------------ repainting

TEST_F(EditorView, ALongRepaintShowsWhatItDrewSoFarUnderTheWaitCursor) {
    start();
    plainView();
    editor.options.longCursor = false;
    // 20 003 lands inside the view, in two layers' colours: two partial copies on the way.
    std::vector<container*> lands;
    for (int i = 0; i < 20003; ++i) {
        const double d = i < 10001 ? 1.0 : 1.5;
        lands.push_back(
            board.CreateLand(i < 10001 ? 1 : 2, 18, false, {d + (i % 60), d + (i / 60) % 40}));
        board.AppendElement(nullptr, lands.back());
    }
    std::vector<Framebuffer> copies;
    host.onPartialUpdate = [&] { copies.push_back(editor.screen()); };
    host.waitCursor.clear();
    editor.redraw();
    EXPECT_EQ(host.partialUpdates, 2);
    EXPECT_EQ(host.waitCursor, (std::vector<bool>{true, false}));
    // The finished picture is the one drawn in one go (the tool's cursor mark taken off).
    editor.tools->overlay.hide();
    const Framebuffer plain = plainScreen();
    EXPECT_TRUE(
        plain.pixels().size() == editor.screen().pixels().size() &&
        std::equal(plain.pixels().begin(), plain.pixels().end(), editor.screen().pixels().begin()));
    // The first copy showed the first 10 001 lands exactly as they are drawn.
    ASSERT_EQ(copies.size(), 2u);
    for (size_t i = 10001; i < lands.size(); ++i) lands[i]->unlink(board.changes);
    const Framebuffer first = plainScreen();
    EXPECT_TRUE(
        std::equal(first.pixels().begin(), first.pixels().end(), copies[0].pixels().begin()));
    EXPECT_FALSE(std::equal(first.pixels().begin(), first.pixels().end(), plain.pixels().begin()));
    for (size_t i = 10001; i < lands.size(); ++i) board.AppendElement(nullptr, lands[i]);
}

TEST_F(EditorView, TheBoardEdgeIsDrawnWhereTheViewReachesIt) {
    start();
    plainView();  // the view stands at the board's lower-left corner
    const int h = editor.screen().height();
    // Left edge: column 0 (where no grid dot is, the edge pen itself); bottom edge: the last row.
    EXPECT_NE(editor.screen().at(0, h / 2 + 3) & kBoardEdgePen, 0u);
    EXPECT_NE(editor.screen().at(editor.screen().width() / 2 + 3, h - 1) & kBoardEdgePen, 0u);
    EXPECT_EQ(editor.screen().at(1, h / 2 + 3) & kBoardEdgePen, 0u);
    // The upper right corner of the board: the edges on the last column and the first row.
    editor.view.SetView(10, 1e6, 1e6);
    editor.redraw();
    const int w = editor.screen().width();
    EXPECT_NE(editor.screen().at(w - 1, h / 2 + 3) & kBoardEdgePen, 0u);
    EXPECT_NE(editor.screen().at(w / 2 + 3, 0) & kBoardEdgePen, 0u);
    // In the middle of the board no edge is seen.
    editor.view.SetView(10, 40, 20);
    editor.redraw();
    EXPECT_EQ(countInColumn(0, kBoardEdgePen), 0);
    EXPECT_EQ(countInRow(h - 1, kBoardEdgePen), 0);
}

// ------------------------------------------------------------------ where the view goes

TEST_F(EditorView, AnEmptyDocumentStartsOnTheMiddleOfTheBoard) {
    start();
    const ViewState& v = editor.view;
    ASSERT_TRUE(board.items.emptyList());
    EXPECT_NEAR(v.viewLeft, (v.boardWidth - v.clientWidth / v.scale) / 2, 1e-9);
    EXPECT_NEAR(v.viewBottom, (v.boardHeight - v.clientHeight / v.scale) / 2, 1e-9);
    EXPECT_GT(v.viewLeft, 0);

    // A new, smaller board without a drawing is shown whole or from its middle, never beside it.
    editor.view.SetView(v.scale * 4, 1e6, 1e6);
    host.on<BoardSizeDialogModel>([](BoardSizeDialogModel& m) {
        m.editX("100");
        m.editY("100");
        m.pressOk();
    });
    editor.command(Cmd::New);
    EXPECT_GE(v.viewLeft, 0);
    EXPECT_GE(v.viewBottom, 0);
    EXPECT_LE(v.viewLeft + v.clientWidth / v.scale, 100 + 1e-9);
    EXPECT_LE(v.viewBottom + v.clientHeight / v.scale, 100 + 1e-9);
}

TEST_F(EditorView, PartSearchStaysOnTheBoardAndKeepsTheScrollBarsInStep) {
    start({example.string()});
    // A part at the board's lower-left corner, searched at a scale that shows a corner only.
    group* g = board.CreateGroup(Intern("RES"));
    g->reference = Intern("R77");
    g->ext = board.CreatePartPlacement({1, 1}, 0);
    board.AppendElement(g, board.CreateLand(1, 18, false, {1, 1}));
    board.AppendElement(nullptr, g);
    editor.keyDown(EditorKey::kPageDown);
    editor.keyDown(EditorKey::kPageDown);
    host.partNumbers = {"R77"};
    editor.command(Cmd::PartSearch);
    const ViewState& v = editor.view;
    EXPECT_DOUBLE_EQ(v.viewLeft, 0);
    EXPECT_DOUBLE_EQ(v.viewBottom, 0);
    ViewState same = v;
    same.SetView(v.scale, v.viewLeft, v.viewBottom);
    EXPECT_EQ(v.hScrollPos, same.hScrollPos);
    EXPECT_EQ(v.vScrollPos, same.vScrollPos);
}

// ------------------------------------------------------------------ the tool bar

TEST_F(EditorView, ViewButtonsAndKeysFollowTheViewsAfterAToolFrameCloses) {
    start({example.string()});
    // A line half drawn: PageDown zooms (a previous view now exists) and memory 1 is stored.
    ASSERT_EQ(editor.tools->modes.mode(), kModeLine);
    ASSERT_TRUE(editor.tools->modes.pushState(1, kHintLineStart));
    editor.keyDown(EditorKey::kPageDown);
    editor.command(Cmd::Store1);
    host.clipboard = std::string("\x00\x01", 2);  // something to paste came meanwhile
    editor.character(kCharEscape);
    ASSERT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_TRUE(editor.toolBarState(Cmd::PreviousButton) & kTbEnabled);
    EXPECT_TRUE(editor.toolBarState(Cmd::Memory1Button) & kTbEnabled);
    EXPECT_FALSE(editor.toolBarState(Cmd::Memory2Button) & kTbEnabled);
    EXPECT_TRUE(editor.tools->modes.toolBarEnabled(Cmd::Paste));
    // Key 1 recalls the stored view.
    const double stored = editor.view.scale;
    editor.keyDown(EditorKey::kPageUp);
    ASSERT_NE(editor.view.scale, stored);
    editor.character('1');
    EXPECT_DOUBLE_EQ(editor.view.scale, stored);

    // Leaving a view tool: the same.
    editor.command(Cmd::Equipotential);  // equipotential
    ASSERT_EQ(editor.tools->modes.depth(), 2);
    editor.command(Cmd::Store2);
    editor.character(kCharEscape);
    ASSERT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_TRUE(editor.toolBarState(Cmd::Memory2Button) & kTbEnabled);
    editor.keyDown(EditorKey::kPageDown);
    editor.character('2');
    EXPECT_DOUBLE_EQ(editor.view.scale, stored);
}

// ------------------------------------------------------------------ what the editor says

TEST_F(EditorView, MessagesComeInTheirOrderWithTheirIcons) {
    start({example.string()});
    // The part coordinates: the warning about a referenced group comes before the dialog.
    group* loose = board.CreateGroup(Intern("RES"));
    loose->reference = Intern("R99");
    board.AppendElement(loose, board.CreateLand(1, 18, false, {5, 5}));
    board.AppendElement(nullptr, loose);
    size_t messagesAtDialog = 0;
    host.on<PartCoordsDialogModel>([&](PartCoordsDialogModel&) {
        messagesAtDialog = host.messages.size();
        return false;
    });
    editor.command(Cmd::PartCoords);
    ASSERT_EQ(messagesAtDialog, 1u);
    EXPECT_EQ(host.messages[0], TableText(kMsgReferenceNotPlaced));
    EXPECT_EQ(host.messages.size(), 1u);

    // A layer file that cannot be written: the message carries the error icon. (The board is
    // saved in the scratch folder first: outputs go beside the board file.)
    host.files = {dir / "board.pcb"};
    editor.command(Cmd::SaveAs);
    host.messages.clear();
    host.messageIcons.clear();
    host.on<GerberOutputDialogModel>([&](GerberOutputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[1] = (dir / "no such folder" / "top.gbr").string();
        c.files.selected[1] = true;
        return true;
    });
    editor.command(Cmd::GerberOut);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], TableText(kMsgCannotWriteOutput));
    EXPECT_EQ(host.messageIcons[0], MessageIcon::kError);

    // Saving in the old format warns once.
    host.messages.clear();
    host.files = {fs::path()};
    editor.command(Cmd::SaveOldFormat);
    EXPECT_EQ(host.messages, std::vector<std::string>{std::string(TableText(kMsgOldFormatLimits))});
}

TEST_F(EditorView, OutputsSayInTheStatusBarWhatTheyWroteAndWhere) {
    start({example.string()});
    const fs::path boardFile = dir / "board.pcb";
    host.files = {boardFile};
    editor.command(Cmd::SaveAs);
    ASSERT_TRUE(fs::exists(boardFile));
    host.on<GerberOutputDialogModel>([](GerberOutputDialogModel& dialog) {
        auto& c = dialog.target();
        for (int layer : {1, 2}) {
            c.files.name[size_t(layer)] = "layer" + std::to_string(layer);
            c.files.selected[size_t(layer)] = true;
        }
        return true;
    });
    editor.command(Cmd::GerberOut);
    ASSERT_FALSE(host.statusTexts[0].empty());
    const std::string said = host.statusTexts[0].back();
    // The two layers and the aperture list.
    EXPECT_NE(said.find("3 個のファイル"), std::string::npos) << said;
    EXPECT_NE(said.find("layer1.grb layer2.grb gout.lst"), std::string::npos) << said;
    EXPECT_NE(said.find(dir.path().string()), std::string::npos) << said;

    host.on<HoleOutputDialogModel>([](HoleOutputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[8] = "layer8";
        c.files.selected[8] = true;
        c.autoT = true;
        return true;
    });
    editor.command(Cmd::HoleOut);
    EXPECT_NE(host.statusTexts[0].back().find("layer8.hol"), std::string::npos);
    // With the coordinate display on, the text goes to the hint part.
    editor.command(Cmd::CoordinateDisplay);
    editor.command(Cmd::HoleOut);
    ASSERT_FALSE(host.statusTexts[2].empty());
    EXPECT_NE(host.statusTexts[2].back().find("layer8.hol"), std::string::npos);
}

TEST_F(EditorView, TheBoardSizeDialogSaysWhenItChangesATypedSize) {
    start();
    host.on<BoardSizeDialogModel>([](BoardSizeDialogModel& m) {
        m.editX("50");
        m.editY("40");
        m.pressOk();
    });
    editor.command(Cmd::New);
    EXPECT_DOUBLE_EQ(board.sizeX, 100);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("X 100 mm、Y 100 mm"), std::string::npos) << host.messages[0];
    // A size taken as typed goes without a word.
    host.messages.clear();
    host.on<BoardSizeDialogModel>([](BoardSizeDialogModel& m) {
        m.editX("0.7*300");
        m.editY("150");
        m.pressOk();
    });
    editor.command(Cmd::New);
    EXPECT_DOUBLE_EQ(board.sizeX, 210);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(EditorView, TheTitleShowsWhetherTheDocumentIsModified) {
    start();
    EXPECT_EQ(editor.title(), "Zevo untitled.pcb");
    plainView();
    ASSERT_TRUE(editor.command(Cmd::RoundLand));
    editor.mouseMove(100, 100, 0);
    editor.leftDown(100, 100, kMkLeft);
    editor.leftUp(100, 100, 0);
    ASSERT_TRUE(editor.doc.modified);
    EXPECT_EQ(editor.title(), "Zevo untitled.pcb *");
    const fs::path file = dir / "a.pcb";
    host.files = {file};
    editor.command(Cmd::SaveAs);
    EXPECT_EQ(editor.title(), "Zevo " + file.string());
    EXPECT_EQ(host.title, editor.title());
}

TEST(CommandShortcuts, MenusShowTheKeysOfTheKeyTables) {
    EXPECT_EQ(CommandShortcut(Cmd::Save), "Ctrl+S");
    EXPECT_EQ(CommandShortcut(Cmd::Undo), "Ctrl+Z");
    EXPECT_EQ(CommandShortcut(Cmd::DeleteElements), "Del");
    EXPECT_EQ(CommandShortcut(Cmd::Recall1), "1");
    EXPECT_EQ(CommandShortcut(Cmd::ZoomTool), "Z");
    EXPECT_TRUE(CommandShortcut(Cmd::New).empty());
}

}  // namespace
}  // namespace zevo::test
