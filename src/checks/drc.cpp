#include "checks/drc.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "checks/box_grid.h"
#include "checks/connectivity.h"
#include "checks/pair_gap.h"
#include "paths/file_io.h"
#include "text/strings.h"

namespace zevo {

namespace {

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// A number at the start of `s` (what follows it is ignored); false when there is none.
template <class T>
bool LeadingNumber(std::string_view s, T& v) {
    s = TrimLeft(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc();
}

bool ReadGap(std::string_view value, double& gap) {
    double d = 0;
    if (!LeadingNumber(value, d)) return false;
    gap = d - 0.00001;
    return gap >= 0.00999 && gap <= 10;
}

bool ReadLayer(std::string_view value, int& layer) {
    long v = 0;
    if (!LeadingNumber(value, v) || v < 0 || v > 255) return false;
    layer = static_cast<int>(v);
    return true;
}

// One "Space" line; false for a bad rule.
bool ReadRule(std::string_view items, const Board& b, DrcRule& r) {
    bool bad = false, anyGap = false;
    bool le1 = false, le2 = false, clr = false;
    while (!items.empty()) {
        const size_t comma = items.find(',');
        std::string_view item = TrimLeft(items.substr(0, comma));
        items = comma == std::string_view::npos ? std::string_view() : items.substr(comma + 1);
        auto key = [&](std::string_view k) {
            if (item.substr(0, k.size()) != k) return false;
            item.remove_prefix(k.size());
            return true;
        };
        if (key("LE1=")) {
            le1 = true;
            bad |= !ReadLayer(item, r.le1);
        } else if (key("LE2=")) {
            le2 = true;
            bad |= !ReadLayer(item, r.le2);
        } else if (key("CLR=")) {
            clr = true;
            bad |= !ReadLayer(item, r.clr);
        } else if (key("P-P=")) {
            anyGap = true;
            bad |= !ReadGap(item, r.pp);
        } else if (key("P-L=") || key("L-P=")) {
            anyGap = true;
            bad |= !ReadGap(item, r.pl);
        } else if (key("L-L=")) {
            anyGap = true;
            bad |= !ReadGap(item, r.ll);
        }
    }
    if (bad || !anyGap || (!le1 && !le2)) return false;
    if (!le1) r.le1 = r.le2;
    if (!le2) r.le2 = r.le1;
    if (clr) {
        if (!b.HasRole(r.clr, kRoleCut)) return false;
        if (r.clr == r.le1 && r.clr == r.le2) return false;
        const bool hole1 = b.HasRole(r.le1, kRoleHole), hole2 = b.HasRole(r.le2, kRoleHole);
        if (hole1 == hole2) return false;
        r.holeLayer = hole1 ? r.le1 : r.le2;
        r.otherLayer = hole1 ? r.le2 : r.le1;
    }
    return true;
}

}  // namespace

DrcRules ReadDrcRules(std::string_view text, const Board& b) {
    DrcRules out;
    bool inSection = false;
    bool badOutput = false;
    int lineNo = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view ln = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNo;
        if (!ln.empty() && ln.back() == '\r') ln.remove_suffix(1);
        if (!inSection) {
            inSection = ln.substr(0, 10) == "[DrcDatas]";
            continue;
        }
        if (ln.substr(0, 12) == "OutputLayer:") {
            long v = 0;
            if (LeadingNumber(ln.substr(12), v)) {
                badOutput = v < 0 || v > 255;
                if (!badOutput) out.outputLayer = static_cast<int>(v);
            }
        } else if (ln.substr(0, 6) == "Space:") {
            if (out.rules.size() >= kMaxDrcRules) continue;
            DrcRule r;
            if (!ReadRule(ln.substr(6), b, r)) {
                out.status = DrcRulesStatus::kBadRule;
                out.badLine = lineNo;
                return out;
            }
            out.rules.push_back(r);
        }
    }
    if (!inSection)
        out.status = DrcRulesStatus::kNoSection;
    else if (badOutput)
        out.status = DrcRulesStatus::kBadOutputLayer;
    else if (out.rules.empty())
        out.status = DrcRulesStatus::kNoRule;
    else
        out.status = DrcRulesStatus::kOk;
    return out;
}

namespace {

void Chain(const ListNode& head, const group* top, const std::array<bool, kLayers>& wanted,
           std::vector<const drawn*>& out, std::vector<const group*>& tops) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            Chain(AsGroup(c)->members, top ? top : AsGroup(c), wanted, out, tops);
        } else if (IsDrawn(c)) {
            const drawn* d = AsDrawn(c);
            if (d->layer >= 0 && d->layer < kLayers && wanted[d->layer]) {
                out.push_back(d);
                tops.push_back(top);
            }
        }
    }
}

