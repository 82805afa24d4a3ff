#include "netlist_commands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "board/model/board.h"
#include "checks/netlist.h"
#include "checks/netlist_import.h"
#include "cli/cli_common.h"
#include "paths/file_io.h"
#include "paths/paths.h"
#include "text/strings.h"

namespace zevo {

namespace {

namespace fs = std::filesystem;

bool Load(const BoardFileAccess& files, const fs::path& file, Board& board) {
    std::string error;
    if (!files.read || !files.read(board, file, error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", file.string().c_str(),
                     error.empty() ? "" : ": ", error.c_str());
        return false;
    }
    return true;
}

void PrintMessages(const std::vector<OutputMessage>& messages) {
    for (const OutputMessage& m : messages)
        std::fprintf(m.error ? stderr : stdout, "%s%s\n", m.error ? "error: " : "", m.text.c_str());
}

int CmdNetlist(const BoardFileAccess& files, const fs::path& file, const fs::path& out) {
    auto board = std::make_unique<Board>();
    if (!Load(files, file, *board)) return cli::kExitFileError;
    const NetlistExport e = ExportNetlist(*board);
    PrintMessages(e.messages);
    if (e.status != NetlistExport::kOk) return cli::kExitFileError;
    if (!WriteFileAtomically(out, e.text)) {
        std::fprintf(stderr, "cannot write %s\n", out.string().c_str());
        return cli::kExitFileError;
    }
    return cli::kExitOk;
}

int CmdCompare(const BoardFileAccess& files, const fs::path& file, const fs::path& refFile,
               const std::string& outArg) {
    auto board = std::make_unique<Board>();
    if (!Load(files, file, *board)) return cli::kExitFileError;
    const std::optional<std::string> text = ReadWholeFile(refFile);
    const NetlistRead ref = text ? ReadReferenceNetlist(*text) : NetlistRead{};
    for (const NetlistIssue& i : ref.issues)
        std::fprintf(stderr, "%s: %s %zu: %s\n", refFile.string().c_str(),
                     ref.format == NetlistFormat::kBinary ? "record" : "line", i.line,
                     i.reason.c_str());
    if (ref.skipped > ref.issues.size())
        std::fprintf(stderr, "%s: %zu more skipped\n", refFile.string().c_str(),
                     ref.skipped - ref.issues.size());
    if (!ref.ok()) {
        std::fprintf(stderr, "%s: %s%s\n", refFile.string().c_str(),
                     std::string(TableText(kMsgCannotReadNetlist)).c_str(),
                     ref.status == NetlistRead::kOverflow ? " (too many pins)" : "");
        return cli::kExitFileError;
    }
    std::printf("%s: format %d, %zu net(s), %zu skipped\n", refFile.string().c_str(),
                static_cast<int>(ref.format), ref.nets.size(), ref.skipped);
    const NetlistComparison c = CompareNetlist(*board, ref.nets);
    PrintMessages(c.messages);
    if (c.status != NetlistComparison::kOk) return cli::kExitFileError;
    for (const group* g : c.exchanged)
        std::printf("pins exchanged in %s\n", cli::Show(View(g->reference)).c_str());
    if (c.report.empty()) return cli::kExitOk;
    const fs::path out =
        outArg.empty() ? fs::path(std::string(kCompareReportFileName)) : PathFromUtf8(outArg);
    if (!WriteFileAtomically(out, c.report)) {
        std::fprintf(stderr, "cannot write %s\n", out.string().c_str());
        return cli::kExitFileError;
    }
    std::printf("%zu board net(s) and %zu reference net(s) differ; see %s\n", c.boardDifferences,
                c.referenceDifferences, out.string().c_str());
    return cli::kExitFound;
}

}  // namespace

void AddNetlistCommands(CLI::App& app, const BoardFileAccess& files, int& status) {
    struct Args {
        std::string board, ref, out;
    };
    auto nl = std::make_shared<Args>();
    auto* n = app.add_subcommand("netlist", "Write the pin netlist of a board");
    n->add_option("BOARD", nl->board, "board file (.pcb)")->required();
    n->add_option("-o,--output", nl->out, "netlist file (.net)")->required();
    n->callback([&files, &status, nl] {
        status = CmdNetlist(files, PathFromUtf8(nl->board), PathFromUtf8(nl->out));
    });

    auto cmp = std::make_shared<Args>();
    auto* c = app.add_subcommand("compare",
                                 "Compare a board with a reference netlist (our own "
                                 "export or one of the nine other formats); exit "
                                 "status 1 when they differ");
    c->add_option("BOARD", cmp->board, "board file (.pcb)")->required();
    c->add_option("REF", cmp->ref, "reference netlist (.net)")->required();
    c->add_option("-o,--output", cmp->out, "report file (default NetListErr.txt)");
    c->callback([&files, &status, cmp] {
        status = CmdCompare(files, PathFromUtf8(cmp->board), PathFromUtf8(cmp->ref), cmp->out);
    });
}

}  // namespace zevo
