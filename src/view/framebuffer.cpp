#include "view/framebuffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <type_traits>

namespace zevo {

void Framebuffer::Resize(int width, int height, Pixel fill) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(size_t(width_) * size_t(height_), fill);
    data_ = pixels_.data();
    top_ = 0;
    bottom_ = height_;
}

Framebuffer::Framebuffer(const Framebuffer& o)
    : width_(o.width_),
      height_(o.height_),
      top_(0),
      bottom_(o.height_),
      pixels_(o.pixels().begin(), o.pixels().end()),
      data_(pixels_.data()) {}

Framebuffer& Framebuffer::operator=(const Framebuffer& o) {
    if (this == &o) return *this;
    // Reuses the buffer already there when the size is the same (the editor copies its back
    // buffer to the screen buffer on every refresh).
    pixels_.assign(o.pixels().begin(), o.pixels().end());
    data_ = pixels_.data();
    width_ = o.width_;
    height_ = o.height_;
    top_ = 0;
    bottom_ = height_;
    return *this;
}

Framebuffer::Framebuffer(Framebuffer&& o) noexcept
    : width_(o.width_),
      height_(o.height_),
      top_(o.top_),
      bottom_(o.bottom_),
      pixels_(std::move(o.pixels_)),
      data_(o.data_) {
    o.width_ = o.height_ = o.top_ = o.bottom_ = 0;
    o.pixels_.clear();
    o.data_ = nullptr;
}

Framebuffer& Framebuffer::operator=(Framebuffer&& o) noexcept {
    if (this == &o) return *this;
    width_ = o.width_;
    height_ = o.height_;
    top_ = o.top_;
    bottom_ = o.bottom_;
    pixels_ = std::move(o.pixels_);
    data_ = o.data_;
    o.width_ = o.height_ = o.top_ = o.bottom_ = 0;
    o.pixels_.clear();
    o.data_ = nullptr;
    return *this;
}

Framebuffer Framebuffer::Band(Framebuffer& whole, int top, int bottom) {
    Framebuffer b;
    b.width_ = whole.width_;
    b.height_ = whole.height_;
    b.top_ = std::clamp(top, 0, whole.height_);
    b.bottom_ = std::clamp(bottom, b.top_, whole.height_);
    b.data_ = whole.data_;
    return b;
}

void Framebuffer::Clear(Pixel colour) {
    for (int y = top_; y < bottom_; ++y) std::fill(row(y), row(y) + width_, colour);
}

void Framebuffer::Span(int64_t x0, int64_t x1, int64_t y, Pen pen) {
    if (y < top_ || y >= bottom_) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, width_ - 1);
    Pixel* p = row(int(y));
    for (int64_t x = x0; x <= x1; ++x) Apply(p[x], pen);
}

bool ClipSegment(double& ax, double& ay, double& bx, double& by, double w, double h) {
    // Liang-Barsky against 0..w, 0..h.
    const double dx = bx - ax, dy = by - ay;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax, w - ax, ay, h - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double sx = ax, sy = ay;
    if (t1 < 1) bx = sx + t1 * dx, by = sy + t1 * dy;
    if (t0 > 0) ax = sx + t0 * dx, ay = sy + t0 * dy;
    return true;
}

namespace {

bool InBox(PixelPoint p, int w, int h) {
    return p.x >= 0 && p.y >= 0 && p.x <= w && p.y <= h;
}

}  // namespace

void Framebuffer::Line(PixelPoint a, PixelPoint b, Pen pen) {
    if (a == b) return;
    bool endVisible = true;
    if (!InBox(a, width_, height_) || !InBox(b, width_, height_)) {
        // Only the visible part is walked: the ends of a deep zoom can be millions of pixels
        // away.
        double ax = double(a.x), ay = double(a.y), bx = double(b.x), by = double(b.y);
        if (!ClipSegment(ax, ay, bx, by, width_, height_)) return;
        const PixelPoint ca{std::llround(ax), std::llround(ay)};
        const PixelPoint cb{std::llround(bx), std::llround(by)};
        endVisible = cb == b;
        a = ca;
        b = cb;
        if (a == b) {
            if (!endVisible) Plot(a.x, a.y, pen);
            return;
        }
    }
    // Bresenham; the end pixel is left to the next segment. The rows of a segment run from one
    // end's to the other's: one that lies wholly outside the rows written is passed over.
    const int64_t rowA = a.y < b.y ? a.y : b.y, rowB = a.y < b.y ? b.y : a.y;
    if (rowB < top_ || rowA >= bottom_) {
        // Nothing of the walk is written.
    } else if (a.x < width_ && b.x < width_ && rowA >= top_ && rowB < bottom_) {
        // Both ends on real pixels: the walk needs no bounds checks.
        WithPen(pen, [&](auto op) { WalkInside(a, b, op); });
    } else {
        WalkLine(a, b, pen);
    }
    // A segment cut at the border has its last visible pixel drawn.
    if (!endVisible) Plot(b.x, b.y, pen);
}

