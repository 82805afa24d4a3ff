// A generated board drawn in several views: the pixels are held to reviewed pictures, and the
// repaint is compared with a plain walk of the document that draws one element after the other.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board_generator.h"
#include "image_compare.h"
#include "plain_walk.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

using test::ExpectImage;
using test::ExpectPlainRepaint;

const Board& GeneratedBoard(size_t elements) {
    static std::vector<std::pair<size_t, std::unique_ptr<Board>>> boards;
    for (auto& [n, b] : boards)
        if (n == elements) return *b;
    auto b = std::make_unique<Board>();
    GenerateBoard(*b, {elements, 7});
    boards.emplace_back(elements, std::move(b));
    return *boards.back().second;
}

struct View {
    const char* name;
    double scale, left, bottom;  // scale 0: fitted to the drawing
    bool mirror;
};

ViewState MakeView(const Board& board, const View& v, int w, int h) {
    ViewState view;
    view.TakeBoardGrid(board);
    view.SetClientSize(w, h);
    view.SetMirror(v.mirror);
    view.CentreOnBoard();
    if (v.scale == 0) {
        if (!view.FitDrawing(board)) view.FitBoard();
    } else {
        view.SetView(v.scale, v.left, v.bottom);
    }
    return view;
}

// Fitted (elements a few pixels wide), zoomed (outlines of wide apertures, arcs of many chords),
// mirrored, and around the widest round land shown: close (long arcs, clipped strokes) and so deep
// that the land's outline reaches far beyond the window.
std::vector<View> Views(const Board& board) {
    std::vector<View> views = {
        {"generated-fitted.png", 0, 0, 0, false},
        {"generated-zoomed.png", 12, 150, 100, false},
        {"generated-mirrored.png", 30, 220, 140, true},
    };
    const drawn* wide = nullptr;
    ForEachDrawn(board.items, [&](const drawn* d) {
        if (d->kind == kLand && !d->square() && (board.layerFlags[size_t(d->layer)] & kDisp) &&
            (!wide || board.roundHalf(d->aperture) > board.roundHalf(wide->aperture)))
            wide = d;
    });
    if (wide) {
        const double h = board.roundHalf(wide->aperture);
        views.push_back({"generated-close.png", 100, wide->x - 2, wide->y - 1.5, false});
        views.push_back({"generated-deep.png", 1000, wide->x + h - 0.2, wide->y - 0.1, false});
    }
    return views;
}

TEST(GeneratedRender, EveryViewMatchesItsReviewedPicture) {
    const Board& board = GeneratedBoard(10000);
    const std::vector<View> views = Views(board);
    ASSERT_EQ(views.size(), 5u);
    for (const View& v : views) {
        const ViewState view = MakeView(board, v, 400, 300);
        Framebuffer fb(400, 300);
        RenderBoard(board, view, fb);
        ExpectImage(fb, v.name);
    }
}

TEST(GeneratedRender, RepaintDrawsWhatThePlainWalkDrawsCopyByCopy) {
    const Board& board = GeneratedBoard(50000);
    size_t copies = 0;
    for (const View& v : Views(board)) {
        const ViewState view = MakeView(board, v, 400, 300);
        // Once following the links (the board's index starts again after a change), once
        // through the index that walk left.
        board.changes.note();
        copies += ExpectPlainRepaint(board, view, v.name);
        EXPECT_TRUE(board.drawnIndex.complete());
        ExpectPlainRepaint(board, view, v.name);
    }
    EXPECT_GE(copies, 2u);
}

// Deep in, a land wider than 1000 pixels is a polygon; its corners and a wide arc's outline cross
// the window's edges.
TEST(GeneratedRender, WideOutlinesDeepInAreCutAtTheWindow) {
    Board board;
    board.SetBoardSize(100, 100);
    board.SetRoundAperture(1, 5.0);
    board.SetRoundAperture(2, 0.04);
    board.layerColour[1] = 2;
    board.layerColour[2] = 5;
    board.AppendElement(nullptr, board.CreateLand(1, 1, false, {50.1 - 5, 50.07}));
    board.AppendElement(nullptr, board.CreateArc(2, 2, {50.2, 49.9}, 0.25, 1.2, 3.0));
    board.AppendElement(nullptr, board.CreateLine(2, 2, false, {49.9, 50.2}, {50.3, 49.95}));
    ViewState view;
    view.SetBoardSize(100, 100);
    view.SetClientSize(200, 150);
    view.SetGrid(0.05, 1);
    view.SetView(1000, 50, 50);
    Framebuffer fb(200, 150);
    EXPECT_EQ(RenderBoard(board, view, fb), 3u);
    ExpectImage(fb, "wide-outlines-deep.png");
}

}  // namespace
}  // namespace zevo
