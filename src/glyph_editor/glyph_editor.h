// The font editor without its window: the glyph being edited, its undo history, the pointer
// states of the 32 x 32 grid, and the font image it is spliced back into.
//
// Everything here is in grid cells: glyph x = column, glyph y = 31 - row (y grows upwards).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "glyph_editor/font_image.h"
#include "view/font_format.h"

namespace zevo {

struct GridCell {
    int x = 0, y = 0;  // glyph coordinates 0..31
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// Grid window geometry: 4 pixels per cell, 127 x 127 client pixels.
inline constexpr int kGridCellPixels = 4;
// The cell under a client pixel of the grid window, kept inside the grid (the pointer may be
// captured outside the window).
GridCell CellOfPixel(int px, int py);
// The client pixel where a glyph point is shown.
inline constexpr int PixelXOfPoint(int x) {
    return 4 * x + 2;
}
inline constexpr int PixelYOfPoint(int y) {
    return 126 - 4 * y;
}

// The glyph being edited: N and N entries, every one expanded to the two-byte form.
inline constexpr std::size_t kGlyphBufferSize = 516;
class GlyphBuffer {
  public:
    struct Entry {
        bool pen = false;
        uint8_t x = 0, y = 0;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    int count() const { return raw_[0]; }
    Entry entry(int i) const;
    void set(int i, Entry e);
    // False when the glyph already holds 255 entries (the count is one byte and never wraps).
    bool append(Entry e);
    void remove(int i);
    void clear() { raw_[0] = 0; }
    // The point of the last entry; (0, 0) for an empty glyph (decoding starts there).
    GridCell lastPoint() const;

    // Expands a record: every entry becomes a two-byte entry at its point (kind 00 entries at
    // the previous point). Bytes past the record's end are not read.
    static GlyphBuffer FromRecord(std::span<const uint8_t> record);
    // The shortest encoding: unchanged points dropped, kind 10 for y only, kind 01 for x only,
    // kind 11 for both. Empty when no entry is left (the code then has no glyph).
    std::vector<uint8_t> encode() const;

    const std::array<uint8_t, kGlyphBufferSize>& raw() const { return raw_; }
    friend bool operator==(const GlyphBuffer&, const GlyphBuffer&) = default;

  private:
    std::array<uint8_t, kGlyphBufferSize> raw_{};
};

// A point pair drawn as a stroke of the glyph.
struct GlyphStroke {
    GridCell from, to;
};
std::vector<GlyphStroke> StrokesOf(const GlyphBuffer& g);

inline constexpr int kGlyphUndoDepth = 10;

class GlyphEditor {
  public:
    enum class State { kIdle, kDrawing, kMoving };

    // --- the font
    FontImage& image() { return image_; }
    const FontImage& image() const { return image_; }
    FontLoadResult LoadFont(const std::filesystem::path& path);

    // --- choosing a character: the text of the character box (only its first 8 bytes count).
    // Splices the current glyph back when it was modified, then loads the chosen one. False when
    // the choice is refused (no index cell, or the ideographic space): the current glyph stays.
    bool SelectText(std::string_view text);
    bool SelectCode(FontCode code);
    // The code the character box text stands for: a lead byte with its trail, a single byte
    // mapped to full width; a byte without a code gives the ideographic space.
    static FontCode CodeOfBoxText(std::string_view text);
    FontCode currentCode() const { return code_; }

    const GlyphBuffer& glyph() const { return glyph_; }
    bool modified() const { return modified_; }

    // Puts the edited glyph back into the image when it was modified. False when the image is
    // full (the glyph stays modified).
    bool SpliceBack();
    // Closing: splice back, then tell whether there is anything to write (the window asks).
    bool PrepareClose();
    FontSaveResult Save(const std::filesystem::path& path) { return image_.Save(path); }

    // --- undo
    bool canUndo() const { return state_ == State::kIdle && !history_.empty(); }
    int undoDepth() const { return static_cast<int>(history_.size()); }
    bool Undo();

    // --- pointer operations (the grid window passes the cell under the pointer)
    State state() const { return state_; }
    void LeftDown(GridCell c);
    void LeftUp(GridCell c, bool rightHeld = false);
    void RightUp(GridCell c, bool leftHeld = false);
    void Move(GridCell c, bool leftHeld);
    // While drawing: the rubber band from the anchor to the pointer's cell.
    std::optional<GlyphStroke> rubberBand() const;
    // While moving: the entry being moved.
    int movingEntry() const { return moving_; }
    // Set when an operation could not be carried out because the glyph is full.
    bool refusedFull() const { return refusedFull_; }

  private:
    void snapshot();
    void dropSnapshot();
    void loadGlyph();
    bool deleteSegmentAt(GridCell c);

    FontImage image_;
    FontCode code_ = kNoCode;
    GlyphBuffer glyph_;
    bool modified_ = false;
    std::deque<GlyphBuffer> history_;

    State state_ = State::kIdle;
    GridCell pressed_;
    GridCell anchor_;
    GridCell pointer_;
    GridCell moveStart_;
    int moving_ = -1;
    bool refusedFull_ = false;
};

}  // namespace zevo
