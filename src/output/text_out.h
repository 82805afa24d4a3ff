// A growing byte buffer for the manufacturing files (a class of its own: the board writer's
// TextOut streams to a file): text written as the files are written in text
// mode (every newline is CR LF), numbers formatted like printf's "%d", "%02d" and "%.Nf".
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace zevo {

class OutputText {
  public:
    void put(char c) { s_.push_back(c); }
    void put(std::string_view v) { s_.append(v); }
    void newline() { s_.append("\r\n"); }
    // "%d", or "%0<width>d" when width > 0.
    void putInt(long long v, int width = 0) {
        char buf[32];
        char* p = buf;
        unsigned long long m = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : v;
        if (v < 0) *p++ = '-';
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + m % 10);
            m /= 10;
        } while (m);
        for (int i = n; i < width - (v < 0 ? 1 : 0); ++i) *p++ = '0';
        while (n) *p++ = digits[--n];
        s_.append(buf, p);
    }
    // "%.<decimals>f": the same digits printf gives (exact binary value, round half even).
    void putFixed(double v, int decimals) {
        char buf[400];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        if (r.ec == std::errc())
            s_.append(buf, r.ptr);
        else
            s_.append("0");
    }
    const std::string& str() const { return s_; }
    std::string take() { return std::move(s_); }
    std::string& buffer() { return s_; }

  private:
    std::string s_;
};

// printf-style pieces as strings, for the list files and messages.
inline std::string FixedText(double v, int decimals) {
    OutputText t;
    t.putFixed(v, decimals);
    return t.take();
}

}  // namespace zevo
