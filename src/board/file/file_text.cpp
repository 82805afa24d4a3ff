#include "board/file/file_text.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#ifdef __linux__
#include <fcntl.h>
#endif

namespace zevo {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number from_chars found too large or too small for a double: which of the two?
// The decimal exponent of its first non-zero digit decides.
double Saturated(const char* p, const char* end) {
    long mag = 0;
    const char* s = p;
    while (s < end && *s == '0') ++s;
    long intDigits = 0;
    while (s < end && IsDigit(*s)) ++intDigits, ++s;
    if (intDigits > 0) {
        mag = intDigits - 1;
    } else if (s < end && *s == '.') {
        ++s;
        long zeros = 0;
        while (s < end && *s == '0') ++zeros, ++s;
        mag = -(zeros + 1);
    }
    while (s < end && *s != 'e' && *s != 'E') ++s;
    long exp = 0;
    if (s < end) {
        ++s;
        bool neg = false;
        if (s < end && (*s == '+' || *s == '-')) neg = *s++ == '-';
        while (s < end && IsDigit(*s)) {
            if (exp < 100000000) exp = exp * 10 + (*s - '0');
            ++s;
        }
        if (neg) exp = -exp;
    }
    return mag + exp > 0 ? DBL_MAX : 0.0;
}

}  // namespace

double ParseReal(const char* p, const char* end, const char** stop) {
    const char* s = p;
    while (s < end && IsSpace(*s)) ++s;
    bool neg = false;
    if (s < end && (*s == '+' || *s == '-')) neg = *s++ == '-';
    // Only a plain decimal number: a digit, or a point followed by a digit. This is where
    // hexadecimal, inf and nan are left out.
    if (!(s < end && (IsDigit(*s) || (*s == '.' && s + 1 < end && IsDigit(s[1]))))) {
        if (stop) *stop = p;
        return 0;
    }
    // Most numbers in a board file are short plain decimals ("123.456"). With at most 15 digits
    // and no exponent, digits / 10^decimals is one correctly rounded division of two exact
    // doubles: the same value from_chars gives, found faster.
    {
        static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const char* q = s;
        uint64_t m = 0;
        int digits = 0, decimals = 0;
        while (q < end && IsDigit(*q)) m = m * 10 + (*q++ - '0'), ++digits;
        if (q < end && *q == '.') {
            ++q;
            while (q < end && IsDigit(*q)) m = m * 10 + (*q++ - '0'), ++digits, ++decimals;
        }
        if (digits <= 15 && !(q < end && (*q == 'e' || *q == 'E'))) {
            if (stop) *stop = q;
            const double v = static_cast<double>(m) / kPow10[decimals];
            return neg ? -v : v;
        }
    }
    double v = 0;
    const auto r = std::from_chars(s, end, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) v = Saturated(s, r.ptr);
    if (stop) *stop = r.ptr;
    return neg ? -v : v;
}

