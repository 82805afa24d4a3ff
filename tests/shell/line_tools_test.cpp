// The parallel / middle line tool and the connect / stretch / split / chamfer tool through the
// editor: clicks and drags at pixels, the dialogs, the board, the undo history, the pixels.
#include "tools/line_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "board/file/board_writer.h"
#include "board/file/settings.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"

namespace zevo::test {
namespace {

class LineTools : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        // Thin lines, so that a click on the centre line is on the element.
        editor.drawing.lineAperture = 0;
        editor.view.SetGrid(1, 1);
        editor.view.SetGridOrigin(0, 0);
        if (!editor.view.onGrid()) editor.view.ToggleOnGrid();
    }
    line* Line(Point a, Point b, int layer = 1, int aperture = 0) {
        line* l = board.CreateLine(layer, aperture, false, a, b);
        board.AppendElement(nullptr, l);
        return l;
    }
    arc* Arc(Point c, double r, double st, double en) {
        arc* a = board.CreateArc(1, 0, c, r, ToRadians(st), ToRadians(en));
        board.AppendElement(nullptr, a);
        return a;
    }
    land* Land(Point p) {
        land* e = board.CreateLand(1, 18, false, p);
        board.AppendElement(nullptr, e);
        return e;
    }
    void start(Cmd tool) {
        editor.redraw();
        ASSERT_TRUE(editor.command(tool));
    }
    // The top-level elements in document order, "L x,y x,y" and "A cx,cy r st end" (degrees).
    std::vector<std::string> items() const {
        std::vector<std::string> out;
        char buf[160];
        for (container* c : Items(board.items)) {
            if (c->kind == kLine) {
                const line* l = static_cast<const line*>(c);
                std::snprintf(buf, sizeof buf, "L %.4g,%.4g %.4g,%.4g", Tidy(l->x), Tidy(l->y),
                              Tidy(l->ex), Tidy(l->ey));
            } else if (c->kind == kArc) {
                const arc* a = static_cast<const arc*>(c);
                std::snprintf(buf, sizeof buf, "A %.4g,%.4g %.4g %.4g %.4g", Tidy(a->x), Tidy(a->y),
                              Tidy(a->r), Tidy(ToDegrees(a->st)), Tidy(ToDegrees(a->end)));
            } else {
                std::snprintf(buf, sizeof buf, "%d", c->kind);
            }
            out.emplace_back(buf);
        }
        return out;
    }
    static double Tidy(double v) { return std::fabs(v) < 1e-9 ? 0.0 : v; }
    std::string file() const { return WriteDocument(board); }
    int frames() const { return editor.tools->modes.depth(); }
    int hint() const { return editor.tools->modes.frame().hint; }
    void drag(Point from, Point to, uint32_t keys = 0) {
        int x0, y0, x1, y1;
        pixel(from, x0, y0);
        pixel(to, x1, y1);
        editor.mouseMove(x0, y0, keys);
        editor.leftDown(x0, y0, keys | kMkLeft);
        editor.mouseMove((x0 + x1) / 2, (y0 + y1) / 2, keys | kMkLeft);
        editor.mouseMove(x1, y1, keys | kMkLeft);
    }
    void release(Point at, uint32_t keys = 0) {
        int x, y;
        pixel(at, x, y);
        editor.leftUp(x, y, keys);
    }
    // After a finished operation: one more undo step, and undoing it gives back the file.
    void expectOneStepBackTo(const std::string& before, size_t steps = 1) {
        EXPECT_EQ(editor.history.doneCount(), steps);
        EXPECT_EQ(frames(), 1);
        EXPECT_TRUE(editor.doc.modified);
        EXPECT_TRUE(editor.command(Cmd::Undo));
        EXPECT_EQ(file(), before);
    }
    // After Esc: the document as it was, in its order, and no trace on the screen.
    void expectEscapeRestores(const std::string& before) {
        editor.character(kCharEscape);
        EXPECT_EQ(result(), ToolResult::Reverted);
        EXPECT_EQ(file(), before);
        EXPECT_EQ(frames(), 1);
        EXPECT_TRUE(screenIsPlain());
    }
    void answerValues(std::string spacing, std::string length, std::string count,
                      LineSetInputModel::Kind kind) {
        host.answer<LineSetInputModel>([=](LineSetInputModel& m) {
            EXPECT_EQ(m.kind(), kind);
            m.spacing = spacing;
            m.length = length;
            m.count = count;
            EXPECT_FALSE(m.decide());
            return true;
        });
    }
};

