// Random editing: from a fixed seed, thousands of clicks, drags, keys, Escapes and tool changes
// over every tool on a generated board. Whatever happens, undoing everything gives the board
// back byte for byte, and no operation leaves memory behind (AddressSanitizer watches).
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <random>
#include <sstream>

#include "board/file/board_writer.h"
#include "board_generator.h"
#include "editor_scenario.h"

namespace zevo::test {
namespace {

constexpr Cmd kTools[] = {
    Cmd::RoundLand,
    Cmd::SquareLand,
    Cmd::Line,
    Cmd::Arc,
    Cmd::Pad,
    Cmd::Text,
    Cmd::Deform,
    Cmd::DeleteTool,
    Cmd::Parallel,
    Cmd::Connect,
    Cmd::Change,
    Cmd::Fill,
    Cmd::Multiple,
    Cmd::ZoomTool,
    Cmd::Spacing,
    Cmd::Coordinates,
    Cmd::PinNumbers,
    Cmd::Equipotential,
    Cmd::Intersection,
    Cmd::NumericInput,
    Cmd::SelectSettings,
    Cmd::LayerSelect,
    Cmd::Mirror,
    Cmd::Rotate,
    Cmd::Move,
    Cmd::Copy,
    Cmd::Cut,
    Cmd::Paste,
    Cmd::DeleteElements,
    Cmd::FitBoard,
    Cmd::ZoomOut,
    Cmd::Undo,
    Cmd::Redo,
    Cmd::Cancel,
};

class RandomEditing : public EditorScenario {
  protected:
    std::mt19937_64 rng{20261208};
    std::vector<Point> points;  // where elements stood at the start: clicks aim there
    std::deque<std::string> log;

    int below(int n) { return int(rng() % uint64_t(n)); }
    void note(const std::string& s) {
        log.push_back(s);
        if (log.size() > 30) log.pop_front();
    }
    std::string lastActions() const {
        std::ostringstream o;
        for (const std::string& s : log) o << s << "\n";
        return o.str();
    }
    // A pixel near an element's point most of the time, anywhere in the window otherwise.
    void target(int& x, int& y) {
        if (below(4) != 0 && !points.empty()) {
            pixel(points[size_t(below(int(points.size())))], x, y);
            x += below(13) - 6, y += below(13) - 6;
        } else {
            x = below(editor.view.clientWidth), y = below(editor.view.clientHeight);
        }
    }
    uint32_t keys() {
        const int k = below(8);
        return k == 0 ? kMkShift : k == 1 ? kMkControl : 0;
    }
};

TEST_F(RandomEditing, UndoingEverythingGivesTheBoardBackByteForByte) {
    GeneratorOptions g;
    g.elements = 2000;
    g.seed = 7;
    GenerateBoard(board, g);
    for (container* e : Items(board.items))
        if (IsDrawn(e))
            points.push_back(AsDrawn(e)->ref());
        else if (e->kind == kGroup)
            ForEachDrawn(AsGroup(e)->members, [&](drawn* d) { points.push_back(d->ref()); });
    editor.view.SetBoardSize(board.sizeX, board.sizeY);
    editor.view.TakeBoardGrid(board);
    editor.view.FitBoard();
    editor.redraw();
    constexpr int kSteps = 4000;
    editor.history.SetUndoLimit(kSteps * 4);
    const std::string original = WriteDocument(board);

    for (int step = 0; step < kSteps; ++step) {
        int x, y, x2, y2;
        switch (below(20)) {
            case 0:
            case 1: {
                const Cmd c = kTools[below(int(std::size(kTools)))];
                note("command " + std::string(CommandName(c)));
                editor.command(c);
                break;
            }
            case 2:
                note("escape");
                editor.character(kCharEscape);
                break;
            case 3:
                note("backspace");
                editor.keyDown(EditorKey::kBackspace);
                break;
            case 4:
                note("return");
                editor.character(kCharReturn);
                break;
            case 5: {
                const EditorKey k[] = {EditorKey::kLeft, EditorKey::kRight,  EditorKey::kUp,
                                       EditorKey::kDown, EditorKey::kPageUp, EditorKey::kDelete};
                const int i = below(int(std::size(k)));
                note("key " + std::to_string(i));
                editor.keyDown(k[i]);
                break;
            }
            case 6:
            case 7:
            case 8: {
                target(x, y);
                target(x2, y2);
                const uint32_t m = keys();
                note("drag " + std::to_string(x) + "," + std::to_string(y) + " " +
                     std::to_string(x2) + "," + std::to_string(y2) + " keys " + std::to_string(m));
                editor.mouseMove(x, y, m);
                editor.leftDown(x, y, m | kMkLeft);
                editor.mouseMove((x + x2) / 2, (y + y2) / 2, m | kMkLeft);
                editor.mouseMove(x2, y2, m | kMkLeft);
                editor.leftUp(x2, y2, m);
                break;
            }
            case 9:
            case 10: {
                target(x, y);
                const uint32_t m = keys();
                note("move " + std::to_string(x) + "," + std::to_string(y));
                editor.mouseMove(x, y, m);
                break;
            }
            default: {
                target(x, y);
                const uint32_t m = keys();
                note("click " + std::to_string(x) + "," + std::to_string(y) + " keys " +
                     std::to_string(m));
                clickPixel(x, y, m);
                break;
            }
        }
        ASSERT_GE(editor.tools->modes.depth(), 1) << lastActions();
    }
    // Close whatever is open, then take every step back.
    for (int i = 0; i < 12; ++i) editor.character(kCharEscape);
    ASSERT_EQ(editor.tools->modes.depth(), 1) << lastActions();
    int undone = 0;
    while (editor.history.Undo()) ++undone;
    std::printf("%d steps undone, %d beeps\n", undone, host.beeps);
    EXPECT_GT(undone, 100) << "the walk should change the board many times";
    EXPECT_EQ(WriteDocument(board), original) << undone << " steps undone\n" << lastActions();
}

}  // namespace
}  // namespace zevo::test
