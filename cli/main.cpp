// zevo-cli: the editor's core in batch form, for scripts and tests.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli/cli_common.h"
#include "cli/check_commands.h"
#include "cli/commands.h"
#include "cli/coords_commands.h"
#include "cli/font_commands.h"
#include "cli/netlist_commands.h"
#include "cli/output_commands.h"
#include "cli/view_commands.h"

int main(int argc, char** argv) {
    using namespace zevo::cli;
    CLI::App app{"zevo-cli: batch commands over the Zevo board editor's core"};
    app.require_subcommand(1);
    int status = 0;

    std::string infoFile;
    auto* info = app.add_subcommand("info", "Report a board file: version, size, layers, elements, "
                                            "skipped lines");
    info->add_option("FILE", infoFile, "board file (.pcb)")->required();
    info->callback([&] { status = CmdInfo(infoFile); });

    std::string convIn, convOut;
    bool oldFormat = false;
    auto* conv = app.add_subcommand("convert", "Read a board file and write it back");
    conv->add_option("IN", convIn, "board file to read")->required();
    conv->add_option("OUT", convOut, "board file to write")->required();
    conv->add_flag("--old-format", oldFormat, "write the old format (lands and lines only)");
    conv->callback([&] { status = CmdConvert(convIn, convOut, oldFormat); });

    // Text goes through the same board reading and writing as every other command.
    zevo::BoardFileAccess files{
        [](zevo::Board& b, const std::filesystem::path& p, std::string& error) {
            zevo::ReadResult result;
            if (!ReadBoardFile(p, b, result)) {
                error = "cannot read " + p.string();
                return false;
            }
            if (!result.issues.empty()) {
                std::printf("%s: %zu line(s) skipped\n", p.string().c_str(), result.issues.size());
                PrintReadIssues(result);
            }
            return true;
        },
        [](zevo::Board& b, const std::filesystem::path& p) {
            std::string error;
            if (WriteBoardFile(p, b, false, &error)) return true;
            std::fprintf(stderr, "zevo-cli: cannot write %s: %s\n", p.string().c_str(), error.c_str());
            return false;
        }};
    zevo::AddFontCommands(app, files, status);
    zevo::cli::AddOutputCommands(app, files, status);
    zevo::AddCheckCommands(app, files, status);
    zevo::AddNetlistCommands(app, files, status);
    zevo::AddCoordsCommands(app, files, status);
    zevo::AddViewCommands(app, files, status);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return status;
}
