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
// another as it was, and an edit of the board itself (a link, or bounds) starts its index again.
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
    b.drawnIndex.find(b.items, none, first);
    EXPECT_LT(b.drawnIndex.recorded(), 2000u);
}

}  // namespace
}  // namespace zevo