// Lands and rectangles, and lines or arcs with a pin number, count as lands.
bool CountsAsLand(const drawn* e) {
    return e->kind == kLand || e->kind == kRect || e->pinNo != 0;
}

}  // namespace

DrcSession::DrcSession(const Board& b, const DrcRules& rules) : b_(b), rules_(rules) {
    std::array<bool, kLayers> wanted{}, clearanceLayer{};
    for (const DrcRule& r : rules.rules) {
        for (int l : {r.le1, r.le2})
            if (l >= 0 && l < kLayers) wanted[l] = true;
        if (r.clr >= 0 && r.clr < kLayers && b.HasRole(r.clr, kRoleCut))
            clearanceLayer[r.clr] = true;
        margin_ = std::max({margin_, r.pp, r.pl, r.ll});
    }
    std::vector<const drawn*> elements;
    std::vector<const group*> tops;
    Chain(b.items, nullptr, wanted, elements, tops);
    chain_.reserve(elements.size());
    for (size_t i = 0; i < elements.size(); ++i) chain_.push_back({elements[i], tops[i]});
    ForEachDrawn(b.items, [&](drawn* d) {
        if (d->kind == kLand && !d->square() && d->layer >= 0 && d->layer < kLayers &&
            clearanceLayer[d->layer])
            clearance_.push_back(static_cast<const land*>(d));
    });
    std::stable_sort(clearance_.begin(), clearance_.end(),
                     [](const land* x, const land* y) { return x->layer < y->layer; });
}

bool DrcSession::exemptByClearance(const DrcRule& r, const drawn* a, const drawn* b) const {
    const drawn* hole = nullptr;
    const drawn* other = nullptr;
    auto isHoleLand = [&](const drawn* e) {
        return e->kind == kLand && !e->square() && e->layer == r.holeLayer;
    };
    if (isHoleLand(a) && b->layer == r.otherLayer)
        hole = a, other = b;
    else if (isHoleLand(b) && a->layer == r.otherLayer)
        hole = b, other = a;
    else
        return false;
    const double gap = (other->kind == kLand || other->kind == kRect) ? r.ll : r.pl;
    if (!(gap > 0)) return false;
    const double holeHalf = hole->halfSize(b_);
    // Clearance lands are few and sorted by layer: the layer's run, then the centre.
    auto it = std::lower_bound(clearance_.begin(), clearance_.end(), r.clr,
                               [](const land* x, int layer) { return x->layer < layer; });
    for (; it != clearance_.end() && (*it)->layer == r.clr; ++it)
        if (SamePoint((*it)->ref(), hole->ref()) && (*it)->halfSize(b_) - holeHalf > gap)
            return true;
    return false;
}

bool DrcSession::padExempt(const drawn* a, const drawn* b) const {
    for (auto [x, y] : {std::pair{a, b}, std::pair{b, a}}) {
        if (!b_.HasRole(x->layer, kRoleHole) || !x->parent || x->parent->type != Reserved().pad)
            continue;
        for (container* c : Items(x->parent->members))
            if (IsDrawn(c) && AsDrawn(c)->layer == y->layer) return true;
    }
    return false;
}

