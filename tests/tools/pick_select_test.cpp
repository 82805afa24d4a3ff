#include <algorithm>

#include "tool_test_fixture.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

using Pick = ToolFixture;

TEST_F(Pick, OverlappingElementsGiveTheOneDrawnFirstWhateverItsLayer) {
    land* a = Land({10, 10}, 5);
    land* b = Land({10, 10}, 1);
    // A land is hit on its outline.
    EXPECT_EQ(ctx.pickElement({10.5, 10}), a);
    EXPECT_EQ(ctx.pickElement({10, 10}), nullptr);
    // A layer that is shown but closed for editing is passed over.
    board.ClearLayerSwitch(5, kActiv);
    EXPECT_EQ(ctx.pickElement({10.5, 10}), b);
    board.ClearLayerSwitch(1, kActiv);
    EXPECT_EQ(ctx.pickElement({10.5, 10}), nullptr);
}

TEST_F(Pick, GroupsAreSearchedInPlaceAndGiveTheMemberHit) {
    Land({30, 30});
    group* part = Group(Intern("R"));
    Line({0, 10}, {20, 10}, 1, part);
    line* hit = Line({10, 0}, {10, 20}, 1, part);
    Land({11, 15});  // later in the document: loses
    EXPECT_EQ(ctx.pickElement({10.5, 15}), hit);
    EXPECT_EQ(topItem(hit), part);
}

TEST_F(Pick, ToleranceIsThePickRadiusInPixelsAtTheCurrentScale) {
    Land({10, 10});  // 1 mm across; 5 pixels at 10 pixels per mm is 0.5 mm
    EXPECT_NE(ctx.pickElement({10.95, 10}), nullptr);
    EXPECT_EQ(ctx.pickElement({11.05, 10}), nullptr);
    view.SetScale(5);  // the same 5 pixels now cover a millimetre
    EXPECT_NE(ctx.pickElement({11.05, 10}), nullptr);
    EXPECT_EQ(ctx.pickElement({11.6, 10}), nullptr);
}

TEST_F(Pick, AMissBeepsAndTakesNothing) {
    Land({10, 10});
    int x, y;
    At({20, 20}, x, y);
    ctx.mouseMove(x, y, 0);
    EXPECT_FALSE(ctx.selection.takePicked(ctx.cursorWorld(), topItem));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_TRUE(ctx.selection.pending.empty());
    EXPECT_TRUE(ctx.selection.empty());
    EXPECT_EQ(history.liveSteps(), 0u);
}

TEST_F(Pick, UnitRulesWidenToTextPadFilledAreaOrPart) {
    const ReservedWords& w = Reserved();
    group* text = Group(w.text);
    line* stroke = Line({0, 0}, {1, 1}, 1, text);
    EXPECT_EQ(editUnit(stroke), text);
    EXPECT_EQ(deleteUnit(stroke), text);

    group* painted = Group(w.painted);
    group* loop = Group(w.loop, painted);
    line* edge = Line({0, 0}, {5, 0}, 1, loop);
    EXPECT_EQ(editUnit(edge), painted);
    EXPECT_EQ(deleteUnit(edge), painted);
    EXPECT_EQ(topItem(edge), painted);

    group* looseLoop = Group(w.loop);  // an outline that belongs to no filled area
    line* looseEdge = Line({0, 0}, {5, 0}, 1, looseLoop);
    EXPECT_EQ(editUnit(looseEdge), looseEdge);

    group* part = Group(Intern("U1"));
    group* pad = Group(w.pad, part);
    land* padLand = Land({0, 0}, 1, pad);
    line* outline = Line({0, 0}, {3, 0}, 1, part);
    group* drc = Group(w.drc, part);
    line* keepOut = Line({0, 0}, {3, 3}, 1, drc);
    group* label = Group(w.text, part);
    group* labelLines = Group(w.lines, label);
    line* labelStroke = Line({0, 0}, {0, 1}, 1, labelLines);
    EXPECT_EQ(editUnit(padLand), pad);
    EXPECT_EQ(deleteUnit(padLand), pad);
    EXPECT_EQ(editUnit(outline), outline);  // anything else in a part is the single element
    EXPECT_EQ(deleteUnit(outline), outline);
    EXPECT_EQ(editUnit(keepOut), drc);
    EXPECT_EQ(deleteUnit(keepOut), keepOut);
    EXPECT_EQ(editUnit(labelStroke), label);
    EXPECT_EQ(topItem(labelStroke), part);

    land* loose = Land({0, 0});
    EXPECT_EQ(topItem(loose), loose);
    EXPECT_EQ(editUnit(loose), loose);
    EXPECT_EQ(deleteUnit(loose), loose);
}

