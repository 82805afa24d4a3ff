// The change tool through the editor: clicks at pixels with the keys, the dialogs answered by the
// scripted host, one undo step per change that gives the file back byte for byte.
#include "tools/change_tool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/file/board_writer.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "text/strings.h"
#include "tools/fill_tool.h"
#include "view/stroke_font.h"

namespace zevo::test {
namespace {

constexpr int kPen = 5;       // round 0.2 mm
constexpr int kWidePen = 40;  // round 2 mm

class ChangeTool : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        board.SetRoundAperture(kPen, 0.1);
        board.SetSquareAperture(kPen, 0.1);
        board.SetRoundAperture(kWidePen, 1.0);
        board.SetLayerName(2, "Bottom");
        board.SetLayerName(3, "Silk");
        board.PairLayers(1, 2);
        editor.redraw();
        EXPECT_TRUE(editor.command(Cmd::Change));
        EXPECT_EQ(editor.tools->modes.frame().hint, kHintChange);
    }
    std::string file() const { return WriteDocument(board); }
    land* Land(Point p, group* owner = nullptr, int layer = 1) {
        land* l = board.CreateLand(layer, kPen, false, p);
        board.AppendElement(owner, l);
        return l;
    }
    line* Line(Point a, Point b, group* owner = nullptr, int layer = 1) {
        line* l = board.CreateLine(layer, kPen, false, a, b);
        board.AppendElement(owner, l);
        return l;
    }
    // A part named `name` with a placement at `origin` (none when `placed` is false).
    group* Part(const char* name, Point origin, bool placed = true) {
        group* g = board.CreateGroup(Intern(name));
        if (placed) g->ext = board.CreatePartPlacement(origin, 0);
        board.AppendElement(nullptr, g);
        return g;
    }
    group* Text(const char* s, Point at, int layer = 3) {
        TextParams p;
        p.text = s;
        p.layer = layer;
        p.aperture = kPen;
        p.height = 2;
        p.pitch = 2.2;
        const TextLayout t = LayoutText(board, editor.paths.fontFile(), p, at);
        EXPECT_TRUE(t.text);
        board.AppendElement(nullptr, t.text);
        return t.text;
    }
    container* last() const { return AsElement(board.items.prev); }
    // The change made is one step, and undo gives the file back as it was.
    void expectOneStepUndone(const std::string& before) {
        EXPECT_EQ(result(), ToolResult::Committed);
        EXPECT_TRUE(editor.doc.modified);
        EXPECT_EQ(editor.history.doneCount(), 1u);
        EXPECT_TRUE(editor.command(Cmd::Undo));
        EXPECT_EQ(file(), before);
    }
    void expectNothingChanged(const std::string& before) {
        EXPECT_EQ(file(), before);
        EXPECT_EQ(editor.history.doneCount(), 0u);
    }
};

// ------------------------------------------------------------------ which target

