// The editor's real window opening a generated board offscreen: from the start of the window's
// start-up with the board's file to the first frame the screen widget has painted after it (the
// file read, the steps after reading, the fit, the repaint with its partial pictures, and Qt
// showing the picture). Boards of 100 k and 1 M elements (or the sizes given as arguments), five
// runs each; the shortest and the middle time are printed. Then, in the last window opened, the
// repaint after an edit (an element moved) to the frame painted after it, partial pictures shown
// on the way as the window shows them.
//
// Not part of the tests: `make bench-window` runs it on the release build.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "board/file/document.h"
#include "board_generator.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"

namespace {

// Notes the paint events of the screen widget's viewport.
class PaintWatch : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

// Opens the file in a new window; the time to its first frame, and with `edits`, the times of as
// many repaints after an edit.
double OpenOnce(const QString& file, const QTemporaryDir& dir,
                std::vector<double>* edits = nullptr) {
    zevo::Folders folders;
    folders.program = dir.path().toStdString();
    folders.userData = (dir.path() + "/user").toStdString();
    folders.programWritable = true;
    QElapsedTimer clock;
    clock.start();
    zevo::EditorWindow window{zevo::Paths(folders)};
    PaintWatch watch;
    window.screen().viewport()->installEventFilter(&watch);
    window.show();
    window.startUp({file});
    // The first frame painted once the start-up has drawn the board.
    auto painted = [&](int before) {
        while (watch.paints == before)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    };
    painted(watch.paints);
    const double open = double(clock.nsecsElapsed()) / 1e6;
    if (edits) {
        zevo::Editor& editor = window.editor();
        zevo::Board& board = editor.doc.board;
        std::vector<zevo::drawn*> all;
        zevo::ForEachDrawn(board.items, [&](zevo::drawn* d) { all.push_back(d); });
        for (size_t k = 0; k < edits->size() && !all.empty(); ++k) {
            all[all.size() / 2]->translate(board, k % 2 ? -1.27 : 1.27, 0);
            clock.restart();
            const int before = watch.paints;
            editor.redraw();
            painted(before);
            (*edits)[k] = double(clock.nsecsElapsed()) / 1e6;
        }
    }
    return open;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<size_t> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::stoul(argv[i]));
    if (sizes.empty()) sizes = {100000, 1000000};
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    std::printf("%-12s %12s %12s\n", "elements", "min ms", "median ms");
    for (size_t n : sizes) {
        const QString file = dir.path() + "/board-" + QString::number(n) + ".pcb";
        {
            zevo::Board board;
            zevo::GenerateBoard(board, {n, 1});
            if (!zevo::WriteDocumentFile(file.toStdString(), board)) return 1;
        }
        std::vector<double> times, edits(5);
        for (int run = 0; run < 5; ++run)
            times.push_back(OpenOnce(file, dir, run == 4 ? &edits : nullptr));
        std::sort(times.begin(), times.end());
        std::sort(edits.begin(), edits.end());
        std::printf("%-12zu %12.1f %12.1f\n", n, times.front(), times[times.size() / 2]);
        std::printf("%-12s %12.1f %12.1f\n", "  after edit", edits.front(),
                    edits[edits.size() / 2]);
        std::fflush(stdout);
    }
    return 0;
}