using V = std::vector<std::string>;

// ------------------------------------------------------------------ middle lines

TEST_F(LineTools, MiddleLinesBetweenParallelLinesLieAcrossTheGapAtItsMiddle) {
    Line({10, 10}, {30, 10});
    Line({10, 12}, {30, 12});
    start(Cmd::Parallel);
    EXPECT_EQ(hint(), kHintParallel);
    const std::string before = file();
    click({20, 10}, kMkShift);
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintMiddleSecond);
    EXPECT_EQ(items().size(), 1u);  // the first one is out of the board while the other is chosen
    EXPECT_FALSE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    EXPECT_FALSE(editor.toolBarState(Cmd::SelectSettings) & kTbEnabled);
    answerValues("0.5", "4", "3", LineSetInputModel::Kind::kMiddle);
    click({20, 12});
    EXPECT_EQ(result(), ToolResult::Committed);
    const V got = items();
    ASSERT_EQ(got.size(), 5u);
    // Three lines across the joining line of the closest points: at its middle and +-0.5 mm
    // along it; each 4 mm long, so parallel to the two lines here.
    std::vector<const line*> made;
    for (container* c : Items(board.items)) made.push_back(static_cast<const line*>(c));
    const double x = (made[2]->x + made[2]->ex) / 2;
    const double ys[] = {11, 11.5, 10.5};
    for (size_t i = 0; i < 3; ++i) {
        const line* l = made[2 + i];
        EXPECT_NEAR(l->y, ys[i], 1e-9);
        EXPECT_NEAR(l->ey, ys[i], 1e-9);
        EXPECT_NEAR(std::fabs(l->ex - l->x), 4, 1e-9);
        EXPECT_NEAR((l->x + l->ex) / 2, x, 1e-9);
        EXPECT_EQ(l->aperture, 0);
        EXPECT_EQ(l->layer, board.currentLayer);
    }
    EXPECT_TRUE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    EXPECT_TRUE(screenIsPlain());  // the new lines drawn, the highlight gone
    expectOneStepBackTo(before);
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(LineTools, AnEvenCountOfMiddleLinesLeavesTheMiddleFreeAndTheValuesAreKept) {
    Line({10, 10}, {30, 10});
    Line({10, 12}, {30, 12});
    editor.drawing.middleByClick = true;  // a plain click starts a middle line
    start(Cmd::Parallel);
    answerValues("1", "2", "2", LineSetInputModel::Kind::kMiddle);
    click({20, 10});
    click({20, 12});
    ASSERT_EQ(result(), ToolResult::Committed);
    std::vector<const line*> made;
    for (container* c : Items(board.items)) made.push_back(static_cast<const line*>(c));
    ASSERT_EQ(made.size(), 4u);
    EXPECT_NEAR(made[2]->y, 11.5, 1e-9);
    EXPECT_NEAR(made[3]->y, 10.5, 1e-9);
    // The next middle line's dialog shows what was typed last.
    host.answer<LineSetInputModel>([](LineSetInputModel& m) {
        EXPECT_EQ(m.spacing, "1");
        EXPECT_EQ(m.length, "2");
        EXPECT_EQ(m.count, "2");
        return false;
    });
    click({12, 10});
    click({12, 12});
    EXPECT_EQ(result(), ToolResult::PopFrame);  // left without 決定: nothing made
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_EQ(frames(), 1);
}

