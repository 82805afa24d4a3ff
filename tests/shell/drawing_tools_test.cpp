// The drawing tools driven as a user drives them: mouse events at client pixels, keys, commands
// and dialog answers, checked on the board, the undo history and the framebuffers.
#include "tools/drawing_tools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

class Drawing : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        // A 1 mm grid from the board's corner, on-grid input.
        editor.view.SetGrid(1, 1);
        editor.view.SetGridOrigin(0, 0);
        if (!editor.view.onGrid()) editor.view.ToggleOnGrid();
        editor.redraw();
    }
    void tool(Cmd id) { ASSERT_TRUE(editor.command(id)); }
    std::vector<container*> items() const {
        std::vector<container*> out;
        for (container* c : Items(board.items)) out.push_back(c);
        return out;
    }
    const line* lineAt(size_t i) const {
        auto v = items();
        return i < v.size() && v[i]->kind == kLine ? static_cast<const line*>(v[i]) : nullptr;
    }
    Pixel colourOf(int layer) const {
        return kPalette[size_t(board.layerColour[size_t(layer)] & 15)];
    }
};

// ------------------------------------------------------------------ lands

TEST_F(Drawing, RoundLandIsPlacedAtTheSnappedCursorAsOneStepAndOredInItsLayerColour) {
    tool(Cmd::RoundLand);
    EXPECT_EQ(editor.tools->modes.mode(), kModeRoundLand);
    EXPECT_TRUE(editor.toolBarState(Cmd::RoundLand) & kTbChecked);
    click({10.3, 19.8});
    EXPECT_EQ(result(), ToolResult::Committed);
    ASSERT_EQ(items().size(), 1u);
    const land* l = static_cast<const land*>(items()[0]);
    EXPECT_EQ(l->kind, kLand);
    EXPECT_DOUBLE_EQ(l->x, 10);
    EXPECT_DOUBLE_EQ(l->y, 20);
    EXPECT_EQ(l->aperture, 18);
    EXPECT_EQ(l->layer, 1);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_TRUE(editor.doc.modified);
    int x, y;
    pixel({10, 20}, x, y);
    // The outline passes through the land's rim: some pixel of its row carries the colour.
    bool found = false;
    for (int dx = -8; dx <= 8; ++dx)
        if (editor.screen().at(x + dx, y) & colourOf(1)) found = true;
    EXPECT_TRUE(found);

    // Off-grid the cursor is taken as it is.
    editor.view.ToggleOnGrid();
    click({20.3, 19.8});
    ASSERT_EQ(items().size(), 2u);
    EXPECT_NEAR(AsDrawn(items()[1])->x, 20.3, 0.051);

    // Backspace in the start state undoes the last step.
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(items().size(), 1u);
}

TEST_F(Drawing, ALandWhoseEdgeCrossesTheBoardEdgeIsRefusedWithABeep) {
    editor.drawing.roundLandAperture = 28;  // 2 mm
    ASSERT_DOUBLE_EQ(board.roundHalf(28), 1.0);
    tool(Cmd::RoundLand);
    editor.view.ToggleOnGrid();
    const int before = host.beeps;
    click({0.5, 5});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(host.beeps, before + 1);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_EQ(board.liveCounts().lands, 1u);  // only the preview is alive
}

TEST_F(Drawing, SquareLandToolPlacesSquaresOrRectanglesByItsDialog) {
    tool(Cmd::SquareLand);
    click({5, 5});
    ASSERT_EQ(items().size(), 1u);
    EXPECT_TRUE(AsDrawn(items()[0])->square());
    host.on<ApertureSelectModel>([](ApertureSelectModel& m) {
        EXPECT_EQ(m.title(), "アパーチャ 選択");
        m.setRectangle(true);
        m.dx = "2*1.5";
        m.dy = "2";
        m.angle = "90";
        m.choose(3);
        EXPECT_FALSE(m.close());
    });
    tool(Cmd::SelectSettings);
    EXPECT_TRUE(editor.drawing.squareAsRectangle);
    click({10, 10});
    ASSERT_EQ(items().size(), 2u);
    ASSERT_EQ(items()[1]->kind, kRect);
    const rect* r = static_cast<const rect*>(items()[1]);
    EXPECT_DOUBLE_EQ(r->dx, 3);
    EXPECT_DOUBLE_EQ(r->dy, 2);
    EXPECT_EQ(r->aperture, 3);
    // The menu-bar item shows the rectangle's sizes, and the choice is kept in the settings.
    EXPECT_EQ(editor.definitionItemText(), "四角 X:3.000 Y:2.000");
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "Rectangle", "<none>"), "Yes");
}

