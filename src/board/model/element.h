// The element classes of the board document. Elements live in intrusive circular doubly linked
// lists whose sentinel is the owner (the board's item list or a group's member list), because
// undo relinks the very same nodes before their recorded successor.
#pragma once

#include <cstdint>

#include "board/model/intern.h"
#include "geometry/geometry.h"

namespace zevo {

class Board;
class Pools;
class group;

// The changes of a board's element tree: every change of the links of its lists and of an
// element's bounds advances the count (`Board::changes`). Caches over the tree (`ElementIndex`)
// hold only while it stands still. A list node does not know its board, so every link operation
// is told the count to advance; code that writes an element's bounds itself, instead of through
// `updateBounds` or a move, calls `note` on its board's count.
//
// The last few changes are kept with the node they were made to, so that a cache can follow a
// small edit rather than start again: a node linked, unlinked, or given new bounds. `note` is
// any other change, which no cache follows.
struct ListNode;
struct ChangeCount {
    enum Kind : uint8_t { kOther, kLinked, kUnlinked, kMoved };
    struct Change {
        const ListNode* node = nullptr;
        Kind kind = kOther;
    };
    static constexpr uint64_t kKept = 32;

    uint64_t value = 1;
    Change recent[kKept];

    void note() { record(kOther, nullptr); }
    void record(Kind kind, const ListNode* node) {
        ++value;
        recent[value % kKept] = {node, kind};
    }
    // The change that brought the count to `v`, one of the last kKept.
    const Change& change(uint64_t v) const { return recent[v % kKept]; }
};

// A link pair. A list head is a bare ListNode (the sentinel); an element is a ListNode too.
// An unlinked node has null links.
struct ListNode {
    ListNode* next = nullptr;
    ListNode* prev = nullptr;

    bool linked() const { return next != nullptr; }
    // An empty list (a new head has no elements, so nothing that caches them can be stale).
    void initHead() { next = prev = this; }
    bool emptyList() const { return next == this; }
    // Links this node immediately before `successor`.
    void insertBefore(ListNode* successor, ChangeCount& changes) {
        next = successor;
        prev = successor->prev;
        prev->next = this;
        successor->prev = this;
        changes.record(ChangeCount::kLinked, this);
    }
    // Unlinks and returns the former successor.
    ListNode* unlink(ChangeCount& changes) {
        ListNode* successor = next;
        prev->next = next;
        next->prev = prev;
        next = prev = nullptr;
        changes.record(ChangeCount::kUnlinked, this);
        return successor;
    }
};

enum ElementKind : int32_t {
    kLand = 1,
    kLine = 2,
    kArc = 3,
    kRect = 4,
    kGroup = 5,
    kUndoApplied = 0x8001,
    kUndoUndone = 0x8002,
    kUndoEntry = 0x8003,
};

struct Box {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    void grow(const Box& o) {
        if (o.minX < minX) minX = o.minX;
        if (o.minY < minY) minY = o.minY;
        if (o.maxX > maxX) maxX = o.maxX;
        if (o.maxY > maxY) maxY = o.maxY;
    }
};

// The list-node base of every element and undo record.
class container : public ListNode {
  public:
    // Operations common to all elements, in table order (groups have the first nine).
    virtual void destroy(Board& b);
    virtual void recycle(Board& b) = 0;
    virtual container* clone(Board& b) const = 0;
    virtual void translate(Board& b, double dx, double dy) = 0;
    virtual void moveTo(Board& b, Point p) = 0;
    virtual void moveVertex(Board& b, Point p, double dx, double dy) = 0;
    void dragVertex(Board& b, Point from, Point to) {
        moveVertex(b, from, to.x - from.x, to.y - from.y);
    }
    virtual void rotate(Board& b, Point centre, double a) = 0;
    virtual void mirror(Board& b, double ax) = 0;

    int32_t kind = 0;
    group* parent = nullptr;
    int32_t scratchA = 0;
    int32_t scratchB = 0;

  protected:
    container() = default;
    // Nodes are recycled, never deleted while the document lives: reaching this is a fault.
    ~container();
};

inline container* AsElement(ListNode* n) {
    return static_cast<container*>(n);
}
inline const container* AsElement(const ListNode* n) {
    return static_cast<const container*>(n);
}

enum ElementFlags : uint8_t { kSquareFlag = 1 };

// Lands, lines, arcs and rectangles.
class drawn : public container {
  public:
    virtual void updateBounds(const Board& b) = 0;
    virtual bool touchesBox(const Board& b, Point min, Point max) const = 0;
    virtual bool hitTest(const Board& b, Point p, double t) const = 0;
    virtual Point nearEnd(Point p) const = 0;
    virtual Point farEnd(Point p) const = 0;
    virtual bool isNodePoint(Point p) const = 0;

    bool square() const { return flags & kSquareFlag; }
    // Half size of the element's aperture (square table when the square flag is set).
    double halfSize(const Board& b) const;
    Point ref() const { return {x, y}; }

    double x = 0, y = 0;
    Box bounds;
    int16_t aperture = 0;
    int16_t layer = 0;
    uint8_t flags = 0;
    int16_t pinNo = 0;
    int32_t mark = 0;
    Istr pinName = nullptr;
    Istr netName = nullptr;

  protected:
    void copyFrom(const drawn& o);
    void translateBase(const Board& b, double dx, double dy);
};

class land final : public drawn {
  public:
    void recycle(Board& b) override;
    container* clone(Board& b) const override;
    void translate(Board& b, double dx, double dy) override;
    void moveTo(Board& b, Point p) override;
    void moveVertex(Board& b, Point p, double dx, double dy) override;
    void rotate(Board& b, Point centre, double a) override;
    void mirror(Board& b, double ax) override;
    void updateBounds(const Board& b) override;
    bool touchesBox(const Board& b, Point min, Point max) const override;
    bool hitTest(const Board& b, Point p, double t) const override;
    Point nearEnd(Point p) const override;
    Point farEnd(Point p) const override;
    bool isNodePoint(Point p) const override;
};

class line final : public drawn {
  public:
    void recycle(Board& b) override;
    container* clone(Board& b) const override;
    void translate(Board& b, double dx, double dy) override;
    void moveTo(Board& b, Point p) override;
    void moveVertex(Board& b, Point p, double dx, double dy) override;
    void rotate(Board& b, Point centre, double a) override;
    void mirror(Board& b, double ax) override;
    void updateBounds(const Board& b) override;
    bool touchesBox(const Board& b, Point min, Point max) const override;
    bool hitTest(const Board& b, Point p, double t) const override;
    Point nearEnd(Point p) const override;
    Point farEnd(Point p) const override;
    bool isNodePoint(Point p) const override;

    Point start() const { return {x, y}; }
    Point end() const { return {ex, ey}; }
    bool zeroLength() const { return IsZero(ex - x) && IsZero(ey - y); }

    double ex = 0, ey = 0;
};

class arc final : public drawn {
  public:
    void recycle(Board& b) override;
    container* clone(Board& b) const override;
    void translate(Board& b, double dx, double dy) override;
    void moveTo(Board& b, Point p) override;
    void moveVertex(Board& b, Point p, double dx, double dy) override;
    void rotate(Board& b, Point centre, double a) override;
    void mirror(Board& b, double ax) override;
    void updateBounds(const Board& b) override;
    bool touchesBox(const Board& b, Point min, Point max) const override;
    bool hitTest(const Board& b, Point p, double t) const override;
    Point nearEnd(Point p) const override;
    Point farEnd(Point p) const override;
    bool isNodePoint(Point p) const override;

    Point centre() const { return {x, y}; }
    bool fullCircle() const { return IsZero(end - st - kTwoPi); }

