// A 32-bit pixel buffer and the few raster operations the board view is drawn with: copy,
// OR-merge and exclusive-or, 1-pixel lines, ellipse outlines, clipped polylines and bit blocks.
// Pixels are 0x00RRGGBB; row 0 is the top of the window.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "board/model/pools.h"

namespace zevo {

using Pixel = uint32_t;

// std::llround without the library call: rounds halves away from zero. The fraction x - trunc(x)
// of a double is exact, so the result is the same for every value; values out of the 64-bit
// range and NaN go to std::llround.
inline int64_t RoundNearest(double x) {
    if (!(std::fabs(x) < 4.0e18)) return std::llround(x);
    const int64_t t = int64_t(x);
    const double f = x - double(t);
    // Without branches: which way a fraction goes is a coin toss for the points of outlines.
    return t + int64_t(f >= 0.5) - int64_t(f <= -0.5);
}

inline constexpr Pixel Rgb(int r, int g, int b) {
    return (Pixel(r & 255) << 16) | (Pixel(g & 255) << 8) | Pixel(b & 255);
}

enum class RasterOp { kCopy, kMerge, kXor };

// A pen: colour and the way it combines with what is there.
struct Pen {
    Pixel colour = 0;
    RasterOp op = RasterOp::kCopy;
};

// A point in whole pixels. 64 bits so that far-off points of a deep zoom cannot wrap.
struct PixelPoint {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// The pixels of a picture are memory the system may back with huge pages: a picture of a full
// window spans megabytes, each of its rows a page of its own, and an outline a few dozen rows
// high would otherwise need as many address translations as it has rows.
template <class T>
struct PictureAllocator {
    using value_type = T;
    PictureAllocator() = default;
    template <class U>
    PictureAllocator(const PictureAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(TakeBulkMemory(n * sizeof(T))); }
    void deallocate(T* p, size_t n) { GiveBulkMemory(p, n * sizeof(T)); }
    friend bool operator==(const PictureAllocator&, const PictureAllocator&) { return true; }
};

class Framebuffer {
  public:
    Framebuffer() = default;
    Framebuffer(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }
    // A copy always owns its pixels (a copy of a band holds the whole picture).
    Framebuffer(const Framebuffer& o);
    Framebuffer& operator=(const Framebuffer& o);
    Framebuffer(Framebuffer&& o) noexcept;
    Framebuffer& operator=(Framebuffer&& o) noexcept;

    // The rows top..bottom - 1 of `whole` to draw into: the same geometry (clipping, line walks
    // and outlines give the pixels they give in the whole buffer), but only those rows are
    // written. Two bands of one buffer can be drawn into at the same time. The band shares the
    // pixels of `whole`, which must outlive it and must not be resized meanwhile.
    static Framebuffer Band(Framebuffer& whole, int top, int bottom);

    // Recreates the buffer; sizes below 0 count as 0.
    void Resize(int width, int height, Pixel fill = 0);
    void Clear(Pixel colour);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    Pixel at(int x, int y) const { return data_[size_t(y) * size_t(width_) + size_t(x)]; }
    Pixel* row(int y) { return data_ + size_t(y) * size_t(width_); }
    const Pixel* row(int y) const { return data_ + size_t(y) * size_t(width_); }
    std::span<const Pixel> pixels() const { return {data_, size_t(width_) * size_t(height_)}; }
    bool inside(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    // Single pixel; outside the buffer nothing happens.
    void Plot(int64_t x, int64_t y, Pen pen) {
        if (!inside(x, y) || y < top_ || y >= bottom_) return;
        Pixel& p = data_[size_t(y) * size_t(width_) + size_t(x)];
        Apply(p, pen);
    }

    // A 1-pixel line from a to b; the end pixel b is not drawn (so joined segments of a
    // polyline touch every pixel once, which matters for exclusive-or).
    void Line(PixelPoint a, PixelPoint b, Pen pen);
    // The same, end pixel included.
    void LineWithEnd(PixelPoint a, PixelPoint b, Pen pen);
    // Every segment clipped to 0..width, 0..height: a point outside is never drawn to, the
    // visible part of a segment crossing the border is. The end pixel of the last point is not
    // drawn; a closed polygon repeats its first point.
    void Polyline(std::span<const PixelPoint> points, Pen pen);
    // Outline of the ellipse inscribed in the box [left, right) x [top, bottom).
    void Ellipse(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen);
    // The ellipse filled, outline included.
    void FillEllipse(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen);
    // Outline of the box [left, right) x [top, bottom).
    void Frame(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen);
    void FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen);
    // Sets the pixels of a chain that lie on the rows written. A chain is pixels each next to the
    // one before: the offset of its first from the picture's first pixel, then for each next one
    // the step to it, one of the eight of kChainSteps, three bits each, 21 to a word from the
    // high bits; it spans rows firstRow..lastRow and lies on the picture.
    void ApplyChain(uint64_t first, const uint64_t* steps, size_t count, int64_t firstRow,
                    int64_t lastRow, Pen pen);
    // The steps of a chain: x and y of the neighbour.
    static constexpr int kChainSteps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                              {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
    // The step of kChainSteps to the neighbour dx, dy (each -1..1, not both 0).
    static constexpr uint64_t ChainStep(int64_t dx, int64_t dy) {
        const int64_t k = (dy + 1) * 3 + (dx + 1);
        return uint64_t(k > 4 ? k - 1 : k);
    }

    // Combines a row of pixels into row y from column x on (parts outside are cut off).
    void CombineRow(int64_t x, int64_t y, std::span<const Pixel> src, RasterOp op);
    // Combines the rectangle of `src` at (sx, sy, w, h) into this buffer at (dx, dy).
    void Blit(const Framebuffer& src, int sx, int sy, int w, int h, int dx, int dy, RasterOp op);

  private:
    static void Apply(Pixel& p, Pen pen) {
        switch (pen.op) {
            case RasterOp::kCopy:
                p = pen.colour;
                break;
            case RasterOp::kMerge:
                p |= pen.colour;
                break;
            case RasterOp::kXor:
                p ^= pen.colour;
                break;
        }
    }
    void Span(int64_t x0, int64_t x1, int64_t y, Pen pen);  // x0..x1 inclusive
    // Bresenham from a to b without b, every pixel through Plot.
    void WalkLine(PixelPoint a, PixelPoint b, Pen pen);
    // Calls f with the pen's operation on one pixel (a callable on Pixel&), chosen once.
    template <class F>
    static void WithPen(Pen pen, F&& f) {
        const Pixel c = pen.colour;
        switch (pen.op) {
            case RasterOp::kCopy:
                f([c](Pixel& p) { p = c; });
                break;
            case RasterOp::kMerge:
                f([c](Pixel& p) { p |= c; });
                break;
            case RasterOp::kXor:
                f([c](Pixel& p) { p ^= c; });
                break;
        }
    }
    template <bool kWhole, class Op>
    void Chain(uint64_t first, const uint64_t* steps, size_t count, Op op);
    // The same walk for a and b on real pixels of the buffer, without bounds checks.
    template <class Op>
    void WalkInside(PixelPoint a, PixelPoint b, Op&& op);
    // Half widths of the ellipse per row offset from its middle, and the row geometry.
    template <class RowFn>
    void EllipseRows(int64_t left, int64_t top, int64_t right, int64_t bottom, RowFn&& fn);

    int width_ = 0;
    int height_ = 0;
    // The rows that are written: all of them, or those of a band.
    int top_ = 0;
    int bottom_ = 0;
    std::vector<Pixel, PictureAllocator<Pixel>> pixels_;  // empty in a band
    Pixel* data_ = nullptr;  // pixels_, or the whole buffer's of a band
};

// Clips the segment a-b to the box 0..w, 0..h (both inclusive). False when nothing is left.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, double w, double h);

}  // namespace zevo