// ------------------------------------------------------------------ lines

TEST_F(Drawing, ClickingTheSamePointTwiceInALinePlacesNothingAndBeeps) {
    tool(Cmd::Line);
    click({10, 10});
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    EXPECT_FALSE(editor.toolBarState(Cmd::RoundLand) & kTbEnabled);  // no tool change mid-chain
    const int before = host.beeps;
    click({10, 10});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, before + 1);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(editor.tools->modes.depth(), 2);
}

TEST_F(Drawing, TheFirstPointSnapsToALandCentreAndCtrlTakesTheGridPoint) {
    land* l = board.CreateLand(1, 28, false, {10.25, 10.25});
    board.AppendElement(nullptr, l);
    editor.redraw();
    tool(Cmd::Line);
    // Picking takes an element by its outline: the click is near the land's rim.
    click({11.1, 10.3});
    click({20, 10.25});
    editor.character(kCharReturn);
    ASSERT_NE(lineAt(1), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(1)->x, 10.25);
    EXPECT_DOUBLE_EQ(lineAt(1)->y, 10.25);

    click({11.1, 10.3}, kMkControl);
    click({20, 20});
    editor.character(kCharReturn);
    ASSERT_NE(lineAt(2), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(2)->x, 11);
    EXPECT_DOUBLE_EQ(lineAt(2)->y, 10);

    // The click-point option does the same without Ctrl.
    editor.drawing.drawAtClickPoint = true;
    click({11.1, 10.3});
    click({20, 30});
    editor.character(kCharReturn);
    ASSERT_NE(lineAt(3), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(3)->x, 11);
}

TEST_F(Drawing, EscAfterThreeSegmentsRemovesThemAllAndDecideMakesOneUndoStep) {
    tool(Cmd::Line);
    click({10, 10});
    EXPECT_EQ(result(), ToolResult::NextState);
    click({20, 10});
    EXPECT_EQ(result(), ToolResult::Pending);
    click({20, 20});
    click({30, 20});
    EXPECT_EQ(items().size(), 3u);  // the document holds a chain while it is drawn
    EXPECT_EQ(editor.tools->selection.pending.size(), 3u);
    editor.character(kCharEscape);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_TRUE(screenIsPlain() || !editor.tools->overlay.cursorPreview.empty());

    click({10, 10});
    click({20, 10});
    click({20, 20});
    click({30, 20});
    editor.character(kCharReturn);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(items().size(), 3u);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_TRUE(editor.command(Cmd::Undo));  // 元に戻す
    EXPECT_TRUE(items().empty());
    EXPECT_TRUE(editor.command(Cmd::Redo));
    EXPECT_EQ(items().size(), 3u);
}

TEST_F(Drawing, BackspaceAfterTwoSegmentsRemovesTheSecondAndTheRubberRestartsAtItsStart) {
    tool(Cmd::Line);
    click({10, 10});
    click({20, 10});
    click({20, 20});
    ASSERT_EQ(items().size(), 2u);
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::Reverted);
    ASSERT_EQ(items().size(), 1u);
    EXPECT_DOUBLE_EQ(lineAt(0)->ex, 20);
    ASSERT_EQ(editor.tools->overlay.lineChain.size(), 1u);
    const line* rubber = static_cast<const line*>(editor.tools->overlay.lineChain[0]);
    EXPECT_DOUBLE_EQ(rubber->x, 20);
    EXPECT_DOUBLE_EQ(rubber->y, 10);
    EXPECT_EQ(editor.tools->drawing.lastPoint.x, 20);
    // Two more backspaces: the first segment goes, then the chain ends.
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.tools->overlay.cursorPreview.size(), 1u);
}

