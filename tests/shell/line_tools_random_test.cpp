// The parallel and connect tools under random use: from a fixed seed, clicks on and beside the
// elements of a generated board, drags, keys, settings and dialog answers. Every action makes at
// most one undo step, and undoing them all gives back the original file byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "board/file/board_writer.h"
#include "board/model/intern.h"
#include "editor_scenario.h"
#include "tools/line_tools.h"

namespace zevo::test {
namespace {

class LineToolsRandom : public EditorScenario {
  protected:
    std::mt19937 rng{14};

    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    Point gridPoint() { return {double(2 + below(55)), double(2 + below(42))}; }

    void generate() {
        for (int i = 0; i < 60; ++i) {
            const Point a = gridPoint();
            Point b = below(3) == 0 ? Point{a.x, double(2 + below(42))} : gridPoint();
            if (SamePoint(a, b)) b.x += 1;
            board.AppendElement(nullptr, board.CreateLine(1 + below(2), below(3) == 0 ? 18 : 0,
                                                          below(8) == 0, a, b));
        }
        for (int i = 0; i < 15; ++i) {
            const double r = uniform(1, 8);
            const Point c{uniform(10, 50), uniform(10, 35)};
            const double st = uniform(0, kTwoPi);
            board.AppendElement(nullptr,
                                board.CreateArc(1, 0, c, r, st, st + uniform(0.2, kTwoPi)));
        }
        for (int i = 0; i < 8; ++i)
            board.AppendElement(nullptr, board.CreateLand(1, 18, false, gridPoint()));
        group* part = board.CreateGroup(Intern("U1"));
        board.AppendElement(part, board.CreateLine(1, 0, false, {30, 30}, {40, 30}));
        board.AppendElement(part, board.CreateLine(1, 0, false, {40, 30}, {40, 40}));
        board.AppendElement(nullptr, part);
    }

    // A point on a random element of the board (or now and then anywhere).
    Point target() {
        std::vector<const drawn*> all;
        ForEachDrawn(board.items, [&](const drawn* d) { all.push_back(d); });
        if (all.empty() || below(5) == 0) return {uniform(0, 60), uniform(0, 46)};
        const drawn* d = all[size_t(below(int(all.size())))];
        if (d->kind == kLine) {
            const line* l = static_cast<const line*>(d);
            const double u = below(4) == 0 ? double(below(2)) : uniform(0, 1);
            return {l->x + u * (l->ex - l->x), l->y + u * (l->ey - l->y)};
        }
        if (d->kind == kArc) {
            const arc* a = static_cast<const arc*>(d);
            const double t = uniform(a->st, a->end);
            return {a->x + a->r * std::cos(t), a->y + a->r * std::sin(t)};
        }
        return d->ref();
    }
    uint32_t keys() {
        switch (below(6)) {
            case 0:
                return kMkShift;
            case 1:
                return kMkControl;
            default:
                return 0;
        }
    }
    void answerDialogs() {
        host.on<LineSetInputModel>([this](LineSetInputModel& m) {
            const char* spacings[] = {"0.5", "1", "2", "-1", "(", "0"};
            m.spacing = spacings[below(6)];
            m.length = std::to_string(below(12));
            m.count = std::to_string(below(5));
            return !m.decide() && below(8) != 0;
        });
        host.on<ChamferRadiusModel>([this](ChamferRadiusModel& m) {
            const char* radii[] = {"0.5", "2", "5", "0", "-1", "x"};
            m.radius = radii[below(6)];
            return !m.decide();
        });
        host.on<ParallelSettingsModel>([this](ParallelSettingsModel& m) {
            m.middleByClick = below(3) == 0;
            m.singleLineParallel = below(2) == 0;
            m.aperture = below(3) == 0 ? 18 : 0;
            return true;
        });
        host.on<ConnectSettingsModel>([this](ConnectSettingsModel& m) {
            m.click = ConnectSettingsModel::Click(below(4) == 0 ? below(3) : 0);
            return true;
        });
    }
};

TEST_F(LineToolsRandom, EveryActionIsAtMostOneStepAndUndoingAllGivesTheFileBack) {
    generate();
    editor.history.SetUndoLimit(100000);
    answerDialogs();
    editor.redraw();
    const std::string original = WriteDocument(board);
    ASSERT_TRUE(editor.command(Cmd::Connect));
    size_t committed = 0;
    for (int step = 0; step < 3000; ++step) {
        const size_t before = editor.history.doneCount();
        const bool idle = editor.tools->modes.depth() == 1;
        const int what = below(20);
        if (what == 0 && idle) {
            editor.command(below(2) ? Cmd::Parallel : Cmd::Connect);
        } else if (what == 1 && idle) {
            editor.command(Cmd::SelectSettings);
        } else if (what == 2) {
            editor.character(kCharEscape);
        } else if (what == 3 && !idle) {
            editor.keyDown(EditorKey::kBackspace);
        } else if (what <= 6) {
            int x0, y0, x1, y1;
            pixel(target(), x0, y0);
            pixel(target(), x1, y1);
            const uint32_t k = keys();
            editor.mouseMove(x0, y0, k);
            editor.leftDown(x0, y0, k | kMkLeft);
            editor.mouseMove((x0 + x1) / 2, (y0 + y1) / 2, k | kMkLeft);
            editor.mouseMove(x1, y1, k | kMkLeft);
            editor.leftUp(x1, y1, k);
        } else {
            click(target(), keys());
        }
        const size_t after = editor.history.doneCount();
        ASSERT_LE(after, before + 1) << "step " << step;
        if (after == before + 1) ++committed;
    }
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_GT(committed, 200u);  // the walk did edit the board
    while (editor.history.CanUndo()) editor.history.Undo();
    EXPECT_EQ(WriteDocument(board), original);
}

}  // namespace
}  // namespace zevo::test
