#include "board/model/element_index.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace zevo {

namespace {

constexpr size_t kNoSlot = size_t(-1);
// Each element looked for reads the whole array of pointers (a millisecond for a million): past
// this many, starting again costs about as much.
constexpr size_t kMostSearches = 6;

}  // namespace

uint64_t ElementIndex::NewEpoch() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

void ElementIndex::logChange(size_t slot) {
    // A log longer than the index says no more than "everything": a new epoch says it in less.
    if (changed_.size() >= std::max<size_t>(65536, elements_.size())) {
        changed_.clear();
        epoch_ = NewEpoch();
        return;
    }
    changed_.push_back(uint32_t(slot));
}

void ElementIndex::restart(const ListNode& items) {
    items_ = &items;
    stamp_ = changes_.value;
    complete_ = false;
    ++restarts_;
    epoch_ = NewEpoch();
    changed_.clear();
    removed_ = 0;
    elements_.clear();
    boxes_.clear();
    stack_.assign(1, Frame{&items, nullptr});
    resume_ = items.next;
}

void ElementIndex::fill(const ListNode& items) {
    if (items_ != &items || (stamp_ != changes_.value && !follow())) restart(items);
    if (!complete_) walk(size_t(-1));
}

void ElementIndex::walk(size_t count) {
    const ListNode* node = resume_;
    for (size_t taken = 0; taken < count;) {
        const Frame top = stack_.back();
        if (node == top.head) {
            stack_.pop_back();
            if (stack_.empty()) {
                complete_ = true;
                resume_ = nullptr;
                return;
            }
            node = top.owner->next;
            continue;
        }
        const container* c = AsElement(node);
        if (c->kind == kGroup) {
            const group* g = AsGroup(c);
            stack_.push_back({&g->members, g});
            node = g->members.next;
            continue;
        }
        if (IsDrawn(c)) {
            const drawn* d = AsDrawn(c);
            elements_.push_back(d);
            boxes_.push_back(Outward(d->bounds));
            ++taken;
        }
        node = node->next;
    }
    resume_ = node;
}

}  // namespace zevo