TEST_F(LineTools, TouchingElementsAreAShortAndNothingIsAsked) {
    Line({10, 10}, {30, 10});
    Line({20, 5}, {20, 15});
    start(Cmd::Parallel);
    const std::string before = file();
    click({15, 10}, kMkShift);
    click({20, 14});
    EXPECT_EQ(host.messages.back(), TableText(kMsgShort));
    EXPECT_EQ(host.shown<LineSetInputModel>(), 0);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(frames(), 1);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(LineTools, EscapeAndBackspaceWhileTheOtherElementIsChosenPutTheFirstBack) {
    Line({10, 10}, {30, 10});
    Line({10, 12}, {30, 12});
    Line({10, 14}, {30, 14});
    start(Cmd::Parallel);
    const std::string before = file();
    click({20, 12}, kMkShift);
    expectEscapeRestores(before);
    click({20, 12}, kMkShift);
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(file(), before);
    EXPECT_TRUE(screenIsPlain());
    // A click on empty board beeps and stays.
    const int beeps = host.beeps;
    click({20, 12}, kMkShift);
    click({50, 40});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(hint(), kHintMiddleSecond);
    expectEscapeRestores(before);
}

// ------------------------------------------------------------------ parallels

TEST_F(LineTools, ParallelsOfALineLieOnTheSideOfTheClickCentredBesideIt) {
    Line({10, 10}, {30, 10});
    start(Cmd::Parallel);
    const std::string before = file();
    click({20, 10});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintParallelSide);
    answerValues("1", "10", "2", LineSetInputModel::Kind::kParallelLine);
    click({22, 6});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 10,10 30,10", "L 15,9 25,9", "L 15,8 25,8"}));
    expectOneStepBackTo(before);
    // Esc while the side is awaited.
    click({20, 10});
    EXPECT_EQ(hint(), kHintParallelSide);
    expectEscapeRestores(before);
    EXPECT_TRUE(editor.menuState(Cmd::Parallel).enabled);
}

TEST_F(LineTools, ParallelsOfAnArcAreConcentricAndAClickInsideWithAWideSpacingMakesNone) {
    Arc({30, 20}, 5, 0, 90);
    start(Cmd::Parallel);
    const std::string before = file();
    click({35, 20});
    answerValues("2", "10", "2", LineSetInputModel::Kind::kParallelArc);
    click({40, 30});  // outside the circle
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"A 30,20 5 0 90", "A 30,20 7 0 90", "A 30,20 9 0 90"}));
    expectOneStepBackTo(before);

    // Inside the circle, spacing larger than the radius: no arc.
    click({35, 20});
    answerValues("6", "10", "1", LineSetInputModel::Kind::kParallelArc);
    click({31, 21});
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_EQ(frames(), 1);
}

TEST_F(LineTools, ParallelsAreRefusedForDotsLandsAndFilledAreasAndNotMadeOnTheLine) {
    Line({10, 10}, {10, 10});
    Land({20, 20});
    group* area = board.CreateGroup(Reserved().painted);
    group* loop = board.CreateGroup(Reserved().loop);
    board.AppendElement(area, loop);
    board.AppendElement(loop, board.CreateLine(1, 0, false, {30, 30}, {40, 30}));
    board.AppendElement(nullptr, area);
    Line({10, 40}, {30, 40});
    start(Cmd::Parallel);
    const std::string before = file();
    for (Point p : {Point{10, 10.05}, Point{20.5, 20}, Point{35, 30}}) {
        const int beeps = host.beeps;
        click(p);
        EXPECT_EQ(result(), ToolResult::Refused);
        EXPECT_EQ(host.beeps, beeps + 1);
        EXPECT_EQ(frames(), 1);
    }
    // A side click on the line's own line makes nothing.
    click({20, 40});
    answerValues("1", "5", "1", LineSetInputModel::Kind::kParallelLine);
    click({45, 40});
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

TEST_F(LineTools, TheSettingsDialogChoosesSectionsMiddleClicksAndTheApertureAndKeepsParaMode) {
    start(Cmd::Parallel);
    host.answer<ParallelSettingsModel>([](ParallelSettingsModel& m) {
        EXPECT_FALSE(m.middleByClick);
        EXPECT_TRUE(m.singleLineParallel);
        EXPECT_EQ(m.aperture, 0);
        EXPECT_EQ(m.entry(18), " 18: 1.000");
        m.singleLineParallel = false;
        m.aperture = 20;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_FALSE(editor.drawing.singleLineParallel);
    EXPECT_EQ(editor.drawing.lineAperture, 20);
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "ParaMode", "<none>"), "Lines");
    // Cancelled, nothing changes.
    host.answer<ParallelSettingsModel>([](ParallelSettingsModel& m) {
        m.middleByClick = true;
        return false;
    });
    editor.command(Cmd::SelectSettings);
    EXPECT_FALSE(editor.drawing.middleByClick);
}

TEST_F(LineTools, ASectionsParallelFollowsTheRunWithItsCornersJoined) {
    Line({10, 10}, {20, 10});
    Line({20, 20}, {20, 10});  // drawn the other way round
    Line({20, 20}, {30, 20});
    Line({40, 10}, {50, 10});  // not joined to the run
    editor.drawing.singleLineParallel = false;
    start(Cmd::Parallel);
    const std::string before = file();
    click({15, 10});
    EXPECT_EQ(hint(), kHintSectionLast);
    // A line the run does not reach is refused; the state stays.
    click({45, 10});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(hint(), kHintSectionLast);
    click({25, 20});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintSectionSide);
    answerValues("1", "99", "1", LineSetInputModel::Kind::kSection);
    click({15, 6});  // below the first line: the right side of the run
    EXPECT_EQ(result(), ToolResult::Committed);
    const V got = items();
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(V(got.begin() + 4, got.end()), (V{"L 10,9 21,9", "L 21,9 21,19", "L 21,19 30,19"}));
    expectOneStepBackTo(before);
}

