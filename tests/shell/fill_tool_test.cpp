// The fill tool through the editor: outlines gathered by clicks at pixels, the questions, the
// strokes of the hatching against reviewed files, unfill, windows and every refusal.
#include "tools/fill_tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "board/file/board_writer.h"
#include "board/model/intern.h"
#include "checks/connectivity.h"
#include "checks/drc.h"
#include "editor_scenario.h"
#include "output/gerber_reader.h"
#include "output/gerber_writer.h"
#include "paths/file_io.h"
#include "text/strings.h"

namespace zevo::test {
namespace {

constexpr int kPen = 5;        // round aperture of the outlines: 0.2 mm
constexpr int kThinPen = 6;    // 0.1 mm
constexpr int kSquarePen = 5;  // the same number in the square table

class FillTool : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        board.SetRoundAperture(kPen, 0.1);
        board.SetRoundAperture(kThinPen, 0.05);
        board.SetSquareAperture(kSquarePen, 0.1);
        board.SetRoundAperture(40, 1.0);
    }
    line* Line(Point a, Point b, int layer = 1, int aperture = kPen, bool square = false) {
        line* l = board.CreateLine(layer, aperture, square, a, b);
        board.AppendElement(nullptr, l);
        return l;
    }
    arc* Arc(Point c, double r, double st, double en) {
        arc* a = board.CreateArc(1, kPen, c, r, ToRadians(st), ToRadians(en));
        board.AppendElement(nullptr, a);
        return a;
    }
    // The closed square from (x0, y0) to (x1, y1), drawn counter-clockwise from its lower left.
    void Square(double x0, double y0, double x1, double y1, int aperture = kPen) {
        Line({x0, y0}, {x1, y0}, 1, aperture);
        Line({x1, y0}, {x1, y1}, 1, aperture);
        Line({x1, y1}, {x0, y1}, 1, aperture);
        Line({x0, y1}, {x0, y0}, 1, aperture);
    }
    void start() {
        editor.redraw();
        ASSERT_TRUE(editor.command(Cmd::Fill));
        EXPECT_EQ(hint(), kHintFill);
    }
    std::string file() const { return WriteDocument(board); }
    int frames() const { return editor.tools->modes.depth(); }
    int hint() const { return editor.tools->modes.frame().hint; }
    size_t topLevel() const {
        size_t n = 0;
        for (container* c : Items(board.items)) n += c != nullptr;
        return n;
    }
    // The filled area on the board (the last top-level element), or none.
    group* area() const {
        if (board.items.emptyList()) return nullptr;
        container* c = AsElement(board.items.prev);
        return c->kind == kGroup && AsGroup(c)->type == Reserved().painted ? AsGroup(c) : nullptr;
    }
    static const group* member(const group* g, Istr type, int nth = 0) {
        for (container* m : Items(g->members))
            if (m->kind == kGroup && AsGroup(m)->type == type && nth-- == 0) return AsGroup(m);
        return nullptr;
    }
    static std::vector<const line*> strokes(const group* painted) {
        std::vector<const line*> out;
        const group* lines = member(painted, Reserved().lines);
        if (!lines) return out;
        for (container* m : Items(lines->members)) out.push_back(static_cast<const line*>(m));
        return out;
    }
    // The strokes as text, one "x1 y1 x2 y2" a line.
    static std::string strokeText(const group* painted) {
        std::string out;
        char buf[128];
        for (const line* l : strokes(painted)) {
            std::snprintf(buf, sizeof buf, "%.4f %.4f %.4f %.4f\n", l->x, l->y, l->ex, l->ey);
            out += buf;
        }
        return out;
    }
    // Compares with tests/data/fill/<name>; ZEVO_UPDATE_EXPECTED=1 writes the file instead (a
    // new file is reviewed before it is committed).
    static void expectSameAsFile(const std::string& actual, const std::string& name) {
        const auto path = std::filesystem::path(ZEVO_TEST_DATA) / "fill" / name;
        if (const char* u = std::getenv("ZEVO_UPDATE_EXPECTED"); u && std::string(u) == "1") {
            std::filesystem::create_directories(path.parent_path());
            ASSERT_TRUE(WriteFileAtomically(path, actual));
            return;
        }
        const auto expected = ReadWholeFile(path);
        ASSERT_TRUE(expected) << "missing " << path;
        EXPECT_EQ(actual, *expected) << "differs from " << path;
    }
    // The lines of a file, sorted: what it holds, whatever the order.
    static std::vector<std::string> lines(const std::string& f) {
        std::vector<std::string> out;
        size_t p = 0;
        while (p < f.size()) {
            const size_t q = f.find('\n', p);
            out.push_back(f.substr(p, q == std::string::npos ? std::string::npos : q - p));
            if (q == std::string::npos) break;
            p = q + 1;
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    void expectNothingChanged(const std::string& before) {
        EXPECT_EQ(file(), before);
        EXPECT_EQ(frames(), 1);
        EXPECT_EQ(editor.history.doneCount(), 0u);
        EXPECT_TRUE(screenIsPlain());
    }
};

// ------------------------------------------------------------------ filling

TEST_F(FillTool, AClosedSquareClosesByItselfAndBecomesOneFilledArea) {
    Square(10, 10, 20, 20);
    start();
    const std::string before = file();
    host.yesNo.push_back(true);
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::Committed);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "塗潰しますか(Y/N)");
    EXPECT_EQ(topLevel(), 1u);
    const group* g = area();
    ASSERT_TRUE(g);
    // " LINES" then " LOOP", the loop holding copies of the outline in document order.
    ASSERT_EQ(AsElement(g->members.next)->kind, kGroup);
    EXPECT_EQ(AsGroup(AsElement(g->members.next))->type, Reserved().lines);
    EXPECT_EQ(AsGroup(AsElement(g->members.prev))->type, Reserved().loop);
    const group* loop = member(g, Reserved().loop);
    std::vector<Point> starts;
    for (container* m : Items(loop->members)) starts.push_back(AsDrawn(m)->ref());
    EXPECT_EQ(starts, (std::vector<Point>{{10, 10}, {20, 10}, {20, 20}, {10, 20}}));
    // Pen 0.2: pitch 0.19, first scan line 10 - 0.095 + 0.19, last allowed one 20 - 0.005.
    const auto s = strokes(g);
    ASSERT_EQ(s.size(), 53u);
    EXPECT_NEAR(s.front()->y, 10.095, 1e-9);
    EXPECT_NEAR(s.back()->y, 10.095 + 52 * 0.19, 1e-9);
    for (const line* l : s) {
        EXPECT_EQ(l->layer, 1);
        EXPECT_EQ(l->aperture, kPen);
        EXPECT_FALSE(l->square());
        EXPECT_NEAR(l->x, 10, 1e-9);
        EXPECT_NEAR(l->ex, 20, 1e-9);
    }
    expectSameAsFile(strokeText(g), "square.txt");
    EXPECT_TRUE(editor.doc.modified);
    EXPECT_EQ(frames(), 1);
    // One step: undo gives the outline back as it was.
    EXPECT_EQ(editor.history.doneCount(), 1u);
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), before);
}