TEST_F(ChangeTool, TheKeysAndTheSettingDecideWhatAClickChanges) {
    const ReservedWords& r = Reserved();
    land* loose = Land({10, 10});
    group* part = Part("R", {20, 20});
    land* pin = Land({20, 20}, part);
    group* text = board.CreateGroup(r.text);
    board.AppendElement(nullptr, text);
    line* stroke = Line({1, 1}, {2, 2}, text);
    group* pad = board.CreateGroup(r.pad);
    board.AppendElement(nullptr, pad);
    land* padLand = Land({30, 30}, pad);
    group* painted = board.CreateGroup(r.painted);
    board.AppendElement(nullptr, painted);
    group* lines = board.CreateGroup(r.lines);
    board.AppendElement(painted, lines);
    line* fill = Line({40, 40}, {41, 40}, lines);
    group* partText = board.CreateGroup(r.text);
    board.AppendElement(part, partText);
    line* partStroke = Line({21, 21}, {22, 22}, partText);

    using T = ChangeTarget;
    // Shift + Ctrl: only an element without parent becomes a dotted line.
    EXPECT_EQ(ClassifyChange(loose, true, true, false), T::kDotted);
    EXPECT_EQ(ClassifyChange(pin, true, true, false), T::kRefused);
    // Shift, or the setting: the part.
    EXPECT_EQ(ClassifyChange(pin, true, false, false), T::kPart);
    EXPECT_EQ(ClassifyChange(partStroke, false, false, true), T::kPart);
    EXPECT_EQ(ClassifyChange(loose, true, false, false), T::kElement);
    EXPECT_EQ(ClassifyChange(stroke, false, false, true), T::kText);
    // Ctrl: a pin of a part, or of a top-level pad.
    EXPECT_EQ(ClassifyChange(pin, false, true, false), T::kPin);
    EXPECT_EQ(ClassifyChange(padLand, false, true, false), T::kPin);
    EXPECT_EQ(ClassifyChange(stroke, false, true, false), T::kText);
    EXPECT_EQ(ClassifyChange(fill, false, true, false), T::kArea);
    EXPECT_EQ(ClassifyChange(loose, false, true, false), T::kElement);
    // No keys.
    EXPECT_EQ(ClassifyChange(loose, false, false, false), T::kElement);
    EXPECT_EQ(ClassifyChange(stroke, false, false, false), T::kText);
    EXPECT_EQ(ClassifyChange(fill, false, false, false), T::kArea);
    EXPECT_EQ(ClassifyChange(pin, false, false, false), T::kElement);
    EXPECT_EQ(ClassifyChange(partStroke, false, false, false), T::kText);
    EXPECT_EQ(ClassifyChange(padLand, false, false, false), T::kElement);
}

TEST_F(ChangeTool, AClickOnNothingBeepsAndChangesNothing) {
    Land({10, 10});
    const std::string before = file();
    const int beeps = host.beeps;
    click({50, 50});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_TRUE(host.dialogsShown.empty());
    expectNothingChanged(before);
}

// ------------------------------------------------------------------ elements

TEST_F(ChangeTool, ALandAndALineTakeANewLayerAndApertureInTheirPlace) {
    Land({10, 10});
    line* l = Line({20, 10}, {30, 10});
    l->pinName = Intern("P");
    Land({40, 10});
    const std::string before = file();
    host.answer<ElementChangeModel>([&](ElementChangeModel& m) {
        EXPECT_TRUE(m.hasAperture());
        EXPECT_FALSE(m.squareTable());
        EXPECT_EQ(m.layer, 1);
        EXPECT_EQ(m.aperture, kPen);
        EXPECT_GE(m.layerIndex(), 0);
        EXPECT_EQ(m.layerCaption(size_t(m.layerIndex())).substr(0, 5), "  1: ");
        m.layer = 2;
        m.aperture = kWidePen;
        return true;
    });
    click({25, 10});
    ASSERT_EQ(result(), ToolResult::Committed);
    // The new line stands where the old one stood, with its pin name.
    const container* second = AsElement(board.items.next->next);
    ASSERT_EQ(second->kind, kLine);
    const line* made = static_cast<const line*>(second);
    EXPECT_EQ(made->layer, 2);
    EXPECT_EQ(made->aperture, kWidePen);
    EXPECT_EQ(View(made->pinName), "P");
    EXPECT_EQ(made->end(), (Point{30, 10}));
    expectOneStepUndone(before);

    // 取消 leaves everything.
    host.answer<ElementChangeModel>([](ElementChangeModel& m) {
        m.layer = 3;
        return false;
    });
    click({10, 10});
    EXPECT_EQ(result(), ToolResult::Handled);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

TEST_F(ChangeTool, ASquareLandOffersTheSquareTableAndMayNotLeaveTheBoard) {
    land* l = board.CreateLand(1, kPen, true, {1, 10});
    board.AppendElement(nullptr, l);
    board.SetSquareAperture(kWidePen, 2.0);
    const std::string before = file();
    host.answer<ElementChangeModel>([](ElementChangeModel& m) {
        EXPECT_TRUE(m.squareTable());
        EXPECT_EQ(m.apertureEntry(kPen), "  5: 0.200");
        m.aperture = kWidePen;  // the square table's 40 is bigger than the land's distance to 0
        return true;
    });
    const int beeps = host.beeps;
    click({1, 10});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 1);
    expectNothingChanged(before);
}

TEST_F(ChangeTool, ARectangleIsMadeAgainInItsNormalFormAndMustStayWiderThanItsPen) {
    rect* r = board.CreateRect(1, kPen, {20, 20}, 4, 2, 0);
    board.AppendElement(nullptr, r);
    const std::string before = file();
    host.answer<RectChangeModel>([](RectChangeModel& m) {
        EXPECT_EQ(m.x, "4");
        EXPECT_EQ(m.y, "2");
        EXPECT_EQ(m.angle, "0");
        m.y = "(";
        const auto e = m.decide();
        EXPECT_TRUE(e && e->control == RectChangeModel::kFieldY);  // 計算エラー, the window stays
        m.x = "2";
        m.y = "3*2";
        m.angle = "10";
        m.layer = 2;
        EXPECT_FALSE(m.decide());
    });
    click({22, 20});
    ASSERT_EQ(result(), ToolResult::Committed);
    const rect* made = static_cast<const rect*>(last());
    EXPECT_EQ(made->layer, 2);
    EXPECT_EQ(made->aperture, kPen);
    EXPECT_DOUBLE_EQ(made->dx, 6);  // the longer side lies along the angle
    EXPECT_DOUBLE_EQ(made->dy, 2);
    EXPECT_NEAR(ToDegrees(made->ang), 100, 1e-9);
    EXPECT_EQ(made->ref(), (Point{20, 20}));
    expectOneStepUndone(before);

    // A side no wider than the pen (plus the file's 0.001) is refused.
    host.answer<RectChangeModel>([](RectChangeModel& m) {
        m.y = "0.2";
        m.decide();
    });
    click({22, 20});
    EXPECT_EQ(result(), ToolResult::Refused);
    host.answer<RectChangeModel>([](RectChangeModel& m) {
        m.x = "-1";
        m.decide();
    });
    click({22, 20});
    EXPECT_EQ(result(), ToolResult::Refused);
    expectNothingChanged(before);
}

TEST_F(ChangeTool, AnArcIsRefusedWhenItsRadiusDoesNotExceedThePen) {
    arc* a = board.CreateArc(1, kPen, {20, 20}, 5, 0, ToRadians(90));
    board.AppendElement(nullptr, a);
    const std::string before = file();
    host.answer<ArcChangeModel>([](ArcChangeModel& m) {
        EXPECT_EQ(m.radius, "5");
        EXPECT_EQ(m.start, "0");
        EXPECT_EQ(m.end, "90");
        m.radius = "1";  // the 2 mm pen's half is 1
        m.aperture = kWidePen;
        m.decide();
    });
    click({25, 20});
    EXPECT_EQ(result(), ToolResult::Refused);
    expectNothingChanged(before);

    host.answer<ArcChangeModel>([](ArcChangeModel& m) {
        m.radius = "3";
        m.start = "-90";
        m.end = "180";
        m.layer = 2;
        m.aperture = kWidePen;
        m.decide();
    });
    click({25, 20});
    ASSERT_EQ(result(), ToolResult::Committed);
    const arc* made = static_cast<const arc*>(last());
    EXPECT_EQ(made->layer, 2);
    EXPECT_EQ(made->aperture, kWidePen);
    EXPECT_DOUBLE_EQ(made->r, 3);
    EXPECT_NEAR(ToDegrees(made->st), 270, 1e-9);
    EXPECT_NEAR(ToDegrees(made->end), 540, 1e-9);
    EXPECT_EQ(made->centre(), (Point{20, 20}));
    expectOneStepUndone(before);
}

