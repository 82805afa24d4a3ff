// Numbers read as atof and atoi read them, and written digit for digit as printf writes them.
#include "board/file/file_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "geometry/geometry.h"

namespace zevo {
namespace {

TEST(NumberReading, TakesTheLongestDecimalPrefixLikeAtof) {
    const struct {
        const char* text;
        double value;
        size_t used;
    } cases[] = {
        {"  12.5abc", 12.5, 6},
        {"+3", 3, 2},
        {"-.5", -0.5, 3},
        {"5.", 5, 2},
        {"\t-7e2,", -700, 5},
        {"1e", 1, 1},
        {"1.5e+", 1.5, 3},
        {"007.250", 7.25, 7},
        {".e5", 0, 0},
        {".", 0, 0},
        {"", 0, 0},
        {"abc", 0, 0},
        {"+-5", 0, 0},
        {"-", 0, 0},
        {"-0", -0.0, 2},
        {"123456789012345678", 123456789012345678.0, 18},
        // Refused on purpose: no hexadecimal, no inf, no nan.
        {"0x10", 0, 1},
        {"inf", 0, 0},
        {"-infinity", 0, 0},
        {"nan", 0, 0},
        // Out of the range of a double: the largest finite one, or 0.
        {"1e400", DBL_MAX, 5},
        {"-1e400", -DBL_MAX, 6},
        {"1e-400", 0, 6},
        {"0.0000000001e-320", 0, 17},
        {"12345678901234567890e300", DBL_MAX, 24},
    };
    for (const auto& c : cases) {
        const char* stop = nullptr;
        const double v = ParseReal(c.text, c.text + std::strlen(c.text), &stop);
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(std::signbit(v), std::signbit(c.value)) << c.text;
        EXPECT_EQ(static_cast<size_t>(stop - c.text), c.used) << c.text;
    }
}

TEST(NumberReading, AgreesWithStrtodOnDecimalText) {
    std::mt19937_64 rnd(3);
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rnd() % 10);
        return s;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string s = (rnd() % 4 == 0) ? " " : "";
        if (rnd() % 3 == 0) s += (rnd() % 2) ? "-" : "+";
        s += digits(static_cast<int>(rnd() % 12));
        if (rnd() % 2) s += "." + digits(static_cast<int>(rnd() % 18));
        if (rnd() % 5 == 0)
            s += "e" + std::string(rnd() % 2 ? "-" : "") + digits(1 + static_cast<int>(rnd() % 3));
        s += ",X";
        char* end;
        const double expected = std::strtod(s.c_str(), &end);
        if (std::isinf(expected)) continue;
        const char* stop;
        ASSERT_EQ(ParseReal(s.data(), s.data() + s.size(), &stop), expected) << s;
        ASSERT_EQ(stop, end == s.c_str() ? s.data() : end) << s;
    }
}

TEST(NumberReading, IntegersLikeAtoiButSaturated) {
    EXPECT_EQ(ParseInt("  -12x"), -12);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("1.9"), 1);
    EXPECT_EQ(ParseInt("x1"), 0);
    EXPECT_EQ(ParseInt("4294967297"), INT_MAX);  // not 1, as a wrapping atoi would say
    EXPECT_EQ(ParseInt("-99999999999"), INT_MIN);
    EXPECT_EQ(ParseInt("-2147483648"), INT_MIN);
}

std::string Printf(const char* format, double v) {
    char buf[400];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

TEST(NumberWriting, FourteenDigitsAsPrintfWritesThem) {
    std::mt19937_64 rnd(7);
    auto check = [](double v) {
        char buf[kNumberRoom];
        ASSERT_EQ(std::string(buf, FormatG14(buf, v)), Printf("%.14g", v)) << std::hexfloat << v;
    };
    for (double v : {0.0,
                     -0.0,
                     1.0,
                     0.1,
                     100000.0,
                     1e14,
                     1e15,
                     99999999999999.5,
                     0.0001,
                     0.00001,
                     9.99999999999995e-5,
                     123456789012345.0,
                     5e-324,
                     DBL_MAX,
                     -DBL_MIN,
                     1.0 / 3,
                     300.00000000000006,
                     -0.001,
                     0.001,
                     0.0015,
                     0.0005,
                     12345678.0005,
                     99999999999.999,
                     -99999999999.999,
                     1e11,
                     -1e11,
                     100000000000.001})
        check(v);
    for (int i = 0; i < 300000; ++i) {
        uint64_t bits = rnd();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) check(v);
        check(static_cast<double>(static_cast<int64_t>(rnd() % 2000000001) - 1000000000) / 1000.0);
        check(std::ldexp(static_cast<double>(rnd() >> 11), -static_cast<int>(rnd() % 1130)));
        // Thousandths up to the largest magnitudes of fourteen digits, and halfway between two.
        const int64_t m = static_cast<int64_t>(rnd() % 200000000000001) - 100000000000000;
        check(static_cast<double>(m) / 1000.0);
        check((static_cast<double>(m % 1000000000) + 0.5) / 1000.0);
    }
}

