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

// ---- the current published format (X2)
//
// Beside the two formats above, files for today's board makers and viewers: one parameter per
// block, millimetres with six decimals (%FSLAX46Y46*%), no deprecated codes (no G54, G70/G71,
// G90, AS, OF, IP), G01/G02/G03 as commands of their own, areas kept as strokes, and the X2
// file attributes .GenerationSoftware, .FileFunction and .FilePolarity in the header (in the
// standard's comment form "G04 #@! TF.<name>,<value>*", which older readers pass over).

inline constexpr int kModernDecimals = 6;

// Copper layers of the board as the X2 attributes count them: the two outer layers and every
// pattern layer 10..255 that holds an element.
int CopperLayerCount(const Board& b);

// The ".FileFunction" value of `layer`'s file, from the roles of the fabrication set: 1 and 2
// the outer copper (L1 top, Ln bottom), the pattern layers 10..255 with elements the inner
// copper in layer order, 3/4 legend, 5/6 solder mask, 7 profile, 8 and 42 the plated and
// non-plated drill; any other layer "Other,Layer<n>".
std::string LayerFileFunction(const Board& b, int layer);

// "Zevo,zevo,<version>", the ".GenerationSoftware" value (also in the drill programs).
std::string GenerationSoftware();

// Appends the whole file of `layer` in the current format, newlines as CR LF. A layer with the
// negative role is drawn as it is and says so with ".FilePolarity,Negative".
void WriteModernLayer(std::string& out, const Board& b, int layer, const DCodeTables& codes);

// Whether `bytes` begin as a file of the current format (a Gerber file opening with an X2 file
// attribute, or a drill program whose header carries one).
bool IsModernOutput(std::string_view bytes);

}  // namespace zevo