// ------------------------------------------------------------------ texts

TEST_F(ChangeTool, ATextIsLaidOutAgainAtItsPlaceWithTheNewValues) {
    ASSERT_TRUE(editor.fontAvailable);
    Land({5, 5});
    Text("AB", {20, 20});
    Land({50, 5});
    const std::string before = file();
    size_t strokesBefore = 0;
    for (container* m : Items(AsGroup(AsElement(board.items.next->next))->members)) {
        (void)m;
        ++strokesBefore;
    }
    host.answer<TextChangeModel>([](TextChangeModel& m) {
        EXPECT_EQ(m.text, "AB");
        EXPECT_EQ(m.height, "2");
        EXPECT_EQ(m.pitch, "2.2");
        EXPECT_EQ(m.angle, "0");
        EXPECT_EQ(m.aperture, kPen);
        EXPECT_EQ(m.layer, 3);
        m.text = std::string(256, 'A');  // more than the field holds
        EXPECT_EQ(m.decide().outcome, TextDialogModel::Outcome::kRefused);
        m.text = "ABA";
        m.height = "4";
        m.angle = "90";
        m.layer = 2;
        EXPECT_EQ(m.decide().outcome, TextDialogModel::Outcome::kDecided);
    });
    // A click on a stroke of the text: the first stroke of A starts at its cell's corner.
    const line* first = static_cast<const line*>(
        AsElement(AsGroup(AsElement(board.items.next->next))->members.next));
    click({(first->x + first->ex) / 2, (first->y + first->ey) / 2});
    ASSERT_EQ(result(), ToolResult::Committed);
    const group* g = AsGroup(AsElement(board.items.next->next));
    ASSERT_EQ(g->type, Reserved().text);
    EXPECT_EQ(View(g->attribute), "ABA");
    ASSERT_TRUE(g->ext);
    EXPECT_EQ(g->ext->pt, (Point{20, 20}));
    EXPECT_NEAR(ToDegrees(g->ext->angle), 90, 1e-9);
    EXPECT_DOUBLE_EQ(static_cast<const TextPlacement*>(g->ext)->hi, 4);
    size_t strokes = 0;
    ForEachDrawn(g->members, [&](const drawn* d) {
        ++strokes;
        EXPECT_EQ(d->layer, 2);
    });
    EXPECT_GT(strokes, strokesBefore);
    expectOneStepUndone(before);
}

// ------------------------------------------------------------------ filled areas

TEST_F(ChangeTool, AFilledAreaMadeByTheFillToolChangesLayerAsAWhole) {
    Line({10, 10}, {20, 10});
    Line({20, 10}, {20, 20});
    Line({20, 20}, {10, 20});
    Line({10, 20}, {10, 10});
    ASSERT_TRUE(editor.command(Cmd::Fill));
    host.yesNo.push_back(true);
    click({15, 10});
    ASSERT_EQ(result(), ToolResult::Committed);
    ASSERT_TRUE(editor.command(Cmd::Change));
    const std::string before = file();
    host.answer<ElementChangeModel>([](ElementChangeModel& m) {
        EXPECT_FALSE(m.hasAperture());
        m.layer = 2;
        return true;
    });
    click({15, 15});  // a stroke
    ASSERT_EQ(result(), ToolResult::Committed);
    const group* area = AsGroup(last());
    ASSERT_EQ(area->type, Reserved().painted);
    size_t n = 0;
    ForEachDrawn(area->members, [&](const drawn* d) {
        ++n;
        EXPECT_EQ(d->layer, 2);
    });
    EXPECT_GT(n, 50u);
    EXPECT_EQ(editor.history.doneCount(), 2u);
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), before);
}

// ------------------------------------------------------------------ parts

