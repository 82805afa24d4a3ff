#include "checks/connectivity.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "checks/box_grid.h"

namespace zevo {

bool ConductorLayer(const Board& b, int layer) {
    return b.HasRole(layer, kRolePattern | kRoleJumper);
}

bool ThroughLayer(const Board& b, int layer) {
    return (b.HasRole(layer, kRoleHole) && !b.HasRole(layer, kRoleNonThrough)) ||
           b.HasRole(layer, kRoleJumper);
}

bool IsThroughLand(const Board& b, const container* e) {
    return e->kind == kLand && !AsDrawn(e)->square() && ThroughLayer(b, AsDrawn(e)->layer);
}

namespace {

const group* FirstSubgroup(const group* g) {
    for (container* c : Items(g->members))
        if (c->kind == kGroup) return AsGroup(c);
    return nullptr;
}

}  // namespace

int AreaLayer(const group* area) {
    const group* sub = FirstSubgroup(area);
    if (!sub || sub->members.emptyList()) return -1;
    const container* first = AsElement(sub->members.next);
    return IsDrawn(first) ? AsDrawn(first)->layer : -1;
}

int ConductorLayerOf(const container* e) {
    if (IsDrawn(e)) return AsDrawn(e)->layer;
    if (e->kind == kGroup) return AreaLayer(AsGroup(e));
    return -1;
}

int NodePoints(const drawn* e, Point out[3]) {
    switch (e->kind) {
        case kLand:
            out[0] = e->ref();
            return 1;
        case kLine:
            out[0] = e->ref();
            out[1] = static_cast<const line*>(e)->end();
            return 2;
        case kArc:
            out[0] = static_cast<const arc*>(e)->startPt;
            out[1] = static_cast<const arc*>(e)->endPt;
            return 2;
        case kRect:
            out[0] = e->ref();
            out[1] = static_cast<const rect*>(e)->e1;
            out[2] = static_cast<const rect*>(e)->e2;
            return 3;
        default:
            return 0;
    }
}

namespace {

void ClearMarks(const ListNode& head) {
    ForEachDrawn(head, [](drawn* d) { d->mark = 0; });
}

void Gather(const Board& b, const ListNode& head, std::vector<container*>& out) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            const group* g = AsGroup(c);
            if (g->type == Reserved().painted && ConductorLayer(b, AreaLayer(g)))
                out.push_back(c);
            else
                Gather(b, g->members, out);
        } else if (IsDrawn(c)) {
            if (IsThroughLand(b, c) || ConductorLayer(b, AsDrawn(c)->layer)) out.push_back(c);
        }
    }
}

// Inside one fill stroke of radius r: strictly inside the stroke's box, then across and along.
bool OnStroke(const line* l, Point p, double r) {
    const Box& bb = l->bounds;
    if ((p.x - bb.minX) * (p.x - bb.maxX) >= 0 || (p.y - bb.minY) * (p.y - bb.maxY) >= 0)
        return false;
    const double dx = l->ex - l->x, dy = l->ey - l->y;
    if (std::fabs(dx) >= kEps && std::fabs(dy) >= kEps) {
        const double t = ((p.x - l->x) * dx + (p.y - l->y) * dy) / (dx * dx + dy * dy);
        const Point foot{l->x + t * dx, l->y + t * dy};
        if (!Between(foot.x, l->x, l->ex) || !Between(foot.y, l->y, l->ey)) return false;
        return std::sqrt(DistSq(p, foot)) < r;
    }
    if (std::fabs(dx) < kEps) return std::fabs(p.x - l->x) < r && Between(p.y, l->y, l->ey);
    return std::fabs(p.y - l->y) < r && Between(p.x, l->x, l->ex);
}

// The line starts and arc ends of every sub-group: the points by which two areas meet.
template <class F>
bool AnyAreaPoint(const group* area, F&& f) {
    for (container* s : Items(area->members)) {
        if (s->kind != kGroup) continue;
        for (container* c : Items(AsGroup(s)->members)) {
            if (c->kind == kLine && f(AsDrawn(c)->ref())) return true;
            if (c->kind == kArc && f(static_cast<const arc*>(c)->endPt)) return true;
        }
    }
    return false;
}

}  // namespace

std::vector<container*> GatherConductors(Board& b) {
    ClearMarks(b.items);
    std::vector<container*> out;
    Gather(b, b.items, out);
    return out;
}

bool InFilledArea(const Board& b, const group* area, Point p) {
    for (container* s : Items(area->members)) {
        if (s->kind != kGroup) continue;
        const group* sub = AsGroup(s);
        if (sub->type != Reserved().lines) {
            for (container* c : Items(sub->members))
                if (IsDrawn(c) && AsDrawn(c)->isNodePoint(p)) return true;
            continue;
        }
        if (sub->members.emptyList() || AsElement(sub->members.next)->kind != kLine) continue;
        const double r = b.roundHalf(AsDrawn(AsElement(sub->members.next))->aperture);
        for (container* c : Items(sub->members))
            if (c->kind == kLine && OnStroke(static_cast<const line*>(c), p, r)) return true;
    }
    return false;
}

bool Connected(const Board& b, const container* a, const container* c) {
    const bool sameLayer = ConductorLayerOf(a) == ConductorLayerOf(c);
    const bool aArea = a->kind == kGroup, cArea = c->kind == kGroup;
    if (aArea && cArea) {
        if (!sameLayer) return false;
        const group* ga = AsGroup(a);
        const group* gc = AsGroup(c);
        return AnyAreaPoint(gc, [&](Point p) { return InFilledArea(b, ga, p); }) ||
               AnyAreaPoint(ga, [&](Point p) { return InFilledArea(b, gc, p); });
    }
    const bool aThrough = IsThroughLand(b, a), cThrough = IsThroughLand(b, c);
    // A land reaches across layers when either end of the pair is a through land it touches;
    // other pairs only within one layer.
    bool layersAllow = sameLayer;
    if (a->kind == kLand && aThrough) layersAllow = true;
    if (c->kind == kLand && cThrough) layersAllow = true;
    if (!layersAllow) return false;
    if (aArea || cArea) {
        const group* area = AsGroup(aArea ? a : c);
        const drawn* d = AsDrawn(aArea ? c : a);
        Point pts[3];
        const int n = NodePoints(d, pts);
        for (int i = 0; i < n; ++i)
            if (InFilledArea(b, area, pts[i])) return true;
        return false;
    }
    Point pts[3];
    const int n = NodePoints(AsDrawn(a), pts);
    const drawn* dc = AsDrawn(c);
    for (int i = 0; i < n; ++i)
        if (dc->isNodePoint(pts[i])) return true;
    return false;
}

void NumberNet(const Net& net, int number) {
    for (container* e : net) {
        if (e->kind == kGroup)
            ForEachDrawn(AsGroup(e)->members, [number](drawn* d) { d->mark = number; });
        else if (IsDrawn(e))
            AsDrawn(e)->mark = number;
    }
}

namespace {

// The flood fill with indexes in place of the scan of every remaining candidate. A member
// reaches only candidates whose node points lie within the coincidence distance of its own (a
// grid of node points), and filled areas through their fill strokes or outline points (found
// once for all, both ways, since the rules give the same answer in either order). What the
// indexes offer is put through the exact rules and taken in candidate order, so members come out
// exactly as the scan of the remaining candidates would give them.
class NetBuilder {
  public:
    NetBuilder(const Board& b, std::vector<container*> cands) : b_(b), cands_(std::move(cands)) {
        const uint32_t n = static_cast<uint32_t>(cands_.size());
        taken_.assign(n, false);
        stamp_.assign(n, 0);
        // Node points of every drawn candidate.
        std::vector<Box> boxes;
        for (uint32_t i = 0; i < n; ++i) {
            if (!IsDrawn(cands_[i])) continue;
            Point pts[3];
            const int k = NodePoints(AsDrawn(cands_[i]), pts);
            for (int j = 0; j < k; ++j) {
                boxes.push_back({pts[j].x, pts[j].y, pts[j].x, pts[j].y});
                pointOwner_.push_back(i);
            }
        }
        nodes_.build(boxes, 4 * kReach, 0);
        linkAreas();
    }

