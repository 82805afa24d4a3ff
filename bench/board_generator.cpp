#include "board_generator.h"

#include <cmath>
#include <string>
#include <vector>

namespace zevo {

namespace {

// SplitMix64: tiny, and the same numbers everywhere (the standard distributions are not).
class Random {
  public:
    explicit Random(uint64_t seed) : s_(seed) {}
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Whole number in [lo, hi].
    int64_t between(int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(next() % static_cast<uint64_t>(hi - lo + 1));
    }
    bool chance(int percent) { return between(0, 99) < percent; }
    // A length in whole thousandths of a millimetre within [lo, hi], as the reader makes it.
    double mm(double lo, double hi) {
        const int64_t a = static_cast<int64_t>(std::ceil(lo * 1000)),
                      b = static_cast<int64_t>(std::floor(hi * 1000));
        return static_cast<double>(between(a, b)) / 1000.0;
    }
    // An angle in whole tenths of a degree within [lo, hi], in radians.
    double degrees(int lo, int hi) {
        return ToRadians(static_cast<double>(between(lo * 10, hi * 10)) / 10.0);
    }
    template <class T, size_t N>
    const T& pick(const T (&a)[N]) {
        return a[between(0, N - 1)];
    }

  private:
    uint64_t s_;
};

// Shift-JIS pieces: 電源, 抵抗, テスト, Ａ, 表 (its second byte is a backslash), 信号線, ﾗﾍﾞﾙ.
constexpr const char* kPower = "\x93\x64\x8C\xB9";
constexpr const char* kResistor = "\x92\xEF\x8D\x52";
constexpr const char* kTest = "\x83\x65\x83\x58\x83\x67";
constexpr const char* kFullA = "\x82\x60";
constexpr const char* kTable = "\x95\x5C";
constexpr const char* kSignal = "\x90\x4D\x8D\x86\x90\xFC";
constexpr const char* kLabel = "\xD7\xCD\xDE\xD9";

// Layers elements go on; layer 4 is the origin layer (its name begins with 基準).
constexpr int kDrawLayers[] = {0, 1, 1, 1, 2, 2, 3, 5, 6, 7, 63, 64, 70, 100, 200, 255};
constexpr int kOriginLayer = 4;

class Generator {
  public:
    Generator(Board& b, const GeneratorOptions& o) : b_(b), rnd_(o.seed), target_(o.elements) {}

    void run() {
        tables();
        const int nets = static_cast<int>(std::max<size_t>(16, target_ / 20));
        for (int i = 0; i < nets; ++i) {
            std::string n;
            switch (i % 8) {
                case 0:
                    n = std::string(kPower) + std::to_string(i);
                    break;
                case 1:
                    n = std::string(kSignal) + kTable + std::to_string(i);
                    break;
                default:
                    n = "N" + std::to_string(i);
                    break;
            }
            nets_.push_back(Intern(n));
        }
        while (count_ < target_) unit();
    }

  private:
    void tables() {
        const double side = target_ >= 50000 ? 1000 : 400;
        b_.SetBoardSize(side, side * 0.75);
        b_.SetGrid(1.27, 5);
        b_.gridOrigin = {10.5, 20.25};
        const struct {
            int layer;
            std::string name;
        } names[] = {
            {0, std::string(kLabel)},
            {1,
             "\x83\x70\x83\x5E\x81\x5B\x83\x93"
             "A"},  // パターンA
            {2,
             "\x83\x70\x83\x5E\x81\x5B\x83\x93"
             "B"},
            {3, "\x8C\x8A"},                  // 穴
            {4, "\x8A\xEE\x8F\x80\x93\x5F"},  // 基準点
            {5, "\x95\x94\x95\x69\x90\x7D"},  // 部品図
            {6, "hole NONTH"},
            {70, "Layer 70"},
            {200, std::string(kTest) + " negative"},
        };
        for (const auto& n : names) {
            b_.SetLayerName(n.layer, n.name);
            b_.layerColour[n.layer] = static_cast<uint8_t>(rnd_.between(0, 15));
            if (n.layer != 1) {
                b_.ClearLayerSwitch(n.layer, kDisp | kActiv | kPrint);
                const int s = static_cast<int>(rnd_.between(0, 2));
                if (s >= 1) b_.SetLayerSwitch(n.layer, kDisp);
                if (s == 2) b_.SetLayerSwitch(n.layer, kActiv);
            }
            if (rnd_.chance(50)) b_.SetLayerSwitch(n.layer, kPrint);
        }
        b_.AddPadDefinition({{1, 10}, {2, 10}, {3, 4}});
        b_.AddPadDefinition({{1, 12}});
        b_.AddPadDefinition({{70, 20}, {255, 255}});
        // Changed apertures, one of them by a single step.
        b_.SetRoundAperture(25, 1.701 / 2);
        b_.SetRoundAperture(40, 2.345 / 2);
        b_.SetRoundAperture(200, 0.001 / 2);
        b_.SetSquareAperture(3, 0.333 / 2);
        b_.SetSquareAperture(30, 1.3 / 2 + 0.0005);
    }

