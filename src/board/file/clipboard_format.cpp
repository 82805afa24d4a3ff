#include "board/file/clipboard_format.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "board/model/intern.h"

namespace zevo {

namespace {

enum : uint16_t {
    kEndRecord = 0,
    kLandRecord = 1,
    kLineRecord = 2,
    kArcRecord = 3,
    kRectRecord = 4,
    kGroupRecord = 5,
    kTextPlacementRecord = 6,
    kPartPlacementRecord = 7,
    kSquareBit = 0x80,
};
constexpr size_t kHeader = 6;  // u32 size, u16 type
constexpr size_t kTextPlacementSize = 46, kPartPlacementSize = 30;
// Anything further out than this is no board coordinate (the largest board is 1000 mm).
constexpr double kFar = 1e6;

// --- writing

class Writer {
  public:
    explicit Writer(Point ref) : ref_(ref) {}
    std::string bytes;

    void item(const container* e) {
        if (e->kind == kGroup) {
            const group* g = AsGroup(e);
            if (!Board::IsEmptyGroup(g)) groupRecord(g);
        } else if (IsDrawn(e)) {
            drawnRecord(AsDrawn(e));
        }
    }
    void terminator() { header(0, kEndRecord); }

  private:
    void u16(uint16_t v) {
        bytes.push_back(char(v & 0xFF));
        bytes.push_back(char(v >> 8));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(char((v >> (8 * i)) & 0xFF));
    }
    void f64(double v) {
        const uint64_t b = std::bit_cast<uint64_t>(v);
        for (int i = 0; i < 8; ++i) bytes.push_back(char((b >> (8 * i)) & 0xFF));
    }
    void header(uint32_t size, uint16_t type) {
        u32(size);
        u16(type);
    }
    void patchSize(size_t at, uint32_t size) {
        for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = char((size >> (8 * i)) & 0xFF);
    }
    // A string block: u16 length, the bytes, a zero, padding to the length.
    void block(std::string_view s) {
        if (s.empty()) {
            u16(2);
            return;
        }
        const size_t length = (s.size() + 6) & ~size_t(3);
        const size_t start = bytes.size();
        u16(uint16_t(length));
        bytes.append(s);
        bytes.resize(start + length, '\0');
    }

    void drawnRecord(const drawn* d) {
        const std::string_view pin = View(d->pinName);
        size_t base = 32;
        uint16_t type = uint16_t(d->kind) | (d->square() ? kSquareBit : 0);
        if (d->kind == kLine) base = 48;
        if (d->kind == kArc || d->kind == kRect) base = 56;
        const size_t size = pin.empty() ? base : base + (pin.size() & ~size_t(3)) + 4;
        const size_t start = bytes.size();
        header(uint32_t(size), type);
        u16(uint16_t(d->aperture));
        u16(uint16_t(d->layer));
        u32(uint32_t(int32_t(d->pinNo)));
        f64(d->x - ref_.x);
        f64(d->y - ref_.y);
        if (d->kind == kLine) {
            const line* l = static_cast<const line*>(d);
            f64(l->ex - ref_.x);
            f64(l->ey - ref_.y);
        } else if (d->kind == kArc) {
            const arc* a = static_cast<const arc*>(d);
            f64(a->r);
            f64(a->st);
            f64(a->end);
        } else if (d->kind == kRect) {
            const rect* r = static_cast<const rect*>(d);
            f64(r->dx);
            f64(r->dy);
            f64(r->ang);
        }
        u16(pin.empty() ? 2 : uint16_t((pin.size() + 6) & ~size_t(3)));
        bytes.append(pin);
        bytes.resize(start + size, '\0');
    }

    void groupRecord(const group* g) {
        const size_t start = bytes.size();
        header(0, kGroupRecord);
        block(View(g->type));
        block(View(g->attribute));
        if (!g->ext) {
            header(kHeader, kEndRecord);
        } else if (g->ext->kind == 1) {
            const TextPlacement* t = static_cast<const TextPlacement*>(g->ext);
            header(kTextPlacementSize, kTextPlacementRecord);
            f64(t->pt.x - ref_.x);
            f64(t->pt.y - ref_.y);
            f64(t->angle);
            f64(t->hi);
            f64(t->pit);
        } else {
            header(kPartPlacementSize, kPartPlacementRecord);
            f64(g->ext->pt.x - ref_.x);
            f64(g->ext->pt.y - ref_.y);
            f64(g->ext->angle);
        }
        for (const container* m : Items(g->members)) item(m);
        header(kHeader, kEndRecord);
        patchSize(start, uint32_t(bytes.size() - start));
    }

    Point ref_;
};

// --- reading

class Reader {
  public:
    Reader(std::string_view bytes, Board& board, Point at) : s_(bytes), b_(board), at_(at) {}

