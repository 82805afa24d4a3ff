#include "view/board_renderer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace zevo {

const std::array<Pixel, 16> kPalette = {
    Rgb(255, 255, 255), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(0, 0, 255),
    Rgb(255, 255, 0),   Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(192, 0, 0),
    Rgb(0, 192, 0),     Rgb(0, 0, 192),   Rgb(192, 192, 0), Rgb(192, 0, 192),
    Rgb(0, 192, 192),   Rgb(128, 128, 0), Rgb(128, 0, 128), Rgb(0, 128, 128),
};

namespace {

constexpr int kTrigSize = 4096;
constexpr int64_t kAngleUnits = int64_t(1) << 26;  // a full turn
constexpr double kTrigScale = 2147483647.0;        // 2^31 - 1
// Radii beyond this many pixels are drawn at it: keeps the fixed-point products in 64 bits.
constexpr double kMaxRadiusPx = 2.0e6;

// Cosine and sine of one angle side by side, in 32 bits (|value| <= 2^31 - 1): the table takes
// half a first-level cache rather than more than all of it.
struct CosSin {
    int32_t cosine, sine;
};

struct Tables {
    std::array<CosSin, kTrigSize> trig{};
    std::array<double, 1024> step{};
};

const Tables& FixedTables() {
    static const Tables t = [] {
        Tables r;
        for (int i = 0; i < kTrigSize; ++i) {
            const double a = i * kTwoPi / kTrigSize;
            r.trig[size_t(i)] = {int32_t(std::llround(std::cos(a) * kTrigScale)),
                                 int32_t(std::llround(std::sin(a) * kTrigScale))};
        }
        r.step[0] = kPi;
        for (int rho = 1; rho < 1024; ++rho) r.step[rho] = 2 * std::acos(1 - 0.45 / rho);
        return r;
    }();
    return t;
}

int64_t FixedAngle(double a) {
    return RoundNearest(a / kTwoPi * double(kAngleUnits));
}

// The table entry of a fixed-point angle: (a mod 2^26 + 8192) >> 14, modulo 4096. Whole turns
// drop out of the shifted value as multiples of 4096, so the mask does both reductions.
int TrigIndex(int64_t a) {
    static_assert(kAngleUnits == int64_t(kTrigSize) << 14);
    return int(((a + 8192) >> 14) & (kTrigSize - 1));
}

int64_t Round1024(int64_t v) {
    return (v + 512) >> 10;
}

}  // namespace

double ChordStep(double radiusPx) {
    const Tables& t = FixedTables();
    const int rho = radiusPx <= 0 ? 0 : int(std::min(radiusPx, 1023.0));
    return std::max(t.step[size_t(rho)], kTwoPi / 4096);
}

int HalfCircleChords(double radiusPx) {
    return std::clamp(int(std::ceil(kPi / ChordStep(radiusPx))), 1, 2048);
}

int ArcChords(double radiusPx, double angle) {
    return std::clamp(int(std::trunc(std::fabs(angle) / ChordStep(radiusPx))) + 1, 1, 4096);
}

int GridGrey(double d) {
    return std::min(255, int(std::trunc(std::sqrt(d - 2) * 128 / 6 + 106.67 + 0.5)));
}

void DrawGrid(const ViewState& view, Framebuffer& fb) {
    const double d = view.gridDisplayEvery * view.gridSpacingPx;
    if (!(d >= 3) || fb.empty()) return;
    const int g = GridGrey(d);
    const Pixel grey = Rgb(g, g, g);
    // Phases of every n-th grid line, so that the dots stay aligned to the grid origin.
    double phaseX;
    if (!view.mirrored()) {
        const double f = (view.viewLeft - view.gridOriginX) * view.scale;
        phaseX = std::floor(f / d + 0.5) * d - f;
    } else {
        const double f = (view.viewRight - view.gridOriginX) * view.scale;
        phaseX = f - std::floor(f / d + 0.5) * d;
    }
    const double fy = (view.viewTop - view.gridOriginY) * view.scale;
    double phaseY = fy - std::floor(fy / d + 0.5) * d;
    while (phaseX < -0.5) phaseX += d;
    while (phaseY < -0.5) phaseY += d;

    std::vector<Pixel> row(size_t(fb.width()), 0);
    for (int i = 0;; ++i) {
        const int64_t x = int64_t(std::trunc(phaseX + i * d + 0.5));
        if (x >= fb.width()) break;
        row[size_t(x)] = grey;
    }
    for (int i = 0;; ++i) {
        const int64_t y = int64_t(std::trunc(phaseY + i * d + 0.5));
        if (y >= fb.height()) break;
        fb.CombineRow(0, y, row, RasterOp::kMerge);
    }
}

