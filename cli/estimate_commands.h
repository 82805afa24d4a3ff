// zevo-cli command of the estimate program's packing: `estimate`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo {

// Registers `estimate BOARD [--entry N] [--side-b] [--mirror] [--temp DIR]`: the ZevoNC set of
// the board, renamed for entry N of the maker table and packed into "<board>_zevo.zip" beside
// it, as the estimate program does. `status`: 0 when the archive was made, 2 otherwise.
void AddEstimateCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo
