// The editor object opening a generated board of 100 k and 1 M elements, from the file to the
// first painted frame: the file read, the steps after reading, the fit, and the first repaint
// with its partial pictures shown, in a 1920 x 1080 screen window. Without a window: the host
// only counts the pictures it is asked to show.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "board/file/document.h"
#include "board_generator.h"
#include "shell/editor.h"

namespace zevo {
namespace {

class ShowingHost final : public Host {
  public:
    void beep() override {}
    void message(std::string_view, MessageIcon) override { ++messages; }
    bool askYesNo(std::string_view) override { return false; }
    Answer askYesNoCancel(std::string_view) override { return Answer::kNo; }
    bool chooseFileToOpen(const FileFilter&, const fs::path&, fs::path&) override { return false; }
    bool chooseFileToSave(const FileFilter&, const fs::path&, fs::path&) override { return false; }
    void setTitle(std::string_view) override {}
    void setStatusText(int, std::string_view) override {}
    void barsChanged() override {}
    void toolBarChanged() override {}
    void definitionItemsChanged() override {}
    void setCloseEnabled(bool) override {}
    void updateScreen() override { ++shown; }
    void startTimer(int, int) override {}
    Cmd popupMenu(std::span<const MenuEntry>, int, int) override { return Cmd::None; }
    void windowMenu(int, int) override {}
    void closeWindow() override {}
    bool setClipboardData(std::string_view) override { return false; }
    std::optional<std::string> clipboardData() override { return std::nullopt; }
    void showProgress(std::string_view, bool) override {}
    bool pumpProgress() override { return false; }
    void closeProgress() override {}
    bool startEditor(const fs::path&) override { return false; }
    bool openWithDesktop(const fs::path&) override { return false; }
    void showHelp() override {}
    void showVersion(std::string_view, std::string_view) override {}
    bool askPartNumber(std::string&) override { return false; }
    bool estimateRunning() override { return false; }
    uint32_t estimateChannel() override { return 1; }
    bool startEstimate(std::string_view) override { return false; }
    bool run(DialogModel&) override { return false; }

    size_t shown = 0, messages = 0;
};

// A scratch folder for the program's files and the boards, gone at exit.
struct Scratch {
    fs::path dir;
    Scratch() {
        dir = fs::temp_directory_path() / ("zevo-open-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir / "user");
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Scratch& TheScratch() {
    static Scratch s;
    return s;
}

const fs::path& BoardFile(size_t elements) {
    static std::map<size_t, fs::path> files;
    fs::path& f = files[elements];
    if (f.empty()) {
        Board b;
        GenerateBoard(b, {elements, 1});
        f = TheScratch().dir / ("board-" + std::to_string(elements) + ".pcb");
        WriteDocumentFile(f, b);
    }
    return f;
}

void BM_EditorOpen(benchmark::State& state) {
    const fs::path& file = BoardFile(size_t(state.range(0)));
    Folders folders;
    folders.program = TheScratch().dir;
    folders.userData = TheScratch().dir / "user";
    folders.programWritable = true;
    const Paths paths(folders);
    ShowingHost host;
    size_t drawn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(host, paths);
        editor->resize(1920, 1080);
        const std::vector<std::string> args{file.string()};
        host.shown = 0;
        state.ResumeTiming();
        editor->startUp(args);
        editor->finishStartUp();
        benchmark::DoNotOptimize(editor->screen().pixels().data());
        state.PauseTiming();
        drawn = editor->doc.board.drawnIndex.recorded();
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["elements"] = double(drawn);
    state.counters["pictures"] = double(host.shown);
}
BENCHMARK(BM_EditorOpen)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
