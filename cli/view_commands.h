// zevo-cli command of the view: `render`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo {

// Registers `render BOARD -o OUT.png [--size WxH] [--mirror]`: the fitted view of the board as
// the editor's screen draws it. Sets `status` when it runs: 0 when the picture was written, 1 for
// a bad size, 2 when a file could not be read or written.
void AddViewCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo
