// The deform tool through the editor: clicks and moves at pixels, keys, commands and dialog
// answers, checked on the board, the undo history, the written file and the screen.
#include "tools/deform_tool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "board/file/board_writer.h"
#include "board/file/settings.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

// Elements are hit on their outline: with apertures of 1 mm a click 0.3 mm beside a line's or an
// arc's centre line takes it.
class Deform : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        // A 1 mm grid from the board's corner, on-grid input; apertures of 1 mm (half size 0.5).
        editor.view.SetGrid(1, 1);
        editor.view.SetGridOrigin(0, 0);
        if (!editor.view.onGrid()) editor.view.ToggleOnGrid();
    }
    // Starts the tool over the board as it is now.
    void start() {
        editor.redraw();
        ASSERT_TRUE(editor.command(Cmd::Deform));
        ASSERT_EQ(editor.tools->modes.mode(), kModeDeform);
        before = file();
        plain = plainScreen();
    }
    land* Land(Point p, int layer = 1, group* g = nullptr) {
        land* e = board.CreateLand(layer, 18, false, p);
        board.AppendElement(g, e);
        return e;
    }
    line* Line(Point a, Point b, int layer = 1, group* g = nullptr) {
        line* e = board.CreateLine(layer, 18, false, a, b);
        board.AppendElement(g, e);
        return e;
    }
    arc* Arc(Point c, double r, double st, double end) {
        arc* e = board.CreateArc(1, 18, c, r, st, end);
        board.AppendElement(nullptr, e);
        return e;
    }
    // A part "DIP" placed at p with lands at p and p + (2.5, 0).
    group* Part(Point p) {
        group* g = board.CreateGroup(Intern("DIP"));
        g->ext = board.CreatePartPlacement(p, 0);
        Land(p, 1, g);
        Land({p.x + 2.5, p.y}, 1, g);
        board.AppendElement(nullptr, g);
        return g;
    }
    std::string file() const { return WriteDocument(board); }
    std::vector<container*> items() const {
        std::vector<container*> out;
        for (container* c : Items(board.items)) out.push_back(c);
        return out;
    }
    int depth() const { return editor.tools->modes.depth(); }
    bool enabled(Cmd id) const { return editor.toolBarState(id) & kTbEnabled; }
    // The picture before the deform with the copies being dragged on it in the highlight pen.
    Framebuffer withCopies() const {
        Framebuffer fb = plain;
        OutlinePainter painter(board, editor.view, fb);
        for (container* c : Items(editor.tools->selection.list)) {
            if (c->kind == kGroup)
                ForEachDrawn(AsGroup(c)->members, [&](drawn* d) {
                    painter.Draw(d, {kGreyPen, RasterOp::kCopy});
                });
            else
                painter.Draw(AsDrawn(c), {kGreyPen, RasterOp::kCopy});
        }
        return fb;
    }
    // One committed step; one undo gives the file back byte for byte and redo the result.
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
        ASSERT_TRUE(editor.command(Cmd::Undo));
    }
    // Nothing changed and nothing of the drag is left on the screen.
    void expectCancelled() {
        EXPECT_EQ(result(), ToolResult::Reverted);
        EXPECT_EQ(depth(), 1);
        EXPECT_EQ(file(), before);
        EXPECT_EQ(editor.history.doneCount(), 0u);
        EXPECT_TRUE(editor.tools->selection.empty());
        EXPECT_TRUE(editor.tools->selection.pending.empty());
        EXPECT_TRUE(screenIsPlain());
    }
    double half() const { return board.roundHalf(18); }

    std::string before;
    Framebuffer plain;
};

// ------------------------------------------------------------------ vertex mode

TEST_F(Deform, MovingALandDragsTheLineEndOnItAndNotALineOfAnotherLayer) {
    land* l = Land({10, 10});
    line* a = Line({10, 10}, {20, 10});
    line* b = Line({10, 10}, {10, 20}, 2);
    start();
    const size_t cursors = host.waitCursor.size();
    click({10 + half(), 10});  // the land's rim
    EXPECT_EQ(result(), ToolResult::NextState);
    // The hourglass while the click looked for what follows.
    ASSERT_EQ(host.waitCursor.size(), cursors + 2);
    EXPECT_TRUE(host.waitCursor[cursors]);
    EXPECT_FALSE(host.waitCursor.back());
    EXPECT_EQ(depth(), 2);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintDeformDrag);
    EXPECT_EQ(editor.tools->deform.kind, kDeformElement);
    EXPECT_EQ(editor.tools->selection.count(), 2u);  // the land and the line that follows
    // Both are out of the document while they move; the other layer's line stays.
    EXPECT_EQ(items().size(), 1u);
    move({15, 14});
    EXPECT_EQ(result(), ToolResult::Handled);
    EXPECT_TRUE(screenIs(withCopies()));
    click({15, 14});
    expectOneUndoStep();
    // After the undo the very same nodes are back in their order.
    const auto back = items();
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], l);
    EXPECT_EQ(back[1], a);
    EXPECT_EQ(back[2], b);
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const auto now = items();
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(now[0]->kind, kLand);
    EXPECT_EQ(AsDrawn(now[0])->ref(), (Point{15, 14}));
    const line* moved = static_cast<const line*>(now[1]);
    EXPECT_EQ(moved->start(), (Point{15, 14}));
    EXPECT_EQ(moved->end(), (Point{20, 10}));
    EXPECT_EQ(now[2], b);
    EXPECT_EQ(b->start(), (Point{10, 10}));
}

TEST_F(Deform, InAMirroredViewTheDragRedrawsOnlyTheCopiesToo) {
    Land({10, 10});
    Line({10, 10}, {20, 10});
    editor.view.ToggleMirror();
    start();
    click({10 + half(), 10});
    for (Point p : {Point{14, 12}, Point{30, 25}, Point{12, 11}}) {
        move(p);
        EXPECT_TRUE(screenIs(withCopies()));
    }
    editor.character(kCharEscape);
    expectCancelled();
}

TEST_F(Deform, UnitModeWithShiftOrTheSettingMovesOnlyWhatWasTaken) {
    Land({10, 10});
    Line({10, 10}, {20, 10});
    start();
    click({10 + half(), 10}, kMkShift);
    EXPECT_TRUE(editor.tools->deform.unitMode);
    EXPECT_EQ(editor.tools->selection.count(), 1u);
    click({12, 12});
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    EXPECT_EQ(static_cast<const line*>(items()[1])->start(), (Point{10, 10}));
    EXPECT_EQ(AsDrawn(items()[0])->ref(), (Point{12, 12}));
    ASSERT_TRUE(editor.command(Cmd::Undo));

    // "単一要素(部品)選択" in the tool's settings dialog: no Shift needed, and it is kept.
    host.answer<SelectMethodModel>([](SelectMethodModel& m) {
        EXPECT_FALSE(m.singleByDefault);
        EXPECT_FALSE(m.anyAngleRotation);
        m.singleByDefault = true;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_EQ(host.shown<SelectMethodModel>(), 1);
    EXPECT_TRUE(editor.selection.selectSingleByDefault);
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "SelectSingle", "<none>"), "Yes");
    click({10 + half(), 10});
    EXPECT_TRUE(editor.tools->deform.unitMode);
    EXPECT_EQ(editor.tools->selection.count(), 1u);
    editor.character(kCharEscape);
    expectCancelled();

    // A cancelled dialog changes nothing; a new editor reads the bit back.
    host.answer<SelectMethodModel>([](SelectMethodModel& m) {
        m.singleByDefault = false;
        return false;
    });
    editor.command(Cmd::SelectSettings);
    EXPECT_TRUE(editor.selection.selectSingleByDefault);
    ScriptedHost otherHost;
    Editor other(otherHost, editor.paths);
    other.startUp({});
    EXPECT_TRUE(other.selection.selectSingleByDefault);
}

TEST_F(Deform, CtrlTakesTheElementInsideAPartAndItStaysInItsPlaceThere) {
    group* g = Part({30, 30});
    const container* inside = AsElement(g->members.next);
    start();
    click({30 + half(), 30}, kMkControl);
    EXPECT_EQ(editor.tools->deform.kind, kDeformElement);
    ASSERT_EQ(editor.tools->selection.count(), 1u);
    EXPECT_EQ(AsElement(editor.tools->selection.list.next)->kind, kLand);
    click({30, 33});
    expectOneUndoStep();
    EXPECT_EQ(AsElement(g->members.next), inside);
    ASSERT_TRUE(editor.command(Cmd::Redo));
    // The copy took the land's place in the part: first member, parent the part.
    const container* first = AsElement(g->members.next);
    EXPECT_NE(first, inside);
    EXPECT_EQ(first->parent, g);
    EXPECT_EQ(AsDrawn(first)->ref(), (Point{30, 33}));
    EXPECT_EQ(items().size(), 1u);
}

TEST_F(Deform, ALineEndMovesAndTheOtherLineAtThatCornerFollows) {
    line* a = Line({10, 10}, {20, 10});
    line* b = Line({20, 10}, {20, 20});
    Line({20, 10}, {30, 10}, 2);  // another layer: stays
    start();
    click({20, 10.3});
    EXPECT_EQ(editor.tools->deform.kind, kDeformFreeEnd);
    EXPECT_EQ(editor.tools->selection.count(), 2u);
    EXPECT_TRUE(enabled(Cmd::SelectSettings));  // a line's vertex: 変形方法設定
    EXPECT_FALSE(enabled(Cmd::Rotate));
    EXPECT_FALSE(enabled(Cmd::Mirror));
    click({22, 13});
    expectOneUndoStep();
    EXPECT_EQ(a->end(), (Point{20, 10}));
    EXPECT_EQ(b->start(), (Point{20, 10}));
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const auto now = items();
    EXPECT_EQ(static_cast<const line*>(now[0])->end(), (Point{22, 13}));
    EXPECT_EQ(static_cast<const line*>(now[1])->start(), (Point{22, 13}));
    EXPECT_EQ(static_cast<const line*>(now[2])->start(), (Point{20, 10}));
}

// ------------------------------------------------------------------ the bent line

TEST_F(Deform, TheMiddleOfAFreeLineBendsThereAndEscGivesTheSingleLineBack) {
    Land({40, 40});
    line* a = Line({10, 10}, {20, 10});
    Land({40, 30});
    start();
    click({15.2, 10.1});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->deform.kind, kDeformFreeEnd);
    EXPECT_EQ(editor.tools->selection.count(), 2u);
    // The single line has left the picture; the halves meet at the click's grid point.
    {
        Framebuffer fb = plainScreen();
        OutlinePainter painter(board, editor.view, fb);
        for (container* c : Items(editor.tools->selection.list))
            painter.Draw(AsDrawn(c), {kGreyPen, RasterOp::kCopy});
        EXPECT_TRUE(screenIs(fb));
    }
    move({16, 13});
    editor.character(kCharEscape);
    expectCancelled();
    EXPECT_EQ(items()[1], a);

    click({15.2, 10.1});
    move({16, 13});
    click({16, 13});
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    // Two lines from the ends to the point, where the single one stood in the document.
    const auto now = items();
    ASSERT_EQ(now.size(), 4u);
    ASSERT_EQ(now[1]->kind, kLine);
    ASSERT_EQ(now[2]->kind, kLine);
    EXPECT_EQ(static_cast<const line*>(now[1])->start(), (Point{10, 10}));
    EXPECT_EQ(static_cast<const line*>(now[1])->end(), (Point{16, 13}));
    EXPECT_EQ(static_cast<const line*>(now[2])->start(), (Point{20, 10}));
    EXPECT_EQ(static_cast<const line*>(now[2])->end(), (Point{16, 13}));
}

// ------------------------------------------------------------------ eight directions

TEST_F(Deform, ShiftOrTheSettingKeepsTheEndToEightDirectionsAndCtrlFrees) {
    Line({10, 10}, {20, 10});
    start();
    auto endAfter = [&](uint32_t keys) {
        click({20, 10.3});
        click({25, 12}, keys);
        EXPECT_EQ(result(), ToolResult::Committed);
        const Point e = static_cast<const line*>(items()[0])->end();
        editor.command(Cmd::Undo);
        return e;
    };
    EXPECT_EQ(endAfter(0), (Point{25, 12}));
    EXPECT_EQ(endAfter(kMkShift), (Point{25, 10}));

    // "８方向" of 変形方法設定, asked while dragging.
    click({20, 10.3});
    host.answer<DeformMethodModel>([](DeformMethodModel& m) {
        EXPECT_FALSE(m.eightAlways);
        m.eightAlways = true;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_TRUE(editor.selection.deformEightAlways);
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "DeformAngle8", "<none>"), "Yes");
    EXPECT_EQ(depth(), 2);
    click({25, 12});
    EXPECT_EQ(static_cast<const line*>(items()[0])->end(), (Point{25, 10}));
    editor.command(Cmd::Undo);
    EXPECT_EQ(endAfter(kMkControl), (Point{25, 12}));
}

// ------------------------------------------------------------------ refusals

TEST_F(Deform, PuttingItOffTheBoardBeepsAndTheDragGoesOn) {
    Land({10, 10});
    start();
    click({10 + half(), 10});
    const int beeps = host.beeps;
    click({0, 10});  // the land's edge would reach below x = 0
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(depth(), 2);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_TRUE(screenIs(withCopies()));
    click({5, 5});
    expectOneUndoStep();
}

TEST_F(Deform, AFollowerThatWouldLeaveTheBoardRefusesTooAndNothingIsLost) {
    land* l = board.CreateLand(1, 0, false, {10, 10});  // 0.1 mm across
    board.AppendElement(nullptr, l);
    line* wide = board.CreateLine(1, 28, false, {10, 10}, {20, 10});  // 2 mm across
    board.AppendElement(nullptr, wide);
    editor.view.SetGrid(0.5, 1);
    start();
    click({10.05, 10});
    ASSERT_EQ(editor.tools->selection.count(), 2u);
    const int beeps = host.beeps;
    click({0.5, 10});  // the land would fit; the wide line's end would not
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(depth(), 2);
    click({1, 10});
    expectOneUndoStep();
}

TEST_F(Deform, NothingUnderTheClickBeeps) {
    Land({10, 10});
    start();
    const int beeps = host.beeps;
    click({40, 40});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(depth(), 1);
}

TEST_F(Deform, ALineMovedOntoItsOtherEndIsDropped) {
    Line({10, 10}, {20, 10});
    Land({30, 30});
    start();
    click({20, 10.3});
    click({10, 10});
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    ASSERT_EQ(items().size(), 1u);
    EXPECT_EQ(items()[0]->kind, kLand);
}

TEST_F(Deform, AFullEndPointTableRefusesTheWholeMoveWithoutAChange) {
    // A group with more node points than the table holds.
    group* g = board.CreateGroup(Intern("MANY"));
    for (size_t i = 0; i < DeformWork::kPointCapacity / 2 + 1; ++i) Line({40, 40}, {45, 40}, 1, g);
    board.AppendElement(nullptr, g);
    // A land with more free lines ending on it than the table holds.
    Land({10, 30});
    for (size_t i = 0; i < DeformWork::kJointCapacity + 1; ++i) Line({10, 30}, {5, 30});
    start();
    const int beeps = host.beeps;
    click({42, 40.3});
    EXPECT_EQ(result(), ToolResult::Refused);
    click({10 + half(), 30});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 2);
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    // Taken alone (unit mode) neither needs the table.
    click({42, 40.3}, kMkShift);
    EXPECT_EQ(result(), ToolResult::NextState);
    click({42, 42});
    EXPECT_EQ(result(), ToolResult::Committed);
}

// ------------------------------------------------------------------ groups

TEST_F(Deform, APartMovesByItsPlacementPointAndTheTrackOnItsPadFollows) {
    Part({30, 30});
    Line({32.5, 30}, {40, 30});
    start();
    click({30 + half(), 30});
    EXPECT_EQ(editor.tools->deform.kind, kDeformGroup);
    EXPECT_EQ(editor.tools->deform.reference, (Point{30, 30}));
    EXPECT_FALSE(enabled(Cmd::LayerSelect));
    EXPECT_TRUE(enabled(Cmd::NumericInput));
    EXPECT_TRUE(enabled(Cmd::Intersection));
    EXPECT_TRUE(enabled(Cmd::SelectSettings));
    EXPECT_TRUE(enabled(Cmd::Rotate));
    EXPECT_TRUE(enabled(Cmd::Mirror));
    move({30, 35});
    EXPECT_TRUE(screenIs(withCopies()));
    click({30, 35});
    expectOneUndoStep();
    // The frame gave the buttons back.
    EXPECT_TRUE(enabled(Cmd::LayerSelect));
    EXPECT_FALSE(enabled(Cmd::NumericInput));
    EXPECT_FALSE(enabled(Cmd::Rotate));
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const group* g = AsGroup(items()[0]);
    EXPECT_EQ(g->ext->pt, (Point{30, 35}));
    EXPECT_EQ(AsDrawn(AsElement(g->members.prev))->ref(), (Point{32.5, 35}));
    EXPECT_EQ(static_cast<const line*>(items()[1])->start(), (Point{32.5, 35}));
}

TEST_F(Deform, APartTurnsAndMirrorsAboutItsPlacementPointWhileDragged) {
    Part({30, 30});
    Line({32.5, 30}, {40, 30});
    start();
    click({30 + half(), 30});
    editor.character('R');  // rotate: 90 degrees counter-clockwise
    EXPECT_EQ(result(), ToolResult::Handled);
    EXPECT_EQ(editor.tools->deform.turns.size(), 1u);
    EXPECT_TRUE(screenIs(withCopies()));
    editor.character('M');  // mirror
    EXPECT_EQ(result(), ToolResult::Handled);
    EXPECT_EQ(editor.tools->deform.turns.size(), 2u);
    click({30, 25});
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const group* g = AsGroup(items()[0]);
    // (2.5, 0) from the placement turns to (0, 2.5); the mirror in x leaves it there.
    const Point pad = AsDrawn(AsElement(g->members.prev))->ref();
    EXPECT_NEAR(pad.x, 30, 1e-9);
    EXPECT_NEAR(pad.y, 27.5, 1e-9);
    EXPECT_NEAR(g->ext->angle, kPi / 2, 1e-9);  // pi - pi/2 after the mirror
    const Point follows = static_cast<const line*>(items()[1])->start();
    EXPECT_NEAR(follows.x, 30, 1e-9);
    EXPECT_NEAR(follows.y, 27.5, 1e-9);
}

TEST_F(Deform, TheAngleIsAskedWithTheSettingOrCtrlAndStartsAt90) {
    rect* r = board.CreateRect(1, 0, {20, 20}, 4, 2, 0);
    board.AppendElement(nullptr, r);
    start();
    host.answer<SelectMethodModel>([](SelectMethodModel& m) {
        m.anyAngleRotation = true;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "AnyAngle", "<none>"), "Yes");
    click({22, 21});  // on the rectangle's outline, near no node point: it moves whole
    EXPECT_EQ(editor.tools->deform.kind, kDeformElement);
    EXPECT_TRUE(enabled(Cmd::Rotate));
    EXPECT_FALSE(enabled(Cmd::Mirror));
    host.answer<RotationAngleModel>([](RotationAngleModel& m) {
        EXPECT_EQ(m.angle, "90");
        m.angle = "30+15";
        return !m.decide();
    });
    ASSERT_TRUE(editor.command(Cmd::Rotate));
    EXPECT_EQ(host.shown<RotationAngleModel>(), 1);
    // A dialog left without 決定 turns nothing.
    host.answer<RotationAngleModel>([](RotationAngleModel&) { return false; });
    ASSERT_TRUE(editor.command(Cmd::Rotate));
    click({20, 20});
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const rect* now = static_cast<const rect*>(items()[0]);
    EXPECT_NEAR(now->ang, ToRadians(45), 1e-9);
    EXPECT_EQ(now->ref(), (Point{20, 20}));
}

TEST_F(Deform, CtrlAsksTheAngleWithoutTheSetting) {
    rect* r = board.CreateRect(1, 0, {20, 20}, 4, 2, 0);
    board.AppendElement(nullptr, r);
    start();
    click({22, 21});
    move({20, 20}, kMkControl);
    host.answer<RotationAngleModel>([](RotationAngleModel& m) {
        m.angle = "x";
        EXPECT_TRUE(m.decide().has_value());  // 計算エラー: the window stays
        m.angle = "180";
        return !m.decide();
    });
    ASSERT_TRUE(editor.command(Cmd::Rotate));
    EXPECT_EQ(host.shown<RotationAngleModel>(), 1);
    click({20, 20});
    EXPECT_NEAR(static_cast<const rect*>(items()[0])->ang, kPi, 1e-9);
}

TEST_F(Deform, AGroupWithoutPlacementMovesByTheCentreOfItsBoundsOnTheGrid) {
    group* g = board.CreateGroup(Intern(" LINES"));
    Line({10, 10}, {13, 10}, 1, g);
    Line({13, 10}, {13, 12}, 1, g);
    board.AppendElement(nullptr, g);
    EXPECT_EQ(DeformReference(editor.view, board, g), (Point{12, 11}));  // 11.5 ties up
    group* pad = board.CreateGroup(Reserved().pad);
    Line({1, 1}, {2, 2}, 1, pad);
    Land({20.3, 20.7}, 2, pad);
    EXPECT_EQ(DeformReference(editor.view, board, pad), (Point{20.3, 20.7}));
    group* holes = board.CreateGroup(Intern("H"));
    board.SetLayerName(5, "Origin");
    Land({1, 1}, 1, holes);
    Land({7.25, 3.5}, 5, holes);
    ASSERT_TRUE(board.HasRole(5, kRoleOrigin));
    EXPECT_EQ(DeformReference(editor.view, board, holes), (Point{7.25, 3.5}));
    board.AppendElement(nullptr, pad);
    board.AppendElement(nullptr, holes);
    start();
    click({11.5, 10.3});
    EXPECT_EQ(editor.tools->deform.reference, (Point{12, 11}));
    EXPECT_FALSE(enabled(Cmd::Mirror));  // no part
    click({14, 11});
    expectOneUndoStep();
}

// ------------------------------------------------------------------ typed points and arcs

TEST_F(Deform, NumericInputPutsTheReferencePointThereAndCommits) {
    Land({10, 10});
    start();
    click({10 + half(), 10});
    host.answer<NumericInputModel>([](NumericInputModel& m) {
        EXPECT_TRUE(m.nextPoint());  // relative to the reference point
        m.x = "5";
        m.y = "-2";
        return !m.pressReturn();
    });
    ASSERT_TRUE(editor.command(Cmd::NumericInput));
    EXPECT_EQ(host.shown<NumericInputModel>(), 1);
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    EXPECT_EQ(AsDrawn(items()[0])->ref(), (Point{15, 8}));
}

TEST_F(Deform, AnArcTakenAwayFromItsEndsChangesItsRadiusAndItsEndsTakeTheLinesAlong) {
    arc* a = Arc({20, 20}, 5, 0, kPi / 2);
    Line({25, 20}, {30, 20});
    Line({20, 25}, {20, 30});
    start();
    const Point onArc{20 + 5.3 * std::cos(kPi / 4), 20 + 5.3 * std::sin(kPi / 4)};
    click(onArc);
    EXPECT_EQ(editor.tools->deform.kind, kDeformRadius);
    EXPECT_EQ(editor.tools->selection.count(), 3u);
    click({27, 20});
    expectOneUndoStep();
    EXPECT_EQ(items()[0], a);
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const arc* now = static_cast<const arc*>(items()[0]);
    EXPECT_NEAR(now->r, 7, 1e-12);
    EXPECT_NEAR(static_cast<const line*>(items()[1])->start().x, 27, 1e-12);
    EXPECT_NEAR(static_cast<const line*>(items()[2])->start().y, 27, 1e-12);
    ASSERT_TRUE(editor.command(Cmd::Undo));

    // "円弧変形入力" asks for the radius and puts it down.
    click(onArc);
    host.answer<ArcDeformModel>([](ArcDeformModel& m) {
        EXPECT_EQ(m.asks(), ArcDeformModel::Asks::kRadius);
        EXPECT_EQ(m.label(), "半径");
        EXPECT_EQ(m.value, "5");
        m.value = "3";
        return !m.decide();
    });
    ASSERT_TRUE(editor.command(Cmd::NumericInput));
    EXPECT_EQ(host.shown<ArcDeformModel>(), 1);
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    EXPECT_NEAR(static_cast<const arc*>(items()[0])->r, 3, 1e-12);
}

TEST_F(Deform, AnArcEndTurnsToTheCursorOrToTheTypedAngle) {
    Arc({20, 20}, 5, 0, kPi / 2);
    Line({20, 25}, {26, 31});  // ends on the arc's end: follows it
    start();
    click({20, 25.3});  // at its end
    EXPECT_EQ(editor.tools->deform.kind, kDeformArcEnd);
    EXPECT_EQ(editor.tools->selection.count(), 2u);
    click({15, 20});  // the end point moves by (-5, -5) to the centre's left
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    const arc* now = static_cast<const arc*>(items()[0]);
    EXPECT_NEAR(now->st, 0, 1e-12);
    EXPECT_NEAR(now->end, kPi, 1e-12);
    EXPECT_NEAR(now->r, 5, 1e-12);
    const line* follows = static_cast<const line*>(items()[1]);
    EXPECT_NEAR(follows->x, 15, 1e-12);
    EXPECT_NEAR(follows->y, 20, 1e-12);
    EXPECT_EQ(follows->end(), (Point{26, 31}));
    ASSERT_TRUE(editor.command(Cmd::Undo));

    click({20, 25.3});
    host.answer<ArcDeformModel>([](ArcDeformModel& m) {
        EXPECT_EQ(m.asks(), ArcDeformModel::Asks::kAngle);
        EXPECT_EQ(m.label(), "角度");
        EXPECT_EQ(m.value, "90");
        m.value = "135";
        return !m.decide();
    });
    ASSERT_TRUE(editor.command(Cmd::NumericInput));
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    EXPECT_NEAR(static_cast<const arc*>(items()[0])->end, ToRadians(135), 1e-12);
}

// ------------------------------------------------------------------ cancelling

TEST_F(Deform, EscAndBackspaceInEveryKindPutTheDocumentBackInOrderWithoutATrace) {
    Land({10, 10});
    Line({10, 10}, {20, 10});
    Line({20, 10}, {20, 20});
    Part({30, 30});
    Arc({40, 20}, 5, 0, kPi / 2);
    rect* r = board.CreateRect(1, 0, {10, 35}, 4, 2, 0);
    board.AppendElement(nullptr, r);
    start();
    const struct {
        Point at;
        uint32_t keys;
        int kind;
    } cases[] = {
        {{10 + half(), 10}, 0, kDeformElement},
        {{20, 10.3}, 0, kDeformFreeEnd},
        {{20, 10.3}, kMkShift, kDeformLineEnd},
        {{15, 10.3}, 0, kDeformFreeEnd},
        {{30 + half(), 30}, 0, kDeformGroup},
        {{45.3, 20}, 0, kDeformArcEnd},
        {{40 + 5.3 * std::cos(kPi / 4), 20 + 5.3 * std::sin(kPi / 4)}, 0, kDeformRadius},
        {{12, 35}, kMkShift, kDeformElement},  // a rectangle's end stretches it
    };
    for (const auto& k : cases) {
        for (bool escape : {true, false}) {
            SCOPED_TRACE(::testing::Message() << k.at.x << "," << k.at.y << (escape ? " esc" : ""));
            click(k.at, k.keys);
            ASSERT_EQ(result(), ToolResult::NextState);
            EXPECT_EQ(editor.tools->deform.kind, k.kind);
            move({k.at.x + 2, k.at.y + 3});
            if (escape)
                editor.character(kCharEscape);
            else
                editor.keyDown(EditorKey::kBackspace);
            expectCancelled();
        }
    }
}

TEST_F(Deform, ARectangleTakenAloneAtAnEndStretchesThere) {
    rect* r = board.CreateRect(1, 0, {10, 35}, 4, 2, 0);
    board.AppendElement(nullptr, r);
    start();
    click({12, 35}, kMkShift);  // nearest node point: the centre line's end at (11, 35)
    EXPECT_EQ(editor.tools->deform.reference, (Point{11, 35}));
    click({14, 35});
    expectOneUndoStep();
    ASSERT_TRUE(editor.command(Cmd::Redo));
    // The other end (9, 35) stays, the width across stays.
    const rect* now = static_cast<const rect*>(items()[0]);
    EXPECT_NEAR(now->x, 11.5, 1e-12);
    EXPECT_NEAR(now->dx, 7, 1e-12);
    EXPECT_NEAR(now->dy, 2, 1e-12);
}

TEST_F(Deform, TheIntersectionInputGivesTheDragItsPoint) {
    Land({10, 10});
    Line({30, 10}, {40, 10});
    start();
    click({10 + half(), 10});
    ASSERT_TRUE(editor.command(Cmd::Intersection));
    EXPECT_EQ(editor.tools->modes.mode(), kModeIntersection);
    click({30, 10.3});  // the line's end
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(editor.tools->modes.mode(), kModeDeform);
    EXPECT_EQ(AsDrawn(items()[0])->ref(), (Point{30, 10}));
}

TEST_F(Deform, DialogModelsReadTheirFields) {
    RotationAngleModel r;
    EXPECT_EQ(r.angle, "90");
    r.angle = "1/";
    ASSERT_TRUE(r.decide());
    EXPECT_EQ(r.decide()->control, RotationAngleModel::kFieldAngle);
    EXPECT_FALSE(r.decided());
    ArcDeformModel a(ArcDeformModel::Asks::kRadius, 2.5);
    EXPECT_EQ(a.value, "2.5");
    a.value = "2*3";
    EXPECT_FALSE(a.decide());
    EXPECT_EQ(a.number, 6);
    SelectionSettings s;
    s.deleteOnClick = true;
    DeformMethodModel d(s);
    d.eightAlways = true;
    d.anyAngleRotation = true;
    const SelectionSettings t = d.applied(s);
    EXPECT_TRUE(t.deformEightAlways && t.anyAngleRotation && t.deleteOnClick);
    EXPECT_FALSE(t.selectSingleByDefault);
}

}  // namespace
}  // namespace zevo::test
