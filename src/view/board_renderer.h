// Drawing the board into the back buffer: black ground, grid dots, every visible element as an
// outline OR-ed in its layer colour, then the selection in the grey pen. And the exclusive-or
// overlays drawn on the screen buffer (long cursor, ghosts, rubber bands), erased by drawing
// them again.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "board/model/board.h"
#include "view/framebuffer.h"
#include "view/view_state.h"

namespace zevo {

// The 16 layer colours.
extern const std::array<Pixel, 16> kPalette;
inline constexpr Pixel kGreyPen = Rgb(192, 192, 192);
inline constexpr Pixel kWhitePen = Rgb(255, 255, 255);

// Grey level of the grid dots for dots d pixels apart: dense grids are dark, sparse ones bright.
int GridGrey(double d);

// Grid dots OR-ed into the buffer; nothing when the dots would be closer than 3 pixels.
void DrawGrid(const ViewState& view, Framebuffer& fb);

// Outlines recorded rather than drawn: the framebuffer calls each outline makes, with their pen
// and points, to be made later into any band of the picture. The same calls give the same
// pixels, so an outline is worked out once however many bands it reaches. Points that fit in
// 32 bits (every outline of a view of ordinary depth) are kept in half the room.
class OutlineList {
  public:
    void clear() { used_ = 0; }
    // Where the next outline goes; an outline is found again by it.
    size_t end() const { return used_; }
    // Makes the calls of the outline recorded at `at` in `fb`. `scratch` holds points meanwhile.
    void Replay(size_t at, Framebuffer& fb, std::vector<PixelPoint>& scratch) const;
    // The words of the outline at `at`, to be fetched ahead of its replay.
    const void* address(size_t at) const { return words_.data() + at; }
    // The words the outline at `at` takes.
    size_t words(size_t at) const;

  private:
    friend class OutlinePainter;
    enum Op : uint64_t { kPlot, kLineWithEnd, kPolyline, kEllipse, kFrame, kChain };
    void Add(Op op, Pen pen, std::span<const PixelPoint> points);
    // A polyline (with its last point when `withEnd`) all of whose points lie on a picture of
    // width x height, as the chain of the pixels it sets there (see Framebuffer::ApplyChain):
    // made again without a walk of each segment. False, and nothing added, for another.
    bool AddChain(Pen pen, std::span<const PixelPoint> points, bool withEnd, int width, int height);
    // The first used_ words hold outlines; the rest is room kept for the next ones (a list is
    // filled again on every repaint, and its room is not cleared again each time).
    std::vector<uint64_t> words_;
    size_t used_ = 0;
};

// Draws element outlines in the conventions of the view (rounding, chord counts, fixed-point
// sine and cosine, mirror, clipping). The view is read when the painter is made.
class OutlinePainter {
  public:
    OutlinePainter(const Board& board, const ViewState& view, Framebuffer& fb)
        : board_(board),
          view_(view),
          fb_(fb),
          mirror_(view.mirrored()),
          scale_(view.scale),
          left_(view.viewLeft),
          right_(view.viewRight),
          top_(view.viewTop) {}

    // Outlines go into `list` instead of the framebuffer from now on (none: drawn again). With
    // `chains`, those that lie on the picture go in as the pixels they set (see
    // OutlineList::AddChain): more work now, less each time they are made again.
    void RecordInto(OutlineList* list, bool chains = false) {
        record_ = list;
        chains_ = chains;
    }

    void Draw(const drawn* e, Pen pen);
    void DrawLand(Point p, double w, bool square, Pen pen);
    void DrawLine(Point s, Point e, double w, bool square, Pen pen);
    void DrawArc(Point c, double r, double st, double end, double w, Pen pen);
    void DrawRect(const Point (&corners)[4], Pen pen);
    // Is any part of the box inside the view?
    bool Visible(const Box& b) const {
        return !(b.maxX < view_.viewLeft || b.maxY < view_.viewBottom || b.minX > view_.viewRight ||
                 b.minY > view_.viewTop);
    }

  private:
    struct Fixed {  // 1/1024 pixel
        int64_t x, y;
    };
    Fixed ToFixed(Point p) const;
    PixelPoint ToPixel(Point p) const;
    // Appends n + 1 points of the circle of radius rPx around c from world angle a0 to a1.
    void ArcPoints(Fixed c, double rPx, double a0, double a1, int n);
    void RoundOutline(Point p, double w, Pen pen);
    // The framebuffer's calls, or their records.
    void Plot(PixelPoint p, Pen pen);
    void LineWithEnd(PixelPoint a, PixelPoint b, Pen pen);
    void Polyline(std::span<const PixelPoint> points, Pen pen);
    void Ellipse(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen);
    void Frame(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen);

    const Board& board_;
    const ViewState& view_;
    Framebuffer& fb_;
    // The view's conversion, copied out for the inner loops.
    bool mirror_;
    double scale_, left_, right_, top_;
    std::vector<PixelPoint> points_;
    OutlineList* record_ = nullptr;
    bool chains_ = false;
};

// Chords of the circle segmentation (a chord strays at most 0.45 pixel from the circle).
double ChordStep(double radiusPx);
int HalfCircleChords(double radiusPx);
int ArcChords(double radiusPx, double angle);
// The fixed-point cosine and sine the outlines are drawn with, of the angle i * 2 pi / 4096
// (i taken modulo 4096), scaled by 2^31 - 1.
std::array<int32_t, 2> FixedCosSin(int i);

// What the repaints of a board keep from one to the next: the outlines of the elements as they
// were drawn, with the view, layers and apertures they were drawn for. A repaint in bands of the
// same board, view, layers and apertures after edits that the board's index followed works out
// again only the outlines of the elements those edits touched; after anything else, every
// outline. An editor window keeps one (tens of megabytes for a board of a million elements);
// without one, nothing is kept between repaints but the memory.
class RepaintMemory {
  public:
    RepaintMemory();
    ~RepaintMemory();
    RepaintMemory(const RepaintMemory&) = delete;
    RepaintMemory& operator=(const RepaintMemory&) = delete;
    // What was kept is not used again (the memory is).
    void forget();
    // Outlines worked out by the last repaint that used this memory (for tests).
    size_t outlinesWorkedOut() const;

    // The renderer's: what is kept, and whether a repaint is using it now (a repaint begun
    // from within a partial picture's call works without).
    struct Work;
    Work& work() { return *work_; }
    bool inUse = false;

  private:
    std::unique_ptr<Work> work_;
};

struct RenderOptions {
    // Drawn again in the grey pen after the board (a selection, or a single picked element).
    std::span<const drawn* const> selection;
    const drawn* picked = nullptr;
    // The line of the spacing measurement, when it is shown.
    bool measureLine = false;
    Point measureA, measureB;
    // Called with the part drawn so far after every 10 001 elements, so a long repaint shows
    // progress.
    std::function<void(const Framebuffer&)> partialCopy;
    // The board's edge drawn under the elements (the editor's view; pictures leave it out).
    bool boardEdge = false;
    // Threads that draw the elements, each into its own band of rows: 0 lets the size of the
    // board decide. The picture, and every partial one, is the same with any number.
    int threads = 0;
    // What the last repaint of this board kept, to be used and kept again (see RepaintMemory).
    RepaintMemory* memory = nullptr;
};

inline constexpr int kPartialCopyEvery = 10001;

inline constexpr Pixel kBoardEdgePen = Rgb(96, 96, 96);

// The outline of the board, 0..width and 0..height, OR-ed in the edge pen. An edge that lies
// one pixel past the client (where the view stops at the board's edge) is drawn on the client's
// outermost pixel, so the edge shows whenever the view reaches it.
void DrawBoardEdge(const ViewState& view, Framebuffer& fb);

// The whole repaint of the back buffer. Returns the number of elements drawn.
size_t RenderBoard(const Board& board, const ViewState& view, Framebuffer& back,
                   const RenderOptions& options = {});

// --- exclusive-or overlays on the screen buffer

// Full-width and full-height white lines through the pixel.
void DrawLongCursor(Framebuffer& screen, int x, int y);
// Rubber band rectangle from the anchor to the cursor in the grey pen; with the long cursor
// only its two sides through the anchor (the cursor lines give the other two).
void DrawRectangleBand(Framebuffer& screen, PixelPoint anchor, PixelPoint cursor, bool longCursor);
void DrawLineBand(Framebuffer& screen, PixelPoint anchor, PixelPoint cursor);
// Elements being placed, in their layer colours. Lands are drawn filled in the scratch buffer
// and inverted onto the screen.
void DrawGhost(const Board& board, const ViewState& view, Framebuffer& screen, Framebuffer& scratch,
               std::span<const drawn* const> elements);

}  // namespace zevo
