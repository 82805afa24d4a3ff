// Picking goes through the board's index of drawn elements; it must give exactly what the plain
// walk of the document gives, whatever happened to the document in between.
#include <algorithm>
#include <random>
#include <vector>

#include "board_generator.h"
#include "tool_test_fixture.h"
#include "view/plain_walk.h"

namespace zevo::test {
namespace {

class PickIndex : public ToolFixture {
  protected:
    std::vector<drawn*> Drawn() const {
        std::vector<drawn*> out;
        ForEachDrawn(board.items, [&](drawn* d) { out.push_back(d); });
        return out;
    }

    // Points anywhere on the board, on and beside elements, and exactly on the edges of their
    // bounds grown by the tolerance, where the index's rounded copy of the bounds must still
    // let them through.
    std::vector<Point> Probes(std::mt19937& rng, size_t n) const {
        // Half of the element probes go to what the last change touched.
        std::vector<const drawn*> all;
        for (const drawn* d : Drawn()) all.push_back(d);
        const size_t everywhere = all.size();
        for (const container* c : touched)
            if (c->linked()) {
                if (c->kind == kGroup)
                    ForEachDrawn(AsGroup(c)->members, [&](const drawn* d) { all.push_back(d); });
                else if (IsDrawn(c))
                    all.push_back(AsDrawn(c));
            }
        const double t = view.pickRadiusWorld;
        std::uniform_real_distribution<double> bx(-5, board.sizeX + 5), by(-5, board.sizeY + 5);
        std::uniform_real_distribution<double> jitter(-2 * t, 2 * t), unit(0, 1);
        std::vector<Point> out;
        for (size_t i = 0; i < n; ++i) {
            if (all.empty() || i % 4 == 0) {
                out.push_back({bx(rng), by(rng)});
                continue;
            }
            const bool focus = all.size() > everywhere && i % 2 == 1;
            const drawn* d = focus ? all[everywhere + rng() % (all.size() - everywhere)]
                                   : all[rng() % everywhere];
            const Box& b = d->bounds;
            const double along = b.minY + unit(rng) * (b.maxY - b.minY);
            switch (rng() % 4) {
                case 0:
                    out.push_back({d->x + jitter(rng), d->y + jitter(rng)});
                    break;
                case 1:
                    out.push_back({b.minX - t, along});
                    break;
                case 2:
                    out.push_back({b.maxX + t, along});
                    break;
                default:
                    out.push_back({b.minX + unit(rng) * (b.maxX - b.minX), b.maxY + t});
                    break;
            }
        }
        return out;
    }

    // Returns the number of probes that hit something.
    int ExpectPlainPicks(std::mt19937& rng, const char* what) {
        int hits = 0;
        for (Point p : Probes(rng, 40)) {
            container* want = PlainPick(board, board.items, p, view.pickRadiusWorld);
            EXPECT_EQ(ctx.pickElement(p), want) << what << " at " << p.x << ", " << p.y;
            hits += want != nullptr;
        }
        return hits;
    }

    ViewState RepaintView(std::mt19937& rng) const {
        ViewState v;
        v.TakeBoardGrid(board);
        v.SetClientSize(160, 120);
        v.CentreOnBoard();
        v.FitBoard();
        if (rng() % 2)
            v.SetView(v.scale * (1 + rng() % 20), double(rng() % 300), double(rng() % 200));
        v.SetMirror(rng() % 3 == 0);
        return v;
    }

    drawn* AnyDrawn(std::mt19937& rng) const {
        const std::vector<drawn*> all = Drawn();
        return all.empty() ? nullptr : all[rng() % all.size()];
    }

