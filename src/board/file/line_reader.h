// The line reader shared by the board file, the settings file and the part libraries.
//
// A logical line is at most 1023 bytes: a longer physical line is cut there and its rest is read
// as the next line, as the format always did. Trailing bytes below 0x20 (CR and LF among them) are
// removed and empty lines are skipped; lines beginning with ";" or "#" are passed on as they
// stand. A line may be continued on following physical lines that begin with ",". A line
// beginning with "[" is a section header and ends the section. Like the C string it always was, a
// line ends at a NUL byte.
//
// The text comes from memory, or from an open file in large pieces (a huge board then never needs
// the whole file in memory at once).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace zevo {

class LineReader {
  public:
    static constexpr size_t kMaxLine = 1023;

    explicit LineReader(std::string_view data);
    // Reads from `f` (opened and closed by the caller) as far as it is needed.
    explicit LineReader(std::FILE* f);

    enum Result { kTextLine, kHeader, kEnd };
    // The next line of the current section. At a header or at the end of the data the section is
    // over; the header stays in place for takeHeader(). The view lives until the next call.
    Result next(std::string_view& line);
    // Skips lines up to the next header and takes it (as read, trimmed). False at the end.
    bool takeHeader(std::string_view& header);
    // Physical line number (from 1) where the line or header last returned began.
    int lineNumber() const { return lineNo_; }
    // Reading the file failed somewhere (what was read before stays read).
    bool readFailed() const { return failed_; }

  private:
    std::string_view readPiece(size_t room);
    // From a file: makes sure a whole piece (or the rest of the file) is in the window.
    void fill();

    const char* p_;
    const char* end_;
    bool nul_ = false;  // a NUL byte came up somewhere
    int physLine_ = 1;  // physical line number at p_
    int lineNo_ = 0;
    std::string buf_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> window_;
    bool eof_ = true;
    bool failed_ = false;
};

inline std::string_view TrimTrailingControls(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) < 0x20) s.remove_suffix(1);
    return s;
}

inline bool IsShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The form the table sections (BoardSize, PadDef, FlshDef, LineDef, SwapLayer) are parsed in: every
// byte up to 0x20 removed and single-byte lower-case letters turned to upper case; the second byte
// of a Shift-JIS pair is copied as it is. `out` needs room for s.size() bytes.
std::string_view SqueezeUpper(std::string_view s, char* out);

}  // namespace zevo
