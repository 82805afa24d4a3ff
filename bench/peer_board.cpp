// zevo_peer_board: one generated board written twice, as a Zevo document and in the gEDA/pcb text
// format (which pcb-rnd loads), for timing the loading of the same drawing in both programs
// (bench/compare-peer.sh).
//
//   zevo_peer_board OUT.pcb OUT-geda.pcb [--lines N] [--lands N] [--arcs N] [--parts N]
//
// The board: N lines (tracks on two copper layers in short chains, part outlines on the parts
// layer), N lands (four pins per part, the rest loose lands like vias), N arcs, N parts. Every
// number is a whole micrometre, so both files hold the same geometry.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "board/file/document.h"

namespace zevo {
namespace {

class Random {
  public:
    explicit Random(uint64_t seed) : s_(seed) {}
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int64_t between(int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(next() % static_cast<uint64_t>(hi - lo + 1));
    }
    // A length in whole micrometres.
    double mm(double lo, double hi) {
        return static_cast<double>(between(std::llround(lo * 1000), std::llround(hi * 1000))) /
               1000.0;
    }

  private:
    uint64_t s_;
};

struct Counts {
    long lines = 1000000, lands = 41000, arcs = 20000, parts = 2000;
};

constexpr int kTop = 1, kBottom = 2, kParts = 5;
constexpr double kWidth = 1000, kHeight = 750;

void Generate(Board& b, const Counts& n) {
    Random rnd(20);
    b.SetBoardSize(kWidth, kHeight);
    b.SetGrid(0.5, 2);
    b.SetLayerName(kTop, "\x83\x70\x83\x5E\x81\x5B\x83\x93\x41");     // パターンA
    b.SetLayerName(kBottom, "\x83\x70\x83\x5E\x81\x5B\x83\x93\x42");  // パターンB
    b.SetLayerName(kParts, "\x95\x94\x95\x69\x90\x7D");               // 部品図
    std::vector<Istr> nets;
    for (int i = 0; i < 5000; ++i) nets.push_back(Intern("N" + std::to_string(i)));
    auto net = [&]() -> Istr { return rnd.between(0, 1) ? nets[rnd.between(0, 4999)] : nullptr; };
    auto inside = [&](double margin) {
        return Point{rnd.mm(margin, kWidth - margin), rnd.mm(margin, kHeight - margin)};
    };

    // Parts: four pins in a row and a rectangle outline of four lines.
    long lines = 0, lands = 0;
    for (long i = 0; i < n.parts; ++i) {
        const Point o = inside(20);
        group* g = b.CreateGroup(Intern(i % 2 ? "DIP4" : "SOP4"));
        g->reference = Intern("U" + std::to_string(i + 1));
        g->ext = b.CreatePartPlacement(o, 0);
        for (int k = 0; k < 4; ++k) {
            land* l = b.CreateLand(kTop, 10, false, {o.x + 2.54 * k, o.y});
            l->pinNo = static_cast<int16_t>(k + 1);
            l->pinName = Intern(std::to_string(k + 1));
            l->netName = net();
            b.AppendElement(g, l);
            ++lands;
        }
        const Point c[4] = {{o.x - 1.5, o.y - 1.5},
                            {o.x + 9.12, o.y - 1.5},
                            {o.x + 9.12, o.y + 1.5},
                            {o.x - 1.5, o.y + 1.5}};
        for (int k = 0; k < 4; ++k) {
            b.AppendElement(g, b.CreateLine(kParts, 1, false, c[k], c[(k + 1) % 4]));
            ++lines;
        }
        b.AppendElement(nullptr, g);
    }
    // Loose lands.
    for (; lands < n.lands; ++lands) {
        land* l = b.CreateLand(rnd.between(0, 3) ? kTop : kBottom, 8, false, inside(5));
        l->netName = net();
        b.AppendElement(nullptr, l);
    }
    // Arcs.
    for (long i = 0; i < n.arcs; ++i) {
        const double st = static_cast<double>(rnd.between(0, 359));
        const double sweep = static_cast<double>(rnd.between(10, 350));
        arc* a = b.CreateArc(rnd.between(0, 1) ? kTop : kBottom, 4, inside(20), rnd.mm(0.5, 10),
                             ToRadians(st), ToRadians(st + sweep));
        a->netName = net();
        b.AppendElement(nullptr, a);
    }
    // Tracks: chains of up to 20 segments in the eight directions.
    while (lines < n.lines) {
        Point p = inside(30);
        const int layer = rnd.between(0, 1) ? kTop : kBottom;
        const int ap = static_cast<int>(rnd.between(2, 8));
        const Istr nn = net();
        const long chain = std::min<long>(rnd.between(1, 20), n.lines - lines);
        for (long k = 0; k < chain; ++k) {
            const int dir = static_cast<int>(rnd.between(0, 7));
            const double len = rnd.mm(0.2, 1.2);
            const double dx = dir % 4 == 2 ? 0 : (dir < 2 || dir == 7 ? len : -len);
            const double dy = dir % 4 == 0 ? 0 : (dir < 4 ? len : -len);
            Point q{std::round((p.x + dx) * 1000) / 1000, std::round((p.y + dy) * 1000) / 1000};
            q.x = std::clamp(q.x, 1.0, kWidth - 1), q.y = std::clamp(q.y, 1.0, kHeight - 1);
            if (q.x == p.x && q.y == p.y) q.x += q.x > kWidth / 2 ? -0.5 : 0.5;
            line* l = b.CreateLine(layer, ap, false, p, q);
            l->netName = nn;
            b.AppendElement(nullptr, l);
            ++lines;
            p = q;
        }
    }
}

// ---------------------------------------------------------------- the gEDA/pcb text format

// Lengths of that format: hundredths of a mil, whole numbers; its y axis points down.
long Cmil(double mm) {
    return std::lround(mm / 0.000254);
}

class GedaWriter {
  public:
    GedaWriter(std::FILE* f, const Board& b) : f_(f), b_(b) {}

    void write() {
        std::fprintf(f_, "FileVersion[20070407]\n\n");
        std::fprintf(f_, "PCB[\"\" %ld %ld]\n\n", Cmil(b_.sizeX), Cmil(b_.sizeY));
        std::fprintf(f_, "Grid[%ld 0 0 0]\n", Cmil(b_.gridSpacing));
        std::fprintf(f_, "DRC[1200 900 1000 700 1500 1000]\n");
        std::fprintf(f_, "Flags(\"clearnew\")\n");
        std::fprintf(f_, "Groups(\"1,c:2,s:3:4\")\n");
        std::fprintf(f_, "Styles[\"Signal,1000,7874,3150,2000\"]\n\n");
        // Loose lands as vias, then the parts as elements.
        for (container* c : Items(b_.items))
            if (c->kind == kLand) via(static_cast<const land*>(c));
        for (container* c : Items(b_.items))
            if (c->kind == kGroup) element(AsGroup(c));
        layer(1, "top", kTop);
        layer(2, "bottom", kBottom);
        layer(3, "silk", -1);
        layer(4, "silk", -1);
    }

  private:
    long X(double x) const { return Cmil(x); }
    long Y(double y) const { return Cmil(b_.sizeY - y); }
    long Width(const drawn* d) const { return Cmil(2 * d->halfSize(b_)); }

    void via(const land* l) {
        std::fprintf(f_, "Via[%ld %ld %ld 2000 %ld 1200 \"\" \"\"]\n", X(l->x), Y(l->y), Width(l),
                     Width(l) + 600);
    }