    // What the last change moved, added or put back.
    std::vector<const container*> touched;
};

TEST_F(PickIndex, PicksAndRepaintsEqualThePlainWalkThroughEveryKindOfChange) {
    GenerateBoard(board, {3000, 11});
    std::mt19937 rng(3);
    int hits = 0;
    for (int round = 0; round < 150; ++round) {
        const char* what = "";
        touched.clear();
        switch (rng() % 12) {
            case 0: {  // lift a unit into the selection
                what = "lift";
                if (drawn* d = AnyDrawn(rng)) {
                    UndoStep* step = history.BeginStep();
                    ctx.selection.lift(rng() % 2 ? topItem(d) : editUnit(d), step);
                    ctx.selection.addPending(step);
                }
                break;
            }
            case 1:  // what was lifted goes back where it stood
                what = "cancel";
                for (const container* c : Items(ctx.selection.list)) touched.push_back(c);
                ctx.cancel();
                break;
            case 2:
                what = "confirm";
                ctx.selection.commit();
                ctx.selection.clear();
                break;
            case 3:
                what = "undo";
                history.Undo();
                break;
            case 4:
                what = "redo";
                history.Redo();
                break;
            case 5: {  // a new element at the end, or at the end of some group
                what = "add";
                drawn* d = AnyDrawn(rng);
                group* owner = d && rng() % 2 ? d->parent : nullptr;
                const Point at{double(rng() % 400), double(rng() % 300)};
                drawn* e = rng() % 2 ? static_cast<drawn*>(board.CreateLand(1, 1, false, at))
                                     : board.CreateLine(1, 1, false, at, {at.x + 5, at.y});
                board.AppendElement(owner, e);
                touched.push_back(e);
                break;
            }
            case 6:  // moved in place, still linked
                what = "move";
                if (drawn* d = AnyDrawn(rng)) {
                    d->translate(board, 3, -2);
                    touched.push_back(d);
                }
                break;
            case 7: {  // lifted, moved, put back where it stood
                what = "move lifted";
                ctx.cancel();
                if (drawn* d = AnyDrawn(rng)) {
                    container* unit = topItem(d);
                    UndoStep* step = history.BeginStep();
                    ctx.selection.lift(unit, step);
                    ctx.selection.addPending(step);
                    unit->translate(board, -4, 1);
                    ctx.cancel();
                    touched.push_back(unit);
                }
                break;
            }
            case 8: {
                what = "layer switch";
                const int layer = int(rng() % 8);
                if (board.layerFlags[size_t(layer)] & kActiv)
                    board.ClearLayerSwitch(layer, kActiv);
                else
                    board.SetLayerSwitch(layer, kActiv);
                break;
            }
            case 9: {
                what = "rectangle";
                const Point a{double(rng() % 400), double(rng() % 300)};
                ctx.selection.addPending(ctx.selection.rectangleSelect(a, {a.x + 20, a.y + 15}));
                break;
            }
            case 10:
                what = "scale";
                view.SetScale(0.5 + double(rng() % 400) / 10);
                break;
            default: {  // bounds written directly, as the model allows with notice
                what = "bounds";
                if (drawn* d = AnyDrawn(rng)) {
                    d->bounds.maxX += 10;
                    board.changes.note();
                    touched.push_back(d);
                }
                break;
            }
        }
        hits += ExpectPlainPicks(rng, what);
        if (round % 10 == 0) ExpectPlainRepaint(board, RepaintView(rng), what);
        if (HasFailure()) break;
    }
    EXPECT_GT(hits, 500);
    ctx.cancel();
}

TEST_F(PickIndex, AHitLeavesThePartWalkedAndTheNextPickCarriesOnFromThere) {
    const land* first = Land({10, 10});
    for (int i = 0; i < 5000; ++i) Land({20 + double(i % 100), 30 + double(i / 100)});
    const land* last = Land({300, 200});
    EXPECT_EQ(ctx.pickElement({10.5, 10}), first);
    const size_t early = board.drawnIndex.recorded();
    EXPECT_FALSE(board.drawnIndex.complete());
    EXPECT_LT(early, 5002u);
    EXPECT_EQ(ctx.pickElement({300.5, 200}), last);
    EXPECT_EQ(board.drawnIndex.recorded(), 5002u);
    EXPECT_EQ(ctx.pickElement({400, 400}), nullptr);
    EXPECT_TRUE(board.drawnIndex.complete());
    // A list that is not the board's leaves the index as it is.
    ListNode other;
    other.initHead();
    EXPECT_EQ(ctx.pickElement({10.5, 10}), first);
    EXPECT_EQ(board.drawnIndex.recorded(), 5002u);
    // An element appended is followed: the index stays whole and holds it.
    const land* appended = Land({250, 150});
    EXPECT_EQ(ctx.pickElement({10.5, 10}), first);
    EXPECT_EQ(board.drawnIndex.recorded(), 5003u);
    EXPECT_EQ(ctx.pickElement({250.5, 150}), appended);
    // A change it cannot follow, even far from the hit, starts it again.
    board.changes.note();
    EXPECT_EQ(ctx.pickElement({10.5, 10}), first);
    EXPECT_EQ(board.drawnIndex.recorded(), early);
}

TEST_F(PickIndex, AnElementMovedInPlaceIsFoundWhereItIsNow) {
    land* a = Land({10, 10});
    Land({50, 50});
    EXPECT_EQ(ctx.pickElement({200, 200}), nullptr);  // the index now holds both
    a->translate(board, 100, 100);
    EXPECT_EQ(ctx.pickElement({110.5, 110}), a);
    EXPECT_EQ(ctx.pickElement({10.5, 10}), nullptr);
    a->moveVertex(board, a->ref(), -5, 0);
    EXPECT_EQ(ctx.pickElement({105.5, 110}), a);
}

}  // namespace
}  // namespace zevo::test
