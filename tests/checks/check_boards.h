// Boards for the check tests: a fixed layer set, small builders, random boards with many
// coinciding points, and the straightforward quadratic net builder the indexed one must match.
#pragma once

#include <random>
#include <vector>

#include "board/model/board.h"
#include "checks/connectivity.h"

namespace zevo::test {

// Layers: 1 and 2 pattern, 3 silk, 8 plated holes, 42 non-plated holes, 20 jumper, 30 cut.
enum : int {
    kTop = 1,
    kBottom = 2,
    kSilk = 3,
    kHoles = 8,
    kNonPlated = 42,
    kJumper = 20,
    kCut = 30
};

inline void SetCheckLayers(Board& b) {
    b.layerFlags[kTop] |= kRolePattern;
    b.layerFlags[kBottom] |= kRolePattern;
    b.layerFlags[kHoles] |= kRoleHole | kRoleCut;
    b.layerFlags[kNonPlated] |= kRoleHole | kRoleCut | kRoleNonThrough;
    b.layerFlags[kJumper] |= kRoleJumper;
    b.layerFlags[kCut] |= kRoleCut;
}

inline land* AddLand(Board& b, int layer, Point p, int ap = 10, bool square = false,
                     group* owner = nullptr) {
    land* e = b.CreateLand(layer, ap, square, p);
    b.AppendElement(owner, e);
    return e;
}
inline line* AddLine(Board& b, int layer, Point s, Point e, int ap = 10, bool square = false,
                     group* owner = nullptr) {
    line* l = b.CreateLine(layer, ap, square, s, e);
    b.AppendElement(owner, l);
    return l;
}
inline group* AddGroup(Board& b, Istr type, group* owner = nullptr) {
    group* g = b.CreateGroup(type);
    b.AppendElement(owner, g);
    return g;
}

// A filled rectangle area: outline loop of four lines and horizontal fill strokes.
inline group* AddArea(Board& b, int layer, Point min, Point max, int strokeAp = 10,
                      group* owner = nullptr) {
    const ReservedWords& r = Reserved();
    group* area = AddGroup(b, r.painted, owner);
    group* loop = AddGroup(b, r.loop, area);
    const Point c[4] = {min, {max.x, min.y}, max, {min.x, max.y}};
    for (int i = 0; i < 4; ++i) AddLine(b, layer, c[i], c[(i + 1) % 4], strokeAp, false, loop);
    group* lines = AddGroup(b, r.lines, area);
    const double step = 2 * b.roundHalf(strokeAp) * 0.9;
    for (double y = min.y; y <= max.y + 1e-9; y += step)
        AddLine(b, layer, {min.x, y}, {max.x, y}, strokeAp, false, lines);
    return area;
}

// Random boards whose points fall on a coarse lattice (so many of them coincide), now and then
// off by a little less or a little more than the coincidence distance.
inline void RandomCheckBoard(Board& b, std::mt19937& rng, int count, double size = 20) {
    SetCheckLayers(b);
    const int layers[] = {kTop, kTop, kBottom, kBottom, kHoles, kNonPlated, kJumper, kSilk};
    std::uniform_int_distribution<int> layerPick(0, 7), kindPick(0, 9), apPick(5, 20), coin(0, 5);
    std::uniform_int_distribution<int> lattice(0, static_cast<int>(size));
    auto pt = [&] {
        Point p{lattice(rng) * 1.0, lattice(rng) * 1.0};
        const int j = coin(rng);
        if (j == 0) p.x += 0.001;
        if (j == 1) p.y += 0.002;
        return p;
    };
    std::vector<group*> groups{nullptr};
    for (int i = 0; i < count; ++i) {
        const int layer = layers[layerPick(rng)];
        group* owner = groups[std::uniform_int_distribution<size_t>(0, groups.size() - 1)(rng)];
        switch (kindPick(rng)) {
            case 0:
            case 1:
                AddLand(b, layer, pt(), apPick(rng), coin(rng) == 0, owner);
                break;
            case 2:
            case 3:
            case 4:
                AddLine(b, layer, pt(), pt(), apPick(rng), coin(rng) == 0, owner);
                break;
            case 5: {
                const Point c = pt();
                const double st = coin(rng) * kPi / 2, en = st + (1 + coin(rng)) * kPi / 4;
                b.AppendElement(owner,
                                b.CreateArc(layer, apPick(rng), c, 1 + coin(rng) % 2, st, en));
                break;
            }
            case 6: {
                rect* r = b.CreateRect(layer, 0, pt(), 1 + coin(rng), 0.5 + coin(rng) % 2,
                                       coin(rng) * kPi / 4);
                b.AppendElement(owner, r);
                break;
            }
            case 7:
                if (groups.size() < 6) groups.push_back(AddGroup(b, Intern("part"), owner));
                break;
            case 8:
                if (coin(rng) == 0) {
                    const Point p = pt();
                    AddArea(b, coin(rng) < 3 ? kTop : kBottom, p, {p.x + 3, p.y + 2}, apPick(rng),
                            owner == groups[0] ? nullptr : owner);
                }
                break;
            default:
                AddLine(b, layer, pt(), pt(), apPick(rng), false, owner);
                break;
        }
    }
}

// The flood fill as the behaviour states it: every member scanned against every remaining
// candidate. The reference of the indexed builder.
inline std::vector<Net> QuadraticNets(Board& b) {
    std::vector<container*> remaining = GatherConductors(b);
    std::vector<Net> nets;
    while (!remaining.empty()) {
        Net net;
        std::vector<container*> queue{remaining.front()};
        remaining.erase(remaining.begin());
        for (size_t q = 0; q < queue.size(); ++q) {
            container* cur = queue[q];
            net.push_back(cur);
            std::vector<container*> rest;
            for (container* c : remaining) {
                if (Connected(b, cur, c))
                    queue.push_back(c);
                else
                    rest.push_back(c);
            }
            remaining.swap(rest);
        }
        NumberNet(net, static_cast<int>(nets.size() + 1));
        nets.push_back(std::move(net));
    }
    return nets;
}

// The flood fill from one start over every remaining conductor of the board, as the behaviour
// states it; empty when the start is no conductor candidate. Clears every mark, numbers nothing.
inline Net QuadraticNetFrom(Board& b, container* start) {
    std::vector<container*> remaining = GatherConductors(b);
    const auto it = std::find(remaining.begin(), remaining.end(), start);
    if (it == remaining.end()) return {};
    remaining.erase(it);
    Net net;
    std::vector<container*> queue{start};
    for (size_t q = 0; q < queue.size(); ++q) {
        container* cur = queue[q];
        net.push_back(cur);
        std::vector<container*> rest;
        for (container* c : remaining) {
            if (Connected(b, cur, c))
                queue.push_back(c);
            else
                rest.push_back(c);
        }
        remaining.swap(rest);
    }
    return net;
}

}  // namespace zevo::test
