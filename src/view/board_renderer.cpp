#include "view/board_renderer.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
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

// Cosine and sine of one angle side by side, in 32 bits (|value| <= 2^31 - 1).
struct CosSin {
    int32_t cosine, sine;
};

// The sine of the first quarter turn, 1025 entries: the rest of the circle follows from it by
// symmetry, entry for entry the values the whole circle's sines and cosines round to (a test holds
// every entry to them). Four kilobytes stay in the first-level cache while outlines and pixels
// pass through it; the whole circle's table would take all of that cache.
struct Tables {
    std::array<int32_t, kTrigSize / 4 + 1> quarterSine{};
    std::array<double, 1024> step{};
    std::array<int32_t, 1024> halfCircle{};
};

const Tables& FixedTables() {
    static const Tables t = [] {
        Tables r;
        for (int i = 0; i <= kTrigSize / 4; ++i)
            r.quarterSine[size_t(i)] =
                int32_t(std::llround(std::sin(i * kTwoPi / kTrigSize) * kTrigScale));
        r.step[0] = kPi;
        for (int rho = 1; rho < 1024; ++rho) r.step[rho] = 2 * std::acos(1 - 0.45 / rho);
        for (int rho = 0; rho < 1024; ++rho)
            r.halfCircle[size_t(rho)] = std::clamp(
                int(std::ceil(kPi / std::max(r.step[size_t(rho)], kTwoPi / 4096))), 1, 2048);
        return r;
    }();
    return t;
}

int32_t TableSine(const Tables& t, int i) {
    const int j = i & (kTrigSize / 4 - 1);
    const int32_t v = t.quarterSine[size_t(i & kTrigSize / 4 ? kTrigSize / 4 - j : j)];
    return i & kTrigSize / 2 ? -v : v;
}

CosSin TableCosSin(const Tables& t, int i) {
    return {TableSine(t, (i + kTrigSize / 4) & (kTrigSize - 1)), TableSine(t, i)};
}

// The entry for radii of the table's whole pixels (ChordStep's).
int RadiusEntry(double radiusPx) {
    return radiusPx <= 0 ? 0 : int(std::min(radiusPx, 1023.0));
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
    return std::max(FixedTables().step[size_t(RadiusEntry(radiusPx))], kTwoPi / 4096);
}

int HalfCircleChords(double radiusPx) {
    // clamp(ceil(pi / ChordStep(radiusPx)), 1, 2048), worked out once per entry.
    return FixedTables().halfCircle[size_t(RadiusEntry(radiusPx))];
}

std::array<int32_t, 2> FixedCosSin(int i) {
    const CosSin cs = TableCosSin(FixedTables(), i & (kTrigSize - 1));
    return {cs.cosine, cs.sine};
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
        const CosSin cs = TableCosSin(t, idx);
        const int64_t x = c.x + ((r * cs.cosine) >> 31);
        const int64_t y = c.y - ((r * cs.sine) >> 31);
        points_.push_back({Round1024(x), Round1024(y)});
    }
}

void OutlinePainter::Plot(PixelPoint p, Pen pen) {
    if (!record_)
        fb_.Plot(p.x, p.y, pen);
    else if (!chains_ || !record_->AddChain(pen, {&p, 1}, true, fb_.width(), fb_.height()))
        record_->Add(OutlineList::kPlot, pen, {&p, 1});
}

void OutlinePainter::LineWithEnd(PixelPoint a, PixelPoint b, Pen pen) {
    if (record_) {
        const PixelPoint p[2] = {a, b};
        if (!chains_ || !record_->AddChain(pen, p, true, fb_.width(), fb_.height()))
            record_->Add(OutlineList::kLineWithEnd, pen, p);
    } else {
        fb_.LineWithEnd(a, b, pen);
    }
}

void OutlinePainter::Polyline(std::span<const PixelPoint> points, Pen pen) {
    if (!record_)
        fb_.Polyline(points, pen);
    else if (!chains_ || !record_->AddChain(pen, points, false, fb_.width(), fb_.height()))
        record_->Add(OutlineList::kPolyline, pen, points);
}

