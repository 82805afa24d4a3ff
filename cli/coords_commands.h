// zevo-cli command of the part coordinate report: `coords`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo {

// Registers `coords BOARD -o FILE.pos [--origin] [--mirror-x]`. `status`: 0 when the report was
// written, 2 for a board that cannot be read, a duplicate reference or a report that cannot be
// written.
void AddCoordsCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo
