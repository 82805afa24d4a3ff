#include "cli/estimate_commands.h"

#include <cstdio>
#include <memory>

#include "estimate/estimate_session.h"
#include "output/zevonc.h"
#include "paths/file_io.h"
#include "paths/paths.h"
#include "shell/estimate_link.h"

namespace zevo {

namespace {

namespace fs = std::filesystem;

struct EstimateArgs {
    std::string board, temp;
    size_t entry = 0;
    bool sideB = false, mirror = false, modern = false;
};

// The program's platform side in batch form: messages are printed, and the editor's part is
// done right here on the board read from the file.
class BatchHost : public EstimateHost {
  public:
    const Board* board = nullptr;
    fs::path temp;
    bool written = false;
    bool modern = false;
    void message(std::string_view text) override {
        std::printf("%.*s\n", int(text.size()), text.data());
    }
    bool requestData() override {
        DCodeTables codes = DCodeTables::Defaults();
        OutputReport report;
        written = WriteZevoNcSet(*board, temp, codes, report, modern);
        for (const OutputMessage& m : report.messages) message(m.text);
        return true;
    }
    bool editorAlive() override { return true; }
    void setClipboardText(std::string_view) override {}
    bool openUrl(std::string_view) override { return true; }
    void close(int) override {}
};

int CmdEstimate(const EstimateArgs& a, const BoardFileAccess& files) {
    auto board = std::make_unique<Board>();
    std::string error;
    std::error_code ec;
    const fs::path path = fs::absolute(PathFromUtf8(a.board), ec);
    if (ec || !files.read(*board, path, error)) {
        std::fprintf(stderr, "zevo-cli: %s\n", error.c_str());
        return 2;
    }
    const std::u8string text = path.u8string();
    const ParsedArguments p = ParseEstimateArguments(EstimateArgumentString(
        1, EstimateFacts(*board),
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size())));
    if (!StartupMessage(p).empty()) {
        std::fprintf(stderr, "zevo-cli: %s\n", std::string(StartupMessage(p)).c_str());
        return 2;
    }
    BatchHost host;
    host.board = board.get();
    host.modern = a.modern;
    host.temp = a.temp.empty() ? fs::temp_directory_path(ec) : PathFromUtf8(a.temp);
    const auto table =
        MakerTable(ReadMakerSettings(Paths::ForRunningProgram().Find(kMakerSettingsFile)));
    if (a.entry >= table.size()) {
        std::fprintf(stderr, "zevo-cli: --entry is 0..%zu\n", table.size() - 1);
        return 2;
    }
    EstimateSession s(p.args, table, host.temp, host);
    s.selectEntry(a.entry);
    s.setSideB(a.sideB);
    s.mirror = a.mirror;
    s.makeData();
    s.reply(host.written);
    if (!s.dataMade()) return 2;
    for (const RenamedFile& f : s.renamed().files) std::printf("  %s\n", f.name.c_str());
    return 0;
}

}  // namespace

void AddEstimateCommands(CLI::App& app, const BoardFileAccess& files, int& status) {
    auto a = std::make_shared<EstimateArgs>();
    auto* e = app.add_subcommand("estimate",
                                 "Make the board maker's archive as the estimate program does: "
                                 "the ZevoNC set renamed and packed into <board>_zevo.zip");
    e->add_option("BOARD", a->board, "board file (.pcb)")->required();
    e->add_option("--entry", a->entry,
                  "maker table entry: 0 the board maker, 1 drill as NC, 2 TH/NTH, 3 drill as "
                  "Gerber (default 0)");
    e->add_flag("--side-b", a->sideB, "side B is the component side");
    e->add_flag("--mirror", a->mirror, "the board is drawn as seen from the solder side");
    e->add_flag("--modern", a->modern,
                "the editor writes the set in the current formats (packed as they are)");
    e->add_option("--temp", a->temp, "folder that receives ZevoNC (default: the temporary folder)");
    e->callback([a, &files, &status] { status = CmdEstimate(*a, files); });
}

}  // namespace zevo