    bool taken(uint32_t i) const { return taken_[i]; }
    uint32_t size() const { return static_cast<uint32_t>(cands_.size()); }

    // Flood fill from candidate `seed` (not yet taken).
    void fill(uint32_t seed, Net& net) {
        taken_[seed] = true;
        queue_.clear();
        queue_.push_back(seed);
        for (size_t q = 0; q < queue_.size(); ++q) {
            const uint32_t cur = queue_[q];
            net.push_back(cands_[cur]);
            reach(cur);
            std::sort(found_.begin(), found_.end());
            for (uint32_t j : found_) {
                taken_[j] = true;
                queue_.push_back(j);
            }
        }
    }

  private:
    static constexpr double kReach = 0.0015;

    // The remaining candidates connected to `cur`, unordered, into found_.
    void reach(uint32_t cur) {
        found_.clear();
        ++tick_;
        const container* a = cands_[cur];
        for (uint32_t k = linkStart_[cur]; k < linkStart_[cur + 1]; ++k) {
            const uint32_t j = links_[k];
            if (!taken_[j] && stamp_[j] != tick_) stamp_[j] = tick_, found_.push_back(j);
        }
        if (!IsDrawn(a)) return;
        Point pts[3];
        const int n = NodePoints(AsDrawn(a), pts);
        for (int i = 0; i < n; ++i) {
            const Box q{pts[i].x - kReach, pts[i].y - kReach, pts[i].x + kReach, pts[i].y + kReach};
            nodes_.query(q, [&](uint32_t item) {
                const uint32_t j = pointOwner_[item];
                if (taken_[j] || stamp_[j] == tick_) return;
                stamp_[j] = tick_;
                if (Connected(b_, a, cands_[j])) found_.push_back(j);
            });
        }
    }

    // Every connection that involves a filled area, found from the area side through a grid of
    // fill strokes and outline node points, kept both ways in one array per candidate.
    void linkAreas() {
        const uint32_t n = size();
        std::vector<Box> strokeBoxes, outlineBoxes;
        std::vector<uint32_t> strokeOwner, outlineOwner;
        for (uint32_t i = 0; i < n; ++i) {
            if (cands_[i]->kind != kGroup) continue;
            for (container* s : Items(AsGroup(cands_[i])->members)) {
                if (s->kind != kGroup) continue;
                const group* sub = AsGroup(s);
                const bool strokes = sub->type == Reserved().lines;
                if (strokes &&
                    (sub->members.emptyList() || AsElement(sub->members.next)->kind != kLine))
                    continue;
                for (container* c : Items(sub->members)) {
                    if (!IsDrawn(c)) continue;
                    if (strokes) {
                        if (c->kind != kLine) continue;
                        strokeBoxes.push_back(AsDrawn(c)->bounds);
                        strokeOwner.push_back(i);
                    } else {
                        Point pts[3];
                        const int k = NodePoints(AsDrawn(c), pts);
                        for (int j = 0; j < k; ++j) {
                            outlineBoxes.push_back({pts[j].x, pts[j].y, pts[j].x, pts[j].y});
                            outlineOwner.push_back(i);
                        }
                    }
                }
            }
        }
        linkStart_.assign(n + 1, 0);
        if (strokeOwner.empty() && outlineOwner.empty()) return;
        BoxGrid strokeGrid, outlineGrid;
        strokeGrid.build(strokeBoxes, 4 * kReach, 1.0);
        outlineGrid.build(outlineBoxes, 4 * kReach, 0);

        std::vector<std::pair<uint32_t, uint32_t>> pairs;
        std::vector<uint32_t> areas;
        auto areasAt = [&](Point p) {
            strokeGrid.query({p.x, p.y, p.x, p.y},
                             [&](uint32_t k) { areas.push_back(strokeOwner[k]); });
            outlineGrid.query({p.x - kReach, p.y - kReach, p.x + kReach, p.y + kReach},
                              [&](uint32_t k) { areas.push_back(outlineOwner[k]); });
        };
        for (uint32_t i = 0; i < n; ++i) {
            areas.clear();
            const container* e = cands_[i];
            if (IsDrawn(e)) {
                Point pts[3];
                const int k = NodePoints(AsDrawn(e), pts);
                for (int j = 0; j < k; ++j) areasAt(pts[j]);
            } else {
                AnyAreaPoint(AsGroup(e), [&](Point p) {
                    areasAt(p);
                    return false;
                });
            }
            std::sort(areas.begin(), areas.end());
            areas.erase(std::unique(areas.begin(), areas.end()), areas.end());
            for (uint32_t a : areas) {
                if (a == i) continue;
                if (!Connected(b_, cands_[a], e)) continue;
                pairs.emplace_back(a, i);
                pairs.emplace_back(i, a);
            }
        }
        std::sort(pairs.begin(), pairs.end());
        pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
        links_.resize(pairs.size());
        for (size_t k = 0; k < pairs.size(); ++k) {
            ++linkStart_[pairs[k].first + 1];
            links_[k] = pairs[k].second;
        }
        for (uint32_t i = 0; i < n; ++i) linkStart_[i + 1] += linkStart_[i];
    }

