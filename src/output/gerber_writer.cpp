#include "output/gerber_writer.h"

#include <cmath>

#include "output/text_out.h"

namespace zevo {
namespace {

enum Exposure { kDraw = 0, kMove = 1, kFlash = 2 };
enum Mode { kNoMode = 0, kLinear = 1, kClockwise = 2, kCounterClockwise = 3 };

// A coordinate is written when it moved by at least one input step (0.001 mm). The comparison
// allows for the binary representation: 1.001 - 1.000 is a hair below 0.001 in doubles, and a
// real step of one input unit must not be dropped.
constexpr double kMinStep = 0.001 - 1e-9;

class GerberWriter {
  public:
    GerberWriter(std::string& out, const Board& b, int layer, bool extended, int decimals,
                 const DCodeTables& codes, bool modern = false)
        : out_(out),
          b_(b),
          codes_(codes),
          layer_(layer),
          ext_(extended || modern),
          modern_(modern) {
        scale_ = std::pow(10.0, decimals);
    }

    void elements(const ListNode& head) {
        for (container* c : Items(head)) {
            switch (c->kind) {
                case kLand:
                    if (AsDrawn(c)->layer == layer_) landOut(static_cast<const land*>(c));
                    break;
                case kLine:
                    if (AsDrawn(c)->layer == layer_) lineOut(static_cast<const line*>(c));
                    break;
                case kArc:
                    if (AsDrawn(c)->layer == layer_) arcOut(static_cast<const arc*>(c));
                    break;
                case kRect:
                    if (AsDrawn(c)->layer == layer_) rectOut(static_cast<const rect*>(c));
                    break;
                case kGroup:
                    elements(AsGroup(c)->members);
                    break;
                default:
                    break;
            }
        }
    }

    // The one command writer: bytes below 32 are dropped; in the extended format every "*" ends
    // a line.
    void cmd(std::string_view s) {
        std::size_t start = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c < 32) {
                out_.append(s.data() + start, i - start);
                start = i + 1;
            } else if (c == '*' && ext_) {
                out_.append(s.data() + start, i + 1 - start);
                out_.append("\r\n", 2);
                start = i + 1;
            }
        }
        out_.append(s.data() + start, s.size() - start);
    }

  private:
    // letter and "%.0f" of v x scale.
    void coord(char letter, double v) {
        char buf[400];
        buf[0] = letter;
        const double scaled = v * scale_;
        std::size_t n;
        if (std::fabs(scaled) < 1e15) {
            // printf rounds the exact binary value half to even, as nearbyint does in the
            // default rounding mode; a value that rounds to zero keeps its sign ("-0").
            const double r = std::nearbyint(scaled);
            const long long i = static_cast<long long>(r);
            char* p = buf + 1;
            if (std::signbit(r)) *p++ = '-';
            unsigned long long m = i < 0 ? 0ULL - static_cast<unsigned long long>(i) : i;
            char digits[24];
            int k = 0;
            do {
                digits[k++] = static_cast<char>('0' + m % 10);
                m /= 10;
            } while (m);
            while (k) *p++ = digits[--k];
            n = static_cast<std::size_t>(p - buf);
        } else {
            const auto r =
                std::to_chars(buf + 1, buf + sizeof buf, scaled, std::chars_format::fixed, 0);
            n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - buf) : 1;
        }
        cmd(std::string_view(buf, n));
    }

    void select(int aperture, bool square) {
        const int key = (aperture & 0xFF) + (square ? 2048 : 0);
        if (key == apKey_) {
            apChanged_ = false;
            return;
        }
        apKey_ = key;
        OutputText t;
        // G54 before a tool select is deprecated in the current format.
        t.put(ext_ && !modern_ ? "G54D" : "D");
        t.putInt(codes_.code(aperture, square), 2);
        t.put('*');
        cmd(t.str());
        apChanged_ = true;
    }

    void expose(Point p, int e) {
        if (SamePoint(p, cur_)) {
            if (e == kFlash) {
                if (last_ != kFlash || apChanged_) cmd("D03*");
                last_ = kFlash;
            }
            return;
        }
        if (!ext_ && e != last_) {
            if (e != kDraw && last_ == kDraw)
                cmd("D02*");
            else if (e == kDraw && last_ != kDraw)
                cmd("D01*");
        }
        last_ = e;
        if (mode_ != kLinear) {
            // The current format wants the mode as a command of its own.
            cmd(modern_ ? "G01*" : "G01");
            mode_ = kLinear;
        }
        // Compared with the coordinate last written, not the last point asked for, so that
        // omitted sub-step moves cannot add up to a visible error.
        if (std::fabs(p.x - wx_) >= kMinStep) {
            coord('X', p.x);
            wx_ = p.x;
        }
        if (std::fabs(p.y - wy_) >= kMinStep) {
            coord('Y', p.y);
            wy_ = p.y;
        }
        if (ext_)
            cmd(e == kDraw ? "D01*" : e == kMove ? "D02*" : "D03*");
        else
            cmd(e == kFlash ? "D03*" : "*");
        cur_ = p;
    }

    // One arc command to `target` about `centre`, in `mode`, from the current position.
    void arcTo(Point target, Point centre, int mode) {
        if (!ext_ && last_ != kDraw) cmd("D01*");
        if (mode_ != mode) {
            if (modern_)
                cmd(mode == kClockwise ? "G02*" : "G03*");
            else
                cmd(mode == kClockwise ? "G02" : "G03");
            mode_ = mode;
        }
        coord('X', target.x);
        coord('Y', target.y);
        coord('I', centre.x - cur_.x);
        coord('J', centre.y - cur_.y);
        cmd(ext_ ? "D01*" : "*");
        last_ = kDraw;
        cur_ = target;
        wx_ = target.x;
        wy_ = target.y;
    }

    void landOut(const land* e) {
        select(e->aperture, e->square());
        expose(e->ref(), kFlash);
    }

    void lineOut(const line* e) {
        select(e->aperture, e->square());
        if (SamePoint(e->start(), e->end())) {
            expose(e->start(), kFlash);
            return;
        }
        expose(e->start(), kMove);
        expose(e->end(), kDraw);
    }

    void arcOut(const arc* e) {
        select(e->aperture, false);
        const Point c = e->centre();
        if (SamePoint(e->startPt, e->endPt)) {
            expose(e->startPt, kMove);
            if (e->end - e->st < kPi) {
                expose(e->startPt, kFlash);
                return;
            }
            // A full circle: two clockwise halves through (cx - R, cy) and back.
            const Point right{c.x + e->r, c.y};
            expose(right, kMove);
            if (!ext_ && last_ != kDraw) cmd("D01*");
            if (mode_ != kClockwise) {
                cmd(modern_ ? "G02*" : "G02");
                mode_ = kClockwise;
            }
            coord('X', c.x - e->r);
            coord('Y', c.y);
            coord('I', -e->r);
            cmd("J0");
            cmd(ext_ ? "D01*" : "*");
            last_ = kDraw;
            cur_ = {c.x - e->r, c.y};
            wx_ = cur_.x;
            wy_ = cur_.y;
            arcTo(right, c, kClockwise);
            return;
        }
        // Start from the nearer end, so that a chain of arcs and lines needs no extra moves.
        if (Dist(e->endPt, cur_) > Dist(e->startPt, cur_)) {
            expose(e->startPt, kMove);
            arcTo(e->endPt, c, kCounterClockwise);
        } else {
            expose(e->endPt, kMove);
            arcTo(e->startPt, c, kClockwise);
        }
    }

    void rectOut(const rect* e) {
        select(e->aperture, false);
        const double r = b_.roundHalf(e->aperture);
        const double hx = e->dx / 2 - r, hy = e->dy / 2 - r;
        const double ca = std::cos(e->ang), sa = std::sin(e->ang);
        auto at = [&](double u, double v) {
            return Point{e->x + u * ca - v * sa, e->y + u * sa + v * ca};
        };
        expose(at(-hx, hy), kMove);
        expose(at(hx, hy), kDraw);
        expose(at(hx, -hy), kDraw);
        expose(at(-hx, -hy), kDraw);
        expose(at(-hx, hy), kDraw);
        const double step = 2 * r * 0.95;
        if (!(step > 0)) return;
        const double count = std::floor(e->dy / step);
        if (!(count >= 2)) return;
        const long n = static_cast<long>(count);
        for (long k = 1; k < n; ++k) {
            const double v = hy - k * step;
            // A stroke below the lower outline would paint beyond the rectangle; the outline
            // already covers what lies there.
            if (v < -hy - 1e-9) break;
            expose(at(-hx, v), kMove);
            expose(at(hx, v), kDraw);
        }
    }

    std::string& out_;
    const Board& b_;
    const DCodeTables& codes_;
    int layer_;
    bool ext_;
    bool modern_;
    double scale_ = 1000;
    Point cur_{0, 0};
    double wx_ = 0, wy_ = 0;  // the position the file itself is at
    int apKey_ = -1;
    int mode_ = kNoMode;
    int last_ = kDraw;
    bool apChanged_ = false;
};

void ApertureDefinitions(std::string& out, const Board& b, const UsedApertures& used,
                         const DCodeTables& codes) {
    OutputText t;
    for (int i = 0; i < kApertures; ++i) {
        if (!used.round[i]) continue;
        t.newline();
        t.put("%ADD");
        t.putInt(codes.round[i], 2);
        t.put("C,");
        t.putFixed(2 * b.roundAp[i], 3);
        t.put("*%");
    }
    for (int i = 0; i < kApertures; ++i) {
        if (!used.square[i]) continue;
        t.newline();
        t.put("%ADD");
        t.putInt(codes.square[i], 2);
        t.put("R,");
        t.putFixed(2 * b.squareAp[i], 3);
        t.put('X');
        t.putFixed(2 * b.squareAp[i], 3);
        t.put("*%");
    }
    t.newline();
    out.append(t.str());
}

}  // namespace

void WriteLayer(std::string& out, const Board& b, int layer, bool extended, int decimals,
                const DCodeTables& codes) {
    decimals = ClampGerberDecimals(decimals);
    // One walk finds the apertures and sizes the buffer, so a large layer is not copied over
    // and over while the buffer grows (about 32 bytes per command, a dozen per rectangle).
    UsedApertures used;
    std::size_t estimate = 256;
    ForEachDrawn(b.items, [&](const drawn* d) {
        if (d->layer != layer) return;
        const int ap = d->aperture & 0xFF;
        if ((d->kind == kLand || d->kind == kLine) && d->square())
            used.square.set(ap);
        else
            used.round.set(ap);
        estimate += d->kind == kRect ? 400 : 48;
    });
    out.reserve(out.size() + estimate);
    GerberWriter w(out, b, layer, extended, decimals, codes);
    if (extended) {
        out.append("G71*G90*G75*D02*\r\n");
        out.append("%ASAXBY*OFA0B0*MOMM*FSLAX4");
        out.push_back(static_cast<char>('0' + decimals));
        out.append("Y4");
        out.push_back(static_cast<char>('0' + decimals));
        out.append(b.HasRole(layer, kRoleNegative) ? "*IPNEG*%" : "*IPPOS*%");
        if (used.any()) ApertureDefinitions(out, b, used, codes);
        w.elements(b.items);
        w.cmd("G01X0Y0D02*M02*");
    } else {
        out.append("G71*G90*G75*D02*");
        w.elements(b.items);
        w.cmd("D02*G01X0Y0*M02*");
    }
}

int CopperLayerCount(const Board& b) {
    const auto used = UsedAperturesByLayer(b);
    int n = 2;
    for (int layer = 10; layer < kLayers; ++layer)
        if (b.HasRole(layer, kRolePattern) && used[layer].any()) ++n;
    return n;
}

std::string LayerFileFunction(const Board& b, int layer) {
    const int copper = CopperLayerCount(b);
    const std::string n = std::to_string(copper);
    switch (layer) {
        case 1:
            return "Copper,L1,Top";
        case 2:
            return "Copper,L" + n + ",Bot";
        case 3:
            return "Legend,Top";
        case 4:
            return "Legend,Bot";
        case 5:
            return "Soldermask,Top";
        case 6:
            return "Soldermask,Bot";
        case 7:
            return "Profile,NP";
        case 8:
            return "Plated,1," + n + ",PTH,Drill";
        case 42:
            return "NonPlated,1," + n + ",NPTH,Drill";
        default:
            break;
    }
    if (layer >= 10 && layer < kLayers && b.HasRole(layer, kRolePattern)) {
        // The inner layers in layer order, as the fabrication set numbers them.
        const auto used = UsedAperturesByLayer(b);
        if (used[layer].any()) {
            int k = 1;
            for (int l = 10; l < layer; ++l)
                if (b.HasRole(l, kRolePattern) && used[l].any()) ++k;
            return "Copper,L" + std::to_string(k + 1) + ",Inr";
        }
    }
    return "Other,Layer" + std::to_string(layer);
}

std::string GenerationSoftware() {
    return "Zevo,zevo," + std::to_string(ZEVO_VERSION_MAJOR) + "." +
           std::to_string(ZEVO_VERSION_MINOR) + "." + std::to_string(ZEVO_VERSION_PATCH);
}

void WriteModernLayer(std::string& out, const Board& b, int layer, const DCodeTables& codes) {
    UsedApertures used;
    CollectUsedApertures(b, layer, used);
    OutputText t;
    auto block = [&t](std::string_view a, std::string_view v = {}) {
        t.put('%');
        t.put(a);
        t.put(v);
        t.put("*%");
        t.newline();
    };
    // The file attributes in the standard's comment form ("G04 #@! "): readers that know
    // attributes take them as such, older readers (gerbv among them) skip a comment where they
    // would complain about an unknown parameter.
    auto attribute = [&t](std::string_view name, std::string_view value) {
        t.put("G04 #@! TF.");
        t.put(name);
        t.put(',');
        t.put(value);
        t.put('*');
        t.newline();
    };
    attribute("GenerationSoftware", GenerationSoftware());
    attribute("FileFunction", LayerFileFunction(b, layer));
    attribute("FilePolarity", b.HasRole(layer, kRoleNegative) ? "Negative" : "Positive");
    block("FSLAX46Y46");
    block("MOMM");
    for (int pass = 0; pass < 2; ++pass) {
        const bool square = pass == 1;
        for (int i = 0; i < kApertures; ++i) {
            if (!(square ? used.square[i] : used.round[i])) continue;
            const double size = 2 * (square ? b.squareAp[i] : b.roundAp[i]);
            t.put("%ADD");
            t.putInt(codes.code(i, square), 2);
            t.put(square ? "R," : "C,");
            t.putFixed(size, 3);
            if (square) {
                t.put('X');
                t.putFixed(size, 3);
            }
            t.put("*%");
            t.newline();
        }
    }
    // Arcs are full-circle (multi-quadrant) arcs; the mode is set once before any of them.
    t.put("G75*");
    t.newline();
    out.append(t.str());
    GerberWriter w(out, b, layer, true, kModernDecimals, codes, true);
    w.elements(b.items);
    w.cmd("M02*");
}

bool IsModernOutput(std::string_view bytes) {
    if (bytes.starts_with("G04 #@! TF.") || bytes.starts_with("%TF.")) return true;
    // A drill program: "M48", then its attribute comments.
    if (!bytes.starts_with("M48")) return false;
    const std::size_t nl = bytes.find('\n');
    return nl != std::string_view::npos && bytes.substr(nl + 1).starts_with("; #@! TF.");
}

}  // namespace zevo