void DrcSession::testPair(size_t i, size_t j) {
    const Candidate& ca = chain_[i];
    const Candidate& cb = chain_[j];
    if (ca.top && ca.top == cb.top &&
        ((ca.top->type && ca.top->type[0] == ' ') || ca.top->attribute == Reserved().noDrc))
        return;
    const drawn* a = ca.e;
    const drawn* b = cb.e;
    if (a->mark != 0 && a->mark == b->mark) return;
    const Box& ba = a->bounds;
    const Box& bb = b->bounds;
    if (bb.minX - ba.maxX > margin_ || ba.minX - bb.maxX > margin_ || bb.minY - ba.maxY > margin_ ||
        ba.minY - bb.maxY > margin_)
        return;
    bool computed = false;
    PairGapResult g;
    for (const DrcRule& r : rules_.rules) {
        if (!r.joins(a->layer, b->layer)) continue;
        if (r.clr != kNoLayer && exemptByClearance(r, a, b)) continue;
        if (!computed) {
            if (!PairGap(b_, b, a, g)) return;
            computed = true;
        }
        if (g.overlap) {
            const bool oneLayer = a->layer == b->layer;
            if (oneLayer && !ConductorLayer(b_, a->layer) &&
                !(b_.HasRole(a->layer, kRoleHole) && !b_.HasRole(a->layer, kRoleNonThrough)))
                return;
            if (padExempt(a, b)) return;
            violations.push_back(
                {oneLayer ? DrcViolation::kOverlapOneLayer : DrcViolation::kOverlapTwoLayers,
                 g.contact, a, b, 0, 0});
            return;
        }
        const bool landA = CountsAsLand(a), landB = CountsAsLand(b);
        const double required = landA && landB ? r.ll : landA || landB ? r.pl : r.pp;
        if (g.gap < required) {
            if (padExempt(a, b)) return;
            const Point mid{(g.nearA.x + g.nearB.x) / 2, (g.nearA.y + g.nearB.y) / 2};
            violations.push_back({DrcViolation::kGap, mid, a, b, g.gap, required});
            return;
        }
    }
}

int DrcMarkAperture(const Board& b) {
    int best = 0;
    for (int i = 1; i < kApertures; ++i)
        if (b.roundAp[i] < b.roundAp[best]) best = i;
    return best;
}

namespace {

// Cuts the segment s-e to the box; false when nothing of it lies inside. An end inside the box
// keeps its exact coordinates.
bool ClipToBox(Point& s, Point& e, const Box& box) {
    const double dx = e.x - s.x, dy = e.y - s.y;
    double t0 = 0, t1 = 1;
    // The part of the segment with p * t <= q.
    auto keep = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!keep(-dx, s.x - box.minX) || !keep(dx, box.maxX - s.x) || !keep(-dy, s.y - box.minY) ||
        !keep(dy, box.maxY - s.y))
        return false;
    auto inside = [&](Point p) {
        return Point{std::clamp(p.x, box.minX, box.maxX), std::clamp(p.y, box.minY, box.maxY)};
    };
    const Point from = s;
    if (t1 < 1) e = inside({from.x + t1 * dx, from.y + t1 * dy});
    if (t0 > 0) s = inside({from.x + t0 * dx, from.y + t0 * dy});
    return true;
}

}  // namespace

group* MakeDrcMark(Board& b, DrcViolation::Kind kind, Point at, int layer, int aperture) {
    group* g = b.CreateGroup(Reserved().drc);
    // The mark stays on the board with its pen, or the cleanup of the next opening would take
    // it away: its strokes are cut to the board inset by the pen's half size (and a hair more,
    // for the digits the file keeps).
    const double inset = b.roundHalf(aperture) + 1e-6;
    const Box area{inset, inset, b.sizeX - inset, b.sizeY - inset};
    const bool roomy = area.minX < area.maxX && area.minY < area.maxY;
    auto draw = [&](Point centre) {
        auto add = [&](double x0, double y0, double x1, double y1) {
            Point s{centre.x + x0, centre.y + y0}, e{centre.x + x1, centre.y + y1};
            if (roomy) {
                if (!ClipToBox(s, e, area)) return;
                // What the cut leaves of a stroke that only touches the edge draws nothing.
                if (std::hypot(e.x - s.x, e.y - s.y) < 0.001) return;
            }
            b.AppendElement(g, b.CreateLine(layer, aperture, false, s, e));
        };
        if (kind == DrcViolation::kOverlapOneLayer) {
            add(0, -1, 0, 1);
            add(-0.866, 0.5, 0.866, -0.5);
            add(0.866, 0.5, -0.866, -0.5);
        } else {
            add(-0.707, 0.707, 0.707, -0.707);
            add(0.707, 0.707, -0.707, -0.707);
        }
    };
    draw(at);
    // A point off the board (an element beyond its edge) is marked at the nearest place on it.
    if (g->members.emptyList() && roomy)
        draw({std::clamp(at.x, area.minX, area.maxX), std::clamp(at.y, area.minY, area.maxY)});
    return g;
}

