// A generated board drawn in several views: the pixels are held to reviewed pictures, and the
// repaint is compared with a plain walk of the document that draws one element after the other.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "board/model/intern.h"
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

// The repaint in bands keeps its work from one repaint to the next; a repaint begun from within
// a partial picture's call (a window painting what it was handed) must leave the one under way
// alone.
TEST(GeneratedRender, RepaintFromWithinAPartialPictureLeavesTheOuterOneAlone) {
    const Board& board = GeneratedBoard(50000);
    const ViewState view = MakeView(board, {"fitted", 0, 0, 0, false}, 400, 300);
    const ViewState zoomed = MakeView(board, {"zoomed", 12, 150, 100, false}, 400, 300);
    Framebuffer want(400, 300), got(400, 300), inner(400, 300), wantInner(400, 300);
    const std::vector<Framebuffer> wantCopies = test::PlainRepaint(board, view, want);
    test::PlainRepaint(board, zoomed, wantInner);
    ASSERT_GE(wantCopies.size(), 2u);
    std::vector<Framebuffer> gotCopies;
    RenderOptions options;
    options.threads = 2;
    options.partialCopy = [&](const Framebuffer& part) {
        gotCopies.push_back(part);
        RenderOptions again;
        again.threads = 2;
        RenderBoard(board, zoomed, inner, again);
    };
    RenderBoard(board, view, got, options);
    ASSERT_EQ(gotCopies.size(), wantCopies.size());
    for (size_t i = 0; i < gotCopies.size(); ++i)
        EXPECT_TRUE(test::SamePixels(gotCopies[i], wantCopies[i])) << "copy " << i;
    EXPECT_TRUE(test::SamePixels(got, want));
    EXPECT_TRUE(test::SamePixels(inner, wantInner));
}

// Drawn by two threads, each in its own band of rows, and after edits that the board's index
// follows (new bounds, elements taken out, elements appended) or starts again after (a relink in
// the middle, a new aperture size): every partial picture and the last one are the plain walk's.
TEST(GeneratedRender, BandsAndEditsDrawWhatThePlainWalkDraws) {
    struct Case {
        size_t elements;
        uint64_t seed;
        int width, height;
    } cases[] = {{24000, 3, 640, 480}, {12000, 11, 333, 251}, {40000, 29, 500, 97}};
    for (const Case& k : cases) {
        Board board;
        GenerateBoard(board, {k.elements, k.seed});
        std::vector<drawn*> all;
        ForEachDrawn(board.items, [&](drawn* d) { all.push_back(d); });
        ASSERT_GT(all.size(), 1000u);
        std::vector<View> views = Views(board);
        views.push_back({"mirrored, wide", 2.5, 10, 5, true});
        ListNode* successor = nullptr;
        drawn* taken = nullptr;
        for (int edit = 0; edit <= 6; ++edit) {
            for (const View& v : views) {
                const ViewState view = MakeView(board, v, k.width, k.height);
                const std::string what = std::string(v.name) + ", seed " + std::to_string(k.seed) +
                                         ", edit " + std::to_string(edit);
                ExpectPlainRepaint(board, view, what.c_str(), 2);
                ExpectPlainRepaint(board, view, what.c_str(), 1);
            }
            drawn* d = all[all.size() / 3 + size_t(edit) * 97];
            switch (edit) {
                case 0:  // moved into the fitted view's middle, and a wide line across it
                    d->moveTo(board, {board.sizeX / 2, board.sizeY / 2});
                    board.AppendElement(
                        nullptr,
                        board.CreateLine(1, 9, false, {1, 1}, {board.sizeX - 1, board.sizeY - 1}));
                    break;
                case 1:  // taken out
                    taken = d;
                    successor = d->unlink(board.changes);
                    break;
                case 2:  // a filled group appended
                {
                    group* g = board.CreateGroup(Intern("G"));
                    for (int i = 0; i < 50; ++i)
                        board.AppendElement(g, board.CreateArc(1, 3, {20.0 + i, 30}, 4, 0.5, 2.5));
                    board.AppendElement(nullptr, g);
                    break;
                }
                case 3:  // put back where it was
                    taken->insertBefore(successor, board.changes);
                    break;
                case 4:
                    d->translate(board, -3, 2);
                    break;
                case 5:  // every outline of one aperture wider
                    board.SetRoundAperture(3, 1.5);
                    ForEachDrawn(board.items, [&](drawn* e) { e->updateBounds(board); });
                    break;
                default:
                    break;
            }
        }
    }
}

// A repaint that keeps its outlines for the next works out again only those of the elements
// edited since, as long as the view, the layers and the apertures stay; every picture, partial
// ones included, is the plain walk's after every kind of edit.
TEST(GeneratedRender, KeptOutlinesFollowEditsAndDrawWhatThePlainWalkDraws) {
    Board board;
    GenerateBoard(board, {24000, 13});
    const ViewState fitted = MakeView(board, {"fitted", 0, 0, 0, false}, 400, 300);
    // Elements drawn well inside the view, so that a small move keeps them in it.
    std::vector<drawn*> all;
    ForEachDrawn(board.items, [&](drawn* d) {
        const double mx = (fitted.viewRight - fitted.viewLeft) / 10,
                     my = (fitted.viewTop - fitted.viewBottom) / 10;
        if ((board.layerFlags[size_t(d->layer)] & kDisp) && d->bounds.minX > fitted.viewLeft + mx &&
            d->bounds.maxX < fitted.viewRight - mx && d->bounds.minY > fitted.viewBottom + my &&
            d->bounds.maxY < fitted.viewTop - my)
            all.push_back(d);
    });
    ASSERT_GT(all.size(), 2000u);
    const ViewState zoomed = MakeView(board, {"zoomed", 12, 150, 100, false}, 400, 300);
    RepaintMemory memory;
    size_t shown = 0;
    // Repaints with the memory; the outlines worked out then, or every one when `all` is
    // expected (the number shown, which the first repaint gives).
    auto repaint = [&](const std::string& what, const ViewState* view = nullptr) {
        ExpectPlainRepaint(board, view ? *view : fitted, what.c_str(), 2, &memory);
        return memory.outlinesWorkedOut();
    };
    shown = repaint("first");
    ASSERT_GT(shown, size_t(kPartialCopyEvery));
    EXPECT_EQ(repaint("again"), 0u);
    drawn* d = all[all.size() / 2];
    d->translate(board, 1.27, 0);
    EXPECT_EQ(repaint("moved"), 1u);
    d->moveTo(board, {-500, -500});
    EXPECT_EQ(repaint("moved out of the view"), 0u);
    d->moveTo(board, {board.sizeX / 2, board.sizeY / 3});
    EXPECT_EQ(repaint("moved back into it"), 1u);
    ListNode* successor = all[100]->unlink(board.changes);
    EXPECT_EQ(repaint("taken out"), 0u);
    board.AppendElement(nullptr, board.CreateLine(1, 9, false, {1, 1}, {board.sizeX - 1, 20}));
    group* g = board.CreateGroup(Intern("G"));
    for (int i = 0; i < 10; ++i)
        board.AppendElement(g, board.CreateArc(1, 3, {20.0 + i, 30}, 4, 0.5, 2.5));
    board.AppendElement(nullptr, g);
    EXPECT_EQ(repaint("a line and a group of 10 arcs appended"), 11u);
    for (size_t i = 1; i <= 5; ++i) all[all.size() / 7 * i]->translate(board, 0, -0.635);
    all[all.size() - 3]->unlink(board.changes);
    all[all.size() / 7]->translate(board, 0, 0.635);
    EXPECT_EQ(repaint("five moved, one twice, one taken out"), 5u);
    all[100]->insertBefore(successor, board.changes);
    shown = repaint("put back in the middle (the index starts again)");
    EXPECT_GT(shown, size_t(kPartialCopyEvery));
    // What is kept is the outlines of a view, of how layers are shown and of the apertures.
    EXPECT_EQ(repaint("once more"), 0u);
    const size_t zoomedShown = repaint("zoomed", &zoomed);
    EXPECT_GT(zoomedShown, 0u);
    EXPECT_EQ(repaint("fitted again"), shown);
    board.ClearLayerSwitch(all[5]->layer, kDisp);
    EXPECT_LT(repaint("a layer hidden"), shown);
    board.SetLayerSwitch(all[5]->layer, kDisp);
    EXPECT_EQ(repaint("shown again"), shown);
    board.layerColour[size_t(all[5]->layer)] ^= 5;
    EXPECT_EQ(repaint("its colour changed"), shown);
    board.SetRoundAperture(3, board.roundHalf(3) * 1.5);
    EXPECT_EQ(repaint("an aperture wider, the bounds not yet told"), shown);
    ForEachDrawn(board.items, [&](drawn* e) { e->updateBounds(board); });
    shown = repaint("and told");
    EXPECT_GT(shown, size_t(kPartialCopyEvery));
    ViewState smaller = fitted;
    smaller.SetClientSize(400, 299);
    EXPECT_GT(repaint("a row less", &smaller), 0u);
    EXPECT_EQ(repaint("fitted again"), shown);
    board.changes.note();
    EXPECT_EQ(repaint("a change the index does not follow"), shown);
    // Past what the index follows between two repaints, it starts again.
    for (int i = 0; i < 40; ++i) all[200 + size_t(i)]->translate(board, 0.1, 0);
    EXPECT_EQ(repaint("forty moved"), shown);

    // Another board in the same memory, then in its own.
    Board other;
    GenerateBoard(other, {24000, 13});
    const size_t drawnOther = [&] {
        Framebuffer fb(400, 300);
        RenderOptions o;
        o.threads = 2;
        o.memory = &memory;
        return RenderBoard(other, fitted, fb, o);
    }();
    EXPECT_EQ(memory.outlinesWorkedOut(), drawnOther);
    EXPECT_EQ(repaint("the first board again"), shown);
    memory.forget();
    EXPECT_EQ(repaint("forgotten"), shown);
}

// Random edits between repaints that keep their outlines: moves in and out of the view, elements
// taken out and appended, now and then several before one repaint.
TEST(GeneratedRender, KeptOutlinesAfterRandomEdits) {
    Board board;
    GenerateBoard(board, {21000, 17});
    std::vector<drawn*> all;
    ForEachDrawn(board.items, [&](drawn* d) { all.push_back(d); });
    const ViewState view = MakeView(board, {"fitted", 0, 0, 0, false}, 320, 240);
    RepaintMemory memory;
    uint64_t r = 12345;
    auto next = [&](uint64_t n) {
        r = r * 6364136223846793005u + 1442695040888963407u;
        return (r >> 33) % n;
    };
    size_t followed = 0;
    for (int step = 0; step < 40; ++step) {
        for (uint64_t edits = 1 + next(4); edits-- > 0;) {
            drawn* d = all[next(all.size())];
            if (!d->linked()) continue;
            switch (next(4)) {
                case 0:
                    d->translate(board, double(next(200)) / 10 - 10, double(next(200)) / 10 - 10);
                    break;
                case 1:
                    d->moveTo(board, {double(next(2)) * 1000 - 500, 20});
                    break;
                case 2:
                    d->unlink(board.changes);
                    break;
                default:
                    board.AppendElement(nullptr,
                                        board.CreateLand(int(1 + next(3)), int(next(5)), next(2),
                                                         {double(next(100)), double(next(100))}));
                    break;
            }
        }
        ExpectPlainRepaint(board, view, ("step " + std::to_string(step)).c_str(), 2, &memory);
        followed += memory.outlinesWorkedOut() < 10;
    }
    EXPECT_GT(followed, 30u);
}

// The repaint in bands works every outline out once, records the calls it makes and makes them
// again in each band it reaches. Recorded and replayed into a band, every outline gives the
// pixels it gives drawn straight into that band: fitted, zoomed, mirrored and deep views of a
// generated board, and elements so far out that their points need more than 32 bits.
TEST(GeneratedRender, RecordedOutlinesReplayAsDrawnInEveryBand) {
    Board board;
    GenerateBoard(board, {6000, 5});
    board.layerColour[1] = 3;
    board.AppendElement(nullptr, board.CreateLine(1, 10, false, {-3.0e6, 10}, {3.0e6, 12}));
    board.AppendElement(nullptr, board.CreateLine(1, 2, true, {40, -2.5e6}, {41, 2.5e6}));
    board.AppendElement(nullptr, board.CreateArc(1, 2, {50, 50}, 4.0e6, 0.1, 2.0));
    board.AppendElement(nullptr, board.CreateLand(1, 40, false, {60, 60}));
    std::vector<View> views = Views(board);
    views.push_back({"far out", 1000, 40, 9.5, false});
    views.push_back({"far out, mirrored", 1000, 40.3, 11.0, true});
    for (const bool chains : {false, true}) {
        for (const View& v : views) {
            const ViewState view = MakeView(board, v, 320, 200);
            Framebuffer direct(320, 200), replayed(320, 200);
            OutlineList list;
            std::vector<PixelPoint> scratch;
            OutlinePainter recorder(board, view, replayed);
            recorder.RecordInto(&list, chains);
            std::vector<size_t> outlines;
            size_t wide = 0;
            ForEachDrawn(board.items, [&](const drawn* e) {
                if (!(board.layerFlags[size_t(e->layer)] & kDisp) || !recorder.Visible(e->bounds))
                    return;
                const Pen pen{kPalette[board.layerColour[size_t(e->layer)] & 15u],
                              RasterOp::kMerge};
                const size_t at = list.end();
                outlines.push_back(at);
                recorder.Draw(e, pen);
                const Point s = view.WorldToScreen(e->ref());
                wide += std::fabs(s.x) > 2.2e9 || std::fabs(s.y) > 2.2e9;
            });
            const std::pair<int, int> bands[] = {
                {0, 200}, {0, 100}, {100, 200}, {67, 68}, {150, 400}};
            for (const auto& [top, bottom] : bands) {
                direct.Clear(0);
                replayed.Clear(0);
                Framebuffer a = Framebuffer::Band(direct, top, bottom);
                Framebuffer b = Framebuffer::Band(replayed, top, bottom);
                OutlinePainter painter(board, view, a);
                ForEachDrawn(board.items, [&](const drawn* e) {
                    if (!(board.layerFlags[size_t(e->layer)] & kDisp) ||
                        !painter.Visible(e->bounds))
                        return;
                    painter.Draw(
                        e, {kPalette[board.layerColour[size_t(e->layer)] & 15u], RasterOp::kMerge});
                });
                for (size_t at : outlines) list.Replay(at, b, scratch);
                EXPECT_TRUE(test::SamePixels(direct, replayed))
                    << v.name << ", rows " << top << ".." << bottom << (chains ? ", chains" : "");
            }
            EXPECT_GT(outlines.size(), 0u) << v.name;
            if (std::string(v.name).starts_with("far out")) EXPECT_GT(wide, 0u) << v.name;
        }
    }
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
