// The drawn elements of a board in document order, with a copy of their bounds, kept so that a
// repaint or a pick need not follow every list node of a big board again.
//
// The element tree lives in nodes spread over the pools; walking it reads every node, which on a
// board of a million elements costs as much as reading all of its memory, whether or not an
// element is anywhere near what we are looking for. The index keeps the order of the walk and
// the bounds of each element in two flat arrays, so most elements are passed over by their
// bounds without touching their node.
//
// The index is never trusted beyond its board's change count (`Board::changes`, advanced by every
// link change and every change of an element's bounds, see element.h). When the count has moved
// by a small edit of a whole index (elements given new bounds, elements taken out, elements
// appended to the end of the document) the index follows it; after anything else it is thrown
// away and filled again by the plain walk. It is filled lazily: a walk that stops early (a pick
// that hit) leaves the part it has seen, and the next walk carries on from there.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "board/model/element.h"

namespace zevo {

// An element's bounds rounded outward to floats: the box always contains the exact one.
struct OuterBox {
    float minX, minY, maxX, maxY;
};

// The conversion rounds to the nearest float (an out-of-range value to the largest float or to
// infinity); when that lies on the wrong side, the neighbouring float does not. NaN stays NaN,
// which no comparison rules out. Without branches: whether a value was rounded up or down is a
// coin toss, and the walk that fills the index converts four of them per element.
inline float FloatBelow(double v) {
    const float f = float(v);
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    // A float of the wrong side is never +0 (a negative value rounds to -0).
    const uint32_t down = f > 0 ? uint32_t(-1) : 1u;
    return std::bit_cast<float>(bits + (double(f) > v ? down : 0u));
}

inline float FloatAbove(double v) {
    const float f = float(v);
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const uint32_t up = f >= 0 ? 1u : uint32_t(-1);
    return std::bit_cast<float>(bits + (double(f) < v ? up : 0u));
}

inline OuterBox Outward(const Box& b) {
    return {FloatBelow(b.minX), FloatBelow(b.minY), FloatAbove(b.maxX), FloatAbove(b.maxY)};
}

class ElementIndex {
  public:
    // `changes`: the count of the board whose tree the index keeps.
    explicit ElementIndex(const ChangeCount& changes) : changes_(changes), epoch_(NewEpoch()) {}
    ElementIndex(const ElementIndex&) = delete;
    ElementIndex& operator=(const ElementIndex&) = delete;

    // Offers the board's drawn elements to `visit` in document order, depth first through groups,
    // as ForEachDrawn does, except those whose outward bounds `away(const OuterBox&)` rules out.
    // `away` must only rule out what the caller's exact test on the element's own bounds would
    // refuse too (compare the widened floats as doubles: rounding keeps the order). Stops at the
    // first element for which `visit` returns true and returns it; nullptr when none did. Neither
    // callback may change the board. `items` is the board's top-level list.
    template <class Away, class Visit>
    const drawn* find(const ListNode& items, Away&& away, Visit&& visit);

    // Records every element of the board (if not done yet), so that `scan` covers them all.
    void fill(const ListNode& items);
    // As `find` over the recorded elements first..last - 1, without recording more. Several
    // threads may scan at once while the board stands still. `visit` may take the slot too, as
    // `visit(const drawn*, size_t)`.
    template <class Away, class Visit>
    const drawn* scan(size_t first, size_t last, Away&& away, Visit&& visit) const {
        if (last > elements_.size()) last = elements_.size();
        return first < last ? visitRecorded(first, last, away, visit) : nullptr;
    }
    const OuterBox& box(size_t i) const { return boxes_[i]; }
    // None for a slot whose element was taken out.
    const drawn* element(size_t i) const { return elements_[i]; }

    // Offers the slot of every element of the board whose outward bounds meet `q`, in no
    // particular order and perhaps more than once, through a grid of cells over the bounds that
    // is kept with the index (made when first asked for after the index started again; small
    // edits the index follows are added to it).
    template <class F>
    void near(const ListNode& items, const Box& q, F&& f);

    // Number of elements recorded so far, and whether they are all of the board's (for tests).
    size_t recorded() const { return elements_.size(); }
    bool complete() const { return complete_; }
    // How often the index has started again (for tests and benchmarks).
    uint64_t restarts() const { return restarts_; }

    // For caches of what is drawn at each slot. The epoch is a number no other index has had,
    // nor this one before it last started again: slots keep their elements while it stays. The
    // slots whose element the index has been told of since (given new bounds, which any change
    // of an element's own brings, or taken out) are logged in the order it learnt of them;
    // elements appended to the document take new slots at the end. A cache that has seen the
    // first k entries of the log and the first n slots holds for the others.
    uint64_t epoch() const { return epoch_; }
    size_t changesLogged() const { return changed_.size(); }
    std::span<const uint32_t> changedSince(size_t k) const {
        return k < changed_.size() ? std::span<const uint32_t>(changed_).subspan(k)
                                   : std::span<const uint32_t>();
    }

  private:
    struct Frame {
        const ListNode* head;  // the list being walked
        const group* owner;    // its group, or none for the board's own list
    };
    // Elements recorded per turn of the link walk before they are visited: as many as are
    // recorded already, within these bounds. A pick that hits early does not pay for the whole
    // board, and a long walk runs in long stretches, which reads the nodes fastest.
    static constexpr size_t kFirstWalk = 1024, kLongestWalk = 65536;