TEST_F(Drawing, ShiftOrTheEightDirectionOptionConstrainsTheSegment) {
    tool(Cmd::Line);
    click({10, 10});
    click({20, 12}, kMkShift);
    ASSERT_NE(lineAt(0), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(0)->ey, 10);
    editor.drawing.lineEightAlways = true;
    click({27, 18});  // near the diagonal from (20, 10)
    ASSERT_NE(lineAt(1), nullptr);
    EXPECT_NEAR(lineAt(1)->ex - 20, lineAt(1)->ey - 10, 1e-9);
    click({40, 19}, kMkControl);  // Ctrl: the point as clicked
    ASSERT_NE(lineAt(2), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(2)->ey, 19);
}

TEST_F(Drawing, TheNextPointHintFollowsTheRightClickOptionsAndRightClickDecides) {
    tool(Cmd::Line);
    click({10, 10});
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintLineNext);
    click({20, 10});
    int x, y;
    pixel({20, 20}, x, y);
    editor.rightClick(x, y, 0);  // neither option: decide
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    editor.options.rClickBsKey = true;
    click({10, 20});
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintLineNextBack);
    editor.rightClick(x, y, 0);  // goes back: the chain ends
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

TEST_F(Drawing, TheRubberSegmentIsErasedWithoutATrace) {
    tool(Cmd::Line);
    click({10, 10});
    move({30, 25});
    move({12, 40});
    EXPECT_FALSE(screenIsPlain());
    editor.character(kCharEscape);
    // The preview dot still follows the cursor; take it away to compare with the board alone.
    editor.tools->overlay.clear();
    EXPECT_TRUE(screenIsPlain());
}

TEST_F(Drawing, LayerAndApertureDialogsApplyToTheRubberSegment) {
    tool(Cmd::Line);
    click({10, 10});
    host.on<LayerSelectModel>([](LayerSelectModel& m) {
        ASSERT_GT(m.layers().size(), 1u);
        m.choose(1);
    });
    tool(Cmd::LayerSelect);
    const int layer = board.currentLayer;
    EXPECT_NE(layer, 1);
    host.on<ApertureSelectModel>([](ApertureSelectModel& m) {
        EXPECT_FALSE(m.squareLineEnabled());
        m.setSquareLine(true);
        EXPECT_FALSE(m.squareLine());
        m.choose(5);
    });
    tool(Cmd::SelectSettings);
    click({20, 10});
    ASSERT_NE(lineAt(0), nullptr);
    EXPECT_EQ(lineAt(0)->layer, layer);
    EXPECT_EQ(lineAt(0)->aperture, 5);
    editor.character(kCharEscape);
}

// ------------------------------------------------------------------ arcs

TEST_F(Drawing, ArcByClicksGrowsCounterclockwiseOrReversesWhenTheCursorGoesClockwise) {
    editor.drawing.arcByClicks = true;
    tool(Cmd::Arc);
    click({30, 30});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintArcStart);
    EXPECT_FALSE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    click({40, 30});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintArcEnd);
    move({35, 36});
    click({30, 40});
    EXPECT_EQ(result(), ToolResult::Committed);
    ASSERT_EQ(items().size(), 1u);
    const arc* a = static_cast<const arc*>(items()[0]);
    EXPECT_NEAR(a->st, 0, 1e-9);
    EXPECT_NEAR(a->end, kPi / 2, 1e-9);
    EXPECT_DOUBLE_EQ(a->r, 10);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_TRUE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);

    click({30, 30});
    click({40, 30});
    move({35, 24});
    click({30, 20});
    ASSERT_EQ(items().size(), 2u);
    const arc* b = static_cast<const arc*>(items()[1]);
    EXPECT_NEAR(b->st, 3 * kPi / 2, 1e-9);
    EXPECT_NEAR(b->end, kTwoPi, 1e-9);

    // A start point at the centre or inside the aperture beeps; Backspace steps back.
    click({30, 30});
    const int before = host.beeps;
    click({30, 30});
    EXPECT_EQ(host.beeps, before + 1);
    click({40, 30});
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintArcStart);
    EXPECT_TRUE(editor.tools->overlay.arcPreview.empty());
    editor.character(kCharEscape);
    EXPECT_EQ(result(), ToolResult::PopFrame);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
}

