#include "view/print.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <new>

#include "board/file/settings.h"
#include "paths/file_io.h"
#include "view/board_renderer.h"

namespace zevo {

PrinterMetrics VirtualA4(int dpi) {
    PrinterMetrics m;
    m.widthMm = 210;
    m.heightMm = 297;
    m.resX = int(RoundNearest(210 / 25.4 * dpi));
    m.resY = int(RoundNearest(297 / 25.4 * dpi));
    m.lpx = m.lpy = dpi;
    m.colours = 2;
    return m;
}

// ---- classes, extent, placement

int PrintClass(const Board& board, int layer) {
    if (layer < 0 || layer >= kLayers) return 0;
    const uint32_t f = board.layerFlags[size_t(layer)];
    if (!(f & kPrint)) return 0;
    if (f & kRoleCut) return 2;
    if (f & kRoleNegative) return 3;
    return 1;
}

bool HasPrintableNegativeLayer(const Board& board) {
    for (int l = 0; l < kLayers; ++l)
        if (PrintClass(board, l) == 3) return true;
    return false;
}

std::optional<Box> PrintExtent(const Board& board) {
    std::optional<Box> box;
    ForEachDrawn(board.items, [&](const drawn* e) {
        if (PrintClass(board, e->layer) == 0) return;
        if (!box)
            box = e->bounds;
        else
            box->grow(e->bounds);
    });
    return box;
}

BitmapSize ArtworkBitmapSize(const PrinterMetrics& m) {
    BitmapSize s{m.resX, m.resY, true};
    if (m.lpy > m.lpx)
        s.height = int(RoundNearest(double(m.resY) * m.lpx / m.lpy));
    else if (m.lpx > m.lpy)
        s.width = int(RoundNearest(double(m.resX) * m.lpy / m.lpx));
    return s;
}

BitmapSize CheckBitmapSize(const PrinterMetrics& m) {
    BitmapSize s;
    s.width = int(RoundNearest(m.resX / (m.lpx / 25.4 * 0.15)));
    s.height = int(RoundNearest(m.resY / (m.lpy / 25.4 * 0.15)));
    s.mono = m.colours < 3;
    return s;
}

void PlaceOnBitmap(const Box& extent, const PrinterMetrics& m, int width, int height,
                   const PrintOptions& o, ViewState& view) {
    view.SetClientSize(width, height);
    const double scale = m.lpy < m.lpx ? m.lpy / 25.4 * (double(height) / m.resY) * o.magnification
                                       : m.lpx / 25.4 * (double(width) / m.resX) * o.magnification;
    view.SetScale(scale);
    view.SetMirror(o.mirror());
    const double cx = (extent.minX + extent.maxX) / 2, cy = (extent.minY + extent.maxY) / 2;
    const double s = view.scale;
    const double bottom = std::floor(cy - height / (2 * s) - o.offsetY + 0.5);
    const double left = o.mirror() ? std::floor(cx - width / (2 * s) + o.offsetX + 0.5)
                                   : std::floor(cx - width / (2 * s) - o.offsetX + 0.5);
    view.SetOrigin(left, bottom);
}

// ---- bitmaps

Pixel DibImage::at(int x, int y) const {
    const uint8_t* row = rows.data() + size_t(y) * size_t(stride());
    size_t index = 0;
    if (bits == 1)
        index = (row[x >> 3] >> (7 - (x & 7))) & 1;
    else
        index = row[x];
    return index < colours.size() ? colours[index] : 0;
}

bool MonoBitmap::Create(int width, int height, bool white) {
    image_ = {};
    if (width <= 0 || height <= 0) return false;
    image_.width = width;
    image_.height = height;
    image_.bits = 1;
    image_.colours = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    const size_t bytes = size_t(image_.stride()) * size_t(height);
    if (bytes > (size_t(1) << 31)) {
        image_ = {};
        return false;
    }
    try {
        image_.rows.assign(bytes, white ? 0xFF : 0x00);
    } catch (const std::bad_alloc&) {
        image_ = {};
        return false;
    }
    return true;
}

void MonoBitmap::Span(int64_t x0, int64_t x1, int64_t y, bool white) {
    if (y < 0 || y >= image_.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, image_.width - 1);
    if (x0 > x1) return;
    uint8_t* row = image_.rows.data() + size_t(y) * size_t(image_.stride());
    for (int64_t x = x0; x <= x1;) {
        const size_t byte = size_t(x >> 3);
        if ((x & 7) == 0 && x + 7 <= x1) {
            row[byte] = white ? 0xFF : 0x00;
            x += 8;
            continue;
        }
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[byte] = white ? uint8_t(row[byte] | bit) : uint8_t(row[byte] & ~bit);
        ++x;
    }
}

// ---- the artwork print's filled shapes

namespace {

// A row's covered pixels: from the span of the shape on the row (pixel centres lie on whole
// coordinates). A shape narrower than a pixel on the row still gets its nearest pixel.
struct RowSpan {
    int64_t x0 = 1, x1 = 0;  // empty
    bool empty() const { return x0 > x1; }
    void add(int64_t a, int64_t b) {
        if (a > b) return;
        if (empty()) {
            x0 = a, x1 = b;
        } else {
            x0 = std::min(x0, a);
            x1 = std::max(x1, b);
        }
    }
    void addReal(double l, double r) {
        if (!(l <= r)) return;
        const double a = std::ceil(l), b = std::floor(r);
        if (a <= b)
            add(int64_t(a), int64_t(b));
        else {
            const int64_t m = RoundNearest((l + r) / 2);
            add(m, m);
        }
    }
};

class Filler {
  public:
    Filler(const Board& board, const ViewState& view, MonoBitmap& bitmap, bool white)
        : board_(board), view_(view), bm_(bitmap), white_(white) {}

    void Fill(const drawn* e) {
        const double scale = view_.scale;
        switch (e->kind) {
            case kLand: {
                const double w = e->halfSize(board_) * scale;
                if (e->square())
                    Square(Centre(e->ref()), w);
                else
                    Disc(Centre(e->ref()), w);
                break;
            }
            case kLine: {
                const auto* l = static_cast<const line*>(e);
                const double w = e->halfSize(board_) * scale;
                if (l->square())
                    SquareLine(Centre(l->start()), Centre(l->end()), w);
                else
                    Capsule(Centre(l->start()), Centre(l->end()), w);
                break;
            }
            case kArc: {
                const auto* a = static_cast<const arc*>(e);
                Arc(a->centre(), a->r, a->st, a->end, board_.roundHalf(a->aperture) * scale);
                break;
            }
            case kRect: {
                const auto* r = static_cast<const rect*>(e);
                Point p[4];
                for (int i = 0; i < 4; ++i) p[i] = view_.WorldToScreen(r->corners[i]);
                Convex(p, 4);
                break;
            }
            default:
                break;
        }
    }

  private:
    // The pixel centre nearest to a world point, in screen coordinates.
    Point Centre(Point world) const {
        const Point s = view_.WorldToScreen(world);
        return {double(RoundNearest(s.x)), double(RoundNearest(s.y))};
    }
    static int64_t RowAt(double y) {
        if (y < -1e15) return int64_t(-1e15);
        if (y > 1e15) return int64_t(1e15);
        return int64_t(std::floor(y));
    }

    // The round land's rows: the centre row x - r..x + r, then rows y +- k for k - 0.5 <= r
    // from x - e to x + e, e = r cos(asin((k - 0.5) / r)).
    static int64_t DiscRows(double r) { return int64_t(std::floor(std::min(r, 1e9) + 0.5)); }
    static void DiscRow(Point c, double r, int64_t y, RowSpan& span) {
        const int64_t k = std::llabs(y - int64_t(c.y));
        if (k > DiscRows(r)) return;
        const double e = k == 0 ? r : r * std::cos(std::asin(std::min(1.0, (k - 0.5) / r)));
        const int64_t half = RoundNearest(std::min(e, 1e12));
        span.add(int64_t(c.x) - half, int64_t(c.x) + half);
    }

    void Disc(Point c, double r) {
        const int64_t k = DiscRows(r);
        const int64_t y0 = std::max<int64_t>(int64_t(c.y) - k, 0),
                      y1 = std::min<int64_t>(int64_t(c.y) + k, bm_.height() - 1);
        for (int64_t y = y0; y <= y1; ++y) {
            RowSpan s;
            DiscRow(c, r, y, s);
            Put(s, y);
        }
    }

    void Square(Point c, double w) {
        const int64_t r = RoundNearest(std::min(w, 1e12));
        const int64_t y0 = std::max<int64_t>(int64_t(c.y) - r, 0),
                      y1 = std::min<int64_t>(int64_t(c.y) + r, bm_.height() - 1);
        for (int64_t y = y0; y <= y1; ++y) bm_.Span(int64_t(c.x) - r, int64_t(c.x) + r, y, white_);
    }

    // The span of a convex polygon on row y.
    static void ConvexRow(const Point* p, int n, double y, RowSpan& span) {
        double lo = 0, hi = 0;
        bool any = false;
        auto take = [&](double x) {
            if (!any)
                lo = hi = x, any = true;
            else
                lo = std::min(lo, x), hi = std::max(hi, x);
        };
        for (int i = 0; i < n; ++i) {
            const Point a = p[i], b = p[(i + 1) % n];
            if (y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) continue;
            if (a.y == b.y) {
                take(a.x);
                take(b.x);
            } else {
                take(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
        if (any) span.addReal(lo, hi);
    }

    void Convex(const Point* p, int n) {
        double top = p[0].y, bottom = p[0].y;
        for (int i = 1; i < n; ++i) top = std::min(top, p[i].y), bottom = std::max(bottom, p[i].y);
        int64_t y0 = RowAt(std::ceil(top)), y1 = RowAt(bottom);
        if (y0 > y1) y0 = y1 = RoundNearest((top + bottom) / 2);  // thinner than a row
        y0 = std::max<int64_t>(y0, 0);
        y1 = std::min<int64_t>(y1, bm_.height() - 1);
        for (int64_t y = y0; y <= y1; ++y) {
            RowSpan s;
            ConvexRow(p, n, double(y), s);
            if (s.empty()) {  // a row between the vertices of a sliver
                ConvexRow(p, n, std::clamp(double(y), top, bottom), s);
            }
            Put(s, y);
        }
    }

    // A round-aperture stroke from a to b: the discs at both ends and the band between them.
    void Capsule(Point a, Point b, double w) {
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        Point band[4];
        const bool hasBand = len > 0;
        if (hasBand) {
            const double nx = -dy / len * w, ny = dx / len * w;
            band[0] = {a.x + nx, a.y + ny};
            band[1] = {b.x + nx, b.y + ny};
            band[2] = {b.x - nx, b.y - ny};
            band[3] = {a.x - nx, a.y - ny};
        }
        const int64_t k = DiscRows(w);
        const int64_t y0 = std::max<int64_t>(int64_t(std::min(a.y, b.y)) - k, 0);
        const int64_t y1 = std::min<int64_t>(int64_t(std::max(a.y, b.y)) + k, bm_.height() - 1);
        for (int64_t y = y0; y <= y1; ++y) {
            RowSpan s;
            DiscRow(a, w, y, s);
            DiscRow(b, w, y, s);
            if (hasBand) ConvexRow(band, 4, double(y), s);
            Put(s, y);
        }
    }

    // A square-aperture stroke: the hull of the squares at both ends.
    void SquareLine(Point a, Point b, double w) {
        const double r = double(RoundNearest(std::min(w, 1e12)));
        Point c[8];
        int k = 0;
        for (const Point& p : {a, b})
            for (int sx : {-1, 1})
                for (int sy : {-1, 1}) c[k++] = {p.x + sx * r, p.y + sy * r};
        std::sort(c, c + 8,
                  [](Point u, Point v) { return u.x < v.x || (u.x == v.x && u.y < v.y); });
        auto cross = [](Point o, Point u, Point v) {
            return (u.x - o.x) * (v.y - o.y) - (u.y - o.y) * (v.x - o.x);
        };
        Point hull[16];
        int h = 0;
        for (int i = 0; i < 8; ++i) {
            while (h >= 2 && cross(hull[h - 2], hull[h - 1], c[i]) <= 0) --h;
            hull[h++] = c[i];
        }
        for (int i = 6, lower = h + 1; i >= 0; --i) {
            while (h >= lower && cross(hull[h - 2], hull[h - 1], c[i]) <= 0) --h;
            hull[h++] = c[i];
        }
        if (h > 1) --h;  // the last point repeats the first
        Convex(hull, h);
    }

    // An arc stroke: the centre line cut into chords no further than 0.45 pixel from it, each
    // chord a round-aperture stroke.
    void Arc(Point c, double r, double st, double end, double w) {
        const double rPx = r * view_.scale;
        if (rPx < 0.5) {
            Disc(Centre(c), std::max(w, 0.0));
            return;
        }
        if (IsZero(end - st)) {
            Disc(Centre({c.x + r * std::cos(end), c.y + r * std::sin(end)}), w);
            return;
        }
        const int n = ArcChords(rPx, end - st);
        Point prev = Centre({c.x + r * std::cos(st), c.y + r * std::sin(st)});
        for (int i = 1; i <= n; ++i) {
            const double a = st + (end - st) * i / n;
            const Point next = Centre({c.x + r * std::cos(a), c.y + r * std::sin(a)});
            Capsule(prev, next, w);
            prev = next;
        }
    }

    void Put(const RowSpan& s, int64_t y) {
        if (!s.empty()) bm_.Span(s.x0, s.x1, y, white_);
    }

    const Board& board_;
    const ViewState& view_;
    MonoBitmap& bm_;
    bool white_;
};

bool Outside(const ViewState& v, const Box& b) {
    return b.maxX < v.viewLeft || b.maxY < v.viewBottom || b.minX > v.viewRight ||
           b.minY > v.viewTop;
}

}  // namespace

void FillElement(const Board& board, const ViewState& view, const drawn* e, bool white,
                 MonoBitmap& bitmap) {
    Filler(board, view, bitmap, white).Fill(e);
}

void RenderArtwork(const Board& board, const ViewState& view, bool negative, MonoBitmap& bitmap) {
    const bool inkWhite = negative, paperWhite = !negative;
    const bool negLayer = HasPrintableNegativeLayer(board);
    const bool background = negLayer ? inkWhite : paperWhite;
    for (int y = 0; y < bitmap.height(); ++y) bitmap.Span(0, bitmap.width() - 1, y, background);
    auto pass = [&](int cls, bool white) {
        Filler filler(board, view, bitmap, white);
        ForEachDrawn(board.items, [&](const drawn* e) {
            if (PrintClass(board, e->layer) != cls || Outside(view, e->bounds)) return;
            filler.Fill(e);
        });
    };
    if (negLayer) pass(3, paperWhite);
    pass(1, inkWhite);
    pass(2, paperWhite);
}

void RenderCheckPrint(const Board& board, const ViewState& view, bool negative, Framebuffer& fb) {
    const Pixel black = Rgb(0, 0, 0), white = Rgb(255, 255, 255);
    fb.Clear(negative ? black : white);
    const Pixel plain = negative ? white : black;
    OutlinePainter painter(board, view, fb);
    ForEachDrawn(board.items, [&](const drawn* e) {
        if (PrintClass(board, e->layer) == 0 || !painter.Visible(e->bounds)) return;
        const int colour = board.layerColour[size_t(e->layer)] & 15;
        painter.Draw(e, {colour != 0 ? kPalette[size_t(colour)] : plain, RasterOp::kCopy});
    });
}

DibImage ColourDib(const Framebuffer& fb) {
    DibImage d;
    d.width = fb.width();
    d.height = fb.height();
    d.bits = 8;
    d.colours.assign(256, 0);
    for (size_t i = 0; i < 16; ++i) d.colours[i] = kPalette[i];
    d.colours[16] = Rgb(0, 0, 0);
    d.rows.assign(size_t(d.stride()) * size_t(d.height), 0);
    auto index = [&](Pixel p) {
        int best = 16, bestDist = 1 << 30;
        for (int i = 0; i <= 16; ++i) {
            const Pixel q = d.colours[size_t(i)];
            const int dist = std::abs(int(p >> 16 & 255) - int(q >> 16 & 255)) +
                             std::abs(int(p >> 8 & 255) - int(q >> 8 & 255)) +
                             std::abs(int(p & 255) - int(q & 255));
            if (dist < bestDist) best = i, bestDist = dist;
            if (dist == 0) break;
        }
        return uint8_t(best);
    };
    Pixel last = fb.empty() ? 0 : ~fb.at(0, 0);
    uint8_t lastIndex = 0;
    for (int y = 0; y < d.height; ++y) {
        const Pixel* src = fb.row(y);
        uint8_t* dst = d.rows.data() + size_t(y) * size_t(d.stride());
        for (int x = 0; x < d.width; ++x) {
            if (src[x] != last) last = src[x], lastIndex = index(src[x]);
            dst[x] = lastIndex;
        }
    }
    return d;
}

std::optional<DibImage> RenderPrint(const Board& board, PrintKind kind, const PrinterMetrics& m,
                                    const PrintOptions& o, ViewState* usedView) {
    if (!m.complete()) return std::nullopt;
    const std::optional<Box> extent = PrintExtent(board);
    if (!extent) return std::nullopt;
    const BitmapSize size = kind == PrintKind::kArtwork ? ArtworkBitmapSize(m) : CheckBitmapSize(m);
    if (size.width <= 0 || size.height <= 0) return std::nullopt;
    ViewState view;
    view.SetBoardSize(board.sizeX, board.sizeY);
    PlaceOnBitmap(*extent, m, size.width, size.height, o, view);
    if (usedView) *usedView = view;
    DibImage out;
    if (kind == PrintKind::kArtwork) {
        MonoBitmap bm;
        if (!bm.Create(size.width, size.height, true)) return std::nullopt;
        RenderArtwork(board, view, o.negative(), bm);
        out = bm.Take();
    } else {
        if (double(size.width) * size.height > double(1 << 28)) return std::nullopt;
        Framebuffer fb;
        try {
            fb.Resize(size.width, size.height);
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
        RenderCheckPrint(board, view, o.negative(), fb);
        if (size.mono) {
            MonoBitmap bm;
            if (!bm.Create(size.width, size.height, true)) return std::nullopt;
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x)
                    if (fb.at(x, y) != Rgb(255, 255, 255)) bm.Span(x, x, y, false);
            out = bm.Take();
        } else {
            out = ColourDib(fb);
        }
    }
    // Pixels per inch of the bitmap itself: the page's resolution scaled to the bitmap.
    out.dpiX = int(RoundNearest(m.lpx * double(size.width) / m.resX));
    out.dpiY = int(RoundNearest(m.lpy * double(size.height) / m.resY));
    return out;
}

// ---- BMP file

namespace {

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 255));
    s.push_back(char(v >> 8 & 255));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

std::string EncodeBmp(const DibImage& image) {
    const uint32_t entries = uint32_t(1) << image.bits;
    const uint32_t table = entries * 4;
    const uint32_t stride = uint32_t(image.stride());
    const uint32_t imageSize = stride * uint32_t(image.height);
    std::string s;
    s.reserve(54 + table + imageSize);
    s += "BM";
    Put32(s, 54 + table + imageSize);
    Put16(s, 0);
    Put16(s, 0);
    Put32(s, 54 + table);
    Put32(s, 40);
    Put32(s, uint32_t(image.width));
    Put32(s, uint32_t(image.height));  // positive: rows bottom up
    Put16(s, 1);
    Put16(s, uint32_t(image.bits));
    Put32(s, 0);  // no compression
    Put32(s, imageSize);
    Put32(s, uint32_t(RoundNearest(image.dpiX / 0.0254)));
    Put32(s, uint32_t(RoundNearest(image.dpiY / 0.0254)));
    Put32(s, 0);  // colours used: all 2^bits
    Put32(s, 0);
    for (uint32_t i = 0; i < entries; ++i) {
        const Pixel c = i < image.colours.size() ? image.colours[i] : 0;
        s.push_back(char(c & 255));
        s.push_back(char(c >> 8 & 255));
        s.push_back(char(c >> 16 & 255));
        s.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y)
        s.append(reinterpret_cast<const char*>(image.rows.data()) + size_t(y) * stride, stride);
    return s;
}

bool WriteBmp(const std::filesystem::path& file, const DibImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rows.size() < size_t(image.stride()) * size_t(image.height))
        return false;
    return WriteFileAtomically(file, EncodeBmp(image));
}

std::filesystem::path BmpPathFor(const std::filesystem::path& boardFile) {
    std::string name = boardFile.filename().string();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        name += ".bmp";
    else
        name = name.substr(0, dot + 1) + "bmp";
    return boardFile.parent_path() / name;
}

// ---- standard magnification

double ParsePrintMagnification(std::string_view contents) {
    const std::string v = FindSetting(contents, "Setting", "PrintMagnification", "1.0");
    double m = 1.0;
    const char* b = v.data();
    while (b < v.data() + v.size() && (*b == ' ' || *b == '\t')) ++b;
    const auto r = std::from_chars(b, v.data() + v.size(), m);
    if (r.ec != std::errc() || !std::isfinite(m)) return 1.0;
    return std::clamp(m, kMinPrintMagnification, kMaxPrintMagnification);
}

double LoadPrintMagnification(const std::filesystem::path& settingsFile) {
    const std::optional<std::string> contents = ReadWholeFile(settingsFile);
    return contents ? ParsePrintMagnification(*contents) : 1.0;
}

std::string PrintMagnificationText(double m) {
    if (!std::isfinite(m)) m = 1.0;
    m = std::clamp(m, kMinPrintMagnification, kMaxPrintMagnification);
    if (m == 1.0) return {};
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, m, std::chars_format::general, 12);
    return std::string(buf, r.ptr);
}

bool StorePrintMagnification(const std::filesystem::path& settingsFile, double m) {
    const std::string text = PrintMagnificationText(m);
    return WriteSetting(settingsFile, "Setting", "PrintMagnification", text).status ==
           kSettingWritten;
}

}  // namespace zevo
