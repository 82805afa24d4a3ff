// A contact sheet of Hershey glyphs: every glyph in a numbered tile, written as a grey PNG, to see
// which glyph is which where a file carries no character codes.
#pragma once

#include <string>
#include <vector>

#include "hershey.h"

namespace fontgen {

// `digits` are the glyphs of '0'..'9' used for the tile numbers.
bool WriteContactSheet(const std::vector<HGlyph>& glyphs, const std::vector<HGlyph>& digits,
                       const std::string& path, int columns);

}  // namespace fontgen