void OutlinePainter::Ellipse(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen) {
    if (record_) {
        const PixelPoint p[2] = {{left, top}, {right, bottom}};
        record_->Add(OutlineList::kEllipse, pen, p);
    } else {
        fb_.Ellipse(left, top, right, bottom, pen);
    }
}

void OutlinePainter::Frame(int64_t left, int64_t top, int64_t right, int64_t bottom, Pen pen) {
    if (record_) {
        const PixelPoint p[2] = {{left, top}, {right, bottom}};
        record_->Add(OutlineList::kFrame, pen, p);
    } else {
        fb_.Frame(left, top, right, bottom, pen);
    }
}

// A record: one word of colour (bits 0..31), raster operation (32..35), call (36..39), whether
// the points take two words each (40) and their number (41..63), then the points.
void OutlineList::Add(Op op, Pen pen, std::span<const PixelPoint> points) {
    bool narrow = true;
    for (const PixelPoint& p : points) narrow &= p.x == int32_t(p.x) && p.y == int32_t(p.y);
    const size_t at = used_;
    used_ += 1 + points.size() * (narrow ? 1 : 2);
    if (used_ > words_.size()) words_.resize(std::max(used_, 2 * words_.size()));
    uint64_t* w = words_.data() + at;
    *w++ = uint64_t(pen.colour) | uint64_t(pen.op) << 32 | uint64_t(op) << 36 |
           uint64_t(!narrow) << 40 | uint64_t(points.size()) << 41;
    if (narrow) {
        for (const PixelPoint& p : points)
            *w++ = uint64_t(uint32_t(p.x)) | uint64_t(uint32_t(p.y)) << 32;
    } else {
        for (const PixelPoint& p : points) {
            *w++ = uint64_t(p.x);
            *w++ = uint64_t(p.y);
        }
    }
}

// A chain: the head as above with the number of pixels, a word with the first pixel's offset, a
// word with the first and the last row, then the steps (see Framebuffer::ApplyChain).
bool OutlineList::AddChain(Pen pen, std::span<const PixelPoint> points, bool withEnd, int width,
                           int height) {
    if (points.empty()) return false;
    int64_t top = points[0].y, bottom = points[0].y;
    for (const PixelPoint& p : points) {
        if (!(p.x >= 0 && p.x < width && p.y >= 0 && p.y < height)) return false;
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Each segment is walked from its first point to its last in as many steps as it is long
    // along its major axis (the pixels of a walk lie between its ends); the next begins where
    // it ended. The walk of a polyline leaves out its last point, a line with its end does not.
    size_t length = 0;
    for (size_t i = 1; i < points.size(); ++i)
        length += size_t(std::max(std::llabs(points[i].x - points[i - 1].x),
                                  std::llabs(points[i].y - points[i - 1].y)));
    const size_t pixels = withEnd ? length + 1 : length;
    // Longer chains are few and large: their calls take less room.
    if (pixels > (size_t(1) << 20)) return false;
    size_t steps = pixels > 0 ? pixels - 1 : 0;
    const size_t at = used_, most = at + 3 + (steps + 20) / 21;
    if (most > words_.size()) words_.resize(std::max(most, 2 * words_.size()));
    uint64_t* out = words_.data() + at;
    out[0] = uint64_t(pen.colour) | uint64_t(pen.op) << 32 | uint64_t(kChain) << 36 |
             uint64_t(pixels) << 41;
    out[1] = uint64_t(points[0].y) * uint64_t(width) + uint64_t(points[0].x);
    out[2] = uint64_t(top) | uint64_t(bottom) << 32;
    out += 3;
    auto code = Framebuffer::ChainStep;
    uint64_t word = 0;
    int filled = 0;
    // The walk of Framebuffer::Line in its one-decision form: a step along the major axis each
    // time, and along the minor one too when g < 0.
    for (size_t i = 1; i < points.size() && steps > 0; ++i) {
        const PixelPoint a = points[i - 1], b = points[i];
        const int64_t dx = std::llabs(b.x - a.x), dy = std::llabs(b.y - a.y);
        const int64_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        const bool xMajor = dx >= dy;
        const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
        const uint64_t straight = xMajor ? code(sx, 0) : code(0, sy), diagonal = code(sx, sy);
        int64_t g = major - 2 * minor - 1;
        const int64_t afterMinor = 2 * (major - minor), afterMajor = -2 * minor;
        // Without branches: which way a step goes is a coin toss.
        const int64_t minorExtra = afterMinor - afterMajor;
        const uint64_t codeFlip = straight ^ diagonal;
        int64_t n = std::min<int64_t>(major, int64_t(steps));
        steps -= size_t(n);
        while (n > 0) {
            const int64_t chunk = std::min<int64_t>(n, 21 - filled);
            for (int64_t k = 0; k < chunk; ++k) {
                const int64_t m = g >> 63;  // all ones for a minor step
                g += afterMajor + (m & minorExtra);
                word = word << 3 | (straight ^ (uint64_t(m) & codeFlip));
            }
            n -= chunk;
            filled += int(chunk);
            if (filled == 21) {
                *out++ = word << 1;
                word = 0;
                filled = 0;
            }
        }
    }
    if (filled > 0) *out++ = word << (3 * (21 - filled) + 1);
    used_ = size_t(out - words_.data());
    return true;
}

void OutlineList::Replay(size_t at, Framebuffer& fb, std::vector<PixelPoint>& scratch) const {
    const uint64_t head = words_[at];
    const Pen pen{Pixel(head), RasterOp((head >> 32) & 15)};
    const auto op = Op((head >> 36) & 15);
    const bool wide = (head >> 40) & 1;
    const size_t n = size_t(head >> 41);
    const uint64_t* w = words_.data() + at + 1;
    if (op == kChain) {
        fb.ApplyChain(w[0], w + 2, n, int64_t(uint32_t(w[1])), int64_t(w[1] >> 32), pen);
        return;
    }
    auto point = [&](size_t i) -> PixelPoint {
        if (wide) return {int64_t(w[2 * i]), int64_t(w[2 * i + 1])};
        return {int32_t(uint32_t(w[i])), int32_t(uint32_t(w[i] >> 32))};
    };
    switch (op) {
        case kPlot: {
            const PixelPoint p = point(0);
            fb.Plot(p.x, p.y, pen);
            break;
        }
        case kLineWithEnd:
            fb.LineWithEnd(point(0), point(1), pen);
            break;
        case kPolyline:
            scratch.resize(n);
            for (size_t i = 0; i < n; ++i) scratch[i] = point(i);
            fb.Polyline(scratch, pen);
            break;
        case kChain:
            break;
        case kEllipse:
        case kFrame: {
            const PixelPoint a = point(0), b = point(1);
            if (op == kEllipse)
                fb.Ellipse(a.x, a.y, b.x, b.y, pen);
            else
                fb.Frame(a.x, a.y, b.x, b.y, pen);
            break;
        }
    }
}

void OutlinePainter::RoundOutline(Point p, double w, Pen pen) {
    const PixelPoint c = ToPixel(p);
    if (w < 0.5) {
        Plot(c, pen);
    } else if (w >= 1000) {
        points_.clear();
        const int sides = std::clamp(int(std::lround(w / 7)), 1, 4096);
        ArcPoints(ToFixed(p), w, 0, kTwoPi, sides);
        Polyline(points_, pen);
    } else {
        const int64_t r = RoundNearest(w);
        Ellipse(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1, pen);
    }
}

void OutlinePainter::DrawLand(Point p, double w, bool square, Pen pen) {
    if (!square) {
        RoundOutline(p, w, pen);
        return;
    }
    const PixelPoint c = ToPixel(p);
    if (w < 0.5) {
        Plot(c, pen);
        return;
    }
    const int64_t r = RoundNearest(std::min(w, kMaxRadiusPx));
    Frame(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1, pen);
}

void OutlinePainter::DrawLine(Point s, Point e, double w, bool square, Pen pen) {
    if (!square) {
        if (w < 0.625) {
            LineWithEnd(ToPixel(s), ToPixel(e), pen);
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
        Polyline(points_, pen);
        return;
    }
    const PixelPoint a = ToPixel(s), b = ToPixel(e);
    if (w < 0.5) {
        const Point ds = view_.WorldToScreen(s), de = view_.WorldToScreen(e);
        const double dx = de.x - ds.x, dy = de.y - ds.y;
        if (dx * dx + dy * dy < 0.25)
            Plot(a, pen);
        else
            LineWithEnd(a, b, pen);
        return;
    }
    // The square swept along the segment: the convex hull of the squares at both ends.
    const int64_t r = RoundNearest(std::min(w, kMaxRadiusPx));
    auto before = [](PixelPoint u, PixelPoint v) { return u.x < v.x || (u.x == v.x && u.y < v.y); };
    // The corners of both squares in order of x, then y. Each square's four come in that order
    // already (r is at least 1), so the two fours are merged.
    PixelPoint c[8];
    const PixelPoint qa[4] = {
        {a.x - r, a.y - r}, {a.x - r, a.y + r}, {a.x + r, a.y - r}, {a.x + r, a.y + r}};
    const PixelPoint qb[4] = {
        {b.x - r, b.y - r}, {b.x - r, b.y + r}, {b.x + r, b.y - r}, {b.x + r, b.y + r}};
    if (r >= 1) {
        int i = 0, j = 0;
        for (int k = 0; k < 8; ++k)
            c[k] = j == 4 || (i < 4 && !before(qb[j], qa[i])) ? qa[i++] : qb[j++];
    } else {
        std::copy(qa, qa + 4, c);
        std::copy(qb, qb + 4, c + 4);
        std::sort(c, c + 8, before);
    }
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
    Polyline(std::span<const PixelPoint>(hull, size_t(h)), pen);
}

void OutlinePainter::DrawArc(Point c, double r, double st, double end, double w, Pen pen) {
    const double rPx = r * scale_;
    if (rPx < 0.5) {
        const PixelPoint p = ToPixel(c);
        Plot(p, pen);
        return;
    }
    const Point sp{c.x + r * std::cos(st), c.y + r * std::sin(st)};
    const Point ep{c.x + r * std::cos(end), c.y + r * std::sin(end)};
    const bool point = IsZero(end - st);
    const Fixed fc = ToFixed(c);
    if (w < 0.5) {
        if (point) {
            const PixelPoint p = ToPixel(sp);
            Plot(p, pen);
            return;
        }
        points_.clear();
        ArcPoints(fc, rPx, st, end, ArcChords(rPx, end - st));
        Polyline(points_, pen);
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
    Polyline(points_, pen);
}

void OutlinePainter::DrawRect(const Point (&corners)[4], Pen pen) {
    const PixelPoint p[5] = {ToPixel(corners[0]), ToPixel(corners[1]), ToPixel(corners[2]),
                             ToPixel(corners[3]), ToPixel(corners[0])};
    Polyline(p, pen);
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
// How far ahead of the drawing the memory is fetched: outlines some places on in drawing order,
// and the rows down to this many below the first row of the element being drawn (the outlines
// of a fitted view are a few dozen rows high, and this many rows stay in a core's cache), at
// most so many lines of 64 bytes per element drawn.
constexpr size_t kOutlinesAhead = 8;
constexpr uint32_t kRowsAhead = 48;
constexpr int kLinesPerElement = 24;

// An element that is drawn: where its outline is recorded (the half of the index it was found
// in, in the top bit), and the rows the outline can reach (whole rows of the screen, kept
// within -1..height: as far as any band is concerned the same).
struct ShownElement {
    uint64_t outline;
    int32_t firstRow, lastRow;
};
constexpr int kHalfBit = 63;
constexpr uint64_t kOutlineAt = (uint64_t(1) << kHalfBit) - 1;

// What the outlines were worked out for: the view, the size of the picture, how each layer is
// shown (its colour, or kHidden) and the apertures.
struct DrawnFor {
    static constexpr uint8_t kHidden = 0xff;
    double scale = 0, left = 0, right = 0, top = 0, bottom = 0;
    bool mirror = false;
    int width = 0, height = 0;
    std::array<uint8_t, kLayers> layers{};
    std::array<double, kApertures> round{}, square{};
    bool operator==(const DrawnFor&) const = default;
};

void TakeDrawnFor(DrawnFor& d, const Board& board, const ViewState& view, const Framebuffer& fb) {
    d.scale = view.scale, d.left = view.viewLeft, d.right = view.viewRight;
    d.top = view.viewTop, d.bottom = view.viewBottom;
    d.mirror = view.mirrored();
    d.width = fb.width(), d.height = fb.height();
    for (size_t i = 0; i < size_t(kLayers); ++i)
        d.layers[i] =
            board.layerFlags[i] & kDisp ? uint8_t(board.layerColour[i] & 15) : DrawnFor::kHidden;
    d.round = board.roundAp;
    d.square = board.squareAp;
}

}  // namespace

// What a repaint in bands works in. Kept by a RepaintMemory from one repaint to the next, or
// else by the thread that asks for it: the recorded outlines of a large board take tens of
// megabytes, which would be fetched from the system and cleared again each time.
struct RepaintMemory::Work {
    // Per half of the index: the elements drawn in document order, their slots, their outlines.
    std::vector<ShownElement> shown[2];
    std::vector<uint32_t> slots[2];
    OutlineList outlines[2];
    // Whether the lists hold the outlines of the whole index as it was when `epoch`, the first
    // `changesSeen` changes of its log and its first `slotsSeen` slots were all there was, drawn
    // for `drawnFor`; `half` is the first slot of the second half.
    bool kept = false;
    uint64_t epoch = 0;
    size_t changesSeen = 0, slotsSeen = 0, half = 0;
    DrawnFor drawnFor, now;
    // Words of the lists whose outlines are no longer drawn (their elements were drawn again).
    size_t abandoned = 0;
    size_t workedOut = 0;
    // Room for the lists while they are merged with what was drawn again.
    std::vector<ShownElement> mergedShown;
    std::vector<uint32_t> mergedSlots, touched;
};

RepaintMemory::RepaintMemory() : work_(std::make_unique<Work>()) {}
RepaintMemory::~RepaintMemory() = default;

void RepaintMemory::forget() {
    work_->kept = false;
}

size_t RepaintMemory::outlinesWorkedOut() const {
    return work_->workedOut;
}

size_t OutlineList::words(size_t at) const {
    const uint64_t head = words_[at];
    const size_t n = size_t(head >> 41);
    if (Op((head >> 36) & 15) == kChain) return 3 + (n > 1 ? (n - 1 + 20) / 21 : 0);
    return 1 + n * ((head >> 40) & 1 ? 2 : 1);
}

namespace {

// Past this share of the index's slots touched since the last repaint, every outline is worked
// out again; and so when the outlines no longer drawn take more room than those that are.
constexpr size_t kMostTouchedShare = 16;

// Two threads meeting: the second says it has reached a point and waits until the first lets it
// go on; the first waits until the second has reached it, does what must be done alone, and lets
// it go on. A mutex and a condition variable rather than waiting on the atomics themselves: the
// standard library's atomic waits are not to be trusted everywhere we ship (with MinGW's they
// lost a wake-up and the repaint hung), and a repaint meets only some forty times.
class Meeting {
  public:
    void arrive(uint64_t step) {
        std::unique_lock lock(mutex_);
        reached_ = step;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_ >= step; });
    }
    void await(uint64_t step) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return reached_ >= step; });
    }
    void release(uint64_t step) {
        {
            std::lock_guard lock(mutex_);
            released_ = step;
        }
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t reached_ = 0, released_ = 0;
};