    // The top-level records up to the terminator; false at the first inconsistency.
    bool read(std::vector<container*>& out) {
        size_t pos = 0;
        for (;;) {
            uint32_t size;
            uint16_t type;
            if (!header(pos, s_.size(), size, type)) return false;
            if (type == kEndRecord) return true;
            container* e = nullptr;
            if (!record(pos, s_.size(), size, type, 1, e)) return false;
            if (e) out.push_back(e);
            pos += size;
        }
    }

  private:
    bool header(size_t pos, size_t end, uint32_t& size, uint16_t& type) const {
        if (pos > end || end - pos < kHeader) return false;
        size = u32(pos);
        type = u16(pos + 4);
        return true;
    }
    uint16_t u16(size_t p) const { return uint16_t(uint8_t(s_[p]) | (uint8_t(s_[p + 1]) << 8)); }
    uint32_t u32(size_t p) const {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(s_[p + size_t(i)]);
        return v;
    }
    bool f64(size_t p, double& v, double limit = kFar) const {
        uint64_t b = 0;
        for (int i = 7; i >= 0; --i) b = (b << 8) | uint8_t(s_[p + size_t(i)]);
        v = std::bit_cast<double>(b);
        return std::isfinite(v) && std::fabs(v) < limit;
    }
    // A string block at pos within end: its text and its length.
    bool block(size_t pos, size_t end, std::string_view& text, size_t& length) const {
        if (pos > end || end - pos < 2) return false;
        length = u16(pos);
        if (length < 2 || length > end - pos) return false;
        const std::string_view body = s_.substr(pos + 2, length - 2);
        text = body.substr(0, body.find('\0'));
        return true;
    }

    // The record at pos of `size` bytes (type known), within `end`. `e` is the element made, or
    // nothing for a group that holds nothing.
    bool record(size_t pos, size_t end, uint32_t size, uint16_t type, int depth, container*& e) {
        if (size < kHeader || size > end - pos) return false;
        const int kind = type & 7;
        if ((type & ~uint16_t(kSquareBit | 7)) != 0) return false;
        if (kind == kGroupRecord)
            return (type & kSquareBit) == 0 && groupRecord(pos, size, depth, e);
        if (kind < kLandRecord || kind > kRectRecord) return false;
        return drawnRecord(pos, size, kind, (type & kSquareBit) != 0, e);
    }

    bool drawnRecord(size_t pos, uint32_t size, int kind, bool square, container*& e) {
        const size_t base = kind == kLandRecord ? 32 : kind == kLineRecord ? 48 : 56;
        if (size < base) return false;
        const int aperture = int16_t(u16(pos + 6)), layer = int16_t(u16(pos + 8));
        const int32_t pin = int32_t(u32(pos + 10));
        if (aperture < 0 || aperture >= kApertures || layer < 0 || layer >= kLayers) return false;
        double x, y;
        if (!f64(pos + 14, x) || !f64(pos + 22, y)) return false;
        const Point p{x + at_.x, y + at_.y};
        double v[3] = {0, 0, 0};
        for (int i = 0; i < (kind == kLandRecord ? 0 : kind == kLineRecord ? 2 : 3); ++i)
            if (!f64(pos + 30 + size_t(i) * 8, v[i])) return false;
        drawn* d = nullptr;
        switch (kind) {
            case kLandRecord:
                d = b_.CreateLand(layer, aperture, square, p);
                break;
            case kLineRecord:
                d = b_.CreateLine(layer, aperture, square, p, {v[0] + at_.x, v[1] + at_.y});
                break;
            case kArcRecord:
                d = b_.CreateArc(layer, aperture, p, v[0], v[1], v[2]);
                break;
            default:
                d = b_.CreateRect(layer, aperture, p, v[0], v[1], v[2]);
                break;
        }
        // Sizes as the board keeps them (rounded): an arc without radius or a rectangle without
        // width is no element.
        if ((kind == kArcRecord && !(static_cast<arc*>(d)->r > 0)) ||
            (kind == kRectRecord &&
             !(static_cast<rect*>(d)->dx > 0 && static_cast<rect*>(d)->dy > 0))) {
            d->recycle(b_);
            return false;
        }
        if (square) d->flags |= kSquareFlag;
        d->pinNo = int16_t(pin < -32768 ? -32768 : pin > 32767 ? 32767 : pin);
        if (u16(pos + base - 2) > 2 && size > base) {
            const std::string_view name = s_.substr(pos + base, size - base);
            d->pinName = Intern(name.substr(0, name.find('\0')));
        }
        d->updateBounds(b_);
        e = d;
        return true;
    }

