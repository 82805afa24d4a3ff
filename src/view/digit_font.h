// A small bitmap font of the ten digits, for numbers the editor writes over the board (the pin
// numbers of a part). Drawn by the core into its framebuffer, so the pixels are the same on
// every platform and the tests can compare them.
#pragma once

#include <cstdint>

#include "view/framebuffer.h"

namespace zevo {

// One character cell: a 5 x 7 glyph with one blank column on the right and a blank row above
// and below.
inline constexpr int kDigitCellWidth = 6;
inline constexpr int kDigitCellHeight = 9;

// The pixels of digit d (0..9), row r (0..6, top first): bit 4 is the leftmost column.
uint8_t DigitRow(int d, int r);

// Writes `value` in decimal with the top-left corner of its first cell at (left, top): only
// the glyphs' pixels are set (the background stays), parts outside the buffer are cut off.
// Returns the width written in pixels.
int DrawNumber(Framebuffer& fb, int64_t left, int64_t top, unsigned value, Pixel colour);

}  // namespace zevo