TEST_F(ChangeTool, AReferenceOtherPartsCarryAsksAndNoLeavesBothParts) {
    group* a = Part("R", {20, 20});
    Land({20, 20}, a);
    group* b = Part("R", {40, 20});
    Land({40, 20}, b);
    b->reference = Intern("R2");
    const std::string before = file();
    host.answer<PartChangeModel>([](PartChangeModel& m) {
        EXPECT_EQ(m.reference, "");
        m.reference = "R2";
    });
    host.yesNo.push_back(false);
    click({20, 20}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Handled);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "部品番号が重複します、設定しますか？");
    expectNothingChanged(before);

    // Yes sets it; the part keeps its place in the document.
    host.answer<PartChangeModel>([](PartChangeModel& m) { m.reference = "R2"; });
    host.yesNo.push_back(true);
    click({20, 20}, kMkShift);
    ASSERT_EQ(result(), ToolResult::Committed);
    const group* made = AsGroup(AsElement(board.items.next));
    EXPECT_EQ(View(made->reference), "R2");
    EXPECT_EQ(View(made->type), "R");
    expectOneStepUndone(before);

    // A reference no one else carries asks nothing; a line end in it is refused.
    host.answer<PartChangeModel>([](PartChangeModel& m) { m.reference = "R\n1"; });
    click({20, 20}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Refused);
    host.answer<PartChangeModel>([](PartChangeModel& m) { m.reference = "R1,A"; });
    click({20, 20}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(View(AsGroup(AsElement(board.items.next))->reference), "R1,A");
    EXPECT_EQ(host.questions.size(), 2u);
}

TEST_F(ChangeTool, WithPartNumberFirstAPlainClickOnAPartOpensThePartDialog) {
    group* a = Part("C", {20, 20});
    Land({20, 20}, a);
    Line({18, 20}, {22, 20}, a);
    host.answer<ChangeSettingsModel>([](ChangeSettingsModel& m) {
        EXPECT_FALSE(m.partNumberFirst);
        m.partNumberFirst = true;
    });
    ASSERT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_TRUE(editor.drawing.partNumberFirst);
    host.answer<PartChangeModel>([](PartChangeModel& m) { m.reference = "C7"; });
    click({21.5, 20});
    ASSERT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(View(AsGroup(last())->reference), "C7");
    EXPECT_EQ(host.shown<PartChangeModel>(), 1);
    EXPECT_EQ(host.shown<ElementChangeModel>(), 0);
    // Backspace undoes it while the tool is at rest.
    EXPECT_TRUE(editor.keyDown(EditorKey::kBackspace));
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_TRUE(IsBlank(AsGroup(last())->reference));
}

TEST_F(ChangeTool, APlainGroupGetsATemporaryNameAndAPlacementAtItsOriginLand) {
    board.SetLayerName(9, "Origin");
    ASSERT_TRUE(board.HasRole(9, kRoleOrigin));
    group* g = board.CreateGroup(kEmptyText);
    board.AppendElement(nullptr, g);
    Land({30, 30}, g);
    Land({34, 30}, g);
    Land({32, 31}, g, 9);
    host.answer<PartChangeModel>([](PartChangeModel& m) { m.reference = "U1"; });
    click({30, 30}, kMkShift);
    ASSERT_EQ(result(), ToolResult::Committed);
    const group* made = AsGroup(last());
    const std::string type(View(made->type));
    ASSERT_EQ(type.size(), 15u);
    EXPECT_EQ(type.substr(0, 3), "tmp");
    EXPECT_EQ(type.find_first_not_of("0123456789", 3), std::string::npos);
    ASSERT_TRUE(made->ext);
    EXPECT_EQ(made->ext->kind, 2);
    EXPECT_EQ(made->ext->pt, (Point{32, 31}));
    EXPECT_EQ(View(made->reference), "U1");
}