    // A node is fetched some elements before it is visited: read only when it is reached, each
    // would cost a wait on memory.
    static void Prefetch(const void* node) {
        const char* p = static_cast<const char*>(node);
        __builtin_prefetch(p);
        __builtin_prefetch(p + 64);
        __builtin_prefetch(p + 128);
        __builtin_prefetch(p + 192);
    }
    static uint64_t NewEpoch();
    void restart(const ListNode& items);
    // Logs a slot whose element changed (see epoch).
    void logChange(size_t slot);
    // Brings a whole index up to the change count by the changes kept there; false when they
    // cannot be followed (the index must start again).
    bool follow();
    // The slot of an element, or npos.
    size_t slotOf(const ListNode* node) const;
    void record(const drawn* d);
    void recordTree(const ListNode& head);
    void buildCells();
    int cellX(double x) const { return CellOf((x - cells_.ox) / cells_.size, cells_.nx); }
    int cellY(double y) const { return CellOf((y - cells_.oy) / cells_.size, cells_.ny); }
    static int CellOf(double v, int n) {
        // Compared as doubles first: far-off or non-finite values must not overflow the cast.
        if (!(v > 0)) return 0;
        if (v >= n - 1) return n - 1;
        return static_cast<int>(v);
    }

    // The grid of `near`: slots by cell (counting sort into one array), those too large for it
    // or with bounds that are not finite, and those the index recorded or changed since.
    struct Cells {
        bool valid = false;
        uint64_t restarts = 0;
        double ox = 0, oy = 0, size = 1;
        int nx = 0, ny = 0;
        std::vector<uint32_t> starts, slots, apart;
    };
    Cells cells_;
    // Follows the links from where the walk stopped, recording up to `count` more elements.
    void walk(size_t count);
    template <class Away, class Visit>
    const drawn* visitRecorded(size_t from, size_t to, Away& away, Visit& visit) const;

    const ChangeCount& changes_;
    const ListNode* items_ = nullptr;  // none: nothing recorded yet
    uint64_t stamp_ = 0;
    bool complete_ = false;
    size_t removed_ = 0;  // slots left empty by elements taken out
    uint64_t restarts_ = 0;
    uint64_t epoch_;
    std::vector<uint32_t> changed_;
    std::vector<const drawn*> elements_;
    std::vector<OuterBox> boxes_;
    // Where the walk stopped: the open lists and the next node to look at.
    std::vector<Frame> stack_;
    const ListNode* resume_ = nullptr;
};

template <class Away, class Visit>
const drawn* ElementIndex::find(const ListNode& items, Away&& away, Visit&& visit) {
    if (items_ != &items || (stamp_ != changes_.value && !follow())) restart(items);
    for (size_t from = 0;;) {
        if (const drawn* hit = visitRecorded(from, elements_.size(), away, visit)) return hit;
        if (complete_) return nullptr;
        from = elements_.size();
        walk(from < kFirstWalk ? kFirstWalk : from > kLongestWalk ? kLongestWalk : from);
    }
}

template <class F>
void ElementIndex::near(const ListNode& items, const Box& q, F&& f) {
    fill(items);
    if (!cells_.valid || cells_.restarts != restarts_) buildCells();
    auto meets = [&](uint32_t i) {
        const OuterBox& b = boxes_[i];
        return elements_[i] && !(double(b.maxX) < q.minX || double(b.maxY) < q.minY ||
                                 double(b.minX) > q.maxX || double(b.minY) > q.maxY);
    };
    for (uint32_t i : cells_.apart)
        if (meets(i)) f(size_t(i));
    if (cells_.nx == 0) return;
    const int x0 = cellX(q.minX), x1 = cellX(q.maxX), y0 = cellY(q.minY), y1 = cellY(q.maxY);
    for (int cy = y0; cy <= y1; ++cy) {
        const size_t row = size_t(cy) * size_t(cells_.nx);
        for (int cx = x0; cx <= x1; ++cx)
            for (uint32_t k = cells_.starts[row + size_t(cx)];
                 k < cells_.starts[row + size_t(cx) + 1]; ++k)
                if (meets(cells_.slots[k])) f(size_t(cells_.slots[k]));
    }
}

template <class Away, class Visit>
const drawn* ElementIndex::visitRecorded(size_t from, size_t n, Away& away, Visit& visit) const {
    // In blocks: the candidates of the next block are looked up and fetched while those of this
    // one are visited.
    constexpr size_t kBlock = 16;
    const drawn* const* elements = elements_.data();
    const OuterBox* boxes = boxes_.data();
    uint32_t current[kBlock], ahead[kBlock];
    size_t currentCount = 0, aheadCount = 0;
    auto gather = [&](size_t start, uint32_t* out, size_t& count) {
        count = 0;
        const size_t end = start + kBlock < n ? start + kBlock : n;
        for (size_t i = start; i < end; ++i)
            if (!away(boxes[i]) && elements[i]) {
                out[count++] = uint32_t(i - start);
                Prefetch(elements[i]);
            }
    };
    if (from < n) gather(from, current, currentCount);
    for (size_t start = from; start < n; start += kBlock) {
        if (start + kBlock < n) gather(start + kBlock, ahead, aheadCount);
        for (size_t k = 0; k < currentCount; ++k) {
            const size_t slot = start + current[k];
            const drawn* d = elements[slot];
            if constexpr (std::is_invocable_v<Visit&, const drawn*, size_t>) {
                if (visit(d, slot)) return d;
            } else {
                if (visit(d)) return d;
            }
        }
        for (size_t k = 0; k < aheadCount; ++k) current[k] = ahead[k];
        currentCount = aheadCount;
        aheadCount = 0;
    }
    return nullptr;
}

}  // namespace zevo