    const Board& b_;
    std::vector<container*> cands_;
    std::vector<bool> taken_;
    std::vector<uint32_t> stamp_;
    uint32_t tick_ = 0;
    BoxGrid nodes_;
    std::vector<uint32_t> pointOwner_;
    std::vector<uint32_t> linkStart_;
    std::vector<uint32_t> links_;
    std::vector<uint32_t> queue_;
    std::vector<uint32_t> found_;
};

}  // namespace

std::optional<std::vector<Net>> BuildNets(Board& b, ProgressMonitor* monitor) {
    NetBuilder builder(b, GatherConductors(b));
    std::vector<Net> nets;
    size_t placed = 0;
    for (uint32_t seed = 0; seed < builder.size(); ++seed) {
        if (builder.taken(seed)) continue;
        Net net;
        builder.fill(seed, net);
        placed += net.size();
        NumberNet(net, static_cast<int>(nets.size() + 1));
        nets.push_back(std::move(net));
        if (monitor && nets.size() % kProgressStep == 0 && !monitor->pump(placed, builder.size()))
            return std::nullopt;
    }
    return nets;
}

namespace {

// One net from its start, found through the board's index of drawn elements rather than through
// a gathered conductor set: the conductors that can join a member are those with an element
// whose bounds meet the member's node points (or, for a filled area, the bounds of its
// elements), as the node points of an element lie in its bounds and an area is reached only on
// its strokes or outline points. The candidates found are put through the exact rules with the
// member as the one expanded, and taken in document order, which is the order of their (first)
// drawn element in the index: so the members come out as the flood fill over the whole conductor
// set gives them.
class OneNet {
  public:
    explicit OneNet(Board& b) : b_(b), index_(b.drawnIndex) {}

    // The conductor a drawn element belongs to: the outermost filled area on a conductor layer
    // above it, or the element itself when it is a conductor; none otherwise.
    const container* conductorOf(const drawn* d) const {
        const container* area = nullptr;
        for (const group* g = d->parent; g; g = g->parent)
            if (g->type == painted_ && ConductorLayer(b_, AreaLayer(g))) area = g;
        if (area) return area;
        return IsThroughLand(b_, d) || ConductorLayer(b_, d->layer) ? d : nullptr;
    }