    void element(const group* g) {
        const Point o = g->ext ? g->ext->pt : Point{};
        std::fprintf(f_, "\nElement[\"\" \"%s\" \"%s\" \"\" %ld %ld 0 -3000 0 100 \"\"]\n(\n",
                     g->type, View(g->reference).data(), X(o.x), Y(o.y));
        for (container* c : Items(g->members)) {
            if (c->kind == kLand) {
                const land* l = static_cast<const land*>(c);
                std::fprintf(f_, "\tPin[%ld %ld %ld 2000 %ld 800 \"%s\" \"%d\" \"\"]\n",
                             X(l->x) - X(o.x), Y(l->y) - Y(o.y), Width(l), Width(l) + 600,
                             View(l->pinName).data(), l->pinNo);
            } else if (c->kind == kLine) {
                const line* l = static_cast<const line*>(c);
                std::fprintf(f_, "\tElementLine [%ld %ld %ld %ld %ld]\n", X(l->x) - X(o.x),
                             Y(l->y) - Y(o.y), X(l->ex) - X(o.x), Y(l->ey) - Y(o.y), Width(l));
            }
        }
        std::fprintf(f_, "\n\t)\n");
    }

    void layer(int number, const char* name, int ours) {
        std::fprintf(f_, "Layer(%d \"%s\")\n(\n", number, name);
        if (ours >= 0)
            for (container* c : Items(b_.items)) {
                if (c->kind == kLine) {
                    const line* l = static_cast<const line*>(c);
                    if (l->layer != ours) continue;
                    std::fprintf(f_, "\tLine[%ld %ld %ld %ld %ld 2000 \"clearline\"]\n", X(l->x),
                                 Y(l->y), X(l->ex), Y(l->ey), Width(l));
                } else if (c->kind == kArc) {
                    const arc* a = static_cast<const arc*>(c);
                    if (a->layer != ours) continue;
                    // Angles there start at -x and turn clockwise on the screen, which with the y
                    // axis turned over is the same sense as ours: start 180 - ours, negative
                    // sweep.
                    const double st = 180 - ToDegrees(a->st), sweep = -ToDegrees(a->end - a->st);
                    std::fprintf(f_, "\tArc[%ld %ld %ld %ld %ld 2000 %.0f %.0f \"clearline\"]\n",
                                 X(a->x), Y(a->y), Cmil(a->r), Cmil(a->r), Width(a), st, sweep);
                }
            }
        std::fprintf(f_, ")\n");
    }

    std::FILE* f_;
    const Board& b_;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: zevo_peer_board OUT.pcb OUT-geda.pcb [--lines N] [--lands N] "
                 "[--arcs N] [--parts N]\n");
    return 2;
}

}  // namespace
}  // namespace zevo

int main(int argc, char** argv) {
    using namespace zevo;
    if (argc < 3) return Usage();
    Counts n;
    for (int i = 3; i + 1 < argc; i += 2) {
        const long v = std::strtol(argv[i + 1], nullptr, 10);
        if (v < 0) return Usage();
        if (!std::strcmp(argv[i], "--lines"))
            n.lines = v;
        else if (!std::strcmp(argv[i], "--lands"))
            n.lands = v;
        else if (!std::strcmp(argv[i], "--arcs"))
            n.arcs = v;
        else if (!std::strcmp(argv[i], "--parts"))
            n.parts = v;
        else
            return Usage();
    }
    if (n.lands < 4 * n.parts || n.lines < 4 * n.parts) {
        std::fprintf(stderr, "zevo_peer_board: every part takes four lands and four lines\n");
        return 2;
    }
    Board board;
    ResetToBuiltInDefaults(board);
    Generate(board, n);
    std::string error;
    if (!WriteDocumentFile(argv[1], board, &error)) {
        std::fprintf(stderr, "zevo_peer_board: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f) {
        std::fprintf(stderr, "zevo_peer_board: cannot write %s\n", argv[2]);
        return 1;
    }
    GedaWriter(f, board).write();
    const bool ok = std::fclose(f) == 0;
    if (!ok) std::fprintf(stderr, "zevo_peer_board: writing %s failed\n", argv[2]);
    return ok ? 0 : 1;
}