// --- outlines

OutlinePainter::Fixed OutlinePainter::ToFixed(Point p) const {
    // ViewState::WorldToScreen, kept here where it is called for every point.
    const double sx = mirror_ ? (right_ - p.x) * scale_ : (p.x - left_) * scale_;
    const double sy = (top_ - p.y) * scale_;
    return {RoundNearest(sx * 1024), RoundNearest(sy * 1024)};
}

PixelPoint OutlinePainter::ToPixel(Point p) const {
    const Fixed f = ToFixed(p);
    return {Round1024(f.x), Round1024(f.y)};
}

void OutlinePainter::ArcPoints(Fixed c, double rPx, double a0, double a1, int n) {
    const Tables& t = FixedTables();
    if (mirror_) a0 = kPi - a0, a1 = kPi - a1;  // x runs from the right
    const int64_t f0 = FixedAngle(a0), f1 = FixedAngle(a1);
    const int64_t r = RoundNearest(std::min(rPx, kMaxRadiusPx) * 1024);
    // Point i lies at f0 + (f1 - f0) * i / n (the quotient truncated); the quotient is carried
    // from point to point as whole part and remainder rather than divided out each time.
    const int64_t span = f1 - f0, size = span < 0 ? -span : span;
    const int64_t whole = size / n, part = size % n;
    int64_t q = 0, rest = 0;
    points_.reserve(points_.size() + size_t(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const int64_t a = f0 + (span < 0 ? -q : q);
        q += whole;
        rest += part;
        const bool carry = rest >= n;
        rest -= carry ? n : 0;
        q += carry;
        const int idx = TrigIndex(a);
        // Screen y runs down, world angles count up.
        const CosSin cs = t.trig[size_t(idx)];
        const int64_t x = c.x + ((r * cs.cosine) >> 31);
        const int64_t y = c.y - ((r * cs.sine) >> 31);
        points_.push_back({Round1024(x), Round1024(y)});
    }
}

void OutlinePainter::RoundOutline(Point p, double w, Pen pen) {
    const PixelPoint c = ToPixel(p);
    if (w < 0.5) {
        fb_.Plot(c.x, c.y, pen);
    } else if (w >= 1000) {
        points_.clear();
        const int sides = std::clamp(int(std::lround(w / 7)), 1, 4096);
        ArcPoints(ToFixed(p), w, 0, kTwoPi, sides);
        fb_.Polyline(points_, pen);
    } else {
        const int64_t r = RoundNearest(w);
        fb_.Ellipse(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1, pen);
    }
}

void OutlinePainter::DrawLand(Point p, double w, bool square, Pen pen) {
    if (!square) {
        RoundOutline(p, w, pen);
        return;
    }
    const PixelPoint c = ToPixel(p);
    if (w < 0.5) {
        fb_.Plot(c.x, c.y, pen);
        return;
    }
    const int64_t r = RoundNearest(std::min(w, kMaxRadiusPx));
    fb_.Frame(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1, pen);
}

void OutlinePainter::DrawLine(Point s, Point e, double w, bool square, Pen pen) {
    if (!square) {
        if (w < 0.625) {
            fb_.LineWithEnd(ToPixel(s), ToPixel(e), pen);
            return;
        }
        if (IsZero(e.x - s.x) && IsZero(e.y - s.y)) {
            RoundOutline(s, w, pen);
            return;
        }
        // Stadium: half circle around the end, the side back to the start, half circle around
        // the start, and the other side to close.
        const double theta = std::atan2(e.y - s.y, e.x - s.x);
        const int n = HalfCircleChords(w);
        points_.clear();
        ArcPoints(ToFixed(e), w, theta - kPi / 2, theta + kPi / 2, n);
        ArcPoints(ToFixed(s), w, theta + kPi / 2, theta + 3 * kPi / 2, n);
        points_.push_back(points_.front());
        fb_.Polyline(points_, pen);
        return;
    }
    const PixelPoint a = ToPixel(s), b = ToPixel(e);
    if (w < 0.5) {
        const Point ds = view_.WorldToScreen(s), de = view_.WorldToScreen(e);
        const double dx = de.x - ds.x, dy = de.y - ds.y;
        if (dx * dx + dy * dy < 0.25)
            fb_.Plot(a.x, a.y, pen);
        else
            fb_.LineWithEnd(a, b, pen);
        return;
    }
    // The square swept along the segment: the convex hull of the squares at both ends.
    const int64_t r = RoundNearest(std::min(w, kMaxRadiusPx));
    PixelPoint c[8];
    int k = 0;
    for (const PixelPoint& p : {a, b})
        for (int sx : {-1, 1})
            for (int sy : {-1, 1}) c[k++] = {p.x + sx * r, p.y + sy * r};
    std::sort(c, c + 8,
              [](PixelPoint u, PixelPoint v) { return u.x < v.x || (u.x == v.x && u.y < v.y); });
    auto cross = [](PixelPoint o, PixelPoint u, PixelPoint v) {
        return (u.x - o.x) * (v.y - o.y) - (u.y - o.y) * (v.x - o.x);
    };
    PixelPoint hull[16];
    int h = 0;
    for (int i = 0; i < 8; ++i) {
        while (h >= 2 && cross(hull[h - 2], hull[h - 1], c[i]) <= 0) --h;
        hull[h++] = c[i];
    }
    for (int i = 6, lower = h + 1; i >= 0; --i) {
        while (h >= lower && cross(hull[h - 2], hull[h - 1], c[i]) <= 0) --h;
        hull[h++] = c[i];
    }
    fb_.Polyline(std::span<const PixelPoint>(hull, size_t(h)), pen);
}

void OutlinePainter::DrawArc(Point c, double r, double st, double end, double w, Pen pen) {
    const double rPx = r * scale_;
    if (rPx < 0.5) {
        const PixelPoint p = ToPixel(c);
        fb_.Plot(p.x, p.y, pen);
        return;
    }
    const Point sp{c.x + r * std::cos(st), c.y + r * std::sin(st)};
    const Point ep{c.x + r * std::cos(end), c.y + r * std::sin(end)};
    const bool point = IsZero(end - st);
    const Fixed fc = ToFixed(c);
    if (w < 0.5) {
        if (point) {
            const PixelPoint p = ToPixel(sp);
            fb_.Plot(p.x, p.y, pen);
            return;
        }
        points_.clear();
        ArcPoints(fc, rPx, st, end, ArcChords(rPx, end - st));
        fb_.Polyline(points_, pen);
        return;
    }
    if (point) {
        RoundOutline(ep, w, pen);
        return;
    }
    // The stroke: outer edge, cap around the end, inner edge back, cap around the start.
    const double inner = std::fabs(rPx - w);
    const int caps = HalfCircleChords(w);
    points_.clear();
    ArcPoints(fc, rPx + w, st, end, ArcChords(rPx + w, end - st));
    ArcPoints(ToFixed(ep), w, end, end + kPi, caps);
    ArcPoints(fc, inner, end, st, ArcChords(inner, end - st));
    ArcPoints(ToFixed(sp), w, st + kPi, st + kTwoPi, caps);
    points_.push_back(points_.front());
    fb_.Polyline(points_, pen);
}

void OutlinePainter::DrawRect(const Point (&corners)[4], Pen pen) {
    const PixelPoint p[5] = {ToPixel(corners[0]), ToPixel(corners[1]), ToPixel(corners[2]),
                             ToPixel(corners[3]), ToPixel(corners[0])};
    fb_.Polyline(p, pen);
}

void OutlinePainter::Draw(const drawn* e, Pen pen) {
    const double w =
        (e->square() ? board_.squareHalf(e->aperture) : board_.roundHalf(e->aperture)) * scale_;
    switch (e->kind) {
        case kLand:
            DrawLand(e->ref(), w, e->square(), pen);
            break;
        case kLine: {
            const auto* l = static_cast<const line*>(e);
            DrawLine(l->start(), l->end(), w, l->square(), pen);
            break;
        }
        case kArc: {
            const auto* a = static_cast<const arc*>(e);
            DrawArc(a->centre(), a->r, a->st, a->end, board_.roundHalf(a->aperture) * scale_, pen);
            break;
        }
        case kRect:
            DrawRect(static_cast<const rect*>(e)->corners, pen);
            break;
        default:
            break;
    }
}

// --- repaint

void DrawBoardEdge(const ViewState& view, Framebuffer& fb) {
    if (fb.empty()) return;
    const Point a = view.WorldToScreen(0, 0),
                b = view.WorldToScreen(view.boardWidth, view.boardHeight);
    auto place = [](double v, int size) {
        int64_t p = int64_t(std::floor(v + 0.5));
        if (p == -1) p = 0;
        if (p == size) p = size - 1;
        return p;
    };
    const int64_t x0 = place(std::min(a.x, b.x), fb.width()),
                  x1 = place(std::max(a.x, b.x), fb.width());
    const int64_t y0 = place(std::min(a.y, b.y), fb.height()),
                  y1 = place(std::max(a.y, b.y), fb.height());
    const Pen pen{kBoardEdgePen, RasterOp::kMerge};
    const int64_t w = fb.width(), h = fb.height();
    // Each side within its span of the client; the corners are shared.
    const int64_t left = std::max<int64_t>(x0, 0), right = std::min<int64_t>(x1, w - 1);
    const int64_t top = std::max<int64_t>(y0, 0), bottom = std::min<int64_t>(y1, h - 1);
    if (left > right || top > bottom) return;
    auto row = [&](int64_t y) {
        if (y < 0 || y >= h) return;
        for (int64_t x = left; x <= right; ++x) fb.Plot(x, y, pen);
    };
    auto column = [&](int64_t x) {
        if (x < 0 || x >= w) return;
        for (int64_t y = top; y <= bottom; ++y)
            if (y != y0 && y != y1) fb.Plot(x, y, pen);
    };
    row(y0);
    if (y1 != y0) row(y1);
    column(x0);
    if (x1 != x0) column(x1);
}

namespace {

// Is the element on a shown layer and its box in the view? The rules of the repaint.
bool Shown(const Board& board, const OutlinePainter& painter, const drawn* e) {
    return e->layer >= 0 && e->layer < kLayers && (board.layerFlags[size_t(e->layer)] & kDisp) &&
           painter.Visible(e->bounds);
}

// The elements in document order through the board's index: those whose bounds lie outside the
// view are passed over without their nodes being read.
// `filled`: the index holds the whole board already, and is only read (by several threads).
template <class Visit>
void ForEachInView(const Board& board, const ViewState& view, bool filled, Visit&& visit) {
    auto away = [&](const OuterBox& b) {
        return double(b.maxX) < view.viewLeft || double(b.maxY) < view.viewBottom ||
               double(b.minX) > view.viewRight || double(b.minY) > view.viewTop;
    };
    if (filled)
        board.drawnIndex.scan(0, board.drawnIndex.recorded(), away, visit);
    else
        board.drawnIndex.find(board.items, away, visit);
}

// Boards with fewer elements are drawn by one thread: a second one costs more to start than it
// saves.
constexpr size_t kBandsFrom = 20000;

// Draws the elements in two bands of rows at once, each band by its own thread walking the
// whole document in order. OR-merging makes every pixel the same whatever the order in which
// the elements are drawn, so what matters is only which elements are in by each partial picture:
// the elements between two partial pictures are drawn top to bottom (sorted by their first row),
// which keeps the rows being drawn in the processor's cache rather than going all over the
// picture for each element. The partial pictures are taken when both threads have drawn the same
// elements.
size_t DrawInBands(const Board& board, const ViewState& view, Framebuffer& back,
                   const RenderOptions& options) {
    const int split = back.height() / 2;
    std::atomic<uint64_t> reached{0}, released{0};
    auto waitFor = [](std::atomic<uint64_t>& a, uint64_t v) {
        for (uint64_t now = a.load(std::memory_order_acquire); now < v;
             now = a.load(std::memory_order_acquire))
            a.wait(now, std::memory_order_acquire);
    };
    auto drawBand = [&](int top, int bottom, bool first) {
        Framebuffer band = Framebuffer::Band(back, top, bottom);
        OutlinePainter painter(board, view, band);
        Pen pen{kPalette[0], RasterOp::kMerge};
        int penColour = -1;
        size_t count = 0;
        uint64_t copies = 0;
        const double scale = view.scale, viewTop = view.viewTop;
        // The elements of the band since the last partial picture, with their first rows; and
        // the order in which they are drawn (a counting sort by row).
        std::vector<const drawn*> pending, sorted;
        std::vector<uint32_t> firstRow, rowStarts(size_t(bottom - top) + 1);
        auto drawPending = [&] {
            std::fill(rowStarts.begin(), rowStarts.end(), 0);
            for (uint32_t r : firstRow) ++rowStarts[r + 1];
            for (size_t r = 1; r < rowStarts.size(); ++r) rowStarts[r] += rowStarts[r - 1];
            sorted.resize(pending.size());
            for (size_t i = 0; i < pending.size(); ++i)
                sorted[rowStarts[firstRow[i]]++] = pending[i];
            for (const drawn* e : sorted) {
                const int colour = board.layerColour[size_t(e->layer)] & 15;
                if (colour != penColour) {
                    pen.colour = kPalette[size_t(colour)];
                    penColour = colour;
                }
                painter.Draw(e, pen);
            }
            pending.clear();
            firstRow.clear();
        };
        ForEachInView(board, view, true, [&](const drawn* e) {
            if (!Shown(board, painter, e)) return false;
            // The rows the outline can reach: its box on the screen, with room for the
            // rounding of positions and radii to whole pixels; chord points of an arc lie at
            // angles of the sine table (a 4096th of a turn apart), which can take them past the
            // ends of the arc by a fraction of its radius.
            double slack = 3;
            if (e->kind == kArc)
                slack +=
                    (static_cast<const arc*>(e)->r + board.roundHalf(e->aperture)) * scale * 0.001;
            const double high = (viewTop - e->bounds.maxY) * scale - slack,
                         low = (viewTop - e->bounds.minY) * scale + slack;
            if (!(high >= bottom || low < top)) {
                pending.push_back(e);
                // Rows from the band's top; an element that begins above it (or whose rows are
                // not known) first.
                firstRow.push_back(high > top ? uint32_t(high) - uint32_t(top) : 0);
            }
            if (++count % kPartialCopyEvery == 0 && options.partialCopy) {
                drawPending();
                ++copies;
                if (first) {
                    waitFor(reached, copies);
                    options.partialCopy(back);
                    released.store(copies, std::memory_order_release);
                    released.notify_one();
                } else {
                    reached.store(copies, std::memory_order_release);
                    reached.notify_one();
                    waitFor(released, copies);
                }
            }
            return false;
        });
        drawPending();
        return count;
    };
    std::thread lower([&] { drawBand(split, back.height(), false); });
    const size_t count = drawBand(0, split, true);
    lower.join();
    return count;
}

}  // namespace

size_t RenderBoard(const Board& board, const ViewState& view, Framebuffer& back,
                   const RenderOptions& options) {
    back.Clear(0);
    DrawGrid(view, back);
    if (options.boardEdge) DrawBoardEdge(view, back);
    OutlinePainter painter(board, view, back);
    size_t count = 0;
    bool bands = false;
    if (options.threads != 1 && back.height() >= 2) {
        // The threads read the index, so it is filled first (the walk alone would fill it as
        // far as it goes, which is to the end).
        board.drawnIndex.fill(board.items);
        bands = options.threads >= 2 ||
                (back.height() >= 64 && std::thread::hardware_concurrency() >= 2 &&
                 board.drawnIndex.recorded() >= kBandsFrom);
    }
    if (bands) {
        count = DrawInBands(board, view, back, options);
    } else {
        Pen pen{kPalette[0], RasterOp::kMerge};
        int penLayerColour = -1;
        ForEachInView(board, view, false, [&](const drawn* e) {
            if (!Shown(board, painter, e)) return false;
            const int colour = board.layerColour[size_t(e->layer)] & 15;
            if (colour != penLayerColour) {
                pen.colour = kPalette[size_t(colour)];
                penLayerColour = colour;
            }
            painter.Draw(e, pen);
            if (++count % kPartialCopyEvery == 0 && options.partialCopy) options.partialCopy(back);
            return false;
        });
    }
    const Pen grey{kGreyPen, RasterOp::kCopy};
    for (const drawn* e : options.selection) painter.Draw(e, grey);
    if (options.picked) painter.Draw(options.picked, grey);
    if (options.measureLine) {
        const Point a = view.WorldToScreen(options.measureA),
                    b = view.WorldToScreen(options.measureB);
        back.LineWithEnd({RoundNearest(a.x), RoundNearest(a.y)},
                         {RoundNearest(b.x), RoundNearest(b.y)}, grey);
    }
    return count;
}

// --- overlays

void DrawLongCursor(Framebuffer& screen, int x, int y) {
    const Pen pen{kWhitePen, RasterOp::kXor};
    screen.Line({0, y}, {screen.width(), y}, pen);
    screen.Line({x, 0}, {x, screen.height()}, pen);
}

void DrawRectangleBand(Framebuffer& screen, PixelPoint a, PixelPoint c, bool longCursor) {
    const Pen pen{kGreyPen, RasterOp::kXor};
    if (longCursor) {
        // The sides through the anchor; the cursor lines stand for the other two.
        screen.Line({a.x, a.y}, {c.x, a.y}, pen);
        screen.Line({a.x, a.y}, {a.x, c.y}, pen);
        return;
    }
    const PixelPoint p[5] = {a, {c.x, a.y}, c, {a.x, c.y}, a};
    screen.Polyline(p, pen);
}

void DrawLineBand(Framebuffer& screen, PixelPoint a, PixelPoint c) {
    screen.Line(a, c, {kGreyPen, RasterOp::kXor});
}

void DrawGhost(const Board& board, const ViewState& view, Framebuffer& screen, Framebuffer& scratch,
               std::span<const drawn* const> elements) {
    if (scratch.width() != screen.width() || scratch.height() != screen.height())
        scratch.Resize(screen.width(), screen.height());
    OutlinePainter painter(board, view, screen);
    const double limit = 2.0 * (screen.width() + screen.height());
    for (const drawn* e : elements) {
        const int colour =
            e->layer >= 0 && e->layer < kLayers ? board.layerColour[size_t(e->layer)] & 15 : 0;
        const Pixel c = kPalette[size_t(colour)];
        if (e->kind != kLand) {
            painter.Draw(e, {c, RasterOp::kXor});
            continue;
        }
        const double w = e->halfSize(board) * view.scale;
        if (w > limit) continue;
        const Point s = view.WorldToScreen(e->ref());
        const int64_t x = RoundNearest(s.x), y = RoundNearest(s.y), r = RoundNearest(w);
        // Filled in the scratch buffer, then inverted onto the screen.
        scratch.FillEllipse(x - r, y - r, x + r + 1, y + r + 1, {c, RasterOp::kCopy});
        const int bx = int(std::clamp<int64_t>(x - r, 0, screen.width()));
        const int by = int(std::clamp<int64_t>(y - r, 0, screen.height()));
        const int ex = int(std::clamp<int64_t>(x + r + 1, 0, screen.width()));
        const int ey = int(std::clamp<int64_t>(y + r + 1, 0, screen.height()));
        screen.Blit(scratch, bx, by, ex - bx, ey - by, bx, by, RasterOp::kXor);
        scratch.FillBox(bx, by, ex, ey, {0, RasterOp::kCopy});
    }
}

}  // namespace zevo
