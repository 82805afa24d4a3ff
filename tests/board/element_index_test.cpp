#include "board/model/element_index.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

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

}  // namespace
}  // namespace zevo