TEST_F(LineTools, ASectionOfOneElementIsChosenByClickingItAgainAndEscapeWorksInEachState) {
    Line({10, 10}, {20, 10});
    Arc({40, 20}, 5, 0, 180);
    editor.drawing.singleLineParallel = false;
    start(Cmd::Parallel);
    const std::string before = file();
    click({15, 10});
    expectEscapeRestores(before);
    click({15, 10});
    click({15, 10});
    EXPECT_EQ(hint(), kHintSectionSide);
    expectEscapeRestores(before);
    // The arc: its section is itself.
    click({45, 20});
    click({45, 20});
    answerValues("1", "", "1", LineSetInputModel::Kind::kParallelArc);
    click({40, 21});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items().back(), "A 40,20 4 0 180");
    expectOneStepBackTo(before);
}

// ------------------------------------------------------------------ split

TEST_F(LineTools, CtrlSplitsALineOrAnArcAtTheNearestPoint) {
    Line({10, 10}, {30, 10});
    Arc({40, 20}, 5, 0, 180);
    start(Cmd::Connect);
    const std::string before = file();
    click({17, 10}, kMkControl);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"A 40,20 5 0 180", "L 10,10 17,10", "L 17,10 30,10"}));
    EXPECT_TRUE(screenIsPlain());
    expectOneStepBackTo(before);

    click({40, 25}, kMkControl);  // the top of the arc
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 10,10 30,10", "A 40,20 5 0 90", "A 40,20 5 90 180"}));
    expectOneStepBackTo(before);
}

TEST_F(LineTools, SplitIsRefusedAtAnEndInsideAGroupAndForLands) {
    Line({10, 10}, {30, 10});
    group* g = board.CreateGroup(Intern("DIP8"));
    board.AppendElement(g, board.CreateLine(1, 0, false, {10, 20}, {30, 20}));
    board.AppendElement(nullptr, g);
    Land({40, 30});
    start(Cmd::Connect);
    const std::string before = file();
    for (Point p : {Point{10, 10}, Point{20, 20}, Point{40.5, 30}}) {
        const int beeps = host.beeps;
        click(p, kMkControl);
        EXPECT_EQ(result(), ToolResult::Refused);
        EXPECT_EQ(host.beeps, beeps + 1);
    }
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

// ------------------------------------------------------------------ connect

TEST_F(LineTools, ConnectCutsOrExtendsTwoLinesToTheirCrossingKeepingTheFarEnds) {
    Line({10, 10}, {20, 10});
    Line({25, 15}, {25, 30});
    start(Cmd::Connect);
    const std::string before = file();
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintConnectSecond);
    click({25, 20});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 10,10 25,10", "L 25,10 25,30"}));
    expectOneStepBackTo(before);

    // Crossing lines are cut back: each keeps the end farther from the crossing.
    Line({40, 10}, {55, 10});
    Line({50, 5}, {50, 30});
    click({45, 10});
    click({50, 20});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 10,10 20,10", "L 25,15 25,30", "L 40,10 50,10", "L 50,10 50,30"}));
}

