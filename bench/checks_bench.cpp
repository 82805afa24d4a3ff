// Speed of net building and of the design rule check on boards of 10 k .. 1 M conductors made of
// long chains of tracks, meshes of short nets, many track ends meeting at few points and vias in
// large filled areas; and, on 10 k, the plain walks over all remaining candidates and all pairs
// for the ratio. Then the reading of reference netlists: recognition and reader of each format on
// a generated netlist of 100 k pins.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "board/model/board.h"
#include "checks/connectivity.h"
#include "checks/drc.h"
#include "checks/netlist_import.h"

namespace zevo {
namespace {

std::unique_ptr<Board> MakeCheckBoard(int n) {
    auto b = std::make_unique<Board>();
    b->SetLayerName(1, "pattern top");
    b->SetLayerName(2, "pattern bottom");
    b->SetLayerName(8, "hole");
    b->SetRoundAperture(1, 0.1);
    b->SetRoundAperture(2, 0.3);
    b->SetRoundAperture(3, 0.25);
    std::mt19937 rng(42);
    const double side = std::sqrt(n / 4.0) * 2.0;  // about four conductors per 4 mm2
    b->SetBoardSize(side, side);
    int made = 0;
    auto add = [&](container* e) {
        b->AppendElement(nullptr, e);
        ++made;
    };
    double y = 0;
    while (made < n) {
        // A long chain of 200 tracks along one row.
        for (int i = 0; i < 200 && made < n; ++i)
            add(b->CreateLine(1, 1, false, {i * 1.0, y}, {i * 1.0 + 1, y}));
        y += 1;
        // A mesh of short two-track nets.
        for (int i = 0; i < 100 && made < n; ++i) {
            add(b->CreateLine(2, 1, false, {i * 2.0, y}, {i * 2.0 + 0.8, y}));
            add(b->CreateLine(2, 1, false, {i * 2.0 + 0.8, y}, {i * 2.0 + 0.8, y + 0.8}));
        }
        y += 1;
        // Twenty track ends meeting at each of a few points.
        for (int p = 0; p < 5 && made < n; ++p)
            for (int k = 0; k < 20 && made < n; ++k) {
                const double a = k * kTwoPi / 20;
                add(b->CreateLine(1, 1, false, {p * 40.0 + 20, y + 3},
                                  {p * 40.0 + 20 + 2.5 * std::cos(a), y + 3 + 2.5 * std::sin(a)}));
            }
        y += 7;
        // A filled area with vias in it, some on its strokes.
        if (made < n) {
            const ReservedWords& r = Reserved();
            group* area = b->CreateGroup(r.painted);
            group* loop = b->CreateGroup(r.loop);
            group* lines = b->CreateGroup(r.lines);
            b->AppendElement(area, loop);
            b->AppendElement(area, lines);
            const double x0 = 0, x1 = 150, y0 = y, y1 = y + 10;
            const Point c[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
            for (int i = 0; i < 4; ++i)
                b->AppendElement(loop, b->CreateLine(2, 2, false, c[i], c[(i + 1) % 4]));
            for (double sy = y0 + 0.3; sy < y1; sy += 0.5)
                b->AppendElement(lines, b->CreateLine(2, 2, false, {x0 + 0.3, sy}, {x1 - 0.3, sy}));
            add(area);
            std::uniform_real_distribution<double> px(1, 149), py(y0 + 1, y1 - 1);
            for (int k = 0; k < 100 && made < n; ++k)
                add(b->CreateLand(8, 3, false, {px(rng), py(rng)}));
            y += 12;
        }
    }
    return b;
}

// The walk over every remaining candidate for every member.
size_t QuadraticNetCount(Board& b) {
    std::vector<container*> remaining = GatherConductors(b);
    size_t nets = 0;
    while (!remaining.empty()) {
        std::vector<container*> queue{remaining.front()};
        remaining.erase(remaining.begin());
        for (size_t q = 0; q < queue.size(); ++q) {
            std::vector<container*> rest;
            for (container* c : remaining) (Connected(b, queue[q], c) ? queue : rest).push_back(c);
            remaining.swap(rest);
        }
        ++nets;
    }
    return nets;
}

const char* kRules =
    "[DrcDatas]\nOutputLayer:9\nSpace:LE1=1,P-P=0.2,P-L=0.2,L-L=0.25\n"
    "Space:LE1=2,P-P=0.2,P-L=0.2,L-L=0.25\nSpace:LE1=8,LE2=1,P-L=0.3,L-L=0.3\n"
    "Space:LE1=8,LE2=2,P-L=0.3,L-L=0.3\n";

void BM_BuildNets(benchmark::State& state) {
    const auto b = MakeCheckBoard(static_cast<int>(state.range(0)));
    size_t nets = 0;
    for (auto _ : state) nets = BuildNets(*b)->size();
    state.counters["nets"] = static_cast<double>(nets);
}
BENCHMARK(BM_BuildNets)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_BuildNetsQuadratic(benchmark::State& state) {
    const auto b = MakeCheckBoard(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(QuadraticNetCount(*b));
}
BENCHMARK(BM_BuildNetsQuadratic)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_DrcCommand(benchmark::State& state) {
    const auto b = MakeCheckBoard(static_cast<int>(state.range(0)));
    const DrcRules rules = ReadDrcRules(kRules, *b);
    int found = 0;
    for (auto _ : state) found = DrcCommand(*b, rules).result;
    state.counters["violations"] = found;
}
BENCHMARK(BM_DrcCommand)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DrcAllPairs(benchmark::State& state) {
    const auto b = MakeCheckBoard(static_cast<int>(state.range(0)));
    const DrcRules rules = ReadDrcRules(kRules, *b);
    for (auto _ : state) {
        EraseDrcMarks(*b);
        BuildNets(*b);
        DrcSession s(*b, rules);
        for (size_t i = 0; i < s.size(); ++i)
            for (size_t j = i + 1; j < s.size(); ++j) s.testPair(i, j);
        benchmark::DoNotOptimize(s.violations.size());
    }
}
BENCHMARK(BM_DrcAllPairs)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// A netlist of `pins` pins in nets of four, in the given format: parts U1, U2, ... of eight pins
// each, net k joining pin k of four neighbouring parts.
std::string GenerateNetlist(NetlistFormat f, int pins) {
    std::string s;
    const int nets = pins / 4;
    auto pinOf = [](int net, int i, std::string& ref, int& number) {
        ref = "U" + std::to_string((net / 8) * 4 + i + 1);
        number = net % 8 + 1;
    };
    std::string ref;
    int number = 0;
    switch (f) {
        case NetlistFormat::kPackages:
            s += "$PACKAGES\r\n! DIP8; U1\r\n$NETS\r\n";
            break;
        case NetlistFormat::kCcf:
            s += "$CCF {\r\n DEFINITION {\r\n }\r\n NET {\r\n";
            break;
        case NetlistFormat::kPartNet:
            s += "#---part---\r\n#---net---\r\n";
            break;
        case NetlistFormat::kPartsList:
            s += "PARTS LIST\r\nEOS\r\nNET LIST\r\n";
            break;
        case NetlistFormat::kBracket:
            s += "[\r\nU1\r\n]\r\n";
            break;
        case NetlistFormat::kComponent:
            s += "COMPONENT U1 = DIP8\r\n";
            break;
        case NetlistFormat::kStarSignal:
            s += "*PART*\r\n*NET*\r\n";
            break;
        case NetlistFormat::kAddSignal:
            s += "ADD U1 DIP8\r\n";
            break;
        case NetlistFormat::kExportNets:
            s += "(EXPORT (VERSION D)\r\n  (NETS\r\n";
            break;
        case NetlistFormat::kBinary:
            s.assign(kNetlistBinaryHeader, '\0');
            break;
        case NetlistFormat::kNone:
            break;
    }
    for (int n = 0; n < nets; ++n) {
        const std::string name = "N" + std::to_string(n + 1);
        switch (f) {
            case NetlistFormat::kPackages:
                s += name + ";";
                break;
            case NetlistFormat::kCcf:
                s += "  " + name + ": ";
                break;
            case NetlistFormat::kPartNet:
                s += "*NET* '" + name + "'\r\n  ";
                break;
            case NetlistFormat::kPartsList:
                s += "NODE " + name + "\r\nNODENAME";
                break;
            case NetlistFormat::kBracket:
                s += "(\r\n" + name + "\r\n";
                break;
            case NetlistFormat::kComponent:
                s += "NET " + name + " =";
                break;
            case NetlistFormat::kStarSignal:
                s += "*SIGNAL* " + name + "\r\n";
                break;
            case NetlistFormat::kAddSignal:
                s += "SIGNAL " + name + "\r\n";
                break;
            case NetlistFormat::kExportNets:
                s += "    (NET (CODE " + std::to_string(n + 1) + ")\r\n";
                break;
            default:
                break;
        }
        for (int i = 0; i < 4; ++i) {
            pinOf(n, i, ref, number);
            const std::string num = std::to_string(number);
            switch (f) {
                case NetlistFormat::kPackages:
                case NetlistFormat::kStarSignal:
                    s += " " + ref + "." + num;
                    break;
                case NetlistFormat::kCcf:
                    s += ref + "(" + num + (i == 3 ? ");" : "),");
                    break;
                case NetlistFormat::kPartNet:
                    s += " '" + ref + "'/'" + num + "'";
                    break;
                case NetlistFormat::kPartsList:
                    s += " " + ref + " " + num;
                    break;
                case NetlistFormat::kBracket:
                    s += ref + "-" + num + "\r\n";
                    break;
                case NetlistFormat::kComponent:
                    s += " (" + ref + "," + num + ")";
                    break;
                case NetlistFormat::kAddSignal:
                    s += ref + " " + num + "\r\n";
                    break;
                case NetlistFormat::kExportNets:
                    s += "      (NODE (REF " + ref + ") (PIN " + num + "))\r\n";
                    break;
                case NetlistFormat::kBinary: {
                    std::string r(kNetlistBinaryRecord, '\0');
                    r.replace(0, name.size(), name);
                    r.replace(16, ref.size(), ref);
                    r[48] = '\0', r[49] = r[50] = r[51] = '\xFF';
                    r.replace(52, num.size(), num);
                    s += r;
                    break;
                }
                default:
                    break;
            }
        }
        switch (f) {
            case NetlistFormat::kBracket:
                s += ")\r\n";
                break;
            case NetlistFormat::kExportNets:
            case NetlistFormat::kAddSignal:
            case NetlistFormat::kBinary:
                break;
            case NetlistFormat::kPartsList:
                s += " $\r\n";
                break;
            default:
                s += "\r\n";
                break;
        }
    }
    if (f == NetlistFormat::kPackages) s += "$END\r\n";
    if (f == NetlistFormat::kCcf) s += " }\r\n}\r\n";
    return s;
}

// Recognition and reading, as the comparison reads its reference; the argument is the format.
void BM_ReadReferenceNetlist(benchmark::State& state) {
    const auto f = static_cast<NetlistFormat>(state.range(0));
    const std::string text = GenerateNetlist(f, 100000);
    size_t pins = 0;
    for (auto _ : state) {
        const NetlistRead r = ReadReferenceNetlist(text);
        if (r.format != f || !r.ok()) state.SkipWithError("netlist not read");
        pins = 0;
        for (const PinNet& n : r.nets) pins += n.size();
    }
    state.counters["pins"] = static_cast<double>(pins);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadReferenceNetlist)->DenseRange(1, 10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zevo