    Point startPt, endPt;  // derived
    double r = 0;
    double st = 0, end = 0;
};

class rect final : public drawn {
  public:
    void recycle(Board& b) override;
    container* clone(Board& b) const override;
    void translate(Board& b, double dx, double dy) override;
    void moveTo(Board& b, Point p) override;
    void moveVertex(Board& b, Point p, double dx, double dy) override;
    void rotate(Board& b, Point centre, double a) override;
    void mirror(Board& b, double ax) override;
    void updateBounds(const Board& b) override;
    bool touchesBox(const Board& b, Point min, Point max) const override;
    bool hitTest(const Board& b, Point p, double t) const override;
    Point nearEnd(Point p) const override;
    Point farEnd(Point p) const override;
    bool isNodePoint(Point p) const override;

    Point e1, e2;      // centre-line end points (derived)
    Point corners[4];  // outline corners (derived)
    double dx = 0, dy = 0, ang = 0;
};

class group final : public container {
  public:
    // Placement records: a text placement or a part placement.
    class ext_t {
      public:
        virtual void destroy(Board& b);
        virtual ext_t* clone(Board& b) const = 0;
        virtual void recycle(Board& b) = 0;
        void translate(double dx, double dy) { pt.x += dx, pt.y += dy; }
        void moveTo(Point p) { pt = p; }
        void rotate(Point centre, double a);
        virtual void mirror(double ax) = 0;
        bool isAt(Point p) const { return SamePoint(p, pt); }

        ext_t* freeLink = nullptr;
        Point pt;
        double angle = 0;  // radians, [0, 2pi)
        int kind = 0;      // 1 text placement, 2 part placement

      protected:
        ext_t() = default;
        ~ext_t();
    };

    void recycle(Board& b) override;
    container* clone(Board& b) const override;
    void translate(Board& b, double dx, double dy) override;
    void moveTo(Board& b, Point p) override;
    void moveVertex(Board& b, Point p, double dx, double dy) override;
    void rotate(Board& b, Point centre, double a) override;
    void mirror(Board& b, double ax) override;

    ListNode members;  // sentinel
    Istr type = kEmptyText;
    Istr attribute = kEmptyText;
    Istr reference = kEmptyText;
    ext_t* ext = nullptr;

    group() { members.initHead(); }
};

class TextPlacement final : public group::ext_t {
  public:
    ext_t* clone(Board& b) const override;
    void recycle(Board& b) override;
    void mirror(double ax) override;
    double hi = 3.2;
    double pit = 3.4;  // negative for mirrored text
};

class PartPlacement final : public group::ext_t {
  public:
    ext_t* clone(Board& b) const override;
    void recycle(Board& b) override;
    void mirror(double ax) override;
};

inline bool IsDrawn(const container* c) {
    return c->kind >= kLand && c->kind <= kRect;
}
inline drawn* AsDrawn(container* c) {
    return static_cast<drawn*>(c);
}
inline const drawn* AsDrawn(const container* c) {
    return static_cast<const drawn*>(c);
}
inline group* AsGroup(container* c) {
    return static_cast<group*>(c);
}
inline const group* AsGroup(const container* c) {
    return static_cast<const group*>(c);
}

// Walks a list: for (container* e : Items(head)) ... The successor is read before the body runs,
// so the body may unlink (not recycle into the same list) the current element.
class ItemRange {
  public:
    explicit ItemRange(const ListNode& head) : head_(&head) {}
    class iterator {
      public:
        iterator(const ListNode* n, const ListNode* head) : n_(n), head_(head) {
            nx_ = n_ != head_ ? n_->next : nullptr;
        }
        container* operator*() const { return const_cast<container*>(AsElement(n_)); }
        iterator& operator++() {
            n_ = nx_;
            nx_ = n_ != head_ ? n_->next : nullptr;
            return *this;
        }
        bool operator!=(const iterator& o) const { return n_ != o.n_; }

      private:
        const ListNode* n_;
        const ListNode* head_;
        const ListNode* nx_;
    };
    iterator begin() const { return {head_->next, head_}; }
    iterator end() const { return {head_, head_}; }

  private:
    const ListNode* head_;
};
inline ItemRange Items(const ListNode& head) {
    return ItemRange(head);
}

// The two outline sides of a stroke and the distance helpers shared by the shape tests.
double DistToSegment(Point p, Point a, Point b);
bool SegmentTouchesBox(Point a, Point b, Point min, Point max);

}  // namespace zevo