TEST_F(FillTool, ACircleIsFilledBetweenTheCrossingsOfItsScanLines) {
    Arc({15, 15}, 5, 0, 360);
    start();
    host.yesNo.push_back(true);
    click({20, 15});
    EXPECT_EQ(result(), ToolResult::Committed);
    const group* g = area();
    ASSERT_TRUE(g);
    for (const line* l : strokes(g)) {
        EXPECT_NEAR(l->x + l->ex, 30, 1e-9);  // symmetric about the centre
        EXPECT_NEAR(std::hypot(l->ex - 15, l->y - 15), 5, 1e-9);
    }
    expectSameAsFile(strokeText(g), "circle.txt");
}

TEST_F(FillTool, AnOutlineOfLinesAndArcsTakesTheSmallestRoundPen) {
    // A slot: two straight sides closed by half circles, one side drawn with a thinner pen.
    Line({10, 10}, {20, 10});
    Arc({20, 12}, 2, 270, 450);
    Line({20, 14}, {10, 14}, 1, kThinPen);
    Arc({10, 12}, 2, 90, 270);
    start();
    host.yesNo.push_back(true);
    click({15, 14});
    ASSERT_EQ(result(), ToolResult::Committed);
    const auto s = strokes(area());
    ASSERT_FALSE(s.empty());
    // Pen 0.1: pitch 0.095, from 10 - 0.048 + 0.095 up to 14 - 0.003.
    EXPECT_EQ(s.front()->aperture, kThinPen);
    EXPECT_NEAR(s.front()->y, 10.047, 1e-9);
    EXPECT_EQ(s.size(), 42u);
    for (const line* l : s) {
        const double dy = l->y - 12;
        EXPECT_NEAR(l->x, 10 - std::sqrt(4 - dy * dy), 1e-9);
        EXPECT_NEAR(l->ex, 20 + std::sqrt(4 - dy * dy), 1e-9);
    }
}

TEST_F(FillTool, ABranchStopsTheFollowingAndTheUserPicksTheContinuation) {
    Square(10, 10, 20, 20);
    Line({20, 20}, {25, 25});  // third lines at both upper corners
    Line({10, 20}, {5, 25});
    start();
    click({15, 10});
    // From the lower side the chain runs up both sides and stops at the upper corners.
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(frames(), 2);
    EXPECT_EQ(hint(), kHintMiddleSecond);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_FALSE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    EXPECT_EQ(topLevel(), 3u);  // left: the upper side and the two diagonals
    host.yesNo.push_back(true);
    click({15, 20});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(topLevel(), 3u);  // the diagonals and the area
    EXPECT_EQ(strokes(area()).size(), 53u);
}

TEST_F(FillTool, AnOpenOutlineWaitsForClicksAndBackspaceReturnsTheNewestElement) {
    Line({10, 10}, {20, 10});
    Line({20, 10}, {20, 20});
    Line({20, 20}, {10, 20});
    Line({10, 10}, {5, 5}, 2);  // on another layer
    Line({12, 20}, {12, 10});   // touches no open end
    Line({10, 20}, {10, 15});   // half of the closing side
    Line({10, 20}, {5, 25});    // a stub: the chain stops at the upper left corner
    start();
    const std::string before = file();
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintMiddleSecond);
    EXPECT_EQ(topLevel(), 4u);
    click({7.5, 7.5});  // another layer
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, 1);
    click({12, 12});  // no node point at an open end: nothing taken, no beep
    EXPECT_EQ(result(), ToolResult::Ignored);
    click({40, 40});  // nothing there
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, 2);
    click({10, 17});
    EXPECT_EQ(result(), ToolResult::Pending);
    EXPECT_EQ(topLevel(), 3u);
    EXPECT_TRUE(host.questions.empty());
    // Backspace puts the half side back and the open end returns to the corner: the half side
    // can be taken again there.
    editor.keyDown(EditorKey::kBackspace);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(frames(), 2);
    EXPECT_EQ(topLevel(), 4u);
    click({10, 17});
    EXPECT_EQ(result(), ToolResult::Pending);
    // Esc puts everything back where it stood.
    editor.character(kCharEscape);
    EXPECT_EQ(result(), ToolResult::Reverted);
    expectNothingChanged(before);
    // With the rest of the side drawn the outline closes; "No" puts everything back.
    Line({10, 15}, {10, 10});
    const std::string closed = file();
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(file(), closed);
    EXPECT_EQ(frames(), 1);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    host.yesNo.push_back(true);
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(topLevel(), 4u);  // the two stray lines, the stub and the area
}

TEST_F(FillTool, EscapeInAnOpenOutlinePutsEverythingBack) {
    Line({10, 10}, {20, 10});
    Line({20, 10}, {20, 20});
    start();
    const std::string before = file();
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::NextState);
    editor.character(kCharEscape);
    EXPECT_EQ(result(), ToolResult::Reverted);
    expectNothingChanged(before);
}

TEST_F(FillTool, ElementsThatCannotStartAnOutlineAreRefused) {
    Line({10, 10}, {20, 10}, 1, kSquarePen, true);  // square pen
    land* l = board.CreateLand(1, 40, false, {30, 30});
    board.AppendElement(nullptr, l);
    group* g = board.CreateGroup(Intern("PART"));
    board.AppendElement(nullptr, g);
    board.AppendElement(g, board.CreateLine(1, kPen, false, {10, 40}, {20, 40}));  // in a group
    start();
    const std::string before = file();
    for (Point p : {Point{15, 10}, Point{30, 30}, Point{15, 40}, Point{50, 50}}) {
        click(p);
        EXPECT_EQ(result(), ToolResult::Refused);
    }
    EXPECT_EQ(host.beeps, 4);
    EXPECT_TRUE(host.questions.empty());
    expectNothingChanged(before);
}

TEST_F(FillTool, AnOutlineWithoutStrokesLeavesTheBoardAsItWas) {
    // A flat sliver: no scan line fits between its lowest and highest points.
    Line({10, 10}, {20, 10});
    Line({20, 10}, {15, 10.05});
    Line({15, 10.05}, {10, 10});
    start();
    const std::string before = file();
    host.yesNo.push_back(true);
    click({12, 10});
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(host.questions.size(), 1u);
    expectNothingChanged(before);
}

TEST_F(FillTool, AnOutlineLargerThanTheWorkingAreaIsRefusedWithoutChange) {
    // A closed polygon of one edge more than the edge list holds.
    const int n = int(kFillEdgeCapacity) + 1;
    std::vector<Point> p;
    for (int i = 0; i < n; ++i) {
        const double a = kTwoPi * i / n;
        p.push_back({50 + 40 * std::cos(a), 50 + 40 * std::sin(a)});
    }
    for (int i = 0; i < n; ++i) Line(p[size_t(i)], p[size_t((i + 1) % n)]);
    start();
    const std::string before = file();
    host.yesNo.push_back(true);
    click({90, 50});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(frames(), 1);
    EXPECT_EQ(editor.history.doneCount(), 0u);
}

// ------------------------------------------------------------------ unfilling

TEST_F(FillTool, UnfillAfterFillGivesBackTheBoardByteForByteInOneStep) {
    Line({5, 5}, {6, 6});  // something before the outline
    Square(10, 10, 20, 20);
    start();
    const std::string before = file();
    host.yesNo.push_back(true);
    click({20, 15});
    ASSERT_EQ(result(), ToolResult::Committed);
    const std::string filled = file();
    // A click on a stroke with Shift asks, and "No" keeps the area.
    click({15, 15}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Reverted);
    EXPECT_EQ(host.questions.back(), "塗潰しを解除しますか(Y/N)");
    EXPECT_EQ(file(), filled);
    EXPECT_TRUE(screenIsPlain());
    host.yesNo.push_back(true);
    click({15, 15}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.history.doneCount(), 2u);
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), filled);
    // A Shift click on what is no filled area does nothing.
    click({5.5, 5.5}, kMkShift);
    EXPECT_EQ(result(), ToolResult::Ignored);
}

TEST_F(FillTool, AnAreaWithoutLoopCannotBeUnfilled) {
    group* g = board.CreateGroup(Reserved().painted);
    group* lines = board.CreateGroup(Reserved().lines);
    board.AppendElement(g, lines);
    board.AppendElement(lines, board.CreateLine(1, kPen, false, {10, 10}, {20, 10}));
    board.AppendElement(nullptr, g);
    editor.drawing.unfillByClick = true;
    start();
    const std::string before = file();
    host.yesNo.push_back(true);
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::Refused);
    EXPECT_EQ(host.beeps, 1);
    expectNothingChanged(before);
}

TEST_F(FillTool, TheSettingsChooseWhatAPlainClickDoes) {
    Square(10, 10, 20, 20);
    start();
    host.answer<FillSettingsModel>([](FillSettingsModel& m) {
        EXPECT_EQ(m.click, FillSettingsModel::Click::kFill);
        m.click = FillSettingsModel::Click::kUnfill;
        return true;
    });
    EXPECT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_TRUE(editor.drawing.unfillByClick);
    EXPECT_FALSE(editor.drawing.windowByClick);
    // A plain click on the outline now looks for an area to unfill: there is none.
    click({15, 10});
    EXPECT_EQ(result(), ToolResult::Ignored);
    EXPECT_TRUE(host.questions.empty());
    // Cancelled, the dialog changes nothing.
    host.answer<FillSettingsModel>([](FillSettingsModel& m) {
        m.click = FillSettingsModel::Click::kWindow;
        return false;
    });
    EXPECT_TRUE(editor.command(Cmd::SelectSettings));
    EXPECT_TRUE(editor.drawing.unfillByClick);
    EXPECT_FALSE(editor.drawing.windowByClick);
}

// ------------------------------------------------------------------ windows

TEST_F(FillTool, ARoundLandCutsAWindowThatFollowsItsEdge) {
    Square(10, 10, 30, 30);
    start();
    host.yesNo.push_back(true);
    click({20, 10});
    ASSERT_EQ(result(), ToolResult::Committed);
    land* l = board.CreateLand(1, 40, false, {20, 20});  // half size 1
    board.AppendElement(nullptr, l);
    const std::string before = file();
    click({15, 15}, kMkControl);
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintWindow);
    host.yesNo.push_back(true);
    click({21, 20});  // on the land's rim
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(host.questions.back(), "窓抜きしますか(Y/N)");
    const group* g = area();
    ASSERT_TRUE(g);
    ASSERT_TRUE(member(g, Reserved().loop));
    const group* w = member(g, Reserved().window);
    ASSERT_TRUE(w);
    // A circle one pen width off the land's edge: radius 1 + 0.2 + 0.1.
    ASSERT_EQ(AsElement(w->members.next)->kind, kArc);
    const arc* a = static_cast<const arc*>(AsElement(w->members.next));
    EXPECT_NEAR(a->r, 1.3, 1e-9);
    EXPECT_EQ(a->aperture, kPen);
    // No stroke comes within reach of the land.
    for (const line* s : strokes(g)) {
        const double dy = s->y - 20;
        if (std::fabs(dy) >= 1.3) continue;
        const double half = std::sqrt(1.3 * 1.3 - dy * dy);
        EXPECT_TRUE(s->ex <= 20 - half + 1e-9 || s->x >= 20 + half - 1e-9);
    }
    expectSameAsFile(strokeText(g), "square_round_window.txt");
    EXPECT_TRUE(l->linked());
    // One step: undo brings back the area without the window.
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(file(), before);
}

TEST_F(FillTool, AClosedOutlineCutsAWindowAndNoPutsTheAreaBack) {
    Square(10, 10, 30, 30);
    start();
    host.yesNo.push_back(true);
    click({20, 10});
    ASSERT_EQ(result(), ToolResult::Committed);
    // A square window whose lower side comes last, so that its outline is gathered in two
    // clicks.
    Line({15, 15}, {25, 15});
    Line({25, 15}, {25, 25});
    Line({25, 25}, {15, 25});
    const std::string before = file();
    editor.drawing.windowByClick = true;
    click({12, 12});
    ASSERT_EQ(result(), ToolResult::NextState);
    click({40, 40});
    EXPECT_EQ(result(), ToolResult::Refused);
    click({20, 15});
    EXPECT_EQ(result(), ToolResult::NextState);
    EXPECT_EQ(hint(), kHintWindowNext);
    // "No" gives back the area and the window's lines.
    Line({15, 25}, {15, 15});
    std::vector<std::string> withSide = lines(before);
    withSide.push_back("LINE:XS=15,YS=25,XE=15,YE=15,LE=1,AP=5\r");
    std::sort(withSide.begin(), withSide.end());
    click({15, 20});
    EXPECT_EQ(result(), ToolResult::Reverted);
    // Everything is back; the side drawn while the window was open stands before the rest.
    EXPECT_EQ(lines(file()), withSide);
    EXPECT_EQ(topLevel(), 5u);
    EXPECT_EQ(frames(), 1);
    // Again, with "Yes": the window's outline leaves the board for the window group.
    click({12, 12});
    host.yesNo.push_back(true);
    click({20, 15});
    EXPECT_EQ(result(), ToolResult::Committed);
    EXPECT_EQ(topLevel(), 1u);
    const group* g = area();
    ASSERT_TRUE(g);
    const group* w = member(g, Reserved().window);
    ASSERT_TRUE(w);
    size_t n = 0;
    for (container* m : Items(w->members)) n += m->kind == kLine;
    EXPECT_EQ(n, 4u);
    for (const line* s : strokes(g))
        if (s->y > 15 && s->y < 25) EXPECT_TRUE(s->ex <= 15 + 1e-9 || s->x >= 25 - 1e-9);
    EXPECT_EQ(editor.history.doneCount(), 2u);
    const std::string cut = file();
    EXPECT_TRUE(editor.command(Cmd::Undo));
    EXPECT_EQ(lines(file()), withSide);
    EXPECT_TRUE(editor.command(Cmd::Redo));
    EXPECT_EQ(file(), cut);
    (void)before;
}