// The example of docs/architecture.md: a dialog answered from the queue, a click, the result.
TEST_F(Drawing, TheArcDialogAnswersAndTheArcIsOneCommittedStep) {
    editor.drawing.arcByClicks = false;
    host.answer<ArcDialogModel>([](ArcDialogModel& m) {
        m.radius = "5";
        m.start = "0";
        m.end = "90";
        m.decide();
        return m.decided();
    });
    tool(Cmd::Arc);
    click({30, 30});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(host.shown<ArcDialogModel>(), 1);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    ASSERT_EQ(items().size(), 1u);
    EXPECT_EQ(items()[0]->kind, kArc);
}

TEST_F(Drawing, ArcTrackingFollowsTheRules) {
    arc* a = board.CreateArc(1, 18, {0, 0}, 10, 0, 0);
    bool reversed = false;
    TrackArc(board, a, {0, 10}, reversed);
    EXPECT_FALSE(reversed);
    EXPECT_NEAR(a->end, kPi / 2, 1e-12);
    TrackArc(board, a, {-10, -0.1}, reversed);  // past a quarter: keeps growing
    EXPECT_GT(a->end, kPi);
    TrackArc(board, a, {0, 0}, reversed);  // at the centre nothing changes
    EXPECT_GT(a->end, kPi);
    a->destroy(board);

    arc* b = board.CreateArc(1, 18, {0, 0}, 10, 0, 0);
    TrackArc(board, b, {0, -10}, reversed);
    EXPECT_TRUE(reversed);
    EXPECT_NEAR(b->st, 3 * kPi / 2, 1e-12);
    TrackArc(board, b, {-10, 0.1}, reversed);  // further clockwise: the start follows
    EXPECT_TRUE(reversed);
    EXPECT_NEAR(b->end, kTwoPi, 1e-12);
    TrackArc(board, b, {10, 1}, reversed);  // on round clockwise: nearly a full circle
    EXPECT_TRUE(reversed);
    EXPECT_NEAR(b->st, std::atan2(1, 10), 1e-12);
    TrackArc(board, b, {0, -10}, reversed);  // back counterclockwise
    TrackArc(board, b, {10, -0.1}, reversed);
    TrackArc(board, b, {10, 0.1}, reversed);  // over the first point: growing forwards again
    EXPECT_FALSE(reversed);
    EXPECT_NEAR(b->st, 0, 1e-12);
    EXPECT_NEAR(b->end, std::atan2(0.1, 10), 1e-12);
    b->destroy(board);
}

TEST_F(Drawing, ArcByDialogChecksTheRadiusAndBringsTheAnglesIntoRange) {
    tool(Cmd::Arc);
    host.on<ArcDialogModel>([](ArcDialogModel& m) {
        m.radius = "0.1";  // not larger than the 1 mm line's half width
        m.start = "0";
        m.end = "90";
        EXPECT_FALSE(m.decide());
    });
    const int before = host.beeps;
    click({50, 30});
    EXPECT_EQ(host.beeps, before + 1);
    EXPECT_TRUE(items().empty());
    host.on<ArcDialogModel>([](ArcDialogModel& m) {
        EXPECT_EQ(m.radius, "0.1");  // kept between uses
        m.radius = "5";
        m.start = "-450";
        m.end = "800";
        EXPECT_FALSE(m.decide());
    });
    click({50, 30});
    ASSERT_EQ(items().size(), 1u);
    host.on<ArcDialogModel>([](ArcDialogModel& m) {
        m.radius = "5+";
        auto e = m.decide();
        ASSERT_TRUE(e);
        EXPECT_EQ(e->control, ArcDialogModel::kFieldRadius);
    });
    click({50, 30});
    EXPECT_EQ(items().size(), 1u);

    double s = -450, e = 800;
    BringAnglesIntoRange(s, e);
    EXPECT_DOUBLE_EQ(s, -90);
    EXPECT_DOUBLE_EQ(e, 80);
    s = 10, e = 1e300;  // far out of range: reduced, not looped over
    BringAnglesIntoRange(s, e);
    EXPECT_LE(std::fabs(e - s), 360);
}

// ------------------------------------------------------------------ pads and text

TEST_F(Drawing, PadToolPlacesTheLandsOfTheChosenDefinitionAsOneGroup) {
    board.padDefs.clear();
    board.AddPadDefinition({{1, 20}, {2, 10}});
    board.AddPadDefinition({{1, 30}});
    tool(Cmd::Pad);
    EXPECT_EQ(editor.tools->overlay.cursorPreview.size(), 2u);
    host.on<PadSelectModel>([](PadSelectModel& m) {
        EXPECT_EQ(m.count(), 2);
        m.next();
        m.next();
        EXPECT_EQ(m.number(), 1);
        m.accept();
    });
    tool(Cmd::SelectSettings);
    EXPECT_EQ(editor.drawing.padNumber, 1);
    EXPECT_EQ(editor.tools->overlay.cursorPreview.size(), 1u);
    host.on<PadSelectModel>([](PadSelectModel& m) { m.previous(); });  // cancelled
    tool(Cmd::SelectSettings);
    EXPECT_EQ(editor.drawing.padNumber, 1);
    editor.drawing.padNumber = 0;
    click({20, 20});
    ASSERT_EQ(items().size(), 1u);
    const group* g = AsGroup(items()[0]);
    EXPECT_EQ(g->type, Reserved().pad);
    EXPECT_EQ(editor.history.doneCount(), 1u);
    size_t n = 0;
    ForEachDrawn(g->members, [&](const drawn* d) {
        ++n;
        EXPECT_DOUBLE_EQ(d->x, 20);
    });
    EXPECT_EQ(n, 2u);
    // One land over the edge refuses the whole pad.
    click({0, 20});
    EXPECT_EQ(items().size(), 1u);
}

TEST_F(Drawing, TextIsLaidOutAtTheClickAndStrokesBeyondTheBoardAreDroppedWithABeep) {
    ASSERT_TRUE(editor.fontAvailable);
    tool(Cmd::Text);
    host.on<TextDialogModel>([](TextDialogModel& m) {
        m.text = "AB";
        m.height = "3";
        m.pitch = "3.2";
        EXPECT_EQ(m.decide().outcome, TextDialogModel::Outcome::kDecided);
    });
    const int before = host.beeps;
    click({20, 20});
    ASSERT_EQ(items().size(), 1u);
    const group* g = AsGroup(items()[0]);
    EXPECT_EQ(g->type, Reserved().text);
    EXPECT_EQ(View(g->attribute), "AB");
    EXPECT_EQ(host.beeps, before);
    EXPECT_EQ(editor.drawing.text, "AB");

    host.on<TextDialogModel>([](TextDialogModel& m) {
        EXPECT_EQ(m.text, "AB");  // kept between uses
        EXPECT_EQ(m.decide().outcome, TextDialogModel::Outcome::kDecided);
    });
    click({board.sizeX - 4, 20});  // the second letter crosses the edge
    ASSERT_EQ(items().size(), 2u);
    EXPECT_EQ(host.beeps, before + 1);
    EXPECT_FALSE(OffBoard(board, items()[1]));

    host.on<TextDialogModel>([](TextDialogModel& m) {
        m.height = "(";
        auto r = m.decide();
        EXPECT_EQ(r.outcome, TextDialogModel::Outcome::kCalcError);
        EXPECT_EQ(r.control, TextDialogModel::kFieldHeight);
    });
    click({20, 40});
    EXPECT_EQ(items().size(), 2u);
}