TEST_F(ChangeTool, TurningAPartOverSwapsItsLayersAndMirrorsItAboutItsOrigin) {
    ASSERT_TRUE(editor.fontAvailable);
    group* a = Part("Q", {20, 20});
    Land({20, 20}, a);
    Land({25, 20}, a);
    Land({10, 10});
    board.currentLayer = 3;
    const std::string before = file();
    host.answer<PartChangeModel>([](PartChangeModel& m) {
        m.reference = "Q1";
        m.insertText = true;
        m.turnOver = true;
    });
    click({25, 20}, kMkShift);
    ASSERT_EQ(result(), ToolResult::Committed);
    const group* made = AsGroup(AsElement(board.items.next));
    ASSERT_EQ(made->kind, kGroup);
    std::vector<Point> lands;
    const group* text = nullptr;
    for (container* m : Items(made->members)) {
        if (m->kind == kLand) {
            lands.push_back(AsDrawn(m)->ref());
            EXPECT_EQ(AsDrawn(m)->layer, 2);
        } else if (m->kind == kGroup) {
            text = AsGroup(m);
        }
    }
    EXPECT_EQ(lands, (std::vector<Point>{{20, 20}, {15, 20}}));
    // The reference as a text of the part, turned over with it: to the partner of the silk.
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, Reserved().text);
    EXPECT_EQ(View(text->attribute), "Q1");
    ASSERT_TRUE(text->ext);
    EXPECT_LT(static_cast<const TextPlacement*>(text->ext)->pit, 0);
    const int partner = board.SwapPartner(3);
    EXPECT_NE(partner, 3);
    ForEachDrawn(text->members, [&](const drawn* d) { EXPECT_EQ(d->layer, partner); });
    expectOneStepUndone(before);
}

// ------------------------------------------------------------------ pins

TEST_F(ChangeTool, AnUnnumberedPinIsProposedOneMoreThanThePartsLargestNumber) {
    group* a = Part("IC", {20, 20});
    Land({20, 20}, a)->pinNo = 3;
    Land({22, 20}, a)->pinNo = -7;
    Land({24, 20}, a);
    const std::string before = file();
    host.answer<PinChangeModel>([](PinChangeModel& m) {
        EXPECT_EQ(m.name, "");
        EXPECT_EQ(m.number, "8");
        m.name = "VCC";
        m.number = "1.5";
        const auto e = m.decide();
        EXPECT_TRUE(e && e->control == PinChangeModel::kFieldNumber);
        m.number = "40000";
        EXPECT_TRUE(m.decide());
        m.number = "8";
        EXPECT_FALSE(m.decide());
    });
    click({24, 20}, kMkControl);
    ASSERT_EQ(result(), ToolResult::Committed);
    const drawn* pin = AsDrawn(AsElement(AsGroup(last())->members.prev));
    EXPECT_EQ(pin->pinNo, 8);
    EXPECT_EQ(View(pin->pinName), "VCC");
    EXPECT_EQ(pin->ref(), (Point{24, 20}));
    expectOneStepUndone(before);
}

TEST_F(ChangeTool, APinNumberAnotherPinHasAsksAndNoCancels) {
    group* a = Part("IC", {20, 20});
    Land({20, 20}, a)->pinNo = 3;
    Land({22, 20}, a)->pinNo = 4;
    const std::string before = file();
    host.answer<PinChangeModel>([](PinChangeModel& m) {
        EXPECT_EQ(m.number, "4");
        m.number = "-3";  // the magnitude counts
        m.decide();
    });
    host.yesNo.push_back(false);
    click({22, 20}, kMkControl);
    EXPECT_EQ(result(), ToolResult::Handled);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "ピン番号が重複します設定しますか？");
    expectNothingChanged(before);

    // A pin name with a comma could not be read back: refused.
    host.answer<PinChangeModel>([](PinChangeModel& m) {
        m.name = "A,B";
        m.decide();
    });
    click({22, 20}, kMkControl);
    EXPECT_EQ(result(), ToolResult::Refused);
    expectNothingChanged(before);

    // A top-level pad's land is a pin too.
    group* pad = board.CreateGroup(Reserved().pad);
    board.AppendElement(nullptr, pad);
    Land({40, 40}, pad);
    host.answer<PinChangeModel>([](PinChangeModel& m) {
        EXPECT_EQ(m.number, "1");
        m.decide();
    });
    click({40, 40}, kMkControl);
    EXPECT_EQ(result(), ToolResult::Committed);
}