void Framebuffer::WalkLine(PixelPoint a, PixelPoint b, Pen pen) {
    const int64_t dx = std::llabs(b.x - a.x), dy = -std::llabs(b.y - a.y);
    const int64_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int64_t err = dx + dy;
    int64_t x = a.x, y = a.y;
    while (x != b.x || y != b.y) {
        Plot(x, y, pen);
        const int64_t e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

template <class Op>
void Framebuffer::WalkInside(PixelPoint a, PixelPoint b, Op&& pixelOp) {
    // A copy of its own, so the colour stays in a register rather than being read again after
    // every store.
    const std::remove_reference_t<Op> op = pixelOp;
    // The same steps as WalkLine, on a pointer. In WalkLine's error form (err = dx + dy with
    // dy = -|b.y - a.y|; e2 = 2 err; e2 >= dy steps x, e2 <= dx steps y) a line at most 45
    // degrees from the x axis steps x every time: 2 err >= dy holds at the start and every step
    // keeps it when dx >= |dy|. Likewise a steeper line steps y every time, and with -err in
    // place of err its decision has the same form. So the walk takes one step along the major
    // axis per pixel and decides only about the minor one:
    //   e = major - minor; minor step when 2 e <= major; e += (minor step ? major : 0) - minor.
    // Kept as g = 2 e - major - 1, the decision is the sign of g, and both possible next values
    // of g can be formed while it is being taken.
    const int64_t dx = std::llabs(b.x - a.x), dy = std::llabs(b.y - a.y);
    const ptrdiff_t sx = a.x < b.x ? 1 : -1;
    const ptrdiff_t sy = a.y < b.y ? ptrdiff_t(width_) : -ptrdiff_t(width_);
    // Selects rather than branches: segments come in every direction and length, and a wrong
    // guess costs more than the few pixels of a short one.
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const ptrdiff_t majorStep = xMajor ? sx : sy, minorStep = xMajor ? sy : sx;
    Pixel* p = row(int(a.y)) + a.x;
    int64_t g = major - 2 * minor - 1;
    const int64_t afterMinor = 2 * (major - minor), afterMajor = -2 * minor;
    const ptrdiff_t diagonalStep = majorStep + minorStep;
    // Most segments are a few pixels long: an unrolled loop costs more in its entry and exit
    // than it saves.
#pragma GCC unroll 1
    for (int64_t i = 0; i < major; ++i) {
        op(*p);
        const bool stepMinor = g < 0;
        g = stepMinor ? g + afterMinor : g + afterMajor;
        p += stepMinor ? diagonalStep : majorStep;
    }
}

void Framebuffer::LineWithEnd(PixelPoint a, PixelPoint b, Pen pen) {
    Line(a, b, pen);
    Plot(b.x, b.y, pen);
}

void Framebuffer::Polyline(std::span<const PixelPoint> points, Pen pen) {
    // Most outlines lie wholly on rows that are written: then every segment is Line's plain walk,
    // and the checks are made once for all of them.
    bool inside = true;
    for (const PixelPoint& p : points)
        inside &= p.x >= 0 && p.x < width_ && p.y >= top_ && p.y < bottom_;
    if (!inside) {
        for (size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i], pen);
        return;
    }
    WithPen(pen, [&](auto op) {
        for (size_t i = 1; i < points.size(); ++i) WalkInside(points[i - 1], points[i], op);
    });
}

template <bool kWhole, class Op>
void Framebuffer::Chain(uint64_t first, const uint64_t* steps, size_t count, Op op) {
    const ptrdiff_t w = width_;
    ptrdiff_t delta[8];
    for (int k = 0; k < 8; ++k) delta[k] = kChainSteps[k][1] * w + kChainSteps[k][0];
    Pixel* p = data_ + first;
    // A chain on rows of another band passes the others by.
    const Pixel* const low = data_ + size_t(top_) * size_t(w);
    const Pixel* const high = data_ + size_t(bottom_) * size_t(w);
    auto set = [&](Pixel* q) {
        if (kWhole || (q >= low && q < high)) op(*q);
    };
    set(p);
    for (size_t done = 1; done < count;) {
        uint64_t word = *steps++;
        const size_t n = std::min<size_t>(21, count - done);
        for (size_t k = 0; k < n; ++k) {
            p += delta[word >> 61];
            word <<= 3;
            set(p);
        }
        done += n;
    }
}

void Framebuffer::ApplyChain(uint64_t first, const uint64_t* steps, size_t count, int64_t firstRow,
                             int64_t lastRow, Pen pen) {
    if (count == 0 || lastRow < top_ || firstRow >= bottom_) return;
    // Most chains lie wholly in the band: their pixels need no look at the rows.
    const bool whole = firstRow >= top_ && lastRow < bottom_;
    WithPen(pen, [&](auto op) {
        if (whole)
            Chain<true>(first, steps, count, op);
        else
            Chain<false>(first, steps, count, op);
    });
}

template <class RowFn>
void Framebuffer::EllipseRows(int64_t left, int64_t top, int64_t right, int64_t bottom,
                              RowFn&& fn) {
    const int64_t w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return;
    const double cx = double(left) + double(w - 1) / 2;
    const double cy = double(top) + double(h - 1) / 2;
    const double ax = double(w) / 2, ay = double(h) / 2;
    // Span of the row at y, as the pixels whose centres lie inside the ellipse; empty when
    // first > last.
    auto span = [&](int64_t y, int64_t& first, int64_t& last) {
        if (y < top || y >= bottom) {
            first = 1, last = 0;
            return;
        }
        const double t = (double(y) - cy) / ay;
        const double hw = ax * std::sqrt(std::max(0.0, 1 - t * t));
        first = int64_t(std::ceil(cx - hw));
        last = int64_t(std::floor(cx + hw));
        if (first > last) first = last = std::llround(cx);  // a row is never empty
    };
    const int64_t y0 = std::max<int64_t>(top, top_), y1 = std::min<int64_t>(bottom, bottom_);
    if (y0 >= y1) return;
    // A row needs its own span and its outer neighbour's: each span is worked out once and
    // carried along as the rows go down.
    int64_t prevFirst, prevLast, first, last, nextFirst, nextLast;
    span(y0 - 1, prevFirst, prevLast);
    span(y0, first, last);
    for (int64_t y = y0; y < y1; ++y) {
        span(y + 1, nextFirst, nextLast);
        if (double(y) < cy)
            fn(y, first, last, prevFirst, prevLast);
        else
            fn(y, first, last, nextFirst, nextLast);
        prevFirst = first, prevLast = last;
        first = nextFirst, last = nextLast;
    }
}

void Framebuffer::Ellipse(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen) {
    EllipseRows(left, top, right, bottom,
                [&](int64_t y, int64_t first, int64_t last, int64_t of, int64_t ol) {
                    // A pixel is on the outline when it ends its row or the row beyond it
                    // (farther from the middle) does not cover it.
                    if (of > ol) {
                        Span(first, last, y, pen);
                        return;
                    }
                    const int64_t leftEnd = std::max(first, std::min(of - 1, last));
                    const int64_t rightStart = std::min(last, std::max(ol + 1, first));
                    if (leftEnd + 1 >= rightStart) {
                        Span(first, last, y, pen);
                    } else {
                        Span(first, leftEnd, y, pen);
                        Span(rightStart, last, y, pen);
                    }
                });
}

void Framebuffer::FillEllipse(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen) {
    EllipseRows(left, top, right, bottom,
                [&](int64_t y, int64_t first, int64_t last, int64_t, int64_t) {
                    Span(first, last, y, pen);
                });
}

void Framebuffer::Frame(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen) {
    if (right <= left || bottom <= top) return;
    Span(left, right - 1, top, pen);
    if (bottom - 1 > top) Span(left, right - 1, bottom - 1, pen);
    const int64_t y0 = std::max<int64_t>(top + 1, top_),
                  y1 = std::min<int64_t>(bottom - 1, bottom_);
    for (int64_t y = y0; y < y1; ++y) {
        Plot(left, y, pen);
        if (right - 1 > left) Plot(right - 1, y, pen);
    }
}

void Framebuffer::FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen) {
    const int64_t y0 = std::max<int64_t>(top, top_), y1 = std::min<int64_t>(bottom, bottom_);
    for (int64_t y = y0; y < y1; ++y) Span(left, right - 1, y, pen);
}