TEST_F(Drawing, TextWithATabIsRefused) {
    // The board file keeps a tab in a text as a comma: such a text cannot be saved as typed.
    ASSERT_TRUE(editor.fontAvailable);
    tool(Cmd::Text);
    host.on<TextDialogModel>([](TextDialogModel& m) {
        m.text = "A\tB";
        const auto r = m.decide();
        EXPECT_EQ(r.outcome, TextDialogModel::Outcome::kRefused);  // the window beeps and stays
        EXPECT_EQ(r.control, TextDialogModel::kFieldText);
        EXPECT_FALSE(m.decided());
    });
    click({20, 20});
    EXPECT_TRUE(items().empty());
    // Nor can it hold a line end.
    host.on<TextDialogModel>([](TextDialogModel& m) {
        m.text = "A\nB";
        EXPECT_EQ(m.decide().outcome, TextDialogModel::Outcome::kRefused);
    });
    click({20, 20});
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

// ------------------------------------------------------------------ numeric input

TEST_F(Drawing, NumericInputGivesAbsoluteOriginAndRelativePoints) {
    tool(Cmd::Line);
    editor.view.SetGridOrigin(5, 5);
    host.on<NumericInputModel>([](NumericInputModel& m) {
        EXPECT_FALSE(m.nextPoint());
        EXPECT_FALSE(m.relativeEnabled());  // no relative first point
        EXPECT_EQ(m.defaultButton(), NumericInputModel::Button::kAbsolute);
        EXPECT_FALSE(m.press(NumericInputModel::Button::kRelative));
        EXPECT_FALSE(m.point());
        m.x = "10";
        m.y = "2*5";
        EXPECT_FALSE(m.pressReturn());
    });
    tool(Cmd::NumericInput);
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintLineNextBack);
    host.on<NumericInputModel>([](NumericInputModel& m) {
        EXPECT_TRUE(m.nextPoint());
        EXPECT_EQ(m.x, "0");  // another form: the values start again at 0
        m.x = "5";
        EXPECT_FALSE(m.pressReturn());  // relative to the last point
    });
    tool(Cmd::NumericInput);
    ASSERT_NE(lineAt(0), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(0)->x, 10);
    EXPECT_DOUBLE_EQ(lineAt(0)->ex, 15);
    EXPECT_DOUBLE_EQ(lineAt(0)->ey, 10);
    host.on<NumericInputModel>([](NumericInputModel& m) {
        EXPECT_EQ(m.x, "5");  // the same form shows the last values
        m.y = "1";
        EXPECT_FALSE(m.press(NumericInputModel::Button::kOrigin));
    });
    tool(Cmd::NumericInput);
    ASSERT_NE(lineAt(1), nullptr);
    EXPECT_DOUBLE_EQ(lineAt(1)->ex, 10);
    EXPECT_DOUBLE_EQ(lineAt(1)->ey, 6);
    host.on<NumericInputModel>([](NumericInputModel& m) {
        m.x = "1e17";
        EXPECT_FALSE(m.press(NumericInputModel::Button::kAbsolute));
    });
    const int before = host.beeps;
    tool(Cmd::NumericInput);
    EXPECT_EQ(host.beeps, before + 1);
    host.on<NumericInputModel>([](NumericInputModel& m) {
        m.x = "1/0";
        auto e = m.press(NumericInputModel::Button::kAbsolute);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->control, NumericInputModel::kFieldX);
    });
    tool(Cmd::NumericInput);
    EXPECT_EQ(items().size(), 2u);
    editor.options.digitInDlg = true;
    host.off<NumericInputModel>();
    tool(Cmd::NumericInput);
    EXPECT_TRUE(host.keypads.back());  // the key pad option goes with the dialog
}

// ------------------------------------------------------------------ intersection input