DrcReport DrcCommand(Board& b, const DrcRules& rules, ProgressMonitor* monitor) {
    DrcReport report;
    if (rules.status == DrcRulesStatus::kBadRule) {
        report.messages.push_back({std::string(TableText(kMsgDrcBadRules)), true});
        return report;
    }
    if (rules.status != DrcRulesStatus::kOk) return report;
    EraseDrcMarks(b);
    const int aperture = DrcMarkAperture(b);
    if (!BuildNets(b, monitor)) {
        report.aborted = true;
        return report;
    }
    DrcSession session(b, rules);
    const size_t n = session.size();
    std::vector<Box> boxes(n);
    double extent = 0;
    for (size_t i = 0; i < n; ++i) {
        boxes[i] = session.candidate(i)->bounds;
        const double e = std::max(boxes[i].maxX - boxes[i].minX, boxes[i].maxY - boxes[i].minY);
        if (std::isfinite(e)) extent += e;
    }
    const double margin = std::max(session.margin(), 0.0);
    BoxGrid grid;
    grid.build(boxes, 0.01, n ? extent / static_cast<double>(n) + margin : 1.0);

    // Candidates that may lie within the margin of i, later in the chain, in chain order: the
    // order in which the walk over all pairs meets them.
    std::vector<uint32_t> stamp(n, UINT32_MAX), later;
    size_t tested = 0;
    bool aborted = false;
    auto visit = [&](size_t i, size_t j) {
        if (++tested % kProgressStep == 0 && monitor && !monitor->pump(tested, 0)) aborted = true;
        session.testPair(i, j);
    };
    for (size_t i = 0; i < n && !aborted; ++i) {
        if (grid.isBig(static_cast<uint32_t>(i))) {
            for (size_t j = i + 1; j < n && !aborted; ++j) visit(i, j);
            continue;
        }
        later.clear();
        const Box& a = boxes[i];
        grid.query({a.minX - margin, a.minY - margin, a.maxX + margin, a.maxY + margin},
                   [&](uint32_t j) {
                       if (j > i && stamp[j] != i)
                           stamp[j] = static_cast<uint32_t>(i), later.push_back(j);
                   });
        std::sort(later.begin(), later.end());
        for (uint32_t j : later) {
            if (aborted) break;
            visit(i, j);
        }
    }
    for (const DrcViolation& v : session.violations)
        b.AppendElement(nullptr, MakeDrcMark(b, v.kind, v.at, rules.outputLayer, aperture));
    report.violations = std::move(session.violations);
    if (!report.violations.empty()) b.SetLayerSwitch(rules.outputLayer, kDisp);
    report.aborted = aborted;
    report.result = aborted ? -1 : static_cast<int>(report.violations.size());
    if (!aborted)
        report.messages.push_back(
            {std::string(TableText(report.violations.empty() ? kMsgDrcClean : kMsgDrcFound)),
             false});
    return report;
}

DrcReport DrcCommand(Board& b, const std::filesystem::path* ruleFile, ProgressMonitor* monitor) {
    if (!ruleFile) return {};
    const std::optional<std::string> text = ReadWholeFile(*ruleFile);
    if (!text) return {};
    return DrcCommand(b, ReadDrcRules(*text, b), monitor);
}

namespace {

bool EraseIn(Board& b, ListNode& head, std::vector<container*>* removed, size_t& count) {
    bool any = false;
    auto take = [&](container* c) {
        c->unlink(b.changes);
        ++count;
        any = true;
        if (removed)
            removed->push_back(c);
        else
            c->destroy(b);
    };
    for (container* c : Items(head)) {
        if (c->kind != kGroup) continue;
        group* g = AsGroup(c);
        if (g->type == Reserved().drc)
            take(c);
        else if (EraseIn(b, g->members, removed, count) && g->members.emptyList())
            take(c);
    }
    return any;
}

}  // namespace

size_t EraseDrcMarks(Board& b, std::vector<container*>* removed) {
    size_t count = 0;
    EraseIn(b, b.items, removed, count);
    return count;
}

}  // namespace zevo