int ParseInt(const char* p, const char* end, const char** stop) {
    const char* s = p;
    while (s < end && IsSpace(*s)) ++s;
    bool neg = false;
    if (s < end && (*s == '+' || *s == '-')) neg = *s++ == '-';
    if (!(s < end && IsDigit(*s))) {
        if (stop) *stop = p;
        return 0;
    }
    long long v = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    while (s < end && IsDigit(*s)) {
        if (v < limit) v = v * 10 + (*s - '0');
        ++s;
    }
    if (stop) *stop = s;
    if (neg) return v >= limit ? INT_MIN : static_cast<int>(-v);
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

char* FormatInt(char* buf, long long v) {
    return std::to_chars(buf, buf + kNumberRoom, v).ptr;
}

char* FormatFixed(char* buf, double v, int decimals) {
    // Room for the widest finite double in fixed notation lives in the caller (see TextOut).
    const auto r = std::to_chars(buf, buf + kFixedRoom, v, std::chars_format::fixed, decimals);
    return r.ptr;
}

namespace {

// Whether "%.14g" rounds v (|v| < 1e11) to the decimal d = m / 1000, m != 0, near = the double
// nearest to d. It does when v lies less than half a unit of its fourteenth significant digit
// from d: d is a multiple of that unit (|v| < 1e11 puts it at 1e-3 or finer). The unit is taken
// from the decimal exponent of d, one lower when d is a power of ten (v may lie just below it);
// it cannot be larger than v's own. v - near is exact (the two are within a factor of two), and
// near lies within a hair (2^-53 of d) of d, far inside the margin left below half a unit.
bool RoundsToThousandths(double v, double near, unsigned long long a) {
    // Half a unit of the fourteenth digit, shortened a little, for exponents -4 .. 10 of d.
    static constexpr double kHalfUnit[] = {0.46e-17, 0.46e-16, 0.46e-15, 0.46e-14, 0.46e-13,
                                           0.46e-12, 0.46e-11, 0.46e-10, 0.46e-9,  0.46e-8,
                                           0.46e-7,  0.46e-6,  0.46e-5,  0.46e-4,  0.46e-3};
    static constexpr unsigned long long kPow10[] = {
        1,           10,           100,           1000,           10000,
        100000,      1000000,      10000000,      100000000,      1000000000,
        10000000000, 100000000000, 1000000000000, 10000000000000, 100000000000000};
    int digits = 1;  // of a, at most 14 here
    while (digits < 15 && a >= kPow10[digits]) ++digits;
    if (digits > 14) return false;
    int exp = digits - 4;  // decimal exponent of d
    if (a == kPow10[digits - 1]) --exp;
    return std::fabs(v - near) < kHalfUnit[exp + 4];
}

}  // namespace

char* FormatG14(char* buf, double v) {
    // Most numbers of a board are whole thousandths of a millimetre, or lie within a few units of
    // the last place of one (angles converted from radians to degrees and back). "%.14g" rounds
    // such a v to exactly that decimal m / 1000, so its digits come straight from the integer m.
    // (-0 prints as "-0" and takes the path below.)
    if (v > -1e11 && v < 1e11) {
        const double scaled = v * 1000;
        const long long m = static_cast<long long>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
        const double near = static_cast<double>(m) / 1000.0;
        if ((near == v && (m != 0 || !std::signbit(v))) ||
            (m != 0 &&
             RoundsToThousandths(v, near, static_cast<unsigned long long>(m < 0 ? -m : m)))) {
            char* out = buf;
            unsigned long long a = m < 0 ? static_cast<unsigned long long>(-m) : m;
            if (m < 0) *out++ = '-';
            out = std::to_chars(out, out + 24, a / 1000).ptr;
            unsigned frac = static_cast<unsigned>(a % 1000);
            if (frac != 0) {
                *out++ = '.';
                *out++ = static_cast<char>('0' + frac / 100);
                frac %= 100;
                if (frac != 0) {
                    *out++ = static_cast<char>('0' + frac / 10);
                    if (frac % 10 != 0) *out++ = static_cast<char>('0' + frac % 10);
                }
            }
            return out;
        }
    }
    // Otherwise: when the shortest representation that reads back as v has at most 14 significant
    // digits, those are exactly the digits "%.14g" gives (every other 14-digit decimal lies farther
    // from v than half a unit in the last place). Only the layout of "%g" has to be rebuilt.
    // (Subnormal numbers carry fewer digits than that, so they take the slow path.)
    if (v != 0 && std::fabs(v) < DBL_MIN)
        return std::to_chars(buf, buf + kNumberRoom, v, std::chars_format::general, 14).ptr;
    char tmp[kNumberRoom];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::scientific);
    const char* s = tmp;
    const char* e = r.ptr;
    char* out = buf;
    if (s < e && *s == '-') *out++ = *s++;
    if (!(s < e && IsDigit(*s)))  // inf, nan
        return std::to_chars(buf, buf + kNumberRoom, v, std::chars_format::general, 14).ptr;
    char digits[24];
    int n = 0;
    for (; s < e && *s != 'e'; ++s)
        if (IsDigit(*s)) {
            if (n == 14)
                return std::to_chars(buf, buf + kNumberRoom, v, std::chars_format::general, 14).ptr;
            digits[n++] = *s;
        }
    int exp = 0;
    if (s < e) {
        ++s;
        const bool neg = *s == '-';
        ++s;
        for (; s < e; ++s) exp = exp * 10 + (*s - '0');
        if (neg) exp = -exp;
    }
    while (n > 1 && digits[n - 1] == '0') --n;
    if (exp >= -4 && exp < 14) {
        if (exp >= 0) {
            for (int i = 0; i <= exp; ++i) *out++ = i < n ? digits[i] : '0';
            if (n > exp + 1) {
                *out++ = '.';
                for (int i = exp + 1; i < n; ++i) *out++ = digits[i];
            }
        } else {
            *out++ = '0';
            *out++ = '.';
            for (int i = 0; i < -exp - 1; ++i) *out++ = '0';
            for (int i = 0; i < n; ++i) *out++ = digits[i];
        }
        return out;
    }
    *out++ = digits[0];
    if (n > 1) {
        *out++ = '.';
        for (int i = 1; i < n; ++i) *out++ = digits[i];
    }
    *out++ = 'e';
    *out++ = exp < 0 ? '-' : '+';
    const int a = exp < 0 ? -exp : exp;
    if (a < 10) *out++ = '0';
    return std::to_chars(out, out + 4, a).ptr;
}

void TextOut::drain() {
    text_.append(buf_.get(), static_cast<size_t>(pos_ - buf_.get()));
    pos_ = buf_.get();
}

void TextOut::spill() {
    if (file_) {
        flush();
#ifdef __linux__
        // A full buffer is on its way to the disk from now on, while the rest is written: the
        // safe save's final sync then has little left to wait for.
        if (!failed_ && std::fflush(file_) == 0)
            sync_file_range(fileno(file_), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    } else {
        drain();
    }
}

void TextOut::putLong(std::string_view s) {
    spill();
    if (s.size() <= static_cast<size_t>(end_ - pos_)) {
        std::memcpy(pos_, s.data(), s.size());
        pos_ += s.size();
    } else if (file_) {
        if (!failed_ && std::fwrite(s.data(), 1, s.size(), file_) != s.size()) failed_ = true;
    } else {
        text_.append(s);
    }
}

bool TextOut::flush() {
    if (!file_) return !failed_;
    auto write = [&](const char* p, size_t n) {
        if (n != 0 && !failed_ && std::fwrite(p, 1, n, file_) != n) failed_ = true;
    };
    write(text_.data(), text_.size());
    text_.clear();
    write(buf_.get(), static_cast<size_t>(pos_ - buf_.get()));
    pos_ = buf_.get();
    return !failed_;
}

}  // namespace zevo
