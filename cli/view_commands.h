// zevo-cli commands of the view: `render` and `print`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo {

// Registers `render BOARD -o OUT.png [--size WxH] [--mirror]`: the fitted view of the board as
// the editor's screen draws it. Sets `status` when it runs: 0 when the picture was written, 1 for
// a bad size, 2 when a file could not be read or written.
// Registers `print BOARD -o FILE.pdf|FILE.bmp [--artwork] [--layers ...] [--scale N] [--dpi N]
// [--mirror] [--negative] [--offset-x MM] [--offset-y MM]`: the check or artwork print on a
// virtual A4 page. Status 0 when written, 1 for bad arguments or nothing to print, 2 when a file
// could not be read or written.
void AddViewCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo
