#include "board/file/board_writer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zevo {

namespace {

// Group strings go through a 256-byte buffer: at most 255 bytes, and a comma becomes a tab.
void PutGroupString(TextOut& out, Istr s) {
    std::string_view v = View(s);
    if (v.size() > 255) v = v.substr(0, 255);
    size_t from = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != ',') continue;
        out.put(v.substr(from, i - from));
        out.put('\t');
        from = i + 1;
    }
    out.put(v.substr(from));
}

bool IsFillPart(Istr type) {
    const ReservedWords& r = Reserved();
    return type == r.painted || type == r.loop || type == r.window || type == r.lines ||
           type == r.pad;
}

class ItemWriter {
  public:
    ItemWriter(TextOut& out, const Point* origin, bool partMembers = false)
        : out_(out),
          ox_(origin ? origin->x : 0),
          oy_(origin ? origin->y : 0),
          origin_(origin != nullptr),
          partMembers_(partMembers) {}

    void list(const ListNode& head) {
        for (container* c : Items(head)) element(c);
    }

  private:
    void key(std::string_view k, double v) {
        out_.put(k);
        out_.g14(v);
    }
    void layerAperture(const drawn* d, bool squarePen) {
        out_.put(",LE=");
        out_.integer(d->layer);
        out_.put(squarePen ? std::string_view(",SQ=") : std::string_view(",AP="));
        out_.integer(d->aperture);
    }
    void tail(const drawn* d) {
        if (d->netName) {
            out_.put(",NE=");
            out_.put(InternedView(d->netName));
        }
        const group* p = d->parent;
        const ReservedWords& r = Reserved();
        if ((!p && partMembers_) ||
            (p && p->type != r.text && p->type != r.loop && p->type != r.window &&
             p->type != r.lines && !(p->type == r.pad && !p->parent))) {
            if (d->pinName) {
                out_.put(",PN=");
                out_.put(InternedView(d->pinName));
            }
            if (d->pinNo) {
                out_.put(",NO=");
                out_.integer(d->pinNo);
            }
        }
        out_.newline();
    }

    void element(const container* c) {
        switch (c->kind) {
            case kLand: {
                const land* e = static_cast<const land*>(c);
                out_.put(e->square() ? std::string_view("FLSH:X=") : std::string_view("LAND:X="));
                out_.g14(e->x - ox_);
                key(",Y=", e->y - oy_);
                layerAperture(e, false);
                tail(e);
                break;
            }
            case kLine: {
                const line* e = static_cast<const line*>(c);
                key("LINE:XS=", e->x - ox_);
                key(",YS=", e->y - oy_);
                key(",XE=", e->ex - ox_);
                key(",YE=", e->ey - oy_);
                layerAperture(e, e->square());
                tail(e);
                break;
            }
            case kArc: {
                const arc* e = static_cast<const arc*>(c);
                if (e->end - e->st < 0.001) {
                    // Too short to be an arc: a land where it starts.
                    key("LAND:X=", e->startPt.x - ox_);
                    key(",Y=", e->startPt.y - oy_);
                } else {
                    // Past 360 degrees both ends are written one turn lower; the turn is taken
                    // off in degrees, after the conversion.
                    double st = ToDegrees(e->st), end = ToDegrees(e->end);
                    if (end > 360) st -= 360, end -= 360;
                    key("ARC:X=", e->x - ox_);
                    key(",Y=", e->y - oy_);
                    key(",R=", e->r);
                    key(",ST=", st);
                    key(",END=", end);
                }
                layerAperture(e, false);
                tail(e);
                break;
            }
            case kRect: {
                const rect* e = static_cast<const rect*>(c);
                key("RECT:X=", e->x - ox_);
                key(",Y=", e->y - oy_);
                key(",DX=", e->dx);
                key(",DY=", e->dy);
                key(",ANG=", ToDegrees(e->ang));
                layerAperture(e, false);
                tail(e);
                break;
            }
            case kGroup: {
                const group* g = static_cast<const group*>(c);
                if (Board::IsEmptyGroup(g)) break;
                header(g);
                list(g->members);
                out_.put("ENDGR:");
                out_.newline();
                break;
            }
            default:
                break;
        }
    }

    void header(const group* g) {
        out_.put("GROUP:");
        if (g->ext && g->ext->kind == 1) {
            const TextPlacement* t = static_cast<const TextPlacement*>(g->ext);
            out_.put(" TEXT,");
            PutGroupString(out_, g->attribute);
            key(",,X=", t->pt.x - ox_);
            key(",Y=", t->pt.y - oy_);
            key(",ANG=", ToDegrees(t->angle));
            key(",HI=", t->hi);
            key(",PIT=", t->pit);
        } else if (g->ext) {
            PutGroupString(out_, g->type);
            if (g->parent || origin_) {
                if (!IsBlank(g->attribute)) {
                    out_.put(',');
                    PutGroupString(out_, g->attribute);
                }
            } else {
                out_.put(',');
                PutGroupString(out_, g->attribute);
                out_.put(',');
                PutGroupString(out_, g->reference);
                key(",X=", g->ext->pt.x);
                key(",Y=", g->ext->pt.y);
                key(",ANG=", ToDegrees(g->ext->angle));
            }
        } else if (IsFillPart(g->type)) {
            out_.put(g->type);
        } else if (!origin_) {
            PutGroupString(out_, g->type);
            if (!IsBlank(g->attribute)) {
                out_.put(',');
                PutGroupString(out_, g->attribute);
            }
            if (!g->parent && !IsBlank(g->reference)) {
                out_.put(IsBlank(g->attribute) ? ",," : ",");
                PutGroupString(out_, g->reference);
            }
        }
        out_.newline();
    }

    TextOut& out_;
    double ox_, oy_;
    bool origin_;
    bool partMembers_;
};

// ---------------------------------------------------------------- old format

class OldItemWriter {
  public:
    OldItemWriter(TextOut& out, const Board& b) : out_(out), b_(b) {}

    void top(const ListNode& head) {
        for (container* c : Items(head)) {
            if (c->kind == kLand || c->kind == kLine) {
                flat(c);
            } else if (c->kind == kArc || c->kind == kRect ||
                       (c->kind == kGroup && !Board::IsEmptyGroup(AsGroup(c)))) {
                out_.put("GROUP:");
                out_.newline();
                flat(c);
                out_.put("ENDGR:");
                out_.newline();
            }
        }
    }

  private:
    static int Layer(int layer) { return layer > 63 ? 63 : layer; }

    void seg(Point s, Point e, int layer, int aperture, bool square) {
        out_.put("LINE:XS=");
        out_.fixed(s.x, 3);
        out_.put(",YS=");
        out_.fixed(s.y, 3);
        out_.put(",XE=");
        out_.fixed(e.x, 3);
        out_.put(",YE=");
        out_.fixed(e.y, 3);
        out_.put(",LE=");
        out_.integer(Layer(layer));
        out_.put(square ? ",SQ=" : ",AP=");
        out_.integer(aperture);
        out_.newline();
    }

    void flat(const container* c) {
        switch (c->kind) {
            case kLand: {
                const land* e = static_cast<const land*>(c);
                out_.put(e->square() ? "FLSH:X=" : "LAND:X=");
                out_.fixed(e->x, 3);
                out_.put(",Y=");
                out_.fixed(e->y, 3);
                out_.put(",LE=");
                out_.integer(Layer(e->layer));
                out_.put(",AP=");
                out_.integer(e->aperture);
                out_.newline();
                break;
            }
            case kLine: {
                const line* e = static_cast<const line*>(c);
                seg(e->start(), e->end(), e->layer, e->aperture, e->square());
                break;
            }
            case kArc:
                chords(static_cast<const arc*>(c));
                break;
            case kRect:
                strokes(static_cast<const rect*>(c));
                break;
            case kGroup:
                for (container* m : Items(AsGroup(c)->members)) flat(m);
                break;
            default:
                break;
        }
    }

    // Chords in equal angular steps: about 0.1 mm of arc for radii of 1 mm and more.
    void chords(const arc* a) {
        double s = a->r >= 1 ? std::atan2(0.1, a->r) : kPi / 32;
        s = std::clamp(s, kPi / 512, kPi / 8);
        auto at = [&](double ang) {
            return Point{a->x + a->r * std::cos(ang), a->y + a->r * std::sin(ang)};
        };
        Point p = at(a->st);
        for (int k = 1; a->st + k * s < a->end; ++k) {
            const Point q = at(a->st + k * s);
            seg(p, q, a->layer, a->aperture, false);
            p = q;
        }
        seg(p, a->endPt, a->layer, a->aperture, false);
    }

    // The outline drawn with the pen inside the rectangle, then fill strokes 1.9 pen radii apart.
    void strokes(const rect* r) {
        const double h = b_.roundHalf(r->aperture);
        const double a = r->dx / 2 - h, bb = r->dy / 2 - h;
        const double cs = std::cos(r->ang), sn = std::sin(r->ang);
        auto turn = [&](double x, double y) {
            return Point{r->x + cs * x - sn * y, r->y + sn * x + cs * y};
        };
        const Point p1 = turn(a, -bb), p2 = turn(a, bb), p3 = turn(-a, bb), p4 = turn(-a, -bb);
        seg(p1, p2, r->layer, r->aperture, false);
        seg(p2, p3, r->layer, r->aperture, false);
        seg(p3, p4, r->layer, r->aperture, false);
        seg(p4, p1, r->layer, r->aperture, false);
        const double step = 1.9 * h;
        const double count = std::trunc((r->dy - step) / step);
        const double ux = std::cos(r->ang + kPi / 2), uy = std::sin(r->ang + kPi / 2);
        for (long k = 1; k <= count; ++k) {
            const double d = k * step;
            seg({p1.x + d * ux, p1.y + d * uy}, {p4.x + d * ux, p4.y + d * uy}, r->layer,
                r->aperture, false);
        }
    }

    TextOut& out_;
    const Board& b_;
};

bool SameThousandths(double a, double b) {
    return std::llround(a * 1000) == std::llround(b * 1000);
}

void WriteApertureTable(TextOut& out, const std::array<double, kApertures>& halves) {
    for (int i = 0; i < kApertures; ++i) {
        const double d = halves[i] * 2;
        // Compared in whole thousandths: an aperture changed by one step (1.1 -> 1.101) differs by
        // 0.000999... in doubles and must not be taken for the default.
        if (SameThousandths(d, DefaultApertureDiameter(i))) continue;
        out.integer(i);
        out.put(':');
        out.fixed(d, 3);
        out.newline();
    }
}

void WriteLayerDefs(TextOut& out, const Board& b) {
    for (int i = 0; i < kLayers; ++i) {
        if (IsBlank(b.layerName[i])) continue;
        const uint32_t f = b.layerFlags[i];
        out.integer(i);
        out.put(":NAME=");
        out.put(b.layerName[i]);
        out.put(",COLOR=");
        out.integer(b.layerColour[i]);
        out.put((f & kDisp) ? ",DISP=ON" : ",DISP=OFF");
        out.put((f & kActiv) ? ",ACTIV=ON" : ",ACTIV=OFF");
        out.put((f & kPrint) ? ",PRINT=ON" : ",PRINT=OFF");
        out.newline();
    }
}

}  // namespace

std::string VersionText(uint32_t v) {
    std::string s = std::to_string(v >> 24) + "." + std::to_string((v >> 12) & 0xFFF);
    if (v & 0xFFF) s += "." + std::to_string(v & 0xFFF);
    return s;
}

void WriteSectionHeader(TextOut& out, std::string_view name, bool first) {
    if (!first) out.newline();
    out.put('[');
    out.put(name);
    out.put(']');
    out.newline();
}

void WriteVersionSection(TextOut& out, std::string_view versionText, bool first) {
    WriteSectionHeader(out, "Version", first);
    out.put("ZEVO:Version ");
    out.put(versionText);
    out.newline();
}

namespace {
// "[BoardSize]", the size and the grid spacing: what both formats share. The line is left open
// for the display interval the current format adds.
void WriteBoardSizeStart(TextOut& out, const Board& b) {
    WriteSectionHeader(out, "BoardSize");
    out.put("X:");
    out.fixed(b.sizeX, 0);
    out.newline();
    out.put("Y:");
    out.fixed(b.sizeY, 0);
    out.newline();
    out.put("GRID:");
    out.g14(b.gridSpacing);
}
}  // namespace

void WriteBoardSizeSection(TextOut& out, const Board& b) {
    WriteBoardSizeStart(out, b);
    out.put(',');
    out.integer(b.gridInterval);
    out.newline();
    out.put("ORIGIN:X=");
    out.g14(b.gridOrigin.x);
    out.put(",Y=");
    out.g14(b.gridOrigin.y);
    out.newline();
}

void WriteLayerDefSection(TextOut& out, const Board& b) {
    WriteSectionHeader(out, "LayerDef");
    WriteLayerDefs(out, b);
}

void WritePadDefSection(TextOut& out, const Board& b) {
    WriteSectionHeader(out, "PadDef");
    int n = 0;
    for (const PadDefinition& def : b.padDefs) {
        out.integer(n++);
        char sep = ':';
        for (const PadPair& p : def) {
            out.put(sep);
            out.put("LE=");
            out.integer(p.layer);
            out.put(",AP=");
            out.integer(p.aperture);
            sep = '|';
        }
        out.newline();
    }
}

void WriteApertureSections(TextOut& out, const Board& b) {
    WriteSectionHeader(out, "FlshDef");
    WriteApertureTable(out, b.squareAp);
    WriteSectionHeader(out, "LineDef");
    WriteApertureTable(out, b.roundAp);
}

void WriteItems(TextOut& out, const ListNode& list, const Point* origin) {
    ItemWriter(out, origin).list(list);
}

void WritePartMembers(TextOut& out, const ListNode& list, Point origin) {
    ItemWriter(out, &origin, true).list(list);
}

void WriteDocument(TextOut& out, const Board& b) {
    WriteVersionSection(out, VersionText(b.version));
    WriteBoardSizeSection(out, b);
    WriteLayerDefSection(out, b);
    WritePadDefSection(out, b);
    WriteApertureSections(out, b);
    WriteSectionHeader(out, "DrawItems");
    WriteItems(out, b.items);
}

namespace {
// Room for a whole document at once (about 55 bytes an element), so that a big board is not
// copied again and again as the text grows.
void ReserveFor(TextOut& out, const Board& b) {
    const PoolCounts n = b.liveCounts();
    out.text().reserve((n.lands + n.lines + n.arcs + n.rects + n.groups) * 56 + 4096);
}
}  // namespace

std::string WriteDocument(const Board& b) {
    TextOut out;
    ReserveFor(out, b);
    WriteDocument(out, b);
    return std::move(out.text());
}

void WriteOldFormat(TextOut& out, const Board& b) {
    WriteVersionSection(out, "0.48.9");
    WriteBoardSizeStart(out, b);
    out.newline();
    WriteLayerDefSection(out, b);
    WritePadDefSection(out, b);
    WriteApertureSections(out, b);
    WriteSectionHeader(out, "DrawItems");
    OldItemWriter(out, b).top(b.items);
}

std::string WriteOldFormat(const Board& b) {
    TextOut out;
    WriteOldFormat(out, b);
    return std::move(out.text());
}

}  // namespace zevo