// Works out the outlines of the elements that are drawn into one list, in the order they are
// offered, with the rows each can reach.
class OutlineRecorder {
  public:
    // `chains`: the outlines are kept for later repaints (see OutlinePainter::RecordInto).
    OutlineRecorder(const Board& board, const ViewState& view, Framebuffer& back, OutlineList& list,
                    int which, bool chains)
        : board_(board),
          view_(view),
          painter_(board, view, back),
          list_(list),
          halfBit_(uint64_t(which) << kHalfBit),
          height_(back.height()) {
        painter_.RecordInto(&list, chains);
    }

    // False when the element is not drawn.
    bool Record(const drawn* e, ShownElement& out) {
        if (!Shown(board_, painter_, e)) return false;
        // The rows the outline can reach: its box on the screen, with room for the rounding of
        // positions and radii to whole pixels; chord points of an arc lie at angles of the sine
        // table (a 4096th of a turn apart), which can take them past the ends of the arc by a
        // fraction of its radius. Whole rows compare with a band's first and last rows as the
        // exact values do (an element whose rows are not known reaches every band).
        double slack = 3;
        if (e->kind == kArc)
            slack += (static_cast<const arc*>(e)->r + board_.roundHalf(e->aperture)) * view_.scale *
                     0.001;
        const double high = (view_.viewTop - e->bounds.maxY) * view_.scale - slack,
                     low = (view_.viewTop - e->bounds.minY) * view_.scale + slack;
        const int colour = board_.layerColour[size_t(e->layer)] & 15;
        if (colour != penColour_) {
            pen_.colour = kPalette[size_t(colour)];
            penColour_ = colour;
        }
        const size_t at = list_.end();
        painter_.Draw(e, pen_);
        out = {halfBit_ | at, row(high, -1), row(low, height_)};
        return true;
    }