// Values a few units of the last place away from a whole thousandth, as angles come out of a
// conversion to radians and back, and the edges where "%.14g" stops rounding them to it.
TEST(NumberWriting, NearThousandthsAsPrintfWritesThem) {
    std::mt19937_64 rnd(11);
    auto check = [](double v) {
        char buf[kNumberRoom];
        ASSERT_EQ(std::string(buf, FormatG14(buf, v)), Printf("%.14g", v)) << std::hexfloat << v;
    };
    auto around = [&](double v, int ulps) {
        double up = v, down = v;
        for (int k = 0; k <= ulps; ++k) {
            check(up);
            check(down);
            up = std::nextafter(up, HUGE_VAL);
            down = std::nextafter(down, -HUGE_VAL);
        }
    };
    // Every tenth of a degree from -720 to 720 through radians, also one turn lower, and sums.
    for (int t = -7200; t <= 7200; ++t) {
        const double deg = ToDegrees(ToRadians(t / 10.0));
        check(deg);
        check(deg - 360);
        check(ToDegrees(ToRadians(t / 10.0) + ToRadians(123.4)));
        around(t / 10.0, 3);
    }
    // Powers of ten and the thousandths just below and above them, where the digit count changes.
    for (double p = 0.001; p < 2e11; p *= 10) {
        for (double v : {p, p - 0.001, p + 0.001, p * 0.999, -p}) {
            around(v, 40);
            // About half a unit of the fourteenth digit away, on both sides.
            for (double f : {0.49, 0.5, 0.51, 0.049, 0.051}) {
                check(v + f * p * 1e-13);
                check(v - f * p * 1e-13);
                check(v + f * p * 1e-14);
                check(v - f * p * 1e-14);
            }
        }
    }
    for (int i = 0; i < 200000; ++i) {
        const int64_t m = static_cast<int64_t>(rnd() % 200000000000001) - 100000000000000;
        const double d = static_cast<double>(m) / 1000.0;
        const int steps = static_cast<int>(rnd() % 64);
        double v = d;
        for (int k = 0; k < steps; ++k) v = std::nextafter(v, (rnd() & 1) ? HUGE_VAL : -HUGE_VAL);
        check(v);
        const int digits = static_cast<int>(rnd() % 16);
        const int64_t small = static_cast<int64_t>(rnd() % 2000000) - 1000000;
        check(static_cast<double>(small) / std::pow(10.0, digits % 7) +
              static_cast<double>(rnd() % 9 + 1) * std::pow(10.0, -digits));
    }
}

TEST(NumberWriting, FixedDecimalsAsPrintfWritesThem) {
    std::mt19937_64 rnd(9);
    auto check = [](double v) {
        char buf[kFixedRoom];
        ASSERT_EQ(std::string(buf, FormatFixed(buf, v, 3)), Printf("%.3f", v)) << v;
        ASSERT_EQ(std::string(buf, FormatFixed(buf, v, 0)), Printf("%.0f", v)) << v;
    };
    for (double v : {0.0, -0.0, 0.0005, 0.0015, 2.5, 3.5, -0.0004, 1e300, -DBL_MAX, 1234.5675})
        check(v);
    for (int i = 0; i < 200000; ++i) {
        check(static_cast<double>(static_cast<int64_t>(rnd() % 20000001) - 10000000) / 2000.0);
        uint64_t bits = rnd();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) check(v);
    }
}

TEST(TextOutput, LinesEndWithCrLfAndBigTextsGoToTheFileInPieces) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::string expected;
    {
        TextOut out(f);
        for (int i = 0; i < 100000; ++i) {
            out.put("LINE:X=");
            out.g14(i * 0.5);
            out.newline();
            expected += "LINE:X=" + Printf("%.14g", i * 0.5) + "\r\n";
        }
        EXPECT_LT(out.text().size(), expected.size());  // passed on before the end
        EXPECT_TRUE(out.flush());
    }
    std::rewind(f);
    std::string back(expected.size() + 1, '\0');
    back.resize(std::fread(back.data(), 1, back.size(), f));
    std::fclose(f);
    EXPECT_TRUE(back == expected);
}

TEST(TextOutput, PiecesOfEverySizeKeepTheirOrderInMemoryAndInAFile) {
    // Short pieces, numbers, pieces longer than any buffer, and the text taken and changed in
    // between: what comes out is what went in, in order.
    const std::string big(3 << 20, 'b');
    auto fill = [&](TextOut& out, std::string& expected) {
        for (int i = 0; i < 30000; ++i) {
            out.put("LINE:X=");
            out.g14(i * 0.001);
            out.put(',');
            out.integer(-i);
            out.newline();
            expected += "LINE:X=" + Printf("%.14g", i * 0.001) + "," + std::to_string(-i) + "\r\n";
            if (i % 9999 == 0) {
                out.put(big);
                out.fixed(i * 0.5, 3);
                expected += big + Printf("%.3f", i * 0.5);
            }
        }
    };
    std::string expected;
    TextOut memory;
    fill(memory, expected);
    memory.text() += "<taken>";
    memory.put("after");
    EXPECT_TRUE(memory.text() == expected + "<taken>after");

    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    expected.clear();
    {
        TextOut out(f);
        fill(out, expected);
        EXPECT_TRUE(out.flush());
    }
    std::rewind(f);
    std::string back(expected.size() + 1, '\0');
    back.resize(std::fread(back.data(), 1, back.size(), f));
    std::fclose(f);
    EXPECT_TRUE(back == expected);
}

}  // namespace
}  // namespace zevo