// ------------------------------------------------------------------ outputs

TEST_F(FillTool, AnAreaMadeByTheToolGoesThroughGerberAndComesBackTheSame) {
    Square(10, 10, 30, 30);
    start();
    host.yesNo.push_back(true);
    click({20, 10});
    ASSERT_EQ(result(), ToolResult::Committed);
    // A square land: its window is four lines (a full circle goes out as two half circles and
    // comes back as two arcs).
    board.SetSquareAperture(40, 1.0);
    land* l = board.CreateLand(1, 40, true, {20, 20});
    board.AppendElement(nullptr, l);
    click({15, 15}, kMkControl);
    host.yesNo.push_back(true);
    click({21, 20});
    ASSERT_EQ(result(), ToolResult::Committed);
    ASSERT_TRUE(area());
    const group* w = member(area(), Reserved().window);
    ASSERT_TRUE(w);
    size_t sides = 0;
    for (container* m : Items(w->members)) sides += m->kind == kLine;
    EXPECT_EQ(sides, 4u);
    size_t drawnCount = 0;
    ForEachDrawn(board.items, [&](const drawn* d) { drawnCount += d->layer == 1; });

    UsedApertures used;
    CollectUsedApertures(board, 1, used);
    const DCodeTables codes = AutomaticDCodes(DCodeTables::Defaults(), used);
    std::string first;
    WriteLayer(first, board, 1, true, 3, codes);
    Board back;
    GerberReadOptions o;
    o.layer = 1;
    InputResult r;
    ReadGerber(back, first, o, r);
    EXPECT_EQ(r.warnings, 0u);
    EXPECT_EQ(r.skippedCommands, 0);
    // Every stroke, every outline element and the land come back.
    EXPECT_EQ(r.elements.size(), drawnCount);
    for (container* e : r.elements) back.AppendElement(nullptr, e);
    UsedApertures usedBack;
    CollectUsedApertures(back, 1, usedBack);
    std::string second;
    WriteLayer(second, back, 1, true, 3, AutomaticDCodes(DCodeTables::Defaults(), usedBack));
    EXPECT_EQ(second, first);

    // gerbv, where installed, draws it without complaint.
    if (std::system("command -v gerbv >/dev/null 2>&1") != 0) return;
    const auto gbr = dir / "area.gbr", png = dir / "area.png", err = dir / "gerbv.err";
    ASSERT_TRUE(WriteFileAtomically(gbr, first));
    const std::string cmd = "gerbv -x png -D 100 -o '" + png.string() + "' '" + gbr.string() +
                            "' >/dev/null 2>'" + err.string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_GT(std::filesystem::file_size(png), 0u);
    const auto complaints = ReadWholeFile(err);
    ASSERT_TRUE(complaints);
    EXPECT_EQ(complaints->find("CRITICAL"), std::string::npos) << *complaints;
    EXPECT_EQ(complaints->find("WARNING"), std::string::npos) << *complaints;
}

// ------------------------------------------------------------------ the area in the checks

// A square filled by the tool on a pattern layer: its strokes are copper like any other.
class FilledAreaChecks : public FillTool {
  protected:
    void SetUp() override {
        FillTool::SetUp();
        board.layerFlags[1] |= kRolePattern;
    }
    const group* fillSquare() {
        Square(10, 10, 20, 20);
        start();
        host.yesNo.push_back(true);
        click({15, 10});
        EXPECT_EQ(result(), ToolResult::Committed);
        return area();
    }
};

TEST_F(FilledAreaChecks, ALandTouchingOnlyTheStrokesJoinsTheAreasNet) {
    const group* g = fillSquare();
    ASSERT_TRUE(g);
    // Inside the area, far from the outline: only the strokes reach it.
    land* inside = board.CreateLand(1, kPen, false, {15, 15});
    board.AppendElement(nullptr, inside);
    land* outside = board.CreateLand(1, kPen, false, {40, 40});
    board.AppendElement(nullptr, outside);
    const auto nets = BuildNets(board);
    ASSERT_TRUE(nets);
    const drawn* stroke = strokes(g).front();
    EXPECT_NE(stroke->mark, 0);
    EXPECT_EQ(inside->mark, stroke->mark);
    EXPECT_NE(outside->mark, stroke->mark);
    const Net* areaNet = nullptr;
    for (const Net& n : *nets)
        if (std::find(n.begin(), n.end(), g) != n.end()) areaNet = &n;
    ASSERT_TRUE(areaNet);
    EXPECT_NE(std::find(areaNet->begin(), areaNet->end(), inside), areaNet->end());
}

TEST_F(FilledAreaChecks, TheRuleCheckMeasuresFromTheStrokesToAForeignTrack) {
    fillSquare();
    // Drop the outline: what is left of the area is its strokes.
    group* g = area();
    for (container* m : Items(g->members))
        if (m->kind == kGroup && AsGroup(m)->type == Reserved().loop) m->destroy(board);
    // The top stroke's edge lies at 19.975 + 0.1; the track's edge 0.15 above it.
    line* track = Line({10, 20.325}, {20, 20.325});
    const DrcReport r = DrcCommand(board, ReadDrcRules("[DrcDatas]\nSpace:LE1=1,P-P=0.2\n", board));
    ASSERT_GE(r.result, 1);
    bool strokeFound = false;
    for (const DrcViolation& v : r.violations) {
        EXPECT_EQ(v.kind, DrcViolation::kGap);
        const drawn* other = v.a == track ? v.b : v.b == track ? v.a : nullptr;
        ASSERT_TRUE(other);
        ASSERT_TRUE(other->parent);
        EXPECT_EQ(other->parent->type, Reserved().lines);
        strokeFound = true;
        EXPECT_NEAR(v.gap, 0.15, 1e-6);
    }
    EXPECT_TRUE(strokeFound);
    // Far enough away, nothing is found.
    track->translate(board, 0, 1);
    EXPECT_EQ(DrcCommand(board, ReadDrcRules("[DrcDatas]\nSpace:LE1=1,P-P=0.2\n", board)).result,
              0);
}

TEST_F(FilledAreaChecks, TheRendererDrawsTheStrokesInsideTheOutline) {
    const group* g = fillSquare();
    ASSERT_TRUE(g);
    Framebuffer filled;
    filled.Resize(editor.view.clientWidth, editor.view.clientHeight);
    RenderBoard(board, editor.view, filled);
    // Unfilled, the outline alone: the inside stays empty.
    host.yesNo.push_back(true);
    click({15, 15}, kMkShift);
    ASSERT_EQ(result(), ToolResult::Committed);
    Framebuffer outline;
    outline.Resize(editor.view.clientWidth, editor.view.clientHeight);
    RenderBoard(board, editor.view, outline);
    // Each stroke is drawn as its outline: a side 0.1 mm above its centre line, in the layer's
    // colour, where the outline alone leaves the board empty.
    const Pixel colour = kPalette[size_t(board.layerColour[1] & 15)];
    const std::vector<Point> sides = {{15, 10.195}, {12, 15.035 + 0.1}, {18, 17.695 + 0.1}};
    for (const Point p : sides) {
        int x, y;
        pixel(p, x, y);
        EXPECT_EQ(filled.at(x, y), colour) << p.x << " " << p.y;
        EXPECT_EQ(outline.at(x, y), 0u) << p.x << " " << p.y;
    }
    size_t strokeRows = 0;
    int x0, y0, x1, y1;
    pixel({15, 19.9}, x0, y0);
    pixel({15, 10.2}, x1, y1);
    for (int y = y0; y <= y1; ++y) strokeRows += filled.at(x0, y) == colour;
    // 53 strokes, two sides each, 1.9 pixels apart: the sides of neighbours share rows.
    EXPECT_GT(strokeRows, 53u);
}