TEST_F(LineTools, ConnectTakesTheNearerOfTwoCrossingsWithAnArc) {
    Arc({30, 20}, 5, 90, 270);  // the left half
    Line({10, 18}, {20, 18});
    start(Cmd::Connect);
    const std::string before = file();
    click({15, 18});
    click({25, 20});  // on the arc's left side
    EXPECT_EQ(result(), ToolResult::Committed);
    // The line reaches the arc's left crossing at x = 30 - sqrt(21); the arc's end nearer to it
    // (its end at 270 degrees, the bottom) turns to there.
    const double x = 30 - std::sqrt(21.0);
    const line* l = nullptr;
    const arc* a = nullptr;
    for (container* c : Items(board.items)) {
        if (c->kind == kLine) l = static_cast<const line*>(c);
        if (c->kind == kArc) a = static_cast<const arc*>(c);
    }
    ASSERT_TRUE(l && a);
    EXPECT_NEAR(l->ex, x, 1e-9);
    EXPECT_NEAR(l->ey, 18, 1e-9);
    EXPECT_NEAR(a->endPt.x, x, 1e-9);
    EXPECT_NEAR(a->endPt.y, 18, 1e-9);
    EXPECT_NEAR(ToDegrees(a->st), 90, 1e-9);
    expectOneStepBackTo(before);
}

TEST_F(LineTools, ConnectOfTwoArcsMeetsAtTheirCrossing) {
    Arc({20, 20}, 5, 0, 45);
    Arc({26, 20}, 5, 135, 180);
    start(Cmd::Connect);
    const std::string before = file();
    const Point p{20 + 5 * std::cos(ToRadians(20)), 20 + 5 * std::sin(ToRadians(20))};
    const Point q{26 + 5 * std::cos(ToRadians(160)), 20 + 5 * std::sin(ToRadians(160))};
    click(p);
    click(q);
    EXPECT_EQ(result(), ToolResult::Committed);
    std::vector<const arc*> arcs;
    for (container* c : Items(board.items)) arcs.push_back(static_cast<const arc*>(c));
    ASSERT_EQ(arcs.size(), 2u);
    // The circles cross at (23, 24) and (23, 16); the upper one is nearer to the clicks. The
    // first arc's end and the second arc's start turn there; their other ends stay.
    EXPECT_NEAR(arcs[0]->endPt.x, 23, 1e-9);
    EXPECT_NEAR(arcs[0]->endPt.y, 24, 1e-9);
    EXPECT_NEAR(ToDegrees(arcs[0]->st), 0, 1e-9);
    EXPECT_NEAR(arcs[1]->startPt.x, 23, 1e-9);
    EXPECT_NEAR(arcs[1]->startPt.y, 24, 1e-9);
    EXPECT_NEAR(ToDegrees(arcs[1]->end), 180, 1e-9);
    expectOneStepBackTo(before);
}

TEST_F(LineTools, ParallelLinesCannotBeJoinedAndLinesThatMeetAlreadyAreNoChange) {
    Line({10, 10}, {20, 10});
    Line({10, 15}, {20, 15});
    Line({20, 15}, {20, 30});
    start(Cmd::Connect);
    const std::string before = file();
    click({15, 10});
    const int beeps = host.beeps;
    click({15, 15});
    EXPECT_EQ(result(), ToolResult::Refused);  // no crossing: beep and stay
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(hint(), kHintConnectSecond);
    // Nothing under the click: beep and stay.
    click({40, 40});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(hint(), kHintConnectSecond);
    expectEscapeRestores(before);

    click({15, 15});
    click({20, 25});
    EXPECT_EQ(result(), ToolResult::Refused);  // they meet already: beep and cancel
    EXPECT_EQ(frames(), 1);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(LineTools, AConnectionThatWouldLeaveTheBoardIsRefusedAndTheLinesStay) {
    Line({1, 10}, {10, 10});
    Line({2, 20}, {5, 30});  // its line crosses y = 10 at x = -1, beyond the board's edge
    start(Cmd::Connect);
    const std::string before = file();
    click({5, 10});
    click({3.5, 25});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(hint(), kHintConnectSecond);
    EXPECT_EQ(items().size(), 1u);  // the first is still taken; nothing else changed
    expectEscapeRestores(before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

// ------------------------------------------------------------------ stretch

TEST_F(LineTools, StretchMovesTheNearerEndOntoALandALineAnArcOrTheCursor) {
    Line({10, 10}, {20, 10});
    Land({30, 12});
    start(Cmd::Connect);
    const std::string before = file();
    click({18, 10});
    click({30.5, 12}, kMkShift);  // onto the land: its centre
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items().back(), "L 10,10 30,12");
    expectOneStepBackTo(before);

    Line({35, 5}, {35, 30});
    const std::string withLine = file();
    click({18, 10});
    click({35, 20}, kMkShift);  // onto a line: the crossing
    EXPECT_EQ(items().back(), "L 10,10 35,10");
    EXPECT_EQ(editor.history.doneCount(), 1u);  // the undone stretch went to redo
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), withLine);

    click({12, 10});            // the start is nearer to the pick
    click({40, 40}, kMkShift);  // nothing there: to the (grid) cursor
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items().back(), "L 40,40 20,10");
}

