// Reading the stroke font and turning a text into strokes on the board.
//
// The board editor does not hold the font in memory: for every distinct character of a text it
// reads the index cell and then the glyph record straight from the file (two seeks and two
// reads), which stays open only while one text is laid out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "paths/file_io.h"
#include "view/font_format.h"

namespace zevo {

class Board;
class Paths;
class group;

// The font file the editor uses, or an empty path when there is none (then the text tool is
// unavailable).
std::filesystem::path FontPath(const Paths& paths);

// A font file opened for reading glyphs one at a time.
class FontFile {
  public:
    FontFile() = default;
    explicit FontFile(const std::filesystem::path& path) { open(path); }
    bool open(const std::filesystem::path& path);
    bool isOpen() const { return f_ != nullptr; }

    // The offset of the code's glyph record; none when the code has no index cell, the cell
    // cannot be read or its value is 128 or less.
    std::optional<uint32_t> glyphOffset(FontCode code);
    // Reads at most kGlyphReadSize bytes of the code's record into `buf`; returns how many were
    // read, or 0 when the glyph is missing or fewer than 3 bytes could be had.
    std::size_t readGlyph(FontCode code, uint8_t (&buf)[kGlyphReadSize]);

  private:
    bool readAt(uint32_t offset, void* dst, std::size_t n, std::size_t* got);
    FilePtr f_;
};

// The offset of the code's record in an open font file (see FontFile::glyphOffset).
std::optional<uint32_t> GlyphOffset(FontCode code, FontFile& font);

// ---- coverage check of the text dialogs

inline constexpr std::size_t kMaxMissingBytes = 126;

struct Coverage {
    enum Verdict {
        kAccepted,
        kNoFont,         // the font could not be opened: refused without a message
        kMissingGlyphs,  // refused with the message of MissingGlyphMessage()
        kUncodedBytes,   // two bytes in a row without a code: refused with a beep
    };
    Verdict verdict = kAccepted;
    std::string missing;  // bytes of the characters without glyph, at most 126
    bool accepted() const { return verdict == kAccepted; }
};
Coverage CheckCoverage(const std::filesystem::path& font, std::string_view text);
// The message text (CP932) for a kMissingGlyphs verdict: the missing characters, a blank and the
// explanation; shown with the editor's caption.
std::string MissingGlyphMessage(const Coverage& c);

// ---- layout

inline constexpr double kMinTextHeight = 0.032;
inline constexpr double kMinTextPitch = 0.01;

struct TextParams {
    std::string_view text;  // CP932 bytes
    int layer = 0;
    int aperture = 4;
    double height = 3.2;  // mm
    double pitch = 3.4;   // mm, from one character origin to the next
    double angle = 0;     // degrees
    bool mirror = false;
};

struct TextSegment {
    Point start, end;
};

// The strokes of a text whose first character origin is `origin`, in string order. False (and
// nothing) when the font cannot be opened.
bool LayoutSegments(const std::filesystem::path& font, const TextParams& params, Point origin,
                    std::vector<TextSegment>& out);

struct TextLayout {
    group* text = nullptr;     // the " TEXT" group, unlinked; null when nothing was made
    bool fontMissing = false;  // the font could not be opened
    int dropped = 0;           // strokes discarded because they left the board
};

// Lays out a text at `at` as the text tool does: a " TEXT" group holding one round-aperture line
// per stroke on the text's layer, a text placement record (point, angle, height, pitch negated
// when mirrored, with the minimums applied) and the string as its attribute. Strokes whose
// bounds with the pen leave the board are discarded; when none is left no group is made. The
// caller links the group in and records the undo step.
TextLayout LayoutText(Board& board, const std::filesystem::path& font, const TextParams& params,
                      Point at);

}  // namespace zevo
