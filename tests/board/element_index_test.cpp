#include "board/model/element_index.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "board/model/board.h"

namespace zevo {
namespace {

TEST(ElementIndex, BoundsRoundedOutwardAlwaysHoldTheExactOnes) {
    std::mt19937_64 rng(9);
    std::uniform_real_distribution<double> mm(-2000, 2000);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1e-300,
                                  -1e-300,
                                  1e-45,
                                  -1e-45,
                                  1e300,
                                  -1e300,
                                  DBL_MAX,
                                  -DBL_MAX,
                                  FLT_MAX,
                                  -FLT_MAX,
                                  double(FLT_MAX) * 1.0000001,
                                  0.1,
                                  -0.1,
                                  1.0 / 3};
    for (int i = 0; i < 20000; ++i) values.push_back(mm(rng));
    const double inf = std::numeric_limits<double>::infinity();
    values.push_back(inf);
    values.push_back(-inf);
    for (double v : values) {
        const float below = FloatBelow(v), above = FloatAbove(v);
        EXPECT_LE(double(below), v) << v;
        EXPECT_GE(double(above), v) << v;
        // And no wider than needed: one float step at most.
        if (std::isfinite(below) && std::isfinite(v))
            EXPECT_GT(double(std::nextafter(below, INFINITY)), v) << v;
        if (std::isfinite(above) && std::isfinite(v))
            EXPECT_LT(double(std::nextafter(above, -INFINITY)), v) << v;
    }
    // Nothing compares with NaN, so an element with broken bounds is never passed over.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(FloatBelow(nan)));
    EXPECT_TRUE(std::isnan(FloatAbove(nan)));
}

// Each board counts the changes of its own tree: an edit of one board leaves the index of
// another as it was, and a change of the board itself that the index cannot follow starts it
// again.
TEST(ElementIndex, EveryBoardKeepsItsOwnChangeCount) {
    Board a, b;
    for (int i = 0; i < 2000; ++i) {
        a.AppendElement(nullptr, a.CreateLand(1, 0, false, {double(i % 200), double(i / 200)}));
        b.AppendElement(nullptr, b.CreateLand(1, 0, false, {double(i % 200), double(i / 200)}));
    }
    auto none = [](const OuterBox&) { return false; };
    auto all = [](const drawn*) { return false; };
    auto first = [](const drawn*) { return true; };
    b.drawnIndex.find(b.items, none, all);
    ASSERT_TRUE(b.drawnIndex.complete());
    ASSERT_EQ(b.drawnIndex.recorded(), 2000u);

    const uint64_t before = b.changes.value;
    a.AppendElement(nullptr, a.CreateLand(1, 0, false, {5, 5}));
    AsDrawn(AsElement(a.items.next))->translate(a, 1, 0);
    EXPECT_EQ(b.changes.value, before);
    b.drawnIndex.find(b.items, none, first);  // a hit at once: a restarted index records less
    EXPECT_EQ(b.drawnIndex.recorded(), 2000u);

    AsDrawn(AsElement(b.items.next))->translate(b, 1, 0);
    EXPECT_GT(b.changes.value, before);
    b.changes.note();  // a change no index follows
    b.drawnIndex.find(b.items, none, first);
    EXPECT_LT(b.drawnIndex.recorded(), 2000u);
}

// What the index holds, in order, with the bounds it keeps; and what a walk of the links gives.
std::vector<std::pair<const drawn*, OuterBox>> Indexed(const Board& b) {
    b.drawnIndex.fill(b.items);
    std::vector<std::pair<const drawn*, OuterBox>> out;
    for (size_t i = 0; i < b.drawnIndex.recorded(); ++i)
        if (b.drawnIndex.element(i)) out.push_back({b.drawnIndex.element(i), b.drawnIndex.box(i)});
    return out;
}

std::vector<std::pair<const drawn*, OuterBox>> Walked(const Board& b) {
    std::vector<std::pair<const drawn*, OuterBox>> out;
    ForEachDrawn(b.items, [&](const drawn* d) { out.push_back({d, Outward(d->bounds)}); });
    return out;
}

bool SameEntries(const std::vector<std::pair<const drawn*, OuterBox>>& a,
                 const std::vector<std::pair<const drawn*, OuterBox>>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const OuterBox &p = a[i].second, &q = b[i].second;
        if (a[i].first != b[i].first || p.minX != q.minX || p.minY != q.minY || p.maxX != q.maxX ||
            p.maxY != q.maxY)
            return false;
    }
    return true;
}