    bool groupRecord(size_t pos, uint32_t size, int depth, container*& e) {
        if (depth > kMaxGroupDepth) return false;
        const size_t end = pos + size;
        size_t p = pos + kHeader, length;
        std::string_view type, attribute;
        if (!block(p, end, type, length)) return false;
        p += length;
        if (!block(p, end, attribute, length)) return false;
        p += length;
        uint32_t psize;
        uint16_t ptype;
        if (!header(p, end, psize, ptype)) return false;
        group* g = b_.CreateGroup(type.empty() ? kEmptyText : Intern(type));
        g->attribute = attribute.empty() ? kEmptyText : Intern(attribute);
        bool ok = true;
        double v[5];
        if (ptype == kTextPlacementRecord && psize == kTextPlacementSize &&
            end - p >= kTextPlacementSize) {
            for (int i = 0; i < 5 && ok; ++i) ok = f64(p + kHeader + size_t(i) * 8, v[i]);
            if (ok) g->ext = b_.CreateTextPlacement({v[0] + at_.x, v[1] + at_.y}, v[2], v[3], v[4]);
        } else if (ptype == kPartPlacementRecord && psize == kPartPlacementSize &&
                   end - p >= kPartPlacementSize) {
            for (int i = 0; i < 3 && ok; ++i) ok = f64(p + kHeader + size_t(i) * 8, v[i]);
            if (ok) g->ext = b_.CreatePartPlacement({v[0] + at_.x, v[1] + at_.y}, v[2]);
        } else {
            ok = ptype == kEndRecord && psize == kHeader;
        }
        p += psize;
        // The members up to the end record, which must close the group exactly.
        while (ok) {
            uint32_t msize;
            uint16_t mtype;
            if (!header(p, end, msize, mtype)) {
                ok = false;
                break;
            }
            if (mtype == kEndRecord) {
                ok = msize == kHeader && p + kHeader == end;
                break;
            }
            container* m = nullptr;
            if (!record(p, end, msize, mtype, depth + 1, m)) {
                ok = false;
                break;
            }
            if (m) b_.AppendElement(g, m);
            p += msize;
        }
        if (!ok || Board::IsEmptyGroup(g)) {
            g->recycle(b_);
            e = nullptr;
            return ok;
        }
        e = g;
        return true;
    }

    std::string_view s_;
    Board& b_;
    Point at_;
};

// The origin land of a part: the only round land on an origin-role layer among the members,
// else among the members of the groups one level deeper, and so on; candidates at two places
// make the search fail.
const land* OriginLand(const Board& b, const group* g) {
    std::vector<const group*> level{g};
    for (int depth = 0; !level.empty() && depth <= kMaxGroupDepth; ++depth) {
        const land* found = nullptr;
        bool twoPlaces = false;
        std::vector<const group*> next;
        for (const group* h : level)
            for (const container* m : Items(h->members)) {
                if (m->kind == kGroup) {
                    next.push_back(AsGroup(m));
                } else if (m->kind == kLand) {
                    const land* l = static_cast<const land*>(m);
                    if (l->square() || !b.HasRole(l->layer, kRoleOrigin)) continue;
                    if (found && !SamePoint(found->ref(), l->ref())) twoPlaces = true;
                    if (!found) found = l;
                }
            }
        if (twoPlaces) return nullptr;
        if (found) return found;
        level = std::move(next);
    }
    return nullptr;
}

bool IsTemporaryName(std::string_view type) {
    return type.size() == 15 && type.substr(0, 3) == "tmp";
}

}  // namespace

std::string WriteClipboard(const ListNode& items, Point ref) {
    Writer w(ref);
    for (const container* e : Items(items)) w.item(e);
    w.terminator();
    w.bytes.append(8, '\0');
    return std::move(w.bytes);
}

bool ReadClipboard(std::string_view bytes, Board& board, Point at, ListNode& out) {
    std::vector<container*> read;
    Reader r(bytes, board, at);
    if (!r.read(read)) {
        for (container* e : read) e->recycle(board);
        return false;
    }
    for (container* e : read) {
        e->insertBefore(&out, board.changes);
        e->parent = nullptr;
    }
    return true;
}

std::string TemporaryPartName(const std::tm& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "tmp%02d%02d%02d%02d%02d%02d", (t.tm_year % 100 + 100) % 100,
                  (t.tm_mon + 1) % 100, t.tm_mday % 100, t.tm_hour % 100, t.tm_min % 100,
                  t.tm_sec % 100);
    return buf;
}

void ApplyPastedPartRule(Board& b, ListNode& items, Point at, const std::tm& now) {
    if (items.emptyList() || items.next->next != &items) return;
    container* e = AsElement(items.next);
    if (e->kind != kGroup) return;
    group* g = AsGroup(e);
    const std::string_view type = View(g->type);
    if (!type.empty() && type.front() == ' ') return;
    bool named = false;
    if (type.empty()) {
        g->type = Intern(TemporaryPartName(now));
        named = true;
    }
    if (!g->ext || g->ext->kind != 2) {
        if (g->ext) g->ext->recycle(b);
        g->ext = b.CreatePartPlacement(at, 0);
    }
    const land* o = OriginLand(b, g);
    if (!o) return;
    const double dx = at.x - o->x, dy = at.y - o->y;
    if (std::fabs(dx) < 1e-8 && std::fabs(dy) < 1e-8) return;
    g->translate(b, dx, dy);
    g->ext->pt = at;
    if (IsTemporaryName(View(g->type))) {
        if (!named) g->type = Intern(TemporaryPartName(now));
        g->ext->angle = 0;
    }
}

}  // namespace zevo