TEST_F(LineTools, StretchOfALineToAnArcTakesTheCrossingNearerToTheMovedEnd) {
    Line({10, 20}, {20, 20});
    Arc({40, 20}, 5, 0, 360 - 0.01);
    start(Cmd::Connect);
    click({18, 20});
    click({45, 20}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items().back(), "L 10,20 35,20");
}

TEST_F(LineTools, AnArcsEndTurnsOntoTheTarget) {
    Arc({20, 20}, 5, 0, 90);
    Line({10, 30}, {30, 10});  // meets the circle where x + y = 40
    start(Cmd::Connect);
    click({25, 20.2});  // near the arc's start (0 degrees)
    click({30, 10}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Committed);
    const arc* a = static_cast<const arc*>(AsElement(board.items.prev));
    ASSERT_EQ(a->kind, kArc);
    EXPECT_NEAR(a->startPt.x + a->startPt.y, 40, 1e-9);  // on the line, the nearer crossing
    EXPECT_GT(a->startPt.x, 20);
    EXPECT_NEAR(a->endPt.x, 20, 1e-9);  // the far end stays
    EXPECT_NEAR(a->endPt.y, 25, 1e-9);
}

TEST_F(LineTools, TheSettingsDialogMakesThePlainClickStretchOrSplit) {
    Line({10, 10}, {20, 10});
    Land({30, 10});
    start(Cmd::Connect);
    host.answer<ConnectSettingsModel>([](ConnectSettingsModel& m) {
        EXPECT_EQ(m.click, ConnectSettingsModel::Click::kConnect);
        m.click = ConnectSettingsModel::Click::kStretch;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_TRUE(editor.drawing.stretchByClick);
    click({18, 10});
    click({30.5, 10});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items().back(), "L 10,10 30,10");

    host.answer<ConnectSettingsModel>([](ConnectSettingsModel& m) {
        m.click = ConnectSettingsModel::Click::kSplit;
        return true;
    });
    editor.command(Cmd::SelectSettings);
    EXPECT_TRUE(editor.drawing.splitByClick);
    EXPECT_FALSE(editor.drawing.stretchByClick);
    click({12, 10});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items().size(), 3u);
    // With a click option the drag takes no line groups.
    drag({5, 5}, {15, 15});
    EXPECT_EQ(frames(), 1);
}

// ------------------------------------------------------------------ chamfer

TEST_F(LineTools, ChamferRoundsACornerWithATangentArcAndKeepsTheRadius) {
    Line({10, 10}, {30, 10});
    Line({30, 10}, {30, 30});
    start(Cmd::Connect);
    const std::string before = file();
    click({20, 10}, kMkShift);
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintChamferSecond);
    host.answer<ChamferRadiusModel>([](ChamferRadiusModel& m) {
        EXPECT_EQ(m.radius, "0.5");
        m.radius = "1+1";
        EXPECT_FALSE(m.decide());
        return true;
    });
    click({30, 20});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 10,10 28,10", "L 30,12 30,30", "A 28,12 2 270 360"}));
    EXPECT_EQ(editor.drawing.chamferRadius, 2);
    EXPECT_TRUE(screenIsPlain());
    expectOneStepBackTo(before);

    // Shift on the second click: the same radius without asking.
    click({20, 10}, kMkShift);
    click({30, 20}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(host.shown<ChamferRadiusModel>(), 1);
    EXPECT_EQ(items().back(), "A 28,12 2 270 360");
}