void Framebuffer::CombineRow(int64_t x, int64_t y, std::span<const Pixel> src, RasterOp op) {
    if (y < top_ || y >= bottom_) return;
    const int64_t from = std::max<int64_t>(0, -x);
    const int64_t to = std::min<int64_t>(int64_t(src.size()), width_ - x);
    Pixel* d = row(int(y));
    for (int64_t i = from; i < to; ++i) Apply(d[x + i], {src[size_t(i)], op});
}

void Framebuffer::Blit(const Framebuffer& src, int sx, int sy, int w, int h, int dx, int dy,
                       RasterOp op) {
    // Cut the rectangle to both buffers.
    if (sx < 0) w += sx, dx -= sx, sx = 0;
    if (sy < 0) h += sy, dy -= sy, sy = 0;
    if (dx < 0) w += dx, sx -= dx, dx = 0;
    if (dy < 0) h += dy, sy -= dy, dy = 0;
    w = std::min({w, src.width_ - sx, width_ - dx});
    h = std::min({h, src.height_ - sy, height_ - dy});
    if (w <= 0 || h <= 0) return;
    for (int r = 0; r < h; ++r) {
        const Pixel* s = src.row(sy + r) + sx;
        Pixel* d = row(dy + r) + dx;
        if (op == RasterOp::kCopy) {
            std::copy(s, s + w, d);
        } else {
            for (int i = 0; i < w; ++i) Apply(d[i], {s[i], op});
        }
    }
}

}  // namespace zevo
