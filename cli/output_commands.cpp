#include "output_commands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "output/gerber_input.h"
#include "output/gerber_output.h"
#include "output/gerber_writer.h"
#include "output/hole_output.h"
#include "output/zevonc.h"
#include "paths/file_io.h"
#include "paths/paths.h"
#include "text/cp932.h"

namespace zevo::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFileError = 2;

const Paths& ProgramPaths() {
    static const Paths paths = Paths::ForRunningProgram();
    return paths;
}

// The settings file of an output command as the editor reads it (nothing when there is none).
std::string ReadOutputSettings(std::string_view name) {
    const fs::path file = ProgramPaths().Find(name);
    return ReadWholeFile(file).value_or("");
}

// --layers: exactly these layers are selected; a layer without a file name in the settings gets
// "layer<n>". Without --layers the settings' own selection stands.
bool ApplyLayers(LayerFiles& files, const std::vector<int>& layers) {
    if (layers.empty()) return true;
    for (int layer : layers) {
        if (layer < 0 || layer >= kLayers) {
            std::fprintf(stderr, "layer %d is out of range (0..255)\n", layer);
            return false;
        }
    }
    files.selected.reset();
    for (int layer : layers) {
        if (files.name[layer].empty()) files.name[layer] = "layer" + std::to_string(layer);
        files.selected[layer] = true;
    }
    return true;
}

int Report(const OutputReport& r) {
    for (const fs::path& p : r.deleted) std::printf("deleted: %s\n", p.string().c_str());
    for (const fs::path& p : r.written) std::printf("wrote: %s\n", p.string().c_str());
    bool failed = false;
    for (const OutputMessage& m : r.messages) {
        std::fprintf(stderr, "%s: %s\n", m.error ? "error" : "note", m.text.c_str());
        failed |= m.error;
    }
    return failed ? kExitFileError : kExitOk;
}

const BoardFileAccess* gFiles = nullptr;

bool LoadBoard(const fs::path& file, Board& board) {
    std::string error;
    if (!gFiles || !gFiles->read || !gFiles->read(board, file, error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", file.string().c_str(),
                     error.empty() ? "" : ": ", error.c_str());
        return false;
    }
    return true;
}

fs::path FolderOrBoardFolder(const std::string& out, const fs::path& board) {
    if (!out.empty()) return PathFromUtf8(out);
    return OutputFolder(fs::absolute(board), ProgramPaths().folders().program);
}

struct GerberArgs {
    std::string board, out;
    std::vector<int> layers;
    bool plain = false;
    bool modern = false;
    int decimals = 3;
};

int CmdGerber(const GerberArgs& a) {
    auto board = std::make_unique<Board>();
    if (!LoadBoard(PathFromUtf8(a.board), *board)) return kExitFileError;
    const GerberOutSettings settings =
        ReadGerberOutSettings(ReadOutputSettings(kGerberOutSettings));
    GerberOutputChoices c;
    c.files = settings.files;
    c.codes = settings.codes;
    c.extended = !a.plain;
    c.modern = a.modern;
    c.decimals = ClampGerberDecimals(a.decimals);
    if (!ApplyLayers(c.files, a.layers)) return kExitFileError;
    const fs::path folder = FolderOrBoardFolder(a.out, PathFromUtf8(a.board));
    if (!fs::is_directory(folder)) {
        std::fprintf(stderr, "no such folder: %s\n", folder.string().c_str());
        return kExitFileError;
    }
    const OutputReport r = WriteGerberFiles(*board, c, folder);
    if (!r.listWritten)
        std::fprintf(stderr, "error: cannot write %s\n",
                     (folder / kGerberListFile).string().c_str());
    const int status = Report(r);
    return r.listWritten ? status : kExitFileError;
}

struct DrillArgs {
    std::string board, out, single;
    std::vector<int> layers;
    bool autoT = false;
    bool modern = false;
    int decimals = 3;
};

