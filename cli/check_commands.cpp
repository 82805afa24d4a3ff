#include "check_commands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#if defined(_WIN32)
#include <io.h>
#define ZEVO_ISATTY _isatty
#define ZEVO_FILENO _fileno
#else
#include <unistd.h>
#define ZEVO_ISATTY isatty
#define ZEVO_FILENO fileno
#endif

#include "board/model/board.h"
#include "checks/connectivity.h"
#include "checks/drc.h"
#include "cli/cli_common.h"
#include "paths/file_io.h"

namespace zevo {

namespace {

namespace fs = std::filesystem;

// A progress bar on standard error when it is a terminal; nothing otherwise.
class TerminalProgress : public ProgressMonitor {
  public:
    explicit TerminalProgress(const char* what)
        : what_(what), shown_(ZEVO_ISATTY(ZEVO_FILENO(stderr)) != 0) {}
    ~TerminalProgress() override {
        if (shown_ && drawn_) std::fputs("\r\033[K", stderr);
    }
    bool pump(size_t done, size_t total) override {
        if (!shown_) return true;
        drawn_ = true;
        if (total)
            std::fprintf(stderr, "\r%s %3d%%", what_, static_cast<int>(100.0 * done / total));
        else
            std::fprintf(stderr, "\r%s %zu", what_, done);
        std::fflush(stderr);
        return true;
    }

  private:
    const char* what_;
    bool shown_;
    bool drawn_ = false;
};

const char* KindName(const container* e) {
    switch (e->kind) {
        case kLand:
            return AsDrawn(e)->square() ? "square land" : "land";
        case kLine:
            return AsDrawn(e)->square() ? "square line" : "line";
        case kArc:
            return "arc";
        case kRect:
            return "rectangle";
        default:
            return "filled area";
    }
}

void PrintMember(const container* e) {
    if (IsDrawn(e)) {
        const drawn* d = AsDrawn(e);
        std::printf("  %-12s layer %3d  (%.3f, %.3f)\n", KindName(e), d->layer, d->x, d->y);
    } else {
        std::printf("  %-12s layer %3d\n", KindName(e), AreaLayer(AsGroup(e)));
    }
}

bool Load(const BoardFileAccess& files, const fs::path& file, Board& board) {
    std::string error;
    if (!files.read || !files.read(board, file, error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", file.string().c_str(),
                     error.empty() ? "" : ": ", error.c_str());
        return false;
    }
    return true;
}

int CmdNets(const BoardFileAccess& files, const fs::path& file, bool summary) {
    auto board = std::make_unique<Board>();
    if (!Load(files, file, *board)) return cli::kExitFileError;
    TerminalProgress progress("nets");
    const auto nets = BuildNets(*board, &progress);
    if (!nets) return cli::kExitFileError;
    size_t members = 0, single = 0, largest = 0;
    for (size_t i = 0; i < nets->size(); ++i) {
        const Net& n = (*nets)[i];
        members += n.size();
        single += n.size() == 1;
        largest = std::max(largest, n.size());
        if (summary) continue;
        std::printf("net %zu: %zu member(s)\n", i + 1, n.size());
        for (const container* e : n) PrintMember(e);
    }
    std::printf("%zu net(s), %zu conductor(s), %zu single, largest %zu\n", nets->size(), members,
                single, largest);
    return cli::kExitOk;
}

const char* ViolationName(DrcViolation::Kind k) {
    switch (k) {
        case DrcViolation::kOverlapOneLayer:
            return "overlap";
        case DrcViolation::kOverlapTwoLayers:
            return "overlap across layers";
        default:
            return "gap";
    }
}

int CmdDrc(const BoardFileAccess& files, const fs::path& file, const std::string& rulesArg,
           const std::string& out) {
    auto board = std::make_unique<Board>();
    if (!Load(files, file, *board)) return cli::kExitFileError;
    const fs::path ruleFile =
        rulesArg.empty() ? cli::ProgramPaths().ruleFile() : PathFromUtf8(rulesArg);
    const std::optional<std::string> text = ReadWholeFile(ruleFile);
    if (!text) {
        std::fprintf(stderr, "cannot read %s\n", ruleFile.string().c_str());
        return cli::kExitFileError;
    }
    const DrcRules rules = ReadDrcRules(*text, *board);
    switch (rules.status) {
        case DrcRulesStatus::kOk:
            break;
        case DrcRulesStatus::kNoSection:
            std::fprintf(stderr, "%s: no [DrcDatas] section\n", ruleFile.string().c_str());
            return cli::kExitFileError;
        case DrcRulesStatus::kBadOutputLayer:
            std::fprintf(stderr, "%s: OutputLayer out of range (0..255)\n",
                         ruleFile.string().c_str());
            return cli::kExitFileError;
        case DrcRulesStatus::kNoRule:
            std::fprintf(stderr, "%s: no Space rule\n", ruleFile.string().c_str());
            return cli::kExitFileError;
        case DrcRulesStatus::kBadRule:
            break;  // reported by the check's own message
    }
    TerminalProgress progress("drc");
    const DrcReport r = DrcCommand(*board, rules, &progress);
    for (const OutputMessage& m : r.messages) {
        if (m.error)
            std::fprintf(stderr, "error: %s (%s line %d)\n", m.text.c_str(),
                         ruleFile.string().c_str(), rules.badLine);
    }
    if (r.result < 0) return cli::kExitFileError;
    for (const DrcViolation& v : r.violations) {
        std::printf("%-22s at (%.3f, %.3f)  layers %d/%d", ViolationName(v.kind), v.at.x, v.at.y,
                    v.a->layer, v.b->layer);
        if (v.kind == DrcViolation::kGap)
            std::printf("  gap %.4f < %.4f", v.gap, v.required + 0.00001);
        std::printf("\n");
    }
    for (const OutputMessage& m : r.messages)
        if (!m.error) std::printf("%s (%d)\n", m.text.c_str(), r.result);
    if (!out.empty() && (!files.write || !files.write(*board, PathFromUtf8(out))))
        return cli::kExitFileError;
    return r.result > 0 ? cli::kExitFound : cli::kExitOk;
}

}  // namespace

void AddCheckCommands(CLI::App& app, const BoardFileAccess& files, int& status) {
    struct Args {
        std::string board, rules, out;
        bool summary = false;
    };
    auto nets = std::make_shared<Args>();
    auto* n = app.add_subcommand("nets", "Build the nets of a board and list them with members");
    n->add_option("BOARD", nets->board, "board file (.pcb)")->required();
    n->add_flag("--summary", nets->summary, "only the counts");
    n->callback([&files, &status, nets] {
        status = CmdNets(files, PathFromUtf8(nets->board), nets->summary);
    });

    auto drc = std::make_shared<Args>();
    auto* d = app.add_subcommand("drc",
                                 "Design rule check; exit status 1 when violations are found, "
                                 "2 for a file or rule error");
    d->add_option("BOARD", drc->board, "board file (.pcb)")->required();
    d->add_option("--rules", drc->rules, "rule file (default: the program's Zevo.drc)");
    d->add_option("-o,--output", drc->out, "write the board with the marks to this file");
    d->callback([&files, &status, drc] {
        status = CmdDrc(files, PathFromUtf8(drc->board), drc->rules, drc->out);
    });
}

}  // namespace zevo