  private:
    int row(double v, int ifNaN) const {
        if (v != v) return ifNaN;
        if (!(v >= -1)) return -1;
        if (v >= height_) return height_;
        // The floor, without the library's call (twice for every element drawn).
        const int t = int(v);
        return t - int(double(t) > v);
    }

    const Board& board_;
    const ViewState& view_;
    OutlinePainter painter_;
    OutlineList& list_;
    const uint64_t halfBit_;
    const int height_;
    Pen pen_{kPalette[0], RasterOp::kMerge};
    int penColour_ = -1;
};

// Brings the kept outlines up to the board's index by working out again those of the slots the
// index logged or appended since: each replaces the old one in its half, in document order. False
// when that would be more work than starting again.
bool FollowEdits(const Board& board, const ViewState& view, Framebuffer& back,
                 RepaintMemory::Work& w) {
    const ElementIndex& index = board.drawnIndex;
    const size_t slots = index.recorded();
    if (!w.kept || !(w.now == w.drawnFor) || w.epoch != index.epoch() || w.slotsSeen > slots ||
        w.changesSeen > index.changesLogged())
        return false;
    const std::span<const uint32_t> changed = index.changedSince(w.changesSeen);
    if (changed.size() + (slots - w.slotsSeen) > 64 + slots / kMostTouchedShare ||
        w.abandoned > (w.outlines[0].end() + w.outlines[1].end()) / 2)
        return false;
    std::vector<uint32_t>& touched = w.touched;
    touched.assign(changed.begin(), changed.end());
    for (size_t s = w.slotsSeen; s < slots; ++s) touched.push_back(uint32_t(s));
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    w.workedOut = 0;
    const auto second = std::lower_bound(touched.begin(), touched.end(), uint32_t(w.half));
    for (int which = 0; which < 2; ++which) {
        const auto from = which == 0 ? touched.begin() : second;
        const auto to = which == 0 ? second : touched.end();
        if (from == to) continue;
        OutlineRecorder recorder(board, view, back, w.outlines[which], which, true);
        const std::vector<ShownElement>& shown = w.shown[which];
        const std::vector<uint32_t>& slotsOf = w.slots[which];
        std::vector<ShownElement>& mergedShown = w.mergedShown;
        std::vector<uint32_t>& mergedSlots = w.mergedSlots;
        mergedShown.clear();
        mergedSlots.clear();
        size_t k = 0;
        for (auto t = from; t != to; ++t) {
            // The elements before the touched slot as they were; its old outline goes.
            for (; k < slotsOf.size() && slotsOf[k] < *t; ++k) {
                mergedShown.push_back(shown[k]);
                mergedSlots.push_back(slotsOf[k]);
            }
            if (k < slotsOf.size() && slotsOf[k] == *t) {
                w.abandoned += w.outlines[which].words(shown[k].outline & kOutlineAt);
                ++k;
            }
            ShownElement s;
            const drawn* e = index.element(*t);
            if (e && recorder.Record(e, s)) {
                mergedShown.push_back(s);
                mergedSlots.push_back(*t);
                ++w.workedOut;
            }
        }
        mergedShown.insert(mergedShown.end(), shown.begin() + ptrdiff_t(k), shown.end());
        mergedSlots.insert(mergedSlots.end(), slotsOf.begin() + ptrdiff_t(k), slotsOf.end());
        std::swap(w.shown[which], mergedShown);
        std::swap(w.slots[which], mergedSlots);
    }
    w.changesSeen = index.changesLogged();
    w.slotsSeen = slots;
    return true;
}

