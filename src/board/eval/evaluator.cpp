#include "board/eval/evaluator.h"

#include <charconv>
#include <cmath>
#include <string>

namespace zevo {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTinyDivisor = 1e-8;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class Parser {
  public:
    explicit Parser(std::string_view s) : s_(s) {}

    bool Expression(double& out) {
        if (!Term(out)) return false;
        for (;;) {
            const char op = Peek();
            if (op != '+' && op != '-') return true;
            ++pos_;
            double rhs;
            if (!Term(rhs)) return false;
            out = op == '+' ? out + rhs : out - rhs;
        }
    }

  private:
    char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    bool Take(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    bool Term(double& out) {
        if (!Factor(out)) return false;
        for (;;) {
            const char op = Peek();
            if (op != '*' && op != '/') return true;
            ++pos_;
            double rhs;
            if (!Factor(rhs)) return false;
            if (op == '*') {
                out *= rhs;
            } else {
                if (std::fabs(rhs) < kTinyDivisor) return false;
                out /= rhs;
            }
        }
    }

    bool Factor(double& out) {
        // The sign run is a loop, so "-----...5" costs no stack.
        bool negative = false;
        while (Peek() == '+' || Peek() == '-') negative ^= s_[pos_++] == '-';
        if (!Operand(out)) return false;
        if (negative) out = -out;
        return true;
    }

    bool Operand(double& out) {
        const char c = Peek();
        if (IsDigit(c) || (c == '.' && pos_ + 1 < s_.size() && IsDigit(s_[pos_ + 1])))
            return Number(out);
        if (depth_ >= kMaxFieldNesting) return false;
        ++depth_;
        const bool ok = Nested(out);
        --depth_;
        return ok;
    }

    bool Nested(double& out) {
        if (Take("(")) {
            if (!Expression(out)) return false;
            return Take(")");
        }
        if (Take("sin")) {
            if (!Factor(out)) return false;
            out = std::sin(out * kPi / 180);
            return true;
        }
        if (Take("cos")) {
            if (!Factor(out)) return false;
            out = std::cos(out * kPi / 180);
            return true;
        }
        if (Take("sqrt")) {
            if (!Factor(out) || out < 0) return false;
            out = std::sqrt(out);
            return true;
        }
        if (Take("atan")) {
            if (!Factor(out)) return false;
            out = std::atan(out) * 180 / kPi;
            return true;
        }
        return false;
    }

    // A decimal number with optional fraction and exponent, as long as it goes.
    bool Number(double& out) {
        const char* first = s_.data() + pos_;
        const char* last = s_.data() + s_.size();
        const auto r = std::from_chars(first, last, out, std::chars_format::general);
        if (r.ec == std::errc::invalid_argument) return false;
        if (r.ec == std::errc::result_out_of_range) {
            // Too small reads as 0; too large is no usable number.
            if (Overflows(first, r.ptr)) return false;
            out = 0;
        }
        pos_ = static_cast<std::size_t>(r.ptr - s_.data());
        return true;
    }

    // Whether the literal [first, last) (out of range for a double) is too large rather than
    // too small: its decimal magnitude is positive.
    static bool Overflows(const char* first, const char* last) {
        long long magnitude = 0;  // exponent of the first significant digit
        bool seenPoint = false, seenDigit = false;
        const char* p = first;
        for (; p != last && *p != 'e'; ++p) {
            if (*p == '.') {
                seenPoint = true;
            } else if (!seenDigit && *p == '0') {
                if (seenPoint) --magnitude;
            } else if (!seenDigit) {
                seenDigit = true;
                if (seenPoint) --magnitude;
            } else if (!seenPoint) {
                ++magnitude;
            }
        }
        long long exponent = 0;
        if (p != last) {
            ++p;
            const bool negative = *p == '-';
            if (*p == '-' || *p == '+') ++p;
            for (; p != last && exponent < 1000000; ++p) exponent = exponent * 10 + (*p - '0');
            if (negative) exponent = -exponent;
        }
        return magnitude + exponent > 0;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

std::optional<double> EvaluateField(std::string_view text) {
    std::string prepared;
    prepared.reserve(std::min(text.size(), kFieldTextMax));
    for (const char ch : text.substr(0, kFieldTextMax)) {
        const auto b = static_cast<unsigned char>(ch);
        if (b <= 0x20 || b >= 0x80) continue;
        prepared += b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : ch;
    }
    if (prepared.empty()) return std::nullopt;
    double value = 0;
    if (!Parser(prepared).Expression(value) || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace zevo
