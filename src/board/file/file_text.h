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
#include <cstring>
#include <memory>
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
// huge board does not need the whole file in memory. Everything is put into one buffer first
// (numbers formatted straight into it); a full buffer goes on to the text (or the file) in one
// piece.
class TextOut {
  public:
    TextOut() : buf_(new char[kMemoryBuffer]), pos_(buf_.get()), end_(pos_ + kMemoryBuffer) {}
    // Everything put from here on goes to `f` (the caller opens and closes it).
    explicit TextOut(std::FILE* f)
        : buf_(new char[kFileBuffer]), pos_(buf_.get()), end_(pos_ + kFileBuffer), file_(f) {}
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    void put(std::string_view s) {
        if (static_cast<size_t>(end_ - pos_) < s.size()) return putLong(s);
        std::memcpy(pos_, s.data(), s.size());
        pos_ += s.size();
    }
    void put(char c) {
        if (pos_ == end_) spill();
        *pos_++ = c;
    }
    void newline() { put("\r\n"); }
    void g14(double v) { pos_ = FormatG14(room(kNumberRoom), v); }
    void fixed(double v, int decimals) { pos_ = FormatFixed(room(kFixedRoom), v, decimals); }
    void integer(long long v) { pos_ = FormatInt(room(kNumberRoom), v); }

    // Writes what is held to the file (if any). False once any write failed.
    bool flush();
    bool failed() const { return failed_; }
    // The text itself when writing to memory (when writing to a file: what is not passed on yet).
    // It may be changed; what is put afterwards follows whatever it then holds.
    std::string& text() {
        drain();
        return text_;
    }

  private:
    static constexpr size_t kMemoryBuffer = 64 * 1024;
    static constexpr size_t kFileBuffer = 1 << 20;
    char* room(size_t n) {
        if (static_cast<size_t>(end_ - pos_) < n) spill();
        return pos_;
    }
    // The buffer's contents go on: to the file, or to the end of the text.
    void spill();
    void drain();
    void putLong(std::string_view s);

    std::unique_ptr<char[]> buf_;
    char* pos_;
    char* end_;
    std::string text_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace zevo