// Draws the elements in two bands of rows at once, each band by its own thread. First both
// threads look through half of the board's index each for the elements that are drawn (in
// document order, with the rows they can reach), then each draws those that reach its band.
// OR-merging makes every pixel the same whatever the order in which the elements are drawn, so
// what matters is only which elements are in by each partial picture: the elements between two
// partial pictures are drawn top to bottom (sorted by their first row), which keeps the rows
// being drawn in the processor's cache rather than going all over the picture for each element.
// The partial pictures are taken when both threads have drawn the same elements.
// With outlines kept from the last repaint (`memory`), only those of the elements edited since
// are worked out, before the threads start.
size_t DrawInBands(const Board& board, const ViewState& view, Framebuffer& back,
                   const RenderOptions& options) {
    const int height = back.height(), width = back.width();
    const int split = height / 2;
    const size_t slots = board.drawnIndex.recorded();
    // (The threads below reach it through this reference: by its own name each would find its
    // own.) A repaint begun from within a partial picture's call has work of its own.
    thread_local RepaintMemory callersMemory;
    RepaintMemory ownMemory;
    RepaintMemory* memory = options.memory ? options.memory : &callersMemory;
    if (memory->inUse) memory = &ownMemory;
    const bool kept = memory == options.memory;
    struct InUse {
        RepaintMemory& m;
        explicit InUse(RepaintMemory& memory) : m(memory) { m.inUse = true; }
        ~InUse() { m.inUse = false; }
    } inUse(*memory);
    RepaintMemory::Work& work = memory->work();
    TakeDrawnFor(work.now, board, view, back);
    const bool followed = kept && FollowEdits(board, view, back, work);
    if (!followed) {
        work.kept = false;
        work.half = slots / 2;
        work.abandoned = 0;
    }
    std::vector<ShownElement>(&shown)[2] = work.shown;
    const OutlineList(&outlines)[2] = work.outlines;
    Meeting meeting;

    // The elements of index slots first..last - 1 that are drawn, their outlines recorded.
    auto look = [&](size_t first, size_t last, int which) {
        std::vector<ShownElement>& out = shown[which];
        std::vector<uint32_t>& slotsOf = work.slots[which];
        OutlineList& list = work.outlines[which];
        out.clear();
        slotsOf.clear();
        list.clear();
        OutlineRecorder recorder(board, view, back, list, which, kept);
        auto away = [&](const OuterBox& b) {
            return double(b.maxX) < view.viewLeft || double(b.maxY) < view.viewBottom ||
                   double(b.minX) > view.viewRight || double(b.minY) > view.viewTop;
        };
        board.drawnIndex.scan(first, last, away, [&](const drawn* e, size_t slot) {
            ShownElement s;
            if (recorder.Record(e, s)) {
                out.push_back(s);
                slotsOf.push_back(uint32_t(slot));
            }
            return false;
        });
    };

    auto drawBand = [&](int top, int bottom, bool first) {
        Framebuffer band = Framebuffer::Band(back, top, bottom);
        std::vector<PixelPoint> scratch;
        // The elements of the band since the last partial picture and the order in which they
        // are drawn (a counting sort by first row, counted from the band's top; an element that
        // begins above it first).
        std::vector<uint32_t> rowStarts(size_t(bottom - top) + 1);
        std::vector<const ShownElement*> pending;
        std::vector<uint64_t> sorted;
        std::vector<uint32_t> sortedRow;
        auto firstRowOf = [&](const ShownElement& s) {
            return s.firstRow > top ? uint32_t(s.firstRow - top) : 0u;
        };
        auto drawPending = [&] {
            std::fill(rowStarts.begin(), rowStarts.end(), 0);
            for (const ShownElement* s : pending) ++rowStarts[firstRowOf(*s) + 1];
            for (size_t r = 1; r < rowStarts.size(); ++r) rowStarts[r] += rowStarts[r - 1];
            sorted.resize(pending.size());
            sortedRow.resize(pending.size());
            for (const ShownElement* s : pending) {
                const uint32_t r = firstRowOf(*s);
                const uint32_t at = rowStarts[r]++;
                sorted[at] = s->outline;
                sortedRow[at] = r;
            }
            // The rows below the elements being drawn are fetched ahead, in memory order: nearly
            // every row of the band is drawn into between two partial pictures, and without this
            // each would be waited for on its first pixel.
            const Pixel* const firstPixel = band.row(top);
            size_t stream = 0;  // pixels from the band's first
            for (size_t i = 0; i < sorted.size(); ++i) {
                if (i + kOutlinesAhead < sorted.size()) {
                    const uint64_t o = sorted[i + kOutlinesAhead];
                    const char* words =
                        static_cast<const char*>(outlines[o >> kHalfBit].address(o & kOutlineAt));
                    __builtin_prefetch(words);
                    __builtin_prefetch(words + 64);
                }
                const uint32_t aheadRow =
                    std::min<uint32_t>(sortedRow[i] + kRowsAhead, uint32_t(bottom - top));
                const size_t want = size_t(aheadRow) * size_t(width);
                for (int k = 0; k < kLinesPerElement && stream < want; ++k) {
                    __builtin_prefetch(firstPixel + stream, 1);
                    stream += 16;
                }
                const uint64_t o = sorted[i];
                outlines[o >> kHalfBit].Replay(o & kOutlineAt, band, scratch);
            }
            pending.clear();
        };
        size_t count = 0;
        uint64_t step = 1;  // the meetings so far: the first was when both halves were known
        for (const std::vector<ShownElement>& part : shown)
            for (const ShownElement& s : part) {
                if (!(s.firstRow >= bottom || s.lastRow < top)) pending.push_back(&s);
                if (++count % kPartialCopyEvery == 0 && options.partialCopy) {
                    drawPending();
                    if (first) {
                        meeting.await(++step);
                        options.partialCopy(back);
                        meeting.release(step);
                    } else {
                        meeting.arrive(++step);
                    }
                }
            }
        drawPending();
        return count;
    };

    std::thread lower([&] {
        if (!followed) look(work.half, slots, 1);
        // The upper band's thread goes on when both halves are known.
        meeting.arrive(1);
        drawBand(split, height, false);
    });
    if (!followed) look(0, work.half, 0);
    meeting.await(1);
    meeting.release(1);
    const size_t count = drawBand(0, split, true);
    lower.join();
    if (!followed) {
        work.workedOut = work.shown[0].size() + work.shown[1].size();
        // What the outlines are now those of, for the next repaint.
        work.kept = kept;
        work.epoch = board.drawnIndex.epoch();
        work.changesSeen = board.drawnIndex.changesLogged();
        work.slotsSeen = slots;
        work.drawnFor = work.now;
    }
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
