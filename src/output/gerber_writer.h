// The photo-plotter writer: one board layer as an extended (RS-274X) file, with the aperture
// definitions inside, or as a plain file whose apertures are listed only in gout.lst.
#pragma once

#include <string>

#include "board/model/board.h"
#include "output/output_settings.h"

namespace zevo {

inline constexpr int kMinDecimals = 1;
inline constexpr int kMaxDecimals = 5;

// The number of decimals typed into the output dialog, brought to 1..5.
inline int ClampGerberDecimals(int d) {
    return d < kMinDecimals ? kMinDecimals : d > kMaxDecimals ? kMaxDecimals : d;
}

// Appends the whole file of `layer` (header, every element of the layer in document order, depth
// first through groups, trailer) to `out`, newlines as CR LF. `codes` gives the D code of every
// aperture. The number of decimals is clamped to 1..5.
void WriteLayer(std::string& out, const Board& b, int layer, bool extended, int decimals,
                const DCodeTables& codes);

}  // namespace zevo
