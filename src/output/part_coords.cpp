#include "output/part_coords.h"

#include <bitset>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "board/file/document.h"
#include "checks/netlist.h"
#include "paths/file_io.h"
#include "text/strings.h"

namespace zevo {

bool IsPlacedPart(const group* g) {
    return !g->parent && !IsBlank(g->reference) && !IsBlank(g->type) && g->ext && g->ext->kind == 2;
}

std::string_view MountingSide(const Board& b, const group* part) {
    std::bitset<kLayers> used;
    ForEachDrawn(part->members, [&](const drawn* d) {
        if (d->layer >= 0 && d->layer < kLayers) used.set(static_cast<size_t>(d->layer));
    });
    for (int l = 0; l < kLayers; ++l)
        if (used[static_cast<size_t>(l)] && b.HasRole(l, kRoleMount)) return View(b.layerName[l]);
    return {};
}

std::filesystem::path DefaultPartCoordsFile(const std::filesystem::path& boardFile) {
    std::filesystem::path p = boardFile.empty() ? std::filesystem::path(kUntitledName) : boardFile;
    return p.replace_extension("pos");
}

namespace {

// printf's "%-<w>s", "%<w>s" and "%<w>.3f", counted in bytes as the report is Shift-JIS.
void Left(std::string& out, std::string_view s, size_t width) {
    out += s;
    if (s.size() < width) out.append(width - s.size(), ' ');
}
void Right(std::string& out, std::string_view s, size_t width) {
    if (s.size() < width) out.append(width - s.size(), ' ');
    out += s;
}
// Three decimals as printf gives them (the exact binary value rounded), whatever the locale.
void Num(std::string& out, double v, size_t width) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    Right(out, r.ec == std::errc() ? std::string_view(buf, r.ptr - buf) : "0.000", width);
}

// Lines end as a file written in text mode ends them.
constexpr std::string_view kNewline = "\r\n";

// A part name and attribute, and the placed parts that carry them, in document order.
struct PartType {
    Istr name;
    Istr attribute;
    std::vector<const group*> parts;
};

struct Relative {
    Point pos;
    double angle, c, s;
    explicit Relative(const group* part)
        : pos(part->ext->pt),
          angle(part->ext->angle),
          c(std::cos(part->ext->angle)),
          s(std::sin(part->ext->angle)) {}
    // The point seen from the part: moved to its origin and turned back by its angle.
    Point operator()(Point p) const {
        const double dx = p.x - pos.x, dy = p.y - pos.y;
        return {dx * c + dy * s, -dx * s + dy * c};
    }
};

void PutXY(std::string& out, Point p) {
    out += "X:";
    Num(out, p.x, 8);
    out += "  Y:";
    Num(out, p.y, 8);
}

void PutPin(std::string& out, const Board& b, const drawn* d, const Relative& rel) {
    char head[16];
    std::snprintf(head, sizeof head, "PIN%4d    ", std::abs(static_cast<int>(d->pinNo)));
    out += head;
    const double size = 2 * d->halfSize(b);
    switch (d->kind) {
        case kLand:
            out += d->square() ? "SQRT  " : "LAND  ";
            Num(out, size, 8);
            out += "  ";
            PutXY(out, rel(d->ref()));
            break;
        case kLine: {
            const line* l = static_cast<const line*>(d);
            out += l->square() ? "SQLINE  " : "CIRLINE ";
            Num(out, size, 8);
            out += "  ";
            PutXY(out, rel(l->start()));
            out += "  -  ";
            PutXY(out, rel(l->end()));
            break;
        }
        case kArc: {
            const arc* a = static_cast<const arc*>(d);
            double st = ToDegrees(a->st - rel.angle), en = ToDegrees(a->end - rel.angle);
            if (st <= -360) st += 360, en += 360;
            if (en > 360) st -= 360, en -= 360;
            out += "ARC  ";
            PutXY(out, rel(a->centre()));
            out += "  R:";
            Num(out, a->r, 8);
            out += "  START:";
            Num(out, st, 8);
            out += "  END:";
            Num(out, en, 8);
            break;
        }
        case kRect: {
            const rect* r = static_cast<const rect*>(d);
            // A rectangle turned by half a turn is the same rectangle: (-90°, 90°]. The bounds
            // allow for the rounding of the turn, so that a quarter turn never prints as -90.
            constexpr double kTolerance = 1e-9;
            double ang = std::fmod(ToDegrees(r->ang - rel.angle), 180.0);
            if (ang > 90 + kTolerance) ang -= 180;
            if (ang <= -90 + kTolerance) ang += 180;
            out += "RECT  ";
            PutXY(out, rel(r->ref()));
            out += "  DX:";
            Num(out, r->dx, 8);
            out += "  DY:";
            Num(out, r->dy, 8);
            out += "  ANG:";
            Num(out, ang, 8);
            break;
        }
        default:
            break;
    }
    out += kNewline;
}

}  // namespace