namespace zevo {

void ElementIndex::record(const drawn* d) {
    elements_.push_back(d);
    boxes_.push_back(Outward(d->bounds));
}

size_t ElementIndex::slotOf(const ListNode* node) const {
    // Newest first: an edit is most often of what was drawn last.
    for (size_t i = elements_.size(); i-- > 0;)
        if (elements_[i] == node) return i;
    return kNoSlot;
}

bool ElementIndex::follow() {
    const uint64_t now = changes_.value;
    if (!complete_ || now - stamp_ > ChangeCount::kKept) return false;
    // What each node went through: its first and its last link change, and new bounds. Nodes
    // are only compared until it is known that they are in the document (one that was unlinked
    // may have gone back to its pool).
    struct Seen {
        const ListNode* node;
        ChangeCount::Kind first, last;
    };
    Seen seen[ChangeCount::kKept];
    size_t count = 0;
    for (uint64_t v = stamp_ + 1; v <= now; ++v) {
        const ChangeCount::Change& c = changes_.change(v);
        if (c.kind == ChangeCount::kOther) return false;
        size_t k = 0;
        while (k < count && seen[k].node != c.node) ++k;
        if (k == count) seen[count++] = {c.node, ChangeCount::kOther, ChangeCount::kOther};
        if (c.kind == ChangeCount::kMoved) continue;
        if (seen[k].first == ChangeCount::kOther) seen[k].first = c.kind;
        seen[k].last = c.kind;
    }
    size_t searches = 0;
    const ListNode* appended[ChangeCount::kKept];
    size_t appendedCount = 0;
    for (size_t k = 0; k < count; ++k) {
        const Seen& s = seen[k];
        if (s.last == ChangeCount::kOther) {
            // New bounds of an element that stayed where it was (or of a node outside the
            // document, which is not found).
            if (++searches > kMostSearches) return false;
            const size_t i = slotOf(s.node);
            if (i != kNoSlot) {
                boxes_[i] = Outward(elements_[i]->bounds);
                cells_.apart.push_back(uint32_t(i));
                logChange(i);
            }
            continue;
        }
        if (s.first == ChangeCount::kUnlinked) {
            // It was in a list before: as an element of the document it is in the index. A
            // group (whose elements are) or a node of another list cannot be followed.
            if (++searches > kMostSearches) return false;
            const size_t i = slotOf(s.node);
            if (i == kNoSlot) return false;
            elements_[i] = nullptr;
            boxes_[i] = {};
            ++removed_;
            logChange(i);
        }
        if (s.last == ChangeCount::kLinked) appended[appendedCount++] = s.node;
    }
    const size_t before = elements_.size();
    if (appendedCount > 0) {
        // The nodes linked now must be the last ones of the board's own list, or inside those
        // (a group filled before it was appended).
        const ListNode* const* end = appended + appendedCount;
        const ListNode* first = items_->prev;
        const ListNode* const* begin = appended;
        while (first != items_ && std::find(begin, end, first) != end) first = first->prev;
        for (size_t k = 0; k < appendedCount; ++k) {
            bool inTail = false;
            for (const ListNode* n = first->next; n != items_ && !inTail; n = n->next)
                inTail = n == appended[k];
            for (const group* g = AsElement(appended[k])->parent; g && !inTail; g = g->parent)
                for (const ListNode* n = first->next; n != items_ && !inTail; n = n->next)
                    inTail = n == g;
            if (!inTail) return false;
        }
        for (const ListNode* n = first->next; n != items_; n = n->next) {
            const container* c = AsElement(n);
            if (IsDrawn(c))
                record(AsDrawn(c));
            else if (c->kind == kGroup)
                recordTree(AsGroup(c)->members);
        }
    }
    // Many empty slots cost every walk: better start again.
    if (removed_ > 64 && removed_ > elements_.size() / 8) return false;
    for (size_t i = before; i < elements_.size(); ++i) cells_.apart.push_back(uint32_t(i));
    // Elements kept apart are offered to every search: past a few, the grid is made again.
    if (cells_.apart.size() > 256) cells_.valid = false;
    stamp_ = now;
    return true;
}

void ElementIndex::buildCells() {
    Cells& c = cells_;
    c.valid = true;
    c.restarts = restarts_;
    c.nx = c.ny = 0;
    c.starts.clear();
    c.slots.clear();
    c.apart.clear();
    const size_t n = elements_.size();
    double minX = 0, minY = 0, maxX = 0, maxY = 0, extent = 0;
    size_t finite = 0;
    for (size_t i = 0; i < n; ++i) {
        const OuterBox& b = boxes_[i];
        if (!elements_[i] || !std::isfinite(b.minX) || !std::isfinite(b.minY) ||
            !std::isfinite(b.maxX) || !std::isfinite(b.maxY))
            continue;
        if (finite++ == 0) minX = b.minX, minY = b.minY, maxX = b.maxX, maxY = b.maxY;
        minX = std::min(minX, double(b.minX)), minY = std::min(minY, double(b.minY));
        maxX = std::max(maxX, double(b.maxX)), maxY = std::max(maxY, double(b.maxY));
        extent += double(b.maxX - b.minX) + double(b.maxY - b.minY);
    }
    if (finite == 0) {
        for (size_t i = 0; i < n; ++i)
            if (elements_[i]) c.apart.push_back(uint32_t(i));
        return;
    }
    // Cells about as wide as an element is on average (so that most lie in a few), with about
    // two elements to a cell where they are small, and at most a few million cells.
    const double w = std::max(maxX - minX, 1e-3), h = std::max(maxY - minY, 1e-3);
    const double cellsWanted = std::clamp(double(finite) / 2, 1.0, 4.0e6);
    c.size = std::max(
        {std::sqrt(w * h / cellsWanted), extent / double(finite) / 2, std::max(w, h) / 2048});
    c.ox = minX, c.oy = minY;
    c.nx = int(w / c.size) + 1;
    c.ny = int(h / c.size) + 1;
    const size_t cellCount = size_t(c.nx) * size_t(c.ny);
    c.starts.assign(cellCount + 1, 0);
    // An element over more cells than this is kept apart.
    constexpr int kMostCells = 64;
    auto span = [&](size_t i, int& x0, int& x1, int& y0, int& y1) {
        const OuterBox& b = boxes_[i];
        if (!elements_[i]) return false;
        if (!std::isfinite(b.minX) || !std::isfinite(b.minY) || !std::isfinite(b.maxX) ||
            !std::isfinite(b.maxY)) {
            x0 = 1, x1 = 0;  // apart
            return true;
        }
        x0 = cellX(b.minX), x1 = cellX(b.maxX), y0 = cellY(b.minY), y1 = cellY(b.maxY);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) x0 = 1, x1 = 0;
        return true;
    };
    int x0, x1, y0, y1;
    for (size_t i = 0; i < n; ++i) {
        if (!span(i, x0, x1, y0, y1)) continue;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) ++c.starts[size_t(y) * size_t(c.nx) + size_t(x) + 1];
    }
    for (size_t k = 0; k < cellCount; ++k) c.starts[k + 1] += c.starts[k];
    c.slots.resize(c.starts[cellCount]);
    std::vector<uint32_t> next(c.starts.begin(), c.starts.end() - 1);
    for (size_t i = 0; i < n; ++i) {
        if (!span(i, x0, x1, y0, y1)) continue;
        if (x0 > x1) {
            c.apart.push_back(uint32_t(i));
            continue;
        }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                c.slots[next[size_t(y) * size_t(c.nx) + size_t(x)]++] = uint32_t(i);
    }
}

void ElementIndex::recordTree(const ListNode& head) {
    for (const ListNode* n = head.next; n != &head; n = n->next) {
        const container* c = AsElement(n);
        if (IsDrawn(c))
            record(AsDrawn(c));
        else if (c->kind == kGroup)
            recordTree(AsGroup(c)->members);
    }
}

}  // namespace zevo