// ------------------------------------------------------------------ dotted lines

TEST_F(ChangeTool, ALineBecomesDottedStrokesCutAtItsEnd) {
    Land({5, 5});
    Line({10, 10}, {20, 10});
    Land({50, 5});
    const std::string before = file();
    host.answer<DottedLineModel>([](DottedLineModel& m) {
        m.dot = "3";
        m.gap = "1";
        m.decide();
    });
    click({15, 10}, kMkShift | kMkControl);
    ASSERT_EQ(result(), ToolResult::Committed);
    const group* g = AsGroup(AsElement(board.items.next->next));
    ASSERT_EQ(g->kind, kGroup);
    EXPECT_EQ(g->type, Reserved().dottedLine);
    std::vector<double> ends;
    ForEachDrawn(g->members, [&](const drawn* d) {
        const line* l = static_cast<const line*>(d);
        EXPECT_EQ(l->layer, 1);
        EXPECT_EQ(l->aperture, kPen);
        EXPECT_DOUBLE_EQ(l->y, 10);
        ends.push_back(l->x);
        ends.push_back(l->ex);
    });
    EXPECT_EQ(ends, (std::vector<double>{10, 13, 14, 17, 18, 20}));
    expectOneStepUndone(before);
    // The values are kept for the next use.
    host.answer<DottedLineModel>([](DottedLineModel& m) {
        EXPECT_EQ(m.dot, "3");
        EXPECT_EQ(m.gap, "1");
        return false;
    });
    click({15, 10}, kMkShift | kMkControl);
    EXPECT_EQ(result(), ToolResult::Handled);
}

TEST_F(ChangeTool, DottedConversionRefusesElementsInGroupsAndValuesThatMakeNoStrokes) {
    group* a = Part("R", {20, 20});
    Line({20, 20}, {30, 20}, a);
    Land({10, 10});
    Line({10, 30}, {20, 30});
    const std::string before = file();
    const int beeps = host.beeps;
    click({25, 20}, kMkShift | kMkControl);  // inside a part
    EXPECT_EQ(result(), ToolResult::Refused);
    click({10, 10}, kMkShift | kMkControl);  // no line
    EXPECT_EQ(result(), ToolResult::Refused);
    host.answer<DottedLineModel>([](DottedLineModel& m) {
        m.dot = "0";
        m.decide();
    });
    click({15, 30}, kMkShift | kMkControl);
    EXPECT_EQ(result(), ToolResult::Refused);
    host.answer<DottedLineModel>([](DottedLineModel& m) {
        m.dot = "0.0000001";  // ten million strokes
        m.gap = "0";
        m.decide();
    });
    click({15, 30}, kMkShift | kMkControl);
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, beeps + 4);
    EXPECT_EQ(host.shown<DottedLineModel>(), 2);
    expectNothingChanged(before);
}

TEST(DottedStrokes, PiecesShorterThanTheToleranceAreNotMade) {
    // 10 = 2 x (4 + 1): the third stroke would start at the very end.
    auto s = DottedStrokes({0, 0}, {10, 0}, 4, 1, 100);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].second, (Point{9, 0}));
    // A line shorter than one stroke is one stroke, the line itself.
    s = DottedStrokes({1, 1}, {1, 3}, 5, 1, 100);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].first, (Point{1, 1}));
    EXPECT_EQ(s[0].second, (Point{1, 3}));
    EXPECT_TRUE(DottedStrokes({0, 0}, {0, 0}, 1, 1, 100).empty());
    EXPECT_TRUE(DottedStrokes({0, 0}, {1000, 0}, 1, 0, 100).empty());
}

}  // namespace
}  // namespace zevo::test
