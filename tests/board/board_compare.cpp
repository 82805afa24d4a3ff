#include "board/board_compare.h"

#include <cmath>
#include <sstream>

#include "board/file/document.h"

namespace zevo::testing {

namespace {

class Comparer {
  public:
    explicit Comparer(const CompareOptions& o) : o_(o) {}

    bool near(double a, double b, const char* what) {
        const double tolerance = inArc_ && o_.arcTolerance >= 0 ? o_.arcTolerance : o_.tolerance;
        if (std::fabs(a - b) <= tolerance) return true;
        fail() << what << ": " << a << " != " << b;
        return false;
    }
    template <class T>
    bool same(const T& a, const T& b, const char* what) {
        if (a == b) return true;
        fail() << what << " differs";
        return false;
    }
    bool names(Istr a, Istr b, const char* what) {
        if (View(a) == View(b)) return true;
        fail() << what << ": \"" << View(a) << "\" != \"" << View(b) << "\"";
        return false;
    }

    bool tables(const Board& a, const Board& b) {
        if (!same(a.version, b.version, "version") || !near(a.sizeX, b.sizeX, "size x") ||
            !near(a.sizeY, b.sizeY, "size y") || !near(a.gridSpacing, b.gridSpacing, "grid") ||
            !same(a.gridInterval, b.gridInterval, "grid interval") ||
            !near(a.gridOrigin.x, b.gridOrigin.x, "origin x") ||
            !near(a.gridOrigin.y, b.gridOrigin.y, "origin y"))
            return false;
        for (int i = 0; i < kLayers; ++i) {
            where_ = "layer " + std::to_string(i);
            if (!names(a.layerName[i], b.layerName[i], "name") ||
                !same(a.layerColour[i], b.layerColour[i], "colour") ||
                !same(a.layerFlags[i], b.layerFlags[i], "flags"))
                return false;
        }
        for (int i = 0; i < kApertures; ++i) {
            where_ = "aperture " + std::to_string(i);
            if (!same(a.roundAp[i], b.roundAp[i], "round") ||
                !same(a.squareAp[i], b.squareAp[i], "square"))
                return false;
        }
        where_ = "pads";
        return same(a.padDefs, b.padDefs, "pad definitions");
    }

    bool element(const container* a, const container* b) {
        if (!same(a->kind, b->kind, "kind")) return false;
        inArc_ = a->kind == kArc;
        if (IsDrawn(a)) {
            const drawn* x = AsDrawn(a);
            const drawn* y = AsDrawn(b);
            if (!same(x->layer, y->layer, "layer") || !same(x->aperture, y->aperture, "aperture") ||
                !same(x->flags, y->flags, "flags") || !same(x->pinNo, y->pinNo, "pin number") ||
                !names(x->pinName, y->pinName, "pin name") ||
                !names(x->netName, y->netName, "net name") || !near(x->x, y->x, "x") ||
                !near(x->y, y->y, "y") || !near(x->bounds.minX, y->bounds.minX, "bounds") ||
                !near(x->bounds.maxY, y->bounds.maxY, "bounds"))
                return false;
        }
        switch (a->kind) {
            case kLine: {
                auto x = static_cast<const line*>(a);
                auto y = static_cast<const line*>(b);
                return near(x->ex, y->ex, "end x") && near(x->ey, y->ey, "end y");
            }
            case kArc: {
                auto x = static_cast<const arc*>(a);
                auto y = static_cast<const arc*>(b);
                return near(x->r, y->r, "radius") && near(x->st, y->st, "start") &&
                       near(x->end, y->end, "end");
            }
            case kRect: {
                auto x = static_cast<const rect*>(a);
                auto y = static_cast<const rect*>(b);
                return near(x->dx, y->dx, "dx") && near(x->dy, y->dy, "dy") &&
                       near(x->ang, y->ang, "angle");
            }
            case kGroup: {
                auto x = AsGroup(a);
                auto y = AsGroup(b);
                if (!names(x->type, y->type, "type word") ||
                    !names(x->attribute, y->attribute, "attribute") ||
                    !names(x->reference, y->reference, "reference") ||
                    !same(x->ext != nullptr, y->ext != nullptr, "placement"))
                    return false;
                if (x->ext) {
                    if (!same(x->ext->kind, y->ext->kind, "placement kind") ||
                        !near(x->ext->pt.x, y->ext->pt.x, "placement x") ||
                        !near(x->ext->pt.y, y->ext->pt.y, "placement y") ||
                        !near(x->ext->angle, y->ext->angle, "placement angle"))
                        return false;
                    if (x->ext->kind == 1) {
                        auto tx = static_cast<const TextPlacement*>(x->ext);
                        auto ty = static_cast<const TextPlacement*>(y->ext);
                        if (!near(tx->hi, ty->hi, "height") || !near(tx->pit, ty->pit, "pitch"))
                            return false;
                    }
                }
                return list(x->members, y->members);
            }
        }
        return true;
    }

    bool list(const ListNode& a, const ListNode& b) {
        const ListNode* p = a.next;
        const ListNode* q = b.next;
        int i = 0;
        const std::string outer = where_;
        for (; p != &a && q != &b; p = p->next, q = q->next, ++i) {
            where_ = outer + "/" + std::to_string(i);
            if (!element(AsElement(p), AsElement(q))) return false;
        }
        where_ = outer;
        if ((p == &a) != (q == &b)) {
            fail() << "list lengths differ after " << i << " elements";
            return false;
        }
        return true;
    }

    std::string result() const { return out_.str(); }
    std::string where_ = "items";

  private:
    std::ostringstream& fail() {
        out_ << where_ << ": ";
        return out_;
    }
    const CompareOptions& o_;
    bool inArc_ = false;  // the element compared is an arc
    std::ostringstream out_;
};

}  // namespace

std::string FirstDifference(const Board& a, const Board& b, const CompareOptions& options) {
    Comparer c(options);
    if (options.tables && !c.tables(a, b)) return c.result();
    c.where_ = "items";
    c.list(a.items, b.items);
    return c.result();
}

std::string FirstDifference(const ListNode& a, const ListNode& b, const CompareOptions& options) {
    Comparer c(options);
    c.list(a, b);
    return c.result();
}

std::unique_ptr<Board> NewBoard() {
    auto b = std::make_unique<Board>();
    ResetToBuiltInDefaults(*b);
    return b;
}

std::unique_ptr<Board> ReadBoard(std::string_view text, ReadResult* result) {
    auto b = NewBoard();
    ReadResult r = ReadSections(text, *b);
    if (result) *result = r;
    return b;
}

std::unique_ptr<Board> ReadItems(std::string_view items, ReadResult* result) {
    return ReadBoard("[DrawItems]\n" + std::string(items), result);
}

container* First(const Board& b) {
    return b.items.emptyList() ? nullptr : AsElement(b.items.next);
}

}  // namespace zevo::testing