    int layer() { return rnd_.pick(kDrawLayers); }
    int roundAp() { return static_cast<int>(rnd_.between(0, 24)); }
    Istr net() { return rnd_.chance(50) ? nets_[rnd_.between(0, nets_.size() - 1)] : nullptr; }

    template <class T>
    T* add(group* owner, T* e) {
        b_.AppendElement(owner, e);
        ++count_;
        return e;
    }
    Point near(Point c, double r) { return {c.x + rnd_.mm(-r, r), c.y + rnd_.mm(-r, r)}; }

    // ---------------------------------------------------------------- drawn elements

    void pin(drawn* d) {
        static const std::string pins[] = {"1",   "2", "3", "A1", std::string(kFullA) + "1",
                                           "GND", "K"};
        d->pinName = Intern(rnd_.pick(pins));
        d->pinNo = static_cast<int16_t>(rnd_.between(1, 300));
    }
    land* landAt(group* owner, Point p, bool square) {
        // One draw a statement: the order of a call's arguments is up to the compiler.
        const int lay = layer();
        const int ap = square ? static_cast<int>(rnd_.between(0, 40)) : roundAp();
        land* l = add(owner, b_.CreateLand(lay, ap, square, p));
        l->netName = net();
        return l;
    }
    line* lineNear(group* owner, Point c, int lay, bool square) {
        const Point s = near(c, 15);
        Point e = near(c, 15);
        if (std::fabs(e.x - s.x) < 0.001 && std::fabs(e.y - s.y) < 0.001) e.x += 0.5;
        line* l = add(owner,
                      b_.CreateLine(lay, square ? static_cast<int>(rnd_.between(0, 30)) : roundAp(),
                                    square, s, e));
        l->netName = net();
        return l;
    }
    void arcNear(group* owner, Point c) {
        const int ap = roundAp();
        const double r = rnd_.mm(b_.roundHalf(ap) + 0.1, 10);
        const double st = rnd_.degrees(-360, 359);
        const double sweep = rnd_.chance(10) ? kTwoPi : rnd_.degrees(1, 359);
        const int lay = layer();
        const Point centre = near(c, 5);
        arc* a = add(owner, b_.CreateArc(lay, ap, centre, r, st, st + sweep));
        a->netName = net();
    }
    void rectNear(group* owner, Point c) {
        const int ap = roundAp();
        const double minSide = 2 * b_.roundHalf(ap) + 0.01;
        const double dx = rnd_.mm(minSide, minSide + 10), dy = rnd_.mm(minSide, minSide + 10);
        const int lay = layer();
        const Point centre = near(c, 5);
        const double angle = rnd_.degrees(-180, 360);
        rect* r = add(owner, b_.CreateRect(lay, ap, centre, dx, dy, angle));
        r->netName = net();
    }
    void drawnNear(group* owner, Point c) {
        switch (rnd_.between(0, 6)) {
            case 0:
                landAt(owner, near(c, 15), false);
                break;
            case 1:
                landAt(owner, near(c, 15), true);
                break;
            case 2:
            case 3:
                lineNear(owner, c, layer(), false);
                break;
            case 4:
                lineNear(owner, c, layer(), true);
                break;
            case 5:
                arcNear(owner, c);
                break;
            case 6:
                rectNear(owner, c);
                break;
        }
    }

    // ---------------------------------------------------------------- groups

    group* groupOf(group* owner, Istr type) { return add(owner, b_.CreateGroup(type)); }

    void plainGroup(group* owner, Point c, int depth) {
        group* g = groupOf(owner, kEmptyText);
        if (rnd_.chance(20)) g->attribute = Reserved().noDrc;
        const int n = static_cast<int>(rnd_.between(1, 4));
        for (int i = 0; i < n; ++i) drawnNear(g, c);
        if (depth < 5 && rnd_.chance(60)) plainGroup(g, c, depth + 1);
    }

    std::string textString() {
        static const std::string texts[] = {"ABC",    std::string(kTest),          "1,2,3",
                                            "R1 10k", std::string(kPower) + ",5V", "x"};
        std::string s = rnd_.pick(texts);
        if (rnd_.chance(2)) s = std::string(255, 'W');
        return s;
    }
    void text(group* owner, Point c) {
        group* g = groupOf(owner, Reserved().text);
        g->attribute = Intern(textString());
        const double hi = rnd_.mm(0.5, 5), pitch = rnd_.mm(0.5, 5);
        const double pit = pitch * (rnd_.chance(20) ? -1 : 1);
        const Point at = near(c, 5);
        const double angle = rnd_.degrees(0, 359);
        g->ext = b_.CreateTextPlacement(at, angle, hi, pit);
        const int lay = layer();
        const int strokes = static_cast<int>(rnd_.between(1, 6));
        for (int i = 0; i < strokes; ++i) {
            line* l = lineNear(g, c, lay, false);
            l->netName = nullptr;
        }
    }

    void pad(group* owner, Point p, bool pins) {
        group* g = groupOf(owner, Reserved().pad);
        for (int i = 0; i < 2; ++i) {
            land* l = landAt(g, p, false);
            if (pins) pin(l);
        }
    }

    void part(Point c) {
        static const std::string names[] = {"R",   "C",     "SOP8", std::string(kResistor),
                                            "A,B", "DIP 14"};
        static const std::string attrs[] = {"", "10k", "1/4W", "0.1u,50V", std::string(kTest)};
        group* g = groupOf(nullptr, Intern(rnd_.pick(names)));
        const std::string attr = rnd_.pick(attrs);
        if (!attr.empty()) g->attribute = Intern(attr);
        if (rnd_.chance(80)) g->reference = Intern("R" + std::to_string(rnd_.between(1, 999)));
        const bool placed = rnd_.chance(90);
        const Point origin = near(c, 3);
        if (placed)
            g->ext = b_.CreatePartPlacement(origin, rnd_.chance(50) ? rnd_.degrees(0, 359) : 0);
        // A part may mark its origin with one round land on the origin layer.
        if (placed && rnd_.chance(30)) {
            land* o = add(g, b_.CreateLand(kOriginLayer, 3, false, origin));
            o->pinName = Intern("0");
        }
        const int pads = static_cast<int>(rnd_.between(1, 4));
        for (int i = 0; i < pads; ++i) pad(g, near(c, 10), true);
        for (int i = 0; i < 2; ++i) {
            drawn* d = lineNear(g, c, 5, false);
            if (rnd_.chance(30)) pin(d);
        }
        if (rnd_.chance(60)) text(g, c);
        if (rnd_.chance(20)) {
            // A nested part: it keeps its name and attribute, not its reference or placement.
            group* sub = groupOf(g, Intern("SUB"));
            if (rnd_.chance(50)) sub->attribute = Intern("inner");
            pad(sub, near(c, 10), true);
            if (rnd_.chance(50)) plainGroup(sub, c, 3);
        }
    }

    void polygon(group* owner, Point c, double r, int lay, int ap) {
        const int n = static_cast<int>(rnd_.between(3, 7));
        std::vector<Point> pts;
        for (int i = 0; i < n; ++i) {
            const double a = kTwoPi * i / n;
            pts.push_back({std::round((c.x + r * std::cos(a)) * 1000) / 1000,
                           std::round((c.y + r * std::sin(a)) * 1000) / 1000});
        }
        for (int i = 0; i < n; ++i)
            add(owner, b_.CreateLine(lay, ap, false, pts[i], pts[(i + 1) % n]));
    }

    void paintedArea(Point c) {
        const ReservedWords& w = Reserved();
        const int lay = layer(), ap = roundAp();
        group* g = groupOf(nullptr, w.painted);
        polygon(groupOf(g, w.loop), c, 12, lay, ap);
        if (rnd_.chance(60)) polygon(groupOf(g, w.window), c, 3, lay, ap);
        group* fill = groupOf(g, w.lines);
        const int strokes = static_cast<int>(rnd_.between(1, 8));
        for (int i = 0; i < strokes; ++i) {
            const double y = c.y - 8 + i * 2;
            add(fill, b_.CreateLine(lay, ap, false, {c.x - 8, y}, {c.x + 8, y}));
        }
    }

    void marker(Point c) {
        const ReservedWords& w = Reserved();
        group* g = groupOf(nullptr, rnd_.chance(50) ? w.drc : w.dottedLine);
        if (rnd_.chance(50)) g->attribute = Intern("12");
        for (int i = 0; i < 3; ++i) lineNear(g, c, 7, false);
    }

    void unit() {
        const double margin = 40;
        const Point c{rnd_.mm(margin, b_.sizeX - margin), rnd_.mm(margin, b_.sizeY - margin)};
        const int k = static_cast<int>(rnd_.between(0, 99));
        if (k < 60)
            drawnNear(nullptr, c);
        else if (k < 70)
            plainGroup(nullptr, c, 1);
        else if (k < 82)
            part(c);
        else if (k < 90)
            text(nullptr, c);
        else if (k < 95)
            paintedArea(c);
        else if (k < 98)
            pad(nullptr, c, false);
        else
            marker(c);
    }

    Board& b_;
    Random rnd_;
    size_t target_;
    size_t count_ = 0;
    std::vector<Istr> nets_;
};

}  // namespace

void GenerateBoard(Board& board, const GeneratorOptions& options) {
    Generator(board, options).run();
}

}  // namespace zevo