using RectangleSelect = ToolFixture;

TEST_F(RectangleSelect, ARectangleCrossingOneLineOfAPartTakesTheWholePart) {
    land* before = Land({50, 50});
    group* part = Group(Intern("R1"));
    Line({0, 0}, {20, 0}, 1, part);
    Land({20, 0}, 1, part);
    land* after = Land({60, 60});
    UndoStep* s = ctx.selection.rectangleSelect({6, 1}, {5, -1});  // corners in any order
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Selection(), (std::vector<container*>{part}));
    EXPECT_EQ(TopLevel(), (std::vector<container*>{before, after}));
    ctx.selection.addPending(s);
}

TEST_F(RectangleSelect, TakesWhatTouchesOrLiesInsideInDocumentOrder) {
    land* inside = Land({50, 50});
    line* crossing = Line({40, 45}, {70, 45});   // passes through the box
    line* endInside = Line({55, 55}, {90, 90});  // one end inside
    land* nearCorner = Land({39.6, 39.6});       // its box overlaps, its circle does not
    land* closed = Land({52, 52}, 7);            // inside, but its layer is closed
    land* outside = Land({80, 20});
    board.ClearLayerSwitch(7, kActiv);
    UndoStep* s = ctx.selection.rectangleSelect({40, 40}, {60, 60});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Selection(), (std::vector<container*>{inside, crossing, endInside}));
    EXPECT_EQ(TopLevel(), (std::vector<container*>{nearCorner, closed, outside}));
    ctx.selection.addPending(s);
}

TEST_F(RectangleSelect, NothingTakenLeavesNoStepBehind) {
    Land({10, 10});
    EXPECT_EQ(ctx.selection.rectangleSelect({20, 20}, {30, 30}), nullptr);
    EXPECT_EQ(history.liveSteps(), 0u);
    EXPECT_EQ(history.liveEntries(), 0u);
    EXPECT_TRUE(ctx.selection.empty());
}

using SelectionSet = ToolFixture;

TEST_F(SelectionSet, CancellingPutsEveryLiftedItemBackInItsFormerPlace) {
    land* x = Land({1, 1});
    land* a = Land({10, 10});
    land* y = Land({2, 2});
    land* b = Land({20, 20});
    land* c = Land({30, 30});
    land* z = Land({3, 3});
    const std::vector<container*> original{x, a, y, b, c, z};
    for (const auto& order : {std::vector<Point>{{10, 10}, {20, 20}, {30, 30}},
                              std::vector<Point>{{30, 30}, {10, 10}, {20, 20}}}) {
        ctx.modes.enterTool(kModeDelete, 810);
        for (Point p : order) {
            int px, py;
            At({p.x + 0.5, p.y}, px, py);
            ctx.mouseMove(px, py, 0);
            ASSERT_TRUE(ctx.selection.takePicked(ctx.cursorWorld(), topItem));
            if (ctx.modes.depth() == 1) ctx.modes.pushState(1, 811);
        }
        EXPECT_EQ(TopLevel(), (std::vector<container*>{x, y, z}));
        EXPECT_EQ(ctx.selection.count(), 3u);
        EXPECT_EQ(ctx.selection.pending.size(), 3u);
        ctx.cancel();
        EXPECT_EQ(TopLevel(), original);
        EXPECT_TRUE(ctx.selection.empty());
        EXPECT_TRUE(ctx.selection.pending.empty());
        EXPECT_EQ(ctx.modes.depth(), 1);
        EXPECT_EQ(history.liveSteps(), 0u);
        EXPECT_FALSE(history.CanUndo());
    }
}