// ------------------------------------------------------------------ hatching

TEST(FillHatch, PitchComesFromThePenAndIsOneThousandthAtLeast) {
    EXPECT_NEAR(HatchPitch(0.2), 0.19, 1e-12);
    EXPECT_NEAR(HatchPitch(0.1), 0.095, 1e-12);
    EXPECT_NEAR(HatchPitch(0.001), 0.001, 1e-12);  // 0.95 x 0.001 rounds down to nothing
    EXPECT_NEAR(HatchPitch(1.0), 0.95, 1e-12);
}

std::vector<FillEdge> Polygon(std::vector<Point> p) {
    std::vector<FillEdge> out;
    for (size_t i = 0; i < p.size(); ++i) {
        FillEdge e;
        e.a = p[i];
        e.b = p[(i + 1) % p.size()];
        out.push_back(e);
    }
    return out;
}

TEST(FillHatch, AScanLineThroughAVertexWithAnOddCountMakesNoStroke) {
    // Pen 0.2: scan lines at 0.095 + 0.19 k. The left side bends outward at (-2, 1.805), on
    // scan line 9, where both of its edges count the vertex and the right side once more: three
    // crossings.
    const auto edges = Polygon({{0, 0}, {10, 0}, {10, 4}, {0, 4}, {-2, 1.805}});
    const auto strokes = HatchStrokes(edges, 0.2);
    bool sawVertexLine = false;
    for (const FillStroke& s : strokes) sawVertexLine |= std::fabs(s.a.y - 1.805) < 1e-9;
    EXPECT_FALSE(sawVertexLine);
    // The scan lines either side make their stroke.
    size_t below = 0, above = 0;
    for (const FillStroke& s : strokes) {
        below += std::fabs(s.a.y - 1.615) < 1e-9;
        above += std::fabs(s.a.y - 1.995) < 1e-9;
    }
    EXPECT_EQ(below, 1u);
    EXPECT_EQ(above, 1u);
}

TEST(FillHatch, TheSmallestPenHatchesEveryThousandth) {
    const auto strokes = HatchStrokes(Polygon({{0, 0}, {1, 0}, {1, 0.01}, {0, 0.01}}), 0.001);
    // From 0 - 0.000 + 0.001 up to 0.01 - 0.000, every 0.001: ten scan lines.
    ASSERT_EQ(strokes.size(), 10u);
    EXPECT_NEAR(strokes.front().a.y, 0.001, 1e-12);
    EXPECT_NEAR(strokes.back().a.y, 0.01, 1e-12);
}

TEST(FillHatch, WindowsMakeHolesByTheOddEvenRuleAndTheEdgeListHasALimit) {
    auto edges = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const auto hole = Polygon({{4, 4}, {6, 4}, {6, 6}, {4, 6}});
    edges.insert(edges.end(), hole.begin(), hole.end());
    size_t split = 0;
    for (const FillStroke& s : HatchStrokes(edges, 0.2))
        if (s.a.y > 4 && s.a.y < 6) {
            ++split;
            EXPECT_TRUE(s.b.x <= 4 || s.a.x >= 6);
        }
    EXPECT_GT(split, 0u);
    // The working area takes what fits and refuses the rest, keeping what it held.
    Board b;
    line* l = b.CreateLine(1, 0, false, {0, 0}, {1, 1});
    std::vector<const drawn*> one{l};
    std::vector<FillEdge> list(3);
    EXPECT_TRUE(AddFillEdges(one, list, 4));
    EXPECT_FALSE(AddFillEdges(one, list, 4));
    EXPECT_EQ(list.size(), 4u);
    l->destroy(b);
}

}  // namespace
}  // namespace zevo::test