TEST_F(Drawing, IntersectionInputPicksEndsCrossingsAndArcCentres) {
    line* h = board.CreateLine(1, 18, false, {10, 10}, {40, 10});
    line* v = board.CreateLine(1, 18, false, {25, 0.5}, {25, 30});
    arc* a = board.CreateArc(1, 18, {60, 30}, 5, 0, kPi);
    board.AppendElement(nullptr, h);
    board.AppendElement(nullptr, v);
    board.AppendElement(nullptr, a);
    editor.redraw();
    editor.view.ToggleOnGrid();
    tool(Cmd::RoundLand);
    EXPECT_EQ(editor.tools->overlay.cursorPreview.size(), 1u);
    // Near an end: the end itself, given to the land tool.
    tool(Cmd::Intersection);
    EXPECT_EQ(editor.tools->modes.mode(), kModeIntersection);
    EXPECT_TRUE(editor.tools->overlay.cursorPreview.empty());
    EXPECT_FALSE(editor.toolBarState(Cmd::NumericInput) & kTbEnabled);
    click({10.3, 10.5});  // on the line's outline, near its end
    EXPECT_EQ(editor.tools->modes.mode(), kModeRoundLand);
    EXPECT_EQ(editor.tools->overlay.cursorPreview.size(), 1u);
    ASSERT_EQ(items().size(), 4u);
    EXPECT_DOUBLE_EQ(AsDrawn(items()[3])->x, 10);

    // Far from the ends: a second element, and their crossing.
    tool(Cmd::Intersection);
    click({17, 10.5});
    EXPECT_EQ(editor.tools->modes.frame().hint, kHintIntersectionSecond);
    EXPECT_FALSE(h->linked());
    click({25.5, 20});
    EXPECT_TRUE(h->linked());
    EXPECT_EQ(items()[0], h);  // back where it stood
    ASSERT_EQ(items().size(), 5u);
    EXPECT_DOUBLE_EQ(AsDrawn(items()[4])->x, 25);
    EXPECT_DOUBLE_EQ(AsDrawn(items()[4])->y, 10);

    // Shift: an arc's centre; anything else beeps and stays.
    tool(Cmd::Intersection);
    const int before = host.beeps;
    click({17, 10.5}, kMkShift);
    EXPECT_EQ(host.beeps, before + 1);
    click({55.5, 30}, kMkShift);
    ASSERT_EQ(items().size(), 6u);
    EXPECT_DOUBLE_EQ(AsDrawn(items()[5])->x, 60);

    // Escape in the second state puts the first element back and leaves.
    tool(Cmd::Intersection);
    click({17, 10.5});
    editor.character(kCharEscape);
    EXPECT_TRUE(h->linked());
    EXPECT_EQ(editor.tools->modes.mode(), kModeRoundLand);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(items().size(), 6u);
}

// ------------------------------------------------------------------ the dialogs' models

TEST(DrawingDialogs, ApertureModelsChooseFromTheirTableAndKeepOptionsOnTheirCopy) {
    Board b;
    DrawingSettings s;
    ApertureSelectModel line(b, s, ApertureTool::kLine);
    EXPECT_EQ(line.title(), "ライン・アパーチャ選択");
    EXPECT_FALSE(line.squareTable());
    line.setSquareLine(true);
    EXPECT_TRUE(line.squareTable());
    line.choose(7);
    EXPECT_EQ(line.settings().squareLineAperture, 7);
    EXPECT_EQ(line.settings().lineAperture, 18);
    EXPECT_FALSE(s.squareLine);  // the caller takes the copy

    ApertureSelectModel rect(b, s, ApertureTool::kSquareLand);
    rect.setRectangle(true);
    rect.dx = "abc";
    auto e = rect.close();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->control, ApertureSelectModel::kFieldDx);
    EXPECT_FALSE(rect.closed());

    LayerSelectModel layers(b);
    EXPECT_EQ(layers.selectedIndex() >= 0, true);
    EXPECT_FALSE(layers.chosen());
}

}  // namespace
}  // namespace zevo::test