TEST_F(SelectionSet, CancellingReturnsAPartMemberIntoItsPartAndDestroysDragCopies) {
    group* part = Group(Intern("R"));
    line* l1 = Line({0, 0}, {10, 0}, 1, part);
    line* l2 = Line({0, 5}, {10, 5}, 1, part);
    line* l3 = Line({0, 9}, {10, 9}, 1, part);
    UndoStep* s = history.BeginStep();
    ctx.selection.lift(l2, s);
    ctx.selection.addPending(s);
    // A copy made for dragging sits in the selection but was never in the document.
    container* copy = l2->clone(board);
    copy->insertBefore(&ctx.selection.list, board.changes);
    ctx.selection.attached = l1;
    const size_t linesBefore = board.liveCounts().lines;
    ctx.cancel();
    std::vector<container*> members;
    for (container* m : Items(part->members)) members.push_back(m);
    EXPECT_EQ(members, (std::vector<container*>{l1, l2, l3}));
    EXPECT_EQ(l2->parent, part);
    EXPECT_EQ(board.liveCounts().lines, linesBefore - 1);
    EXPECT_EQ(ctx.selection.attached, nullptr);
    EXPECT_GE(host.repaints, 1);
}

TEST_F(SelectionSet, EmptyStepsAreNotKeptPending) {
    ctx.selection.addPending(history.BeginStep());
    ctx.selection.addPending(nullptr);
    EXPECT_TRUE(ctx.selection.pending.empty());
    EXPECT_EQ(history.liveSteps(), 0u);
}

TEST_F(SelectionSet, ConfirmingMakesUndoableStepsAndLeavesTheNodesToThem) {
    land* a = Land({10, 10});
    land* b = Land({20, 20});
    land* c = Land({30, 30});
    for (Point p : {Point{10, 10}, Point{30, 30}}) {
        int px, py;
        At({p.x + 0.5, p.y}, px, py);
        ctx.mouseMove(px, py, 0);
        ASSERT_TRUE(ctx.selection.takePicked(ctx.cursorWorld(), deleteUnit));
    }
    ctx.selection.commit();
    ctx.selection.clear();
    EXPECT_TRUE(ctx.selection.empty());
    EXPECT_EQ(TopLevel(), (std::vector<container*>{b}));
    EXPECT_EQ(history.doneCount(), 2u);
    history.Undo();
    history.Undo();
    EXPECT_EQ(TopLevel(), (std::vector<container*>{a, b, c}));
}

TEST_F(SelectionSet, AContextGoingAwayPutsLiftedElementsBack) {
    land* a = Land({10, 10});
    land* b = Land({20, 20});
    {
        ToolContext other(board, history, view, host);
        other.selection.addPending(other.selection.rectangleSelect({5, 5}, {15, 15}));
        EXPECT_EQ(TopLevel(), (std::vector<container*>{b}));
    }
    EXPECT_EQ(TopLevel(), (std::vector<container*>{a, b}));
    EXPECT_EQ(history.liveSteps(), 0u);
}

TEST_F(SelectionSet, AContextGoingAwayPutsTheAttachedElementBackWhereItStood) {
    land* a = Land({10, 10});
    land* b = Land({20, 20});
    land* c = Land({30, 30});
    {
        ToolContext other(board, history, view, host);
        other.selection.attachedSuccessor = b->unlink(board.changes);
        other.selection.attached = b;
        EXPECT_EQ(TopLevel(), (std::vector<container*>{a, c}));
    }
    EXPECT_EQ(TopLevel(), (std::vector<container*>{a, b, c}));
    {
        ToolContext other(board, history, view, host);
        c->unlink(board.changes);  // the last one: nothing stood after it
        other.selection.attached = c;
    }
    EXPECT_EQ(TopLevel(), (std::vector<container*>{a, b, c}));
}

TEST_F(SelectionSet, HighlightShowsInGreyAndErasingRestoresLayerColours) {
    Framebuffer fb(640, 480, 0);
    ctx.screen = &fb;
    land* a = Land({10, 10});
    ctx.selection.referenceLine = {{0, 1}, {20, 1}, true};
    UndoStep* s = history.BeginStep();
    ctx.selection.lift(a, s);
    ctx.selection.addPending(s);
    ctx.selection.highlight(true);
    auto count = [&](Pixel p) {
        size_t n = 0;
        for (int y = 0; y < fb.height(); ++y)
            n += size_t(std::count(fb.row(y), fb.row(y) + fb.width(), p));
        return n;
    };
    const size_t grey = count(kGreyPen);
    EXPECT_GT(grey, 200u);  // the reference line alone is 201 pixels
    ctx.selection.eraseHighlight();
    EXPECT_EQ(count(kGreyPen), 0u);
    const Pixel layer = kPalette[size_t(board.layerColour[1] & 15)];
    EXPECT_GT(count(layer), 0u);  // the lifted land is drawn again in its colour
    ctx.cancel();
}

}  // namespace
}  // namespace zevo::test
