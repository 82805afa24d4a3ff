// zevo-cli commands of the checks: `nets` and `drc`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo {

// Registers `nets BOARD [--summary]` and `drc BOARD [--rules FILE] [-o MARKED.pcb]`. `status`:
// 0 when done (drc: no violation), 1 when drc found violations, 2 for a file that could not be
// read or written or a rule file that cannot be used.
void AddCheckCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo
