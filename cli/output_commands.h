// zevo-cli commands of the manufacturing files: `gerber`, `drill`, `zevonc` and `import`.
#pragma once

#include <CLI/CLI.hpp>

#include "font_commands.h"  // BoardFileAccess

namespace zevo::cli {

using zevo::BoardFileAccess;

// Registers the four commands on `app`; each sets `status` when it runs: 0 when it ran (the
// messages the editor would show in boxes, such as an empty layer, go to standard error), 2 when
// a file could not be read or written.
// `files` reads boards as the editor opens them (and writes the result of `import`).
void AddOutputCommands(CLI::App& app, const BoardFileAccess& files, int& status);

}  // namespace zevo::cli
