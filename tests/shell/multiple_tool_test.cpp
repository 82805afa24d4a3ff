// The multiple tool through the editor: clicks, rectangles and keys at pixels, the commands of
// the taken items, the clipboard between two editors, checked on the board, the undo history and
// the written file.
#include "tools/multiple_tool.h"

#include <gtest/gtest.h>

#include <regex>

#include "board/file/board_writer.h"
#include "board/file/clipboard_format.h"
#include "board/file/library.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

class Multiple : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        editor.view.SetGrid(1, 1);
        editor.view.SetGridOrigin(0, 0);
        if (!editor.view.onGrid()) editor.view.ToggleOnGrid();
    }
    void start() {
        editor.redraw();
        ASSERT_TRUE(editor.command(Cmd::Multiple));
        ASSERT_EQ(editor.tools->modes.mode(), kModeMultiple);
        before = file();
        plain = plainScreen();
    }
    land* Land(Point p, int layer = 1, group* g = nullptr) {
        land* e = board.CreateLand(layer, 18, false, p);
        board.AppendElement(g, e);
        return e;
    }
    line* Line(Point a, Point b, group* g = nullptr) {
        line* e = board.CreateLine(1, 18, false, a, b);
        board.AppendElement(g, e);
        return e;
    }
    // A part "DIP" placed at p with numbered lands at p and p + (2.5, 0).
    group* Part(Point p) {
        group* g = board.CreateGroup(Intern("DIP"));
        g->ext = board.CreatePartPlacement(p, 0);
        Land(p, 1, g)->pinNo = 1;
        Land({p.x + 2.5, p.y}, 1, g)->pinNo = 2;
        board.AppendElement(nullptr, g);
        return g;
    }
    // Elements are hit on their outline: a land on its rim.
    Point Rim(Point p) const { return {p.x + board.roundHalf(18), p.y}; }
    int originLayer() const {
        for (int i = 0; i < kLayers; ++i)
            if (board.HasRole(i, kRoleOrigin)) return i;
        return -1;
    }
    std::string file() const { return WriteDocument(board); }
    std::vector<container*> items() const {
        std::vector<container*> out;
        for (container* c : Items(board.items)) out.push_back(c);
        return out;
    }
    int depth() const { return editor.tools->modes.depth(); }
    int state() const { return editor.tools->modes.frame().stateIndex; }
    size_t taken() const { return editor.tools->selection.count(); }
    // One committed step; undo gives the file back byte for byte, redo the result.
    void expectOneUndoStep() {
        EXPECT_EQ(result(), ToolResult::Committed);
        EXPECT_EQ(depth(), 1);
        EXPECT_EQ(editor.history.doneCount(), 1u);
        EXPECT_TRUE(editor.doc.modified);
        EXPECT_TRUE(screenIsPlain());
        const std::string after = file();
        ASSERT_TRUE(editor.command(Cmd::Undo));
        EXPECT_EQ(file(), before);
        ASSERT_TRUE(editor.command(Cmd::Redo));
        EXPECT_EQ(file(), after);
    }
    void expectCancelled() {
        EXPECT_EQ(depth(), 1);
        EXPECT_EQ(file(), before);
        EXPECT_EQ(editor.history.doneCount(), 0u);
        EXPECT_TRUE(editor.tools->selection.empty());
        EXPECT_TRUE(editor.tools->selection.pending.empty());
        EXPECT_TRUE(screenIsPlain());
    }
    void drag(Point a, Point b, uint32_t keys = 0) {
        int x0, y0, x1, y1;
        pixel(a, x0, y0);
        pixel(b, x1, y1);
        editor.mouseMove(x0, y0, keys);
        editor.leftDown(x0, y0, keys | kMkLeft);
        editor.mouseMove((x0 + x1) / 2, (y0 + y1) / 2, keys | kMkLeft);
        editor.mouseMove(x1, y1, keys | kMkLeft);
        editor.leftUp(x1, y1, keys);
    }

    std::string before;
    Framebuffer plain;
};

// ------------------------------------------------------------------ taking and letting go

TEST_F(Multiple, ClicksTakeWholeItemsAndShiftOrEscLetsGo) {
    group* part = Part({10, 10});
    line* a = Line({20, 10}, {30, 10});
    line* b = Line({20, 20}, {30, 20});
    start();
    EXPECT_FALSE(editor.toolBarState(Cmd::Move) & kTbEnabled);
    click(Rim({12.5, 10}));  // a land of the part: the whole part
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(state(), 1);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintMultipleTaken);
    for (Cmd id : {Cmd::Move, Cmd::JoinSplit, Cmd::Cut, Cmd::Copy})
        EXPECT_TRUE(editor.toolBarState(id) & kTbEnabled);
    click({25, 10.3});
    click({25, 20.3});
    EXPECT_EQ(taken(), 3u);
    EXPECT_TRUE(items().empty());
    // A miss beeps; Shift lets go of the last one, Backspace of the one before.
    const int beeps = host.beeps;
    click({50, 50});
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(taken(), 3u);
    click({50, 50}, kMkShift);
    EXPECT_EQ(taken(), 2u);
    EXPECT_EQ(items().back(), b);
    editor.keyDown(EditorKey::kBackspace, 0);
    EXPECT_EQ(taken(), 1u);
    // With "左クリックで解除" a miss lets go too, and with nothing left the tool is back at rest.
    editor.selection.multiClickDeselects = true;
    click({50, 50});
    EXPECT_EQ(depth(), 1);
    expectCancelled();
    const auto back = items();
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], part);
    EXPECT_EQ(back[1], a);
    EXPECT_EQ(back[2], b);

    // Esc puts everything back in its order.
    click({25, 20.3});
    click(Rim({12.5, 10}));
    editor.character(kCharEscape);
    expectCancelled();
}

TEST_F(Multiple, ARectangleTakesWhatItTouchesAndAddsUnlessRefused) {
    Part({10, 10});
    Line({20, 10}, {30, 10});
    Line({20, 30}, {30, 30});
    start();
    drag({11, 8}, {22, 12});  // crosses a land of the part and the first line
    EXPECT_EQ(state(), 1);
    EXPECT_EQ(taken(), 2u);
    // Shift refuses a second rectangle; without it the rectangle adds.
    const int beeps = host.beeps;
    drag({25, 28}, {26, 32}, kMkShift);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(taken(), 2u);
    EXPECT_EQ(state(), 1);
    drag({25, 28}, {26, 32});
    EXPECT_EQ(taken(), 3u);
    // One step back lets go of the whole second rectangle.
    editor.keyDown(EditorKey::kBackspace, 0);
    EXPECT_EQ(taken(), 2u);
    editor.character(kCharEscape);
    expectCancelled();
    // A rectangle over nothing beeps and goes back.
    drag({50, 50}, {55, 55});
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(host.beeps, beeps + 2);
}

// ------------------------------------------------------------------ moving

TEST_F(Multiple, MovingThreeItemsAndEscPutsThemBackWithoutAStep) {
    Part({10, 10});
    Line({20, 10}, {30, 10});
    Line({20, 20}, {30, 20});
    start();
    click(Rim({10, 10}));
    click({25, 10.3});
    click({25, 20.3});
    ASSERT_TRUE(editor.command(Cmd::Move));
    EXPECT_EQ(state(), 4);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintMultipleMoveFrom);
    click({20, 10});
    EXPECT_EQ(state(), 5);
    EXPECT_TRUE(editor.toolBarState(Cmd::Rotate) & kTbEnabled);
    move({24, 15});
    EXPECT_EQ(result(), ToolResult::Handled);
    // The copies are drawn where they float, nothing else changes.
    Framebuffer floating = plain;
    OutlinePainter painter(board, editor.view, floating);
    for (container* c : Items(editor.tools->selection.list)) {
        if (c->kind == kGroup)
            ForEachDrawn(AsGroup(c)->members, [&](drawn* d) {
                painter.Draw(d, {kGreyPen, RasterOp::kCopy});
            });
        else
            painter.Draw(AsDrawn(c), {kGreyPen, RasterOp::kCopy});
    }
    EXPECT_TRUE(screenIs(floating));
    editor.character(kCharEscape);
    expectCancelled();
}

TEST_F(Multiple, MoveRotateAndMirrorArePutDownAsOneStep) {
    Part({10, 10});
    Line({20, 10}, {30, 10});
    start();
    drag({5, 5}, {22, 12});
    ASSERT_EQ(taken(), 2u);
    ASSERT_TRUE(editor.command(Cmd::Move));
    click({10, 10});
    move({40, 40});
    editor.character('R');  // 90 degrees about the cursor
    editor.character('M');  // mirror in x about the cursor
    click({40, 40});
    expectOneUndoStep();
    const auto now = items();
    ASSERT_EQ(now.size(), 2u);
    const group* g = AsGroup(now[0]);
    EXPECT_EQ(g->ext->pt, (Point{40, 40}));
    // (2.5, 0) turns to (0, 2.5); the mirror in x keeps it; the line (10..20, 0) to (0, 10..20).
    EXPECT_EQ(AsDrawn(AsElement(g->members.prev))->ref(), (Point{40, 42.5}));
    const line* l = static_cast<const line*>(now[1]);
    EXPECT_NEAR(l->start().x, 40, 1e-9);
    EXPECT_NEAR(l->start().y, 50, 1e-9);
    EXPECT_NEAR(l->end().y, 60, 1e-9);
}

TEST_F(Multiple, FloatingItemsOffTheBoardBeepAndKeepFloating) {
    Line({20, 10}, {30, 10});
    start();
    click({25, 10.3});
    ASSERT_TRUE(editor.command(Cmd::Move));
    click({30, 10});
    const int beeps = host.beeps;
    click({8, 10});  // the line would start at x = -2
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(state(), 5);
    click({22, 10});
    expectOneUndoStep();
    EXPECT_EQ(static_cast<const line*>(items()[0])->start(), (Point{12, 10}));
}

TEST_F(Multiple, KeyIStartsTheMoveAtTheCursor) {
    Line({20, 10}, {30, 10});
    start();
    click({25, 10.3});
    move({25, 10});
    editor.character('I');
    EXPECT_EQ(state(), 5);
    EXPECT_EQ(editor.tools->multiple.floatRef, (Point{25, 10}));
    click({25, 15});
    expectOneUndoStep();
    EXPECT_EQ(static_cast<const line*>(items()[0])->start(), (Point{20, 15}));
}

// ------------------------------------------------------------------ delete, cut, copy, paste

TEST_F(Multiple, ElementDeleteAndCutAreOneStepAndCutFillsTheClipboard) {
    Part({10, 10});
    Line({20, 10}, {30, 10});
    start();
    click({25, 10.3});
    ASSERT_TRUE(editor.command(Cmd::DeleteElements));
    expectOneUndoStep();
    EXPECT_EQ(items().size(), 1u);
    ASSERT_TRUE(editor.command(Cmd::Undo));
    EXPECT_FALSE(host.clipboard.has_value());

    editor.history.ClearHistory();
    before = file();
    click(Rim({10, 10}));
    ASSERT_TRUE(editor.command(Cmd::Cut));
    expectOneUndoStep();
    ASSERT_TRUE(host.clipboard.has_value());
    EXPECT_TRUE(editor.toolBarState(Cmd::Paste) & kTbEnabled);
}

TEST_F(Multiple, CopyOfAPartPastesItsPlacementPointAtTheCursorInAnotherEditor) {
    Part({10, 10});
    start();
    click(Rim({10, 10}));
    ASSERT_TRUE(editor.command(Cmd::Copy));
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(file(), before);  // the part is back
    EXPECT_EQ(editor.history.doneCount(), 0u);
    ASSERT_TRUE(host.clipboard.has_value());

    // The other editor gets the bytes through its own clipboard.
    zevo::testing::ScratchDir dir2;
    ScriptedHost host2;
    Editor other{host2, ScratchPaths(dir2)};
    other.startUp({});
    other.finishStartUp();
    other.options.longCursor = false;
    other.view.SetView(10, 0, 0);
    other.view.SetGrid(1, 1);
    other.view.SetGridOrigin(0, 0);
    if (!other.view.onGrid()) other.view.ToggleOnGrid();
    host2.clipboard = host.clipboard;
    other.clipboardChanged();
    const std::string empty = WriteDocument(other.doc.board);
    const Point s = other.view.WorldToScreen({30, 20});
    other.mouseMove(int(std::lround(s.x)), int(std::lround(s.y)), 0);
    ASSERT_TRUE(other.command(Cmd::Paste));
    EXPECT_EQ(other.tools->modes.mode(), kModeMultiple);
    EXPECT_EQ(other.tools->modes.frame().stateIndex, 5);
    other.leftDown(int(std::lround(s.x)), int(std::lround(s.y)), kMkLeft);
    other.leftUp(int(std::lround(s.x)), int(std::lround(s.y)), 0);
    EXPECT_EQ(other.tools->lastResult(), ToolResult::Committed);
    const container* first = AsElement(other.doc.board.items.next);
    ASSERT_EQ(first->kind, kGroup);
    const group* g = AsGroup(first);
    EXPECT_EQ(View(g->type), "DIP");
    EXPECT_EQ(g->ext->pt, (Point{30, 20}));
    EXPECT_EQ(AsDrawn(AsElement(g->members.next))->ref(), (Point{30, 20}));
    EXPECT_EQ(AsDrawn(AsElement(g->members.next))->pinNo, 1);
    // Undo takes the paste back byte for byte.
    ASSERT_TRUE(other.command(Cmd::Undo));
    EXPECT_EQ(WriteDocument(other.doc.board), empty);
}

