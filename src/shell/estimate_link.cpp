#include "shell/estimate_link.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "board/model/intern.h"
#include "geometry/geometry.h"
#include "output/output_settings.h"

namespace zevo {

namespace {

constexpr int kOutlineLayer = 7;

struct Range {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();
    void add(Point p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    bool empty() const { return !(minX <= maxX); }
};

// Texts and pilot marks are not part of the board's shape.
bool SkippedGroup(const group* g) {
    const std::string_view type = View(g->type);
    return type == " TEXT" || type.starts_with("pilot_mark-");
}

void OutlineRange(const ListNode& head, Range& r) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            if (!SkippedGroup(AsGroup(c))) OutlineRange(AsGroup(c)->members, r);
            continue;
        }
        if (c->kind != kLine && c->kind != kArc) continue;
        const drawn* d = AsDrawn(c);
        if (d->layer != kOutlineLayer) continue;
        if (c->kind == kLine) {
            const line* l = static_cast<const line*>(d);
            r.add(l->start());
            r.add(l->end());
            continue;
        }
        const arc* a = static_cast<const arc*>(d);
        r.add(a->startPt);
        r.add(a->endPt);
        const Point c0 = a->centre();
        for (int q = 0; q < 4; ++q) {
            const double t = q * kPi / 2;
            if (a->fullCircle() || AngleOnArc(t, a->st, a->end))
                r.add({c0.x + a->r * std::cos(t), c0.y + a->r * std::sin(t)});
        }
    }
}

unsigned WholeMillimetres(double mm) {
    if (!(mm > 0)) return 0;
    // Rounded up, but a width that is whole up to the input rounding stays as it is.
    const double up = std::ceil(mm - 1e-6);
    return up > 1e6 ? 1000000u : unsigned(up);
}

}  // namespace

EstimateBoardFacts EstimateFacts(const Board& b) {
    EstimateBoardFacts f;
    Range r;
    OutlineRange(b.items, r);
    if (!r.empty()) {
        f.sizeX = WholeMillimetres(r.maxX - r.minX);
        f.sizeY = WholeMillimetres(r.maxY - r.minY);
    }
    for (int layer = 10; layer < kLayers; ++layer)
        if (b.HasRole(layer, kRolePattern) && LayerHasElements(b, layer)) ++f.innerLayers;
    for (int layer = 1; layer <= 8; ++layer)
        if (LayerHasElements(b, layer)) f.layerMask |= uint32_t(1) << (layer - 1);
    return f;
}

bool HasEstimateOutput(const Board& b) {
    for (int layer = 1; layer <= 8; ++layer)
        if (LayerHasElements(b, layer)) return true;
    return LayerHasElements(b, 42);
}

std::string EstimateArgumentString(uint32_t channel, const EstimateBoardFacts& f,
                                   std::string_view boardPath) {
    char head[96];
    std::snprintf(head, sizeof head, "ZEVO %08X X%u Y%u LY%d F%08X ", unsigned(channel), f.sizeX,
                  f.sizeY, f.innerLayers, unsigned(f.layerMask));
    return head + std::string(boardPath);
}

std::string EstimateReplyLine(bool success) {
    return success ? "reply 0" : "reply 1";
}

std::optional<bool> ParseEstimateReply(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' '))
        line.remove_suffix(1);
    if (line == "reply 0") return true;
    if (line == "reply 1") return false;
    return std::nullopt;
}

}  // namespace zevo