std::string PartCoordsText(const Board& b, const PartCoordsSettings& settings) {
    std::vector<const group*> parts;
    for (const container* c : Items(b.items))
        if (c->kind == kGroup && IsPlacedPart(AsGroup(c))) parts.push_back(AsGroup(c));

    std::string out;
    // The placement table.
    Left(out, TableTextCp932(kStrCoordReference), 24);
    Right(out, TableTextCp932(kStrCoordX), 10);
    Right(out, TableTextCp932(kStrCoordY), 10);
    Right(out, TableTextCp932(kStrCoordAngle), 10);
    out += "    ";
    out += TableTextCp932(kStrCoordSide);
    out += kNewline;
    const Point origin = b.gridOrigin;
    for (const group* g : parts) {
        double x = g->ext->pt.x, y = g->ext->pt.y, angle = ToDegrees(g->ext->angle);
        if (settings.fromOrigin) {
            y -= origin.y;
            if (settings.mirrorX) {
                x = origin.x - x;
                angle = std::fmod(angle + 180, 360.0);
            } else {
                x -= origin.x;
            }
        }
        Left(out, View(g->reference), 24);
        Num(out, x, 10);
        Num(out, y, 10);
        Num(out, angle, 10);
        out += "    ";
        out += MountingSide(b, g);
        out += kNewline;
    }

    // The parts list: one line per name and attribute, the references wrapped after 80 columns.
    std::vector<PartType> types;
    std::unordered_map<Istr, std::vector<size_t>> byName;  // pooled: the pointer is the name
    for (const group* g : parts) {
        const Istr attribute = IsBlank(g->attribute) ? nullptr : g->attribute;
        auto& candidates = byName[g->type];
        size_t t = types.size();
        for (size_t i : candidates)
            if (types[i].attribute == attribute) t = i;
        if (t == types.size()) {
            candidates.push_back(t);
            types.push_back({g->type, attribute, {}});
        }
        types[t].parts.push_back(g);
    }
    out += kNewline;
    out += kNewline;
    Left(out, TableTextCp932(kStrCoordPartName), 26);
    out += "  ";
    Left(out, TableTextCp932(kStrCoordAttribute), 14);
    out += "  ";
    out += TableTextCp932(kStrCoordReference);
    out += kNewline;
    constexpr size_t kIndent = 44, kWidth = 80;
    for (const PartType& t : types) {
        Left(out, View(t.name), 26);
        out += "  ";
        Left(out, View(t.attribute), 14);
        out += "  ";
        out += View(t.parts[0]->reference);
        size_t column = View(t.parts[0]->reference).size() + kIndent;
        for (size_t i = 1; i < t.parts.size(); ++i) {
            const std::string_view ref = View(t.parts[i]->reference);
            if (column + ref.size() + 1 > kWidth) {
                out += kNewline;
                out.append(kIndent, ' ');
                column = ref.size() + kIndent;
            } else {
                out += ' ';
                column += ref.size() + 1;
            }
            out += ref;
        }
        out += kNewline;
    }
    out += kNewline;

    // The pins of each part type, from its first part.
    for (const PartType& t : types) {
        const group* part = t.parts[0];
        out += kNewline;
        out += View(t.name);
        out += ' ';
        out += View(t.attribute);
        out += kNewline;
        const Relative rel(part);
        ForEachDrawn(part->members, [&](const drawn* d) {
            if (d->pinNo != 0) PutPin(out, b, d, rel);
        });
    }
    return out;
}

PartCoordsReport PartCoordinatesCommand(const Board& b, const std::filesystem::path& boardFile,
                                        PartCoordsSettings& settings,
                                        const std::function<bool(PartCoordsSettings&)>& dialog,
                                        const std::function<void(const OutputMessage&)>& showNow) {
    PartCoordsReport r;
    auto say = [&](OutputMessage m) {
        if (showNow)
            showNow(m);
        else
            r.messages.push_back(std::move(m));
    };
    if (const Istr dup = DuplicateReference(b)) {
        r.status = PartCoordsReport::kDuplicate;
        say(DuplicateReferenceMessage(dup));
        return r;
    }
    for (const container* c : Items(b.items)) {
        if (c->kind != kGroup) continue;
        const group* g = AsGroup(c);
        if (!IsBlank(g->reference) && !IsPlacedPart(g)) {
            say({std::string(TableText(kMsgReferenceNotPlaced)), false});
            break;
        }
    }
    settings.file = DefaultPartCoordsFile(boardFile);
    if (!dialog || !dialog(settings)) {
        r.status = PartCoordsReport::kCancelled;
        return r;
    }
    if (!WriteFileAtomically(settings.file, PartCoordsText(b, settings))) {
        // Nothing is written; saying so beats letting the user look for a file that is not there.
        r.status = PartCoordsReport::kCannotWrite;
        r.messages.push_back({std::string(TableText(kMsgCannotWriteFile)), true});
        return r;
    }
    r.status = PartCoordsReport::kWritten;
    r.written = settings.file;
    return r;
}

}  // namespace zevo