TEST_F(Multiple, PastingFloatsTheItemsUntilEscDiscardsThem) {
    Line({20, 10}, {30, 10});
    Land({30, 14});
    start();
    click({25, 10.3});
    click(Rim({30, 14}));
    // No part: the reference is the centre of the bounds on the grid, (25, 12).
    EXPECT_EQ(SelectionReference(editor.view, board, editor.tools->selection.list),
              (Point{25, 12}));
    ASSERT_TRUE(editor.command(Cmd::Copy));
    move({40, 40});
    ASSERT_TRUE(editor.command(Cmd::Paste));
    EXPECT_EQ(state(), 5);
    EXPECT_EQ(taken(), 2u);
    EXPECT_EQ(static_cast<const line*>(AsElement(editor.tools->selection.list.next))->start(),
              (Point{35, 38}));
    editor.character(kCharEscape);
    expectCancelled();
    // Pasted again and put down: one step, undone byte for byte.
    ASSERT_TRUE(editor.command(Cmd::Paste));
    click({41, 40});
    expectOneUndoStep();
    EXPECT_EQ(static_cast<const line*>(items()[2])->start(), (Point{36, 38}));
}

TEST_F(Multiple, BadClipboardBytesPasteNothing) {
    Line({20, 10}, {30, 10});
    start();
    host.clipboard = std::string("\x40\x00\x00\x00\x01\x00", 6);  // a land record cut short
    editor.clipboardChanged();
    ASSERT_TRUE(editor.command(Cmd::Paste));
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(file(), before);
    EXPECT_TRUE(editor.tools->selection.empty());
}

TEST_F(Multiple, APastedPlainGroupBecomesATemporaryPart) {
    group* g = board.CreateGroup(nullptr);
    Line({20, 10}, {30, 10}, g);
    Line({20, 12}, {30, 12}, g);
    board.AppendElement(nullptr, g);
    start();
    click({25, 10.3});
    ASSERT_TRUE(editor.command(Cmd::Copy));
    move({40, 40});
    ASSERT_TRUE(editor.command(Cmd::Paste));
    ASSERT_EQ(taken(), 1u);
    const group* p = AsGroup(AsElement(editor.tools->selection.list.next));
    EXPECT_TRUE(std::regex_match(std::string(View(p->type)), std::regex("tmp[0-9]{12}")));
    ASSERT_NE(p->ext, nullptr);
    EXPECT_EQ(p->ext->kind, 2);
    EXPECT_EQ(p->ext->pt, (Point{40, 40}));
    editor.character(kCharEscape);
}

TEST_F(Multiple, AnOriginLandIsTheReferenceOfItems) {
    const int layer = originLayer();
    ASSERT_GE(layer, 0);
    Land({22, 10}, layer);
    Line({20, 10}, {30, 10});
    start();
    drag({15, 8}, {35, 12});
    EXPECT_EQ(SelectionReference(editor.view, board, editor.tools->selection.list),
              (Point{22, 10}));
    editor.character(kCharEscape);
}

// ------------------------------------------------------------------ join and split

TEST_F(Multiple, JoiningToACtrlPickedPartAttachesTheLinesAndClearsTheirPins) {
    Part({10, 10});
    line* a = Line({20, 10}, {30, 10});
    a->pinNo = 7;
    a->pinName = Intern("A");
    Line({20, 20}, {30, 20});
    start();
    click(Rim({10, 10}), kMkControl);
    click({25, 10.3});
    click({25, 20.3});
    host.answer<GroupSettingsModel>([](GroupSettingsModel& m) {
        EXPECT_EQ(m.selectionClass, 5);
        m.choice = GroupSettingsModel::Choice::kJoin;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::JoinSplit));
    expectOneUndoStep();
    const auto now = items();
    ASSERT_EQ(now.size(), 1u);
    const group* g = AsGroup(now[0]);
    EXPECT_EQ(View(g->type), "DIP");
    std::vector<const container*> members;
    for (const container* m : Items(g->members)) members.push_back(m);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(AsDrawn(members[0])->pinNo, 1);  // the part's own pins stay
    EXPECT_EQ(AsDrawn(members[2])->pinNo, 0);
    EXPECT_EQ(AsDrawn(members[2])->pinName, nullptr);
    EXPECT_EQ(members[2]->parent, g);
}

TEST_F(Multiple, KeysGAndBJoinIntoAPlainGroupAndSplitItAgain) {
    Part({10, 10});
    Line({20, 10}, {30, 10});
    start();
    click(Rim({10, 10}));
    click({25, 10.3});
    editor.character('G');
    expectOneUndoStep();
    ASSERT_EQ(items().size(), 1u);
    const group* g = AsGroup(items()[0]);
    EXPECT_EQ(View(g->type), "");
    EXPECT_EQ(g->ext, nullptr);
    ASSERT_EQ(g->members.next->next->next, &g->members);  // the part and the line

    // Split dissolves one level: the part stays a part, its pins cleared.
    editor.history.ClearHistory();
    before = file();
    click({25, 10.3});
    editor.character('B');
    expectOneUndoStep();
    const auto now = items();
    ASSERT_EQ(now.size(), 2u);
    ASSERT_EQ(now[0]->kind, kGroup);
    EXPECT_EQ(View(AsGroup(now[0])->type), "DIP");
    EXPECT_EQ(AsDrawn(AsElement(AsGroup(now[0])->members.next))->pinNo, 0);
    EXPECT_EQ(now[1]->kind, kLine);
}

TEST_F(Multiple, TurningOverSwapsLayersAndMirrorsAboutTheReference) {
    board.swapLayer[1] = 2;
    board.swapLayer[2] = 1;
    Part({10, 10});
    start();
    click(Rim({10, 10}));
    host.answer<GroupSettingsModel>([](GroupSettingsModel& m) {
        EXPECT_EQ(m.selectionClass, 3);
        m.choice = GroupSettingsModel::Choice::kTurnOver;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::JoinSplit));
    expectOneUndoStep();
    const group* g = AsGroup(items()[0]);
    EXPECT_EQ(g->ext->pt, (Point{10, 10}));
    const drawn* second = AsDrawn(AsElement(g->members.prev));
    EXPECT_EQ(second->layer, 2);
    EXPECT_EQ(second->ref(), (Point{7.5, 10}));
}

TEST_F(Multiple, RegisteringWritesThePartAndMakesTheItemsThatPart) {
    const int layer = originLayer();
    ASSERT_GE(layer, 0);
    Land({22, 10}, layer);
    Line({20, 10}, {30, 10});
    const fs::path library = dir.path() / "Test.lib";
    board.libraryFiles = {library.string()};
    start();
    drag({15, 8}, {35, 12});
    ASSERT_EQ(taken(), 2u);
    host.answer<GroupSettingsModel>([](GroupSettingsModel& m) {
        m.choice = GroupSettingsModel::Choice::kRegister;
        return true;
    });
    // No name: a beep, the items stay taken.
    host.answer<PartRegisterModel>([](PartRegisterModel&) { return true; });
    const int beeps = host.beeps;
    ASSERT_TRUE(editor.command(Cmd::JoinSplit));
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(taken(), 2u);
    host.answer<GroupSettingsModel>([](GroupSettingsModel& m) {
        m.choice = GroupSettingsModel::Choice::kRegister;
        return true;
    });
    host.answer<PartRegisterModel>([](PartRegisterModel& m) {
        EXPECT_EQ(m.libraries.size(), 1u);
        m.library = 0;
        m.name = " LED";
        m.attribute = "red";
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::JoinSplit));
    expectOneUndoStep();
    // The library holds the part relative to its origin land.
    EXPECT_EQ(ListParts(library), (std::vector<std::string>{"LED,red"}));
    ListNode loaded;
    loaded.initHead();
    ASSERT_TRUE(LoadPart(library, board, "LED", "red", loaded));
    const group* lib = AsGroup(AsElement(loaded.next));
    EXPECT_EQ(AsDrawn(AsElement(lib->members.next))->ref(), (Point{0, 0}));
    AsElement(loaded.next)->unlink(board.changes);
    const_cast<group*>(lib)->destroy(board);
    // On the board the items are that part, placed at the land.
    const auto now = items();
    ASSERT_EQ(now.size(), 1u);
    const group* g = AsGroup(now[0]);
    EXPECT_EQ(View(g->type), "LED");
    EXPECT_EQ(View(g->attribute), "red");
    ASSERT_NE(g->ext, nullptr);
    EXPECT_EQ(g->ext->kind, 2);
    EXPECT_EQ(g->ext->pt, (Point{22, 10}));
}

TEST_F(Multiple, APartFromALibraryFloatsAtTheCursorTurnedOverWhenAsked) {
    const int layer = originLayer();
    ASSERT_GE(layer, 0);
    board.swapLayer[1] = 2;
    board.swapLayer[2] = 1;
    // A library with the part "LED": its origin land at (5, 5) and a line to the right of it.
    const fs::path library = dir.path() / "Parts.lib";
    {
        ListNode elements;
        elements.initHead();
        board.CreateLand(layer, 18, false, {5, 5})->insertBefore(&elements, board.changes);
        board.CreateLine(1, 18, false, {5, 5}, {9, 5})->insertBefore(&elements, board.changes);
        ASSERT_EQ(RegisterPart(library, "", "LED", elements, {5, 5}, [] { return false; }),
                  LibraryResult::kDone);
        for (container* e : Items(elements)) {
            e->unlink(board.changes);
            e->destroy(board);
        }
    }
    board.libraryFiles = {library.string()};
    start();
    for (bool turnOver : {false, true}) {
        move({40, 30});
        host.answer<PartInsertModel>([turnOver](PartInsertModel& m) {
            EXPECT_EQ(m.parts(), (std::vector<std::string>{"LED"}));
            m.entry = "LED";
            m.turnOver = turnOver;
            return true;
        });
        ASSERT_TRUE(editor.command(Cmd::JoinSplit));
        EXPECT_EQ(state(), 5);
        EXPECT_TRUE(host.clipboard.has_value());
        click({40, 30});
        EXPECT_EQ(result(), ToolResult::Committed);
        const group* g = AsGroup(items().back());
        EXPECT_EQ(View(g->type), "LED");
        ASSERT_NE(g->ext, nullptr);
        EXPECT_EQ(g->ext->pt, (Point{40, 30}));
        EXPECT_EQ(AsDrawn(AsElement(g->members.next))->ref(), (Point{40, 30}));
        const line* l = static_cast<const line*>(AsElement(g->members.prev));
        EXPECT_EQ(l->layer, turnOver ? 2 : 1);
        EXPECT_EQ(l->end(), (Point{turnOver ? 36.0 : 44.0, 30}));
    }
    // A part that is not there inserts nothing.
    host.answer<PartInsertModel>([](PartInsertModel& m) {
        m.entry = "NONE";
        return true;
    });
    const std::string now = file();
    ASSERT_TRUE(editor.command(Cmd::JoinSplit));
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(file(), now);
}

TEST(SelectionClassTest, BitsAndTheAttachValue) {
    EXPECT_EQ(SelectionClass(false, 2, false, false), 0);
    EXPECT_EQ(SelectionClass(true, 2, false, true), 1);
    EXPECT_EQ(SelectionClass(false, 1, false, false), 2);
    EXPECT_EQ(SelectionClass(true, 1, true, true), 3);  // one item: nothing to attach
    EXPECT_EQ(SelectionClass(true, 3, true, true), 5);
    EXPECT_EQ(SelectionClass(true, 3, true, false), 1);
}

}  // namespace
}  // namespace zevo::test