// Small edits (new bounds, elements taken out, elements and filled groups appended) are followed
// without a new walk; anything else (a link in the middle, a group taken out, an element of
// another list) starts the index again. Either way it holds what the walk of the links holds,
// and an element given back to its pool is never read.
TEST(ElementIndex, FollowsSmallEditsAndStartsAgainAfterOthers) {
    Board b;
    b.SetBoardSize(300, 300);
    std::vector<drawn*> top;
    for (int i = 0; i < 600; ++i) {
        drawn* d =
            i % 3 ? static_cast<drawn*>(b.CreateLand(1, 0, false, {i % 30 * 5.0, i / 30 * 5.0}))
                  : b.CreateLine(1, 0, false, {i % 30 * 5.0, 1}, {i % 30 * 5.0 + 2, 3});
        b.AppendElement(nullptr, d);
        top.push_back(d);
        if (i % 100 == 50) {
            group* g = b.CreateGroup(Intern("G"));
            b.AppendElement(nullptr, g);
            for (int k = 0; k < 3; ++k)
                b.AppendElement(g, b.CreateLand(2, 0, false, {double(k), double(i % 7)}));
        }
    }
    ASSERT_TRUE(SameEntries(Indexed(b), Walked(b)));
    const uint64_t restarts = b.drawnIndex.restarts();
    auto expectFollowed = [&](const char* what) {
        EXPECT_TRUE(SameEntries(Indexed(b), Walked(b))) << what;
        EXPECT_EQ(b.drawnIndex.restarts(), restarts) << what;
    };

    top[300]->translate(b, 7, -2);
    top[10]->moveTo(b, {100, 100});
    expectFollowed("moved");

    line* added = b.CreateLine(3, 0, false, {1, 1}, {9, 9});
    b.AppendElement(nullptr, added);
    group* g = b.CreateGroup(Intern("H"));
    for (int k = 0; k < 4; ++k) b.AppendElement(g, b.CreateLand(2, 0, false, {5, double(k)}));
    b.AppendElement(nullptr, g);
    added->translate(b, 1, 1);
    expectFollowed("appended");

    // Taken out: one for good (back to its pool), one kept for the relink below.
    ListNode* successor = top[200]->unlink(b.changes);
    top[400]->recycle(b);
    expectFollowed("taken out");

    // The same node handed out again and appended.
    land* again = b.CreateLand(4, 0, false, {50, 50});
    b.AppendElement(nullptr, again);
    expectFollowed("node reused");

    // Put back in the middle: the index starts again.
    top[200]->insertBefore(successor, b.changes);
    EXPECT_TRUE(SameEntries(Indexed(b), Walked(b)));
    EXPECT_GT(b.drawnIndex.restarts(), restarts);

    // A group taken out with its elements, and an element moved into a list of its own.
    const uint64_t later = b.drawnIndex.restarts();
    g->unlink(b.changes);
    EXPECT_TRUE(SameEntries(Indexed(b), Walked(b)));
    EXPECT_GT(b.drawnIndex.restarts(), later);
    ListNode other;
    other.initHead();
    top[5]->unlink(b.changes);
    top[5]->insertBefore(&other, b.changes);
    EXPECT_TRUE(SameEntries(Indexed(b), Walked(b)));
    top[5]->unlink(b.changes);
    b.AppendElement(nullptr, top[5]);
    g->recycle(b);
    EXPECT_TRUE(SameEntries(Indexed(b), Walked(b)));
}

}  // namespace
}  // namespace zevo
