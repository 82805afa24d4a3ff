// The repaint and the pick as the plain walk of the document gives them: every element in turn,
// following the links, no index. The real ones are held to these.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "board/model/board.h"
#include "view/board_renderer.h"

namespace zevo::test {

// Draws every element in turn; returns a copy of the picture after every 10 001 drawn.
inline std::vector<Framebuffer> PlainRepaint(const Board& board, const ViewState& view,
                                             Framebuffer& fb) {
    fb.Clear(0);
    DrawGrid(view, fb);
    OutlinePainter painter(board, view, fb);
    std::vector<Framebuffer> copies;
    size_t count = 0;
    ForEachDrawn(board.items, [&](const drawn* e) {
        if (e->layer < 0 || e->layer >= kLayers || !(board.layerFlags[size_t(e->layer)] & kDisp))
            return;
        if (!painter.Visible(e->bounds)) return;
        painter.Draw(e, {kPalette[board.layerColour[size_t(e->layer)] & 15u], RasterOp::kMerge});
        if (++count % kPartialCopyEvery == 0) copies.push_back(fb);
    });
    return copies;
}

inline bool SamePixels(const Framebuffer& a, const Framebuffer& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

// The repaint against the plain walk: the same partial pictures at the same counts and the same
// final picture. Returns the number of partial pictures. `threads` and `memory` as in
// RenderOptions.
inline size_t ExpectPlainRepaint(const Board& board, const ViewState& view, const char* what,
                                 int threads = 0, RepaintMemory* memory = nullptr) {
    Framebuffer want(view.clientWidth, view.clientHeight), got(view.clientWidth, view.clientHeight);
    const std::vector<Framebuffer> wantCopies = PlainRepaint(board, view, want);
    std::vector<Framebuffer> gotCopies;
    RenderOptions options;
    options.partialCopy = [&](const Framebuffer& fb) { gotCopies.push_back(fb); };
    options.threads = threads;
    options.memory = memory;
    const size_t drawn = RenderBoard(board, view, got, options);
    EXPECT_EQ(drawn / kPartialCopyEvery, wantCopies.size()) << what;
    EXPECT_EQ(gotCopies.size(), wantCopies.size()) << what;
    for (size_t i = 0; i < gotCopies.size() && i < wantCopies.size(); ++i)
        EXPECT_TRUE(SamePixels(gotCopies[i], wantCopies[i])) << what << ", copy " << i;
    EXPECT_TRUE(SamePixels(got, want)) << what;
    return gotCopies.size();
}

// The first element in document order, depth first through groups, on a layer open for editing,
// whose hit test takes the point.
inline container* PlainPick(const Board& board, const ListNode& head, Point p, double t) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            if (container* hit = PlainPick(board, AsGroup(c)->members, p, t)) return hit;
        } else if (IsDrawn(c)) {
            const drawn* d = AsDrawn(c);
            const bool open = d->layer >= 0 && d->layer < kLayers &&
                              (board.layerFlags[size_t(d->layer)] & kActiv);
            if (open && d->hitTest(board, p, t)) return c;
        }
    }
    return nullptr;
}

}  // namespace zevo::test
