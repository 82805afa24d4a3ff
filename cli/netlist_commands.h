// zevo-cli commands of the netlists: `netlist` and `compare`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo {

// Registers `netlist BOARD -o FILE.net` and `compare BOARD REF.net [-o NetListErr.txt]`; the
// reference may be in any of the readable netlist formats (recognised from its lines).
// `status`: 0 when done (compare: no difference), 1 when compare found differences, 2 for a file
// that could not be read or written or a board that cannot be exported.
void AddNetlistCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo
