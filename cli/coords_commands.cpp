#include "coords_commands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "board/model/board.h"
#include "cli/cli_common.h"
#include "output/part_coords.h"
#include "paths/file_io.h"

namespace zevo {

namespace {

namespace fs = std::filesystem;

int CmdCoords(const BoardFileAccess& files, const fs::path& file, const fs::path& out,
              bool fromOrigin, bool mirrorX) {
    auto board = std::make_unique<Board>();
    std::string error;
    if (!files.read || !files.read(*board, file, error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", file.string().c_str(),
                     error.empty() ? "" : ": ", error.c_str());
        return cli::kExitFileError;
    }
    PartCoordsSettings settings;
    // The dialog's part: the file named on the command line and the two check boxes.
    const PartCoordsReport r =
        PartCoordinatesCommand(*board, file, settings, [&](PartCoordsSettings& s) {
            s.file = out;
            s.fromOrigin = fromOrigin;
            s.mirrorX = fromOrigin && mirrorX;
            return true;
        });
    for (const OutputMessage& m : r.messages)
        std::fprintf(m.error ? stderr : stdout, "%s%s\n",
                     m.error ? "error: " : "warning: ", m.text.c_str());
    if (r.status != PartCoordsReport::kWritten) {
        if (r.status == PartCoordsReport::kCannotWrite)
            std::fprintf(stderr, "cannot write %s\n", out.string().c_str());
        return cli::kExitFileError;
    }
    std::printf("%s\n", r.written.string().c_str());
    return cli::kExitOk;
}

}  // namespace

void AddCoordsCommands(CLI::App& app, const BoardFileAccess& files, int& status) {
    struct Args {
        std::string board, out;
        bool origin = false, mirror = false;
    };
    auto a = std::make_shared<Args>();
    auto* c = app.add_subcommand("coords",
                                 "Write the part coordinate report of a board: "
                                 "placements, parts list and pins of each part type");
    c->add_option("BOARD", a->board, "board file (.pcb)")->required();
    c->add_option("-o,--output", a->out, "report file (.pos)")->required();
    auto* origin = c->add_flag("--origin", a->origin, "positions relative to the board origin");
    c->add_flag("--mirror-x", a->mirror, "mirror x about the origin and turn angles by 180 degrees")
        ->needs(origin);
    c->callback([&files, &status, a] {
        status =
            CmdCoords(files, PathFromUtf8(a->board), PathFromUtf8(a->out), a->origin, a->mirror);
    });
}

}  // namespace zevo