TEST_F(LineTools, ChamferRefusesWhatCannotBeRounded) {
    Line({10, 10}, {13, 10});
    Line({13, 10}, {13, 30});
    Line({20, 40}, {30, 40}, 2);  // another layer
    Line({10, 20}, {20, 20}, 1, 0);
    start(Cmd::Connect);
    const std::string before = file();
    // A radius whose tangent point lies beyond the short line: beep, no change.
    host.answer<ChamferRadiusModel>([](ChamferRadiusModel& m) {
        m.radius = "5";
        m.decide();
        return true;
    });
    click({11, 10}, kMkShift);
    click({13, 20});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(frames(), 1);
    // Parallel lines cannot be rounded.
    click({15, 20}, kMkShift);
    click({11, 10}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(file(), before);
    // A line of another layer is no second side: nothing happens.
    click({15, 20}, kMkShift);
    click({25, 40});
    EXPECT_EQ(result(), ToolResult::Ignored);
    EXPECT_EQ(hint(), kHintChamferSecond);
    expectEscapeRestores(before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

// ------------------------------------------------------------------ line groups

class LineGroups : public LineTools {
  protected:
    void SetUp() override {
        LineTools::SetUp();
        for (double y : {10.0, 12.0, 14.0}) Line({10, y}, {20, y});
        for (double x : {30.0, 32.0, 34.0}) Line({x, 20}, {x, 30});
        start(Cmd::Connect);
        before = file();
    }
    std::string before;
};

TEST_F(LineGroups, TwoRubberLinesJoinTheirLinesPairByPairInOneStep) {
    drag({18, 8}, {18, 16});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintGroupFirst);
    {  // the rubber line runs from the press point to the cursor
        Framebuffer fb = plainScreen();
        int x0, y0, x1, y1;
        pixel({18, 8}, x0, y0);
        pixel({18, 16}, x1, y1);
        DrawLineBand(fb, {x0, y0}, {x1, y1});
        EXPECT_TRUE(screenIs(fb));
    }
    release({18, 16});
    EXPECT_EQ(hint(), kHintGroupSecondDrag);
    EXPECT_TRUE(editor.tools->selection.referenceLine.shown);
    EXPECT_FALSE(screenIsPlain());  // the reference line stays on the screen
    drag({28, 25}, {36, 25});
    EXPECT_EQ(hint(), kHintGroupSecond);
    release({36, 25});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 10,10 30,10", "L 30,10 30,30", "L 10,12 32,12", "L 32,12 32,30",
                          "L 10,14 34,14", "L 34,14 34,30"}));
    EXPECT_TRUE(screenIsPlain());
    EXPECT_FALSE(editor.tools->selection.referenceLine.shown);
    expectOneStepBackTo(before);
}

TEST_F(LineGroups, WithShiftAtTheFirstDragTheFirstGroupIsStretched) {
    drag({18, 8}, {18, 16}, kMkShift);
    release({18, 16}, kMkShift);
    drag({28, 25}, {36, 25});
    release({36, 25});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(items(), (V{"L 30,20 30,30", "L 32,20 32,30", "L 34,20 34,30", "L 10,10 30,10",
                          "L 10,12 32,12", "L 10,14 34,14"}));
    expectOneStepBackTo(before);
}

TEST_F(LineGroups, AnEmptyGroupBeepsAndEscapeLeavesNoTraceInEveryState) {
    drag({18, 8}, {18, 16});
    release({18, 16});
    drag({40, 40}, {50, 40});
    const int beeps = host.beeps;
    release({50, 40});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(frames(), 1);
    EXPECT_TRUE(screenIsPlain());

    // Esc while a rubber line is out (the button still held), and between the two.
    drag({18, 8}, {18, 16});
    expectEscapeRestores(before);
    EXPECT_FALSE(editor.tools->overlay.band);
    release({5, 45});
    drag({18, 8}, {18, 16});
    release({18, 16});
    expectEscapeRestores(before);
    drag({18, 8}, {18, 16});
    release({18, 16});
    drag({28, 25}, {36, 25});
    expectEscapeRestores(before);
    EXPECT_FALSE(editor.tools->overlay.band);
    EXPECT_FALSE(editor.tools->selection.referenceLine.shown);
}

TEST_F(LineTools, EscapeInTheConnectAndChamferStatesRestoresTheOrder) {
    Line({10, 10}, {20, 10});
    Line({25, 15}, {25, 30});
    Line({40, 10}, {50, 10});
    start(Cmd::Connect);
    const std::string before = file();
    click({15, 10});
    expectEscapeRestores(before);
    click({15, 10}, kMkShift);
    expectEscapeRestores(before);
    click({45, 10});
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(AsElement(board.items.prev)->kind, kLine);
    EXPECT_TRUE(screenIsPlain());
}

}  // namespace
}  // namespace zevo::test