    bool collect(container* start, Net& net) {
        index_.fill(b_.items);
        clearMarks();
        if (!isCandidate(start)) return false;
        // The conductor of each element offered, worked out once (no conductor: `none`). From
        // calloc: of a big board's slots only those near the net are ever touched.
        conductors_.reset(static_cast<const void**>(
            std::calloc(std::max<size_t>(index_.recorded(), 1), sizeof(const void*))));
        if (!conductors_) return false;
        taken_.insert(start);
        std::vector<container*> queue{start};
        std::vector<std::pair<size_t, container*>> found;
        for (size_t q = 0; q < queue.size(); ++q) {
            container* cur = queue[q];
            net.push_back(cur);
            found.clear();
            ++tick_;
            auto offer = [&](size_t slot) {
                const void*& known = conductors_.get()[slot];
                if (!known) {
                    const container* of = conductorOf(index_.element(slot));
                    known = of ? static_cast<const void*>(of) : &kNone;
                }
                if (known == &kNone) return;
                const container* c = static_cast<const container*>(known);
                if (taken_.count(c)) return;
                uint64_t& seen = tested_[c];
                if (seen == tick_) return;
                seen = tick_;
                if (Connected(b_, cur, c))
                    found.push_back({orderOf(c, slot), const_cast<container*>(c)});
            };
            if (IsDrawn(cur)) {
                Point pts[3];
                const int n = NodePoints(AsDrawn(cur), pts);
                for (int i = 0; i < n; ++i)
                    index_.near(b_.items,
                                {pts[i].x - kReach, pts[i].y - kReach, pts[i].x + kReach,
                                 pts[i].y + kReach},
                                offer);
            } else {
                // The bounds of the whole area: its elements lie close together, and one search
                // offers far fewer elements twice than one per element would.
                Box area;
                bool none = true;
                ForEachDrawn(AsGroup(cur)->members, [&](const drawn* d) {
                    if (none)
                        area = d->bounds;
                    else
                        area.grow(d->bounds);
                    none = false;
                });
                if (!none)
                    index_.near(b_.items,
                                {area.minX - kReach, area.minY - kReach, area.maxX + kReach,
                                 area.maxY + kReach},
                                offer);
            }
            std::sort(found.begin(), found.end());
            for (const auto& [order, c] : found) {
                taken_.insert(c);
                queue.push_back(c);
            }
        }
        return true;
    }

  private:
    static constexpr double kReach = 0.0015;
    // Boards of this many elements have their marks cleared by two threads.
    static constexpr size_t kClearInTwo = 100000;

    // Every mark to 0, as the gathering of the conductor set does.
    void clearMarks() {
        auto clear = [this](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i)
                if (const drawn* d = index_.element(i); d && d->mark != 0)
                    const_cast<drawn*>(d)->mark = 0;
        };
        const size_t n = index_.recorded();
        if (n < kClearInTwo) {
            clear(0, n);
            return;
        }
        std::thread other(clear, n / 2, n);
        clear(0, n / 2);
        other.join();
    }

    struct Free {
        void operator()(const void** p) const { std::free(p); }
    };

    // A start that the conductor set holds: a conductor not inside a conductor area, or the
    // outermost such area.
    bool isCandidate(const container* start) const {
        if (IsDrawn(start)) return conductorOf(AsDrawn(start)) == start;
        if (start->kind != kGroup) return false;
        const group* g = AsGroup(start);
        if (g->type != painted_ || !ConductorLayer(b_, AreaLayer(g))) return false;
        for (const group* a = g->parent; a; a = a->parent)
            if (a->type == painted_ && ConductorLayer(b_, AreaLayer(a))) return false;
        return true;
    }

    // The place of a conductor in document order: the slot of its element, or of the first
    // element of an area (its elements have neighbouring slots; `slot` is one of them).
    size_t orderOf(const container* c, size_t slot) {
        if (IsDrawn(c)) return slot;
        auto [it, fresh] = areaOrder_.try_emplace(c, slot);
        if (!fresh) return it->second;
        size_t first = slot;
        while (first > 0) {
            const drawn* d = index_.element(first - 1);
            if (d) {
                bool inside = false;
                for (const group* g = d->parent; g && !inside; g = g->parent) inside = g == c;
                if (!inside) break;
            }
            --first;
        }
        it->second = first;
        return first;
    }

    Board& b_;
    ElementIndex& index_;
    const Istr painted_ = Reserved().painted;
    std::unique_ptr<const void*[], Free> conductors_;
    // Stands for "no conductor" in conductors_.
    static constexpr char kNone = 0;
    std::unordered_set<const container*> taken_;
    std::unordered_map<const container*, uint64_t> tested_;
    std::unordered_map<const container*, size_t> areaOrder_;
    uint64_t tick_ = 0;
};

}  // namespace

bool CollectNet(Board& b, container* start, Net& net, int number) {
    net.clear();
    OneNet one(b);
    if (!one.collect(start, net)) {
        net.clear();
        return false;
    }
    NumberNet(net, number);
    return true;
}

}  // namespace zevo
