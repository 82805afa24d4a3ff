#include "board/model/board.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "board/model/layer_words.h"

namespace zevo {

double DefaultApertureDiameter(int n) {
    // 0.10 .. 0.95 in steps of 0.05 (entries 0..17), then 1.0, 1.1, ... in steps of 0.1.
    if (n < 18) return (10 + 5 * n) / 100.0;
    return (10 + (n - 18)) / 10.0;
}

Board::Board() {
    items.initHead();
    ResetApertures();
    ResetSwapTable();
    for (int i = 0; i < kLayers; ++i) layerFlags[i] = kActiv | kDisp;
}

void Board::AppendElement(group* owner, container* e) {
    e->insertBefore(&listOf(owner), changes);
    e->parent = owner;
}

void Board::ClearBoard() {
    while (!items.emptyList()) AsElement(items.next)->recycle(*this);
    changes.note();
    version = 0;
    layerName.fill(nullptr);
    layerColour.fill(0);
    layerFlags.fill(kActiv | kDisp);
}

land* Board::CreateLand(int layer, int aperture, bool square, Point p) {
    land* e = pools.lands.take();
    e->kind = kLand;
    e->layer = static_cast<int16_t>(layer);
    e->aperture = static_cast<int16_t>(aperture);
    e->flags = square ? kSquareFlag : 0;
    e->x = p.x;
    e->y = p.y;
    e->updateBounds(*this);
    return e;
}

line* Board::CreateLine(int layer, int aperture, bool square, Point s, Point en) {
    line* e = pools.lines.take();
    e->kind = kLine;
    e->layer = static_cast<int16_t>(layer);
    e->aperture = static_cast<int16_t>(aperture);
    e->flags = square ? kSquareFlag : 0;
    e->x = s.x;
    e->y = s.y;
    e->ex = en.x;
    e->ey = en.y;
    e->updateBounds(*this);
    return e;
}

arc* Board::CreateArc(int layer, int aperture, Point centre, double r, double st, double end) {
    arc* e = pools.arcs.take();
    e->kind = kArc;
    e->layer = static_cast<int16_t>(layer);
    e->aperture = static_cast<int16_t>(aperture);
    e->x = centre.x;
    e->y = centre.y;
    e->r = r;
    e->st = st;
    e->end = end;
    e->updateBounds(*this);
    return e;
}

rect* Board::CreateRect(int layer, int aperture, Point centre, double dx, double dy, double ang) {
    rect* e = pools.rects.take();
    e->kind = kRect;
    e->layer = static_cast<int16_t>(layer);
    e->aperture = static_cast<int16_t>(aperture);
    e->x = centre.x;
    e->y = centre.y;
    auto clampSize = [](double v) { return std::isnan(v) ? 0.02 : std::clamp(v, 0.02, 500.0); };
    dx = clampSize(dx);
    dy = clampSize(dy);
    if (dy > dx) {
        std::swap(dx, dy);
        ang += kPi / 2;
    }
    e->dx = dx;
    e->dy = dy;
    e->ang = ang;
    e->updateBounds(*this);
    return e;
}

group* Board::CreateGroup(Istr typeWord) {
    group* g = pools.groups.take();
    g->kind = kGroup;
    g->type = typeWord ? typeWord : kEmptyText;
    return g;
}

TextPlacement* Board::CreateTextPlacement(Point p, double angle, double hi, double pit) {
    TextPlacement* t = pools.texts.take();
    t->kind = 1;
    t->pt = p;
    t->angle = NormaliseAngle(angle);
    t->hi = hi;
    t->pit = pit;
    return t;
}

PartPlacement* Board::CreatePartPlacement(Point p, double angle) {
    PartPlacement* t = pools.parts.take();
    t->kind = 2;
    t->pt = p;
    t->angle = NormaliseAngle(angle);
    return t;
}

bool Board::IsEmptyGroup(const group* g) {
    for (container* c : Items(g->members)) {
        if (IsDrawn(c)) return false;
        if (c->kind == kGroup && !IsEmptyGroup(AsGroup(c))) return false;
    }
    return true;
}

bool Board::GroupBounds(const group* g, Box& out) {
    bool any = false;
    ForEachDrawn(g->members, [&](const drawn* d) {
        if (!any)
            out = d->bounds;
        else
            out.grow(d->bounds);
        any = true;
    });
    return any;
}

namespace {

bool StartsWith(std::string_view name, std::string_view word) {
    return name.size() >= word.size() && std::memcmp(name.data(), word.data(), word.size()) == 0;
}
bool Contains(std::string_view name, std::string_view word) {
    return name.find(word) != std::string_view::npos;
}
template <size_t N>
bool AnyPrefix(std::string_view name, const std::string_view (&words)[N]) {
    for (auto w : words)
        if (StartsWith(name, w)) return true;
    return false;
}
template <size_t N>
bool AnyContained(std::string_view name, const std::string_view (&words)[N]) {
    for (auto w : words)
        if (Contains(name, w)) return true;
    return false;
}

}  // namespace

uint32_t Board::LayerRoles(std::string_view name) {
    using namespace layer_words;
    uint32_t roles = 0;
    const bool hole = name.size() > 1 && AnyPrefix(name, kHoleWords);
    if (hole) roles |= kRoleHole | kRoleCut;
    if (AnyPrefix(name, kCutWords)) roles |= kRoleCut;
    if (name.size() >= 4 && AnyPrefix(name, kOriginWords)) roles |= kRoleOrigin;
    if (AnyPrefix(name, kPatternWords)) roles |= kRolePattern;
    if (AnyPrefix(name, kJumperWords)) roles |= kRoleJumper;
    if (AnyContained(name, kNegativeWords)) roles |= kRoleNegative;
    if (AnyContained(name, kNonThroughWords)) roles |= kRoleNonThrough;
    if (AnyContained(name, kMountWords)) roles |= kRoleMount;
    if (!(roles & kRoleHole)) roles &= ~kRoleNonThrough;
    return roles;
}

void Board::SetLayerName(int layer, std::string_view name) {
    if (layer < 0 || layer >= kLayers) return;
    layerName[layer] = Intern(name);
    layerFlags[layer] = (layerFlags[layer] & ~uint32_t(kRoleMask)) | LayerRoles(name);
}

void Board::SetLayerSwitch(int layer, uint32_t bits) {
    if (layer < 0 || layer >= kLayers) return;
    if (bits & kActiv) bits |= kDisp;
    layerFlags[layer] |= bits & (kActiv | kDisp | kPrint);
}

void Board::ClearLayerSwitch(int layer, uint32_t bits) {
    if (layer < 0 || layer >= kLayers) return;
    if (bits & kDisp) bits |= kActiv;
    layerFlags[layer] &= ~(bits & (kActiv | kDisp | kPrint));
}

namespace {
double ClampHalf(double h) {
    if (std::isnan(h)) h = 0.0005;
    h = std::clamp(h, 0.0005, 50.0);
    return std::floor(h / 0.0005 + 0.5) * 0.0005;
}
}  // namespace

void Board::SetRoundAperture(int n, double h) {
    if (n < 0 || n >= kApertures) return;
    roundAp[n] = ClampHalf(h);
}

void Board::SetSquareAperture(int n, double h) {
    if (n < 0 || n >= kApertures) return;
    squareAp[n] = ClampHalf(h);
}

void Board::ResetApertures() {
    for (int i = 0; i < kApertures; ++i) roundAp[i] = squareAp[i] = DefaultApertureDiameter(i) / 2;
}

void Board::AddPadDefinition(const PadDefinition& pairs) {
    PadDefinition def;
    for (const PadPair& p : pairs) {
        if (p.layer < 0 || p.layer >= kLayers || p.aperture < 0 || p.aperture >= kApertures)
            continue;
        if (std::find(def.begin(), def.end(), p) == def.end()) def.push_back(p);
    }
    if (def.empty()) return;
    for (const PadDefinition& other : padDefs)
        if (SamePadDefinition(other, def)) return;
    padDefs.push_back(std::move(def));
}

bool SamePadDefinition(const PadDefinition& a, const PadDefinition& b) {
    if (a.size() != b.size()) return false;
    for (const PadPair& p : a)
        if (std::find(b.begin(), b.end(), p) == b.end()) return false;
    return true;
}

bool Board::PairLayers(int a, int b) {
    if (a < 0 || b < 0 || a >= kLayers || b >= kLayers) return false;
    if (swapLayer[a] != a) swapLayer[swapLayer[a]] = static_cast<int16_t>(swapLayer[a]);
    if (swapLayer[b] != b) swapLayer[swapLayer[b]] = static_cast<int16_t>(swapLayer[b]);
    swapLayer[a] = static_cast<int16_t>(b);
    swapLayer[b] = static_cast<int16_t>(a);
    return true;
}

void Board::ResetSwapTable() {
    for (int i = 0; i < kLayers; ++i) swapLayer[i] = static_cast<int16_t>(i);
}

void Board::SetBoardSize(double x, double y) {
    auto fit = [](double v) {
        if (std::isnan(v) || v < 100) return 100.0;
        if (v > 1000) return 1000.0;
        return std::floor(v / 10 + 0.5) * 10;
    };
    sizeX = fit(x);
    sizeY = fit(y);
}

void Board::SetGrid(double spacing, int interval) {
    if (std::isnan(spacing)) spacing = 0.005;
    gridSpacing = std::clamp(spacing, 0.005, 100.0);
    gridInterval = interval < 1 ? 1 : interval;
}

void Board::SetGridOrigin(double x, double y) {
    if (x >= 0 && x <= sizeX && y >= 0 && y <= sizeY)
        gridOrigin = {x, y};
    else
        gridOrigin = {0, 0};
}

bool Board::AddLibraryFile(std::string_view path) {
    if (static_cast<int>(libraryFiles.size()) >= kMaxLibraryFiles) return false;
    if (path.size() > kMaxLibraryPath) path = path.substr(0, kMaxLibraryPath);
    for (const std::string& f : libraryFiles) {
        if (f.size() != path.size()) continue;
        bool same = true;
        for (size_t i = 0; i < f.size() && same; ++i) {
            unsigned char a = f[i], b = path[i];
            if (a >= 'A' && a <= 'Z') a += 32;
            if (b >= 'A' && b <= 'Z') b += 32;
            same = a == b;
        }
        if (same) return false;
    }
    libraryFiles.emplace_back(path);
    return true;
}

PoolCounts Board::liveCounts() const {
    return {pools.lands.live(),  pools.lines.live(), pools.arcs.live(), pools.rects.live(),
            pools.groups.live(), pools.texts.live(), pools.parts.live()};
}

}  // namespace zevo
