// Numbers and line ends of the text files (board, settings, libraries).
//
// Reading follows what C's atof and atoi accept, because existing files were written and
// hand-edited against those: leading white space and a sign are taken, then the longest decimal
// prefix, and the rest of the text is ignored. Two things atof would take are refused on purpose:
// hexadecimal
// ("0x10" reads as 0) and the words inf and nan (they read as 0), so no reader ever puts an
// infinite or undefined coordinate into the document. A value too large for a double reads as the
// largest finite double of its sign; one too small reads as 0.
//
// Writing reproduces printf's "%.14g", "%.3f" and "%.0f" digit for digit, with the locale-free
// std::to_chars, and ends every line with CR LF on every platform.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace zevo {

// atof over [p, end): the value and, through `stop`, where the number ended (p when none was read).
double ParseReal(const char* p, const char* end, const char** stop = nullptr);
inline double ParseReal(std::string_view s) {
    return ParseReal(s.data(), s.data() + s.size());
}
// atoi over [p, end), saturated to the range of int.
int ParseInt(const char* p, const char* end, const char** stop = nullptr);
inline int ParseInt(std::string_view s) {
    return ParseInt(s.data(), s.data() + s.size());
}

// Room for "%.14g" and "%d"; fixed notation of a huge value needs far more.
inline constexpr size_t kNumberRoom = 40;
inline constexpr size_t kFixedRoom = 340;
// "%.14g", "%d" (buf of kNumberRoom bytes) and "%.<decimals>f" (buf of kFixedRoom bytes, decimals
// up to 20): write into buf and return the end.
char* FormatG14(char* buf, double v);
char* FormatInt(char* buf, long long v);
char* FormatFixed(char* buf, double v, int decimals);

// Text written to memory, optionally passed on to an open file in large pieces so that writing a
// huge board does not need the whole file in memory.
class TextOut {
  public:
    TextOut() = default;
    // Everything put from here on goes to `f` (the caller opens and closes it).
    explicit TextOut(std::FILE* f) : file_(f) { text_.reserve(kChunk + 2048); }
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    void put(std::string_view s) {
        text_.append(s);
        if (file_ && text_.size() >= kChunk) flush();
    }
    void put(char c) { text_.push_back(c); }
    void newline() { put("\r\n"); }
    void g14(double v) {
        char b[kNumberRoom];
        text_.append(b, FormatG14(b, v));
    }
    void fixed(double v, int decimals) {
        char b[kFixedRoom];
        text_.append(b, FormatFixed(b, v, decimals));
    }
    void integer(long long v) {
        char b[kNumberRoom];
        text_.append(b, FormatInt(b, v));
    }

    // Writes what is held to the file (if any). False once any write failed.
    bool flush();
    bool failed() const { return failed_; }
    // The text itself when writing to memory.
    std::string& text() { return text_; }

  private:
    static constexpr size_t kChunk = 1 << 20;
    std::string text_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace zevo