int CmdDrill(const DrillArgs& a) {
    auto board = std::make_unique<Board>();
    if (!LoadBoard(PathFromUtf8(a.board), *board)) return kExitFileError;
    const HoleOutSettings settings = ReadHoleOutSettings(ReadOutputSettings(kHoleOutSettings));
    HoleOutputChoices c;
    c.files = settings.files;
    c.codes = settings.codes;
    c.autoT = a.autoT || !a.single.empty();
    c.single = !a.single.empty();
    c.singleFile = PathFromUtf8(a.single);
    c.modern = a.modern;
    if (a.decimals < 0 || a.decimals > kMaxHoleDecimals) {
        std::fprintf(stderr, "--decimals must be 0..3\n");
        return kExitFileError;
    }
    c.decimals = a.decimals;
    if (!ApplyLayers(c.files, a.layers)) return kExitFileError;
    const fs::path folder = FolderOrBoardFolder(a.out, PathFromUtf8(a.board));
    if (!fs::is_directory(folder)) {
        std::fprintf(stderr, "no such folder: %s\n", folder.string().c_str());
        return kExitFileError;
    }
    const OutputReport r = WriteHoleFiles(*board, c, folder);
    if (!r.listWritten)
        std::fprintf(stderr, "error: cannot write %s\n", (folder / kHoleListFile).string().c_str());
    const int status = Report(r);
    return r.listWritten ? status : kExitFileError;
}

int CmdZevoNc(const std::string& boardFile, const std::string& dir, bool modern) {
    auto board = std::make_unique<Board>();
    if (!LoadBoard(PathFromUtf8(boardFile), *board)) return kExitFileError;
    DCodeTables codes = ReadGerberOutSettings(ReadOutputSettings(kGerberOutSettings)).codes;
    std::error_code ec;
    const fs::path parent = dir.empty() ? fs::temp_directory_path(ec) : PathFromUtf8(dir);
    OutputReport r;
    if (parent.empty() || !WriteZevoNcSet(*board, parent, codes, r, modern)) {
        std::fprintf(stderr, "cannot prepare %s\n", (parent / kZevoNcFolder).string().c_str());
        return kExitFileError;
    }
    return Report(r);
}

struct ImportArgs {
    std::string board, gerber, out;
    int layer = 1;
    bool inch = false;
    int decimals = 3;
};

int CmdImport(const ImportArgs& a) {
    auto board = std::make_unique<Board>();
    if (!LoadBoard(PathFromUtf8(a.board), *board)) return kExitFileError;
    if (a.layer < 0 || a.layer >= kLayers) {
        std::fprintf(stderr, "layer %d is out of range (0..255)\n", a.layer);
        return kExitFileError;
    }
    GerberInputChoices c;
    c.codes = ReadGerberInSettings(ReadOutputSettings(kGerberInSettings)).codes;
    c.files.name[a.layer] = Utf8ToCp932(PathToUtf8(fs::absolute(PathFromUtf8(a.gerber))));
    c.files.selected[a.layer] = true;
    c.decimals = a.decimals;
    c.inch = a.inch;
    InputReport r;
    // A drill program asks for its decimals: the same number as for Gerber files.
    ReadLayerFiles(
        *board, nullptr, c, fs::current_path(), [&] { return a.decimals; }, r);
    if (!r.unreadable.empty()) {
        std::fprintf(stderr, "cannot read %s\n", a.gerber.c_str());
        return kExitFileError;
    }
    std::printf("added: %d elements", r.added);
    if (r.discarded) std::printf(", %d beyond the board left out", r.discarded);
    if (r.shift.x != 0 || r.shift.y != 0)
        std::printf(", moved by (%g, %g) mm", r.shift.x, r.shift.y);
    std::printf("\n");
    if (r.warnings)
        std::fprintf(stderr, "note: %d parts of the file were skipped (warning flags 0x%x)\n",
                     r.warningCount, r.warnings);
    if (r.skippedCommands > 0) {
        std::fprintf(stderr, "note: %lld flash/draw command(s) without a usable aperture skipped:",
                     r.skippedCommands);
        for (const SkippedCommand& k : r.skipped) std::fprintf(stderr, " line %lld", k.line);
        if (r.skippedCommands > static_cast<long long>(r.skipped.size()))
            std::fprintf(stderr, " ...");
        std::fprintf(stderr, "\n");
    }
    if (!gFiles->write || !gFiles->write(*board, PathFromUtf8(a.out))) {
        std::fprintf(stderr, "cannot write %s\n", a.out.c_str());
        return kExitFileError;
    }
    std::printf("wrote: %s\n", a.out.c_str());
    return kExitOk;
}

}  // namespace

void AddOutputCommands(CLI::App& app, const BoardFileAccess& files, int& status) {
    static BoardFileAccess keep;
    keep = files;
    gFiles = &keep;
    auto gerber = std::make_shared<GerberArgs>();
    auto* g = app.add_subcommand(
        "gerber",
        "Write the Gerber files of the layers chosen in GOutIni.dat (or --layers), and gout.lst; "
        "every earlier .grb/.gbr file of the folder is deleted first");
    g->add_option("BOARD", gerber->board, "board file (.pcb)")->required();
    g->add_option("--out", gerber->out, "output folder (default: the board's folder)");
    g->add_option("--layers", gerber->layers, "layers to write, e.g. 1,2,7")->delimiter(',');
    auto* plain =
        g->add_flag("--plain", gerber->plain, "plain format (apertures only in gout.lst)");
    g->add_flag("--modern", gerber->modern,
                "current format with X2 file attributes (millimetres, six decimals)")
        ->excludes(plain);
    g->add_option("--decimals", gerber->decimals, "decimals of the coordinates (1..5, default 3)");
    g->callback([gerber, &status] { status = CmdGerber(*gerber); });

    auto drill = std::make_shared<DrillArgs>();
    auto* d = app.add_subcommand(
        "drill",
        "Write the drill files of the layers chosen in HOutIni.dat (or --layers), and hout.lst; "
        "every earlier .hol file of the folder is deleted first");
    d->add_option("BOARD", drill->board, "board file (.pcb)")->required();
    d->add_option("--out", drill->out, "output folder (default: the board's folder)");
    d->add_option("--layers", drill->layers, "hole layers to write, e.g. 8,42")->delimiter(',');
    d->add_flag("--auto-t", drill->autoT,
                "automatic T codes 1, 2, 3, ... and the tool-table (M48) format; without it the "
                "T-code table and the plain format");
    d->add_option("--single", drill->single, "one file for all layers (implies --auto-t)");
    d->add_option("--decimals", drill->decimals, "decimals of the coordinates (0..3, default 3)");
    d->add_flag("--modern", drill->modern,
                "current Excellon format (METRIC,TZ, decimal coordinates, plating marked); "
                "with --single the non-plated holes go to <name>-NPTH");
    d->callback([drill, &status] { status = CmdDrill(*drill); });

    struct NcArgs {
        std::string board, dir, dirOption;
        bool modern = false;
    };
    auto nc = std::make_shared<NcArgs>();
    auto* z = app.add_subcommand(
        "zevonc",
        "Write the fabrication set (layer and drill files under fixed names) into DIR/ZevoNC; "
        "only that folder is emptied first");
    z->add_option("BOARD", nc->board, "board file (.pcb)")->required();
    auto* dirArg = z->add_option("DIR", nc->dir,
                                 "folder that receives ZevoNC (default: the temporary folder)");
    z->add_option("--dir", nc->dirOption, "the same as DIR")->excludes(dirArg);
    z->add_flag("--modern", nc->modern, "the files in the current formats (X2 Gerber, Excellon)");
    z->callback([nc, &status] {
        status = CmdZevoNc(nc->board, nc->dir.empty() ? nc->dirOption : nc->dir, nc->modern);
    });

    auto imp = std::make_shared<ImportArgs>();
    auto* i = app.add_subcommand("import",
                                 "Read a Gerber file (or a drill program, on a hole layer) into a "
                                 "layer of a board and write the board");
    i->add_option("BOARD", imp->board, "board file to read (.pcb)")->required();
    i->add_option("--gerber", imp->gerber, "Gerber or drill file")->required();
    i->add_option("--layer", imp->layer, "layer that receives the elements")->required();
    i->add_flag("--inch", imp->inch, "coordinates in inches until the file says otherwise");
    i->add_option("--decimals", imp->decimals, "decimals of the coordinates (default 3)");
    i->add_option("-o,--output", imp->out, "board file to write")->required();
    i->callback([imp, &status] { status = CmdImport(*imp); });
}

}  // namespace zevo::cli
