// A deliberately small reader of what the checks compare: the flashes and draws of an RS-274X
// file (ours, or gerbv's re-export in inches) and the hits of an M48 drill program, in mm. It
// knows only the commands these files use and shares no code with the product's readers.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zevo::testing {

struct PlotObject {
    enum Kind { kFlash, kLine, kArcCw, kArcCcw } kind = kFlash;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a flash uses x2, y2
    double cx = 0, cy = 0;                  // arcs
    char shape = 'C';                       // aperture: C circle, R rectangle
    double w = 0, h = 0;                    // aperture sizes, mm

    std::string describe() const {
        char buf[200];
        static const char* names[] = {"flash", "line", "arc cw", "arc ccw"};
        std::snprintf(buf, sizeof buf, "%s %c%.4fx%.4f (%.4f,%.4f)->(%.4f,%.4f) c(%.4f,%.4f)",
                      names[kind], shape, w, h, x1, y1, x2, y2, cx, cy);
        return buf;
    }
};

// Reads RS-274X: MO, FS (absolute, leading zeros omitted), AD with C and R, G01/G02/G03 (G75
// assumed), G54, D01/D02/D03 and X/Y/I/J. Comments (G04) are skipped.
inline std::vector<PlotObject> ReadPlot(const std::string& text) {
    std::vector<PlotObject> out;
    double unit = 1;  // mm per file unit
    int decimals = 3;
    struct Ap {
        char shape;
        double w, h;
    };
    std::map<int, Ap> aps;
    Ap cur{'C', 0, 0};
    int mode = 1;
    int dcode = 2;
    double x = 0, y = 0;
    std::string block;
    bool param = false;
    auto num = [&](const std::string& s, std::size_t& i) {
        std::size_t j = i;
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
        while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
        const std::string t = s.substr(i, j - i);
        i = j;
        return t;
    };
    auto coord = [&](const std::string& t) {
        return std::strtod(t.c_str(), nullptr) / std::pow(10.0, decimals) * unit;
    };
    auto paramBlock = [&](const std::string& b) {
        if (b.rfind("MOIN", 0) == 0) unit = 25.4;
        if (b.rfind("MOMM", 0) == 0) unit = 1;
        if (b.rfind("FS", 0) == 0) {
            const std::size_t at = b.find('X');
            if (at != std::string::npos && at + 2 < b.size()) decimals = b[at + 2] - '0';
        }
        if (b.rfind("ADD", 0) == 0) {
            std::size_t i = 3;
            const int code = std::atoi(num(b, i).c_str());
            const char shape = b[i];
            i += 2;
            const double w = std::strtod(num(b, i).c_str(), nullptr) * unit;
            double h = w;
            if (i < b.size() && b[i] == 'X') {
                ++i;
                h = std::strtod(num(b, i).c_str(), nullptr) * unit;
            }
            aps[code] = {shape, w, h};
        }
    };
    auto dataBlock = [&](const std::string& b) {
        if (b.rfind("G04", 0) == 0) return;
        double nx = x, ny = y, i = 0, j = 0;
        bool coordSeen = false;
        int d = -1;
        for (std::size_t k = 0; k < b.size();) {
            const char c = b[k++];
            if (c == 'G') {
                const int g = std::atoi(num(b, k).c_str());
                if (g >= 1 && g <= 3) mode = g;
            } else if (c == 'D') {
                d = std::atoi(num(b, k).c_str());
            } else if (c == 'X') {
                nx = coord(num(b, k));
                coordSeen = true;
            } else if (c == 'Y') {
                ny = coord(num(b, k));
                coordSeen = true;
            } else if (c == 'I') {
                i = coord(num(b, k));
            } else if (c == 'J') {
                j = coord(num(b, k));
            }
        }
        if (d >= 10) {
            cur = aps.count(d) ? aps[d] : Ap{'?', 0, 0};
            return;
        }
        if (d >= 1 && d <= 3) dcode = d;
        if (d < 0 && !coordSeen) return;
        if (dcode == 3) {
            out.push_back({PlotObject::kFlash, nx, ny, nx, ny, 0, 0, cur.shape, cur.w, cur.h});
        } else if (dcode == 1) {
            PlotObject o{PlotObject::kLine, x, y, nx, ny, 0, 0, cur.shape, cur.w, cur.h};
            if (mode != 1) {
                o.kind = mode == 2 ? PlotObject::kArcCw : PlotObject::kArcCcw;
                o.cx = x + i;
                o.cy = y + j;
            }
            out.push_back(o);
        }
        x = nx;
        y = ny;
    };
    for (char c : text) {
        if (c == '%') {
            param = !param;
            block.clear();
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        if (c == '*') {
            if (param)
                paramBlock(block);
            else
                dataBlock(block);
            block.clear();
            continue;
        }
        block.push_back(c);
    }
    return out;
}

// Reads an M48 program in mm: the tool table ("TnnC<diameter>") and the hits after "%".
inline std::vector<PlotObject> ReadDrill(const std::string& text, int decimals) {
    std::vector<PlotObject> out;
    std::map<int, double> tools;
    std::istringstream in(text);
    std::string line;
    bool body = false;
    double d = 0, x = 0, y = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "%") {
            body = true;
            continue;
        }
        if (line.empty()) continue;
        if (line[0] == 'T') {
            const int t = std::atoi(line.c_str() + 1);
            const std::size_t c = line.find('C');
            if (!body && c != std::string::npos)
                tools[t] = std::strtod(line.c_str() + c + 1, nullptr);
            else
                d = tools[t];
            continue;
        }
        if (line[0] != 'X' && line[0] != 'Y') continue;
        const std::size_t xi = line.find('X'), yi = line.find('Y');
        const double scale = std::pow(10.0, decimals);
        if (xi != std::string::npos) x = std::strtod(line.c_str() + xi + 1, nullptr) / scale;
        if (yi != std::string::npos) y = std::strtod(line.c_str() + yi + 1, nullptr) / scale;
        out.push_back({PlotObject::kFlash, x, y, x, y, 0, 0, 'C', d, d});
    }
    return out;
}

// Matches every object of `a` with one of `b`: same kind, the same points within `posTol` mm
// and an aperture of the same size within `sizeTol` mm. Returns what did not match, described.
inline std::vector<std::string> Unmatched(const std::vector<PlotObject>& a,
                                          const std::vector<PlotObject>& b, double posTol,
                                          double sizeTol) {
    std::vector<bool> used(b.size(), false);
    std::vector<std::string> missing;
    auto near = [&](double p, double q) { return std::fabs(p - q) <= posTol; };
    for (const PlotObject& o : a) {
        bool found = false;
        for (std::size_t k = 0; k < b.size() && !found; ++k) {
            const PlotObject& p = b[k];
            if (used[k] || p.kind != o.kind) continue;
            if (std::fabs(p.w - o.w) > sizeTol || std::fabs(p.h - o.h) > sizeTol) continue;
            const bool ends =
                o.kind == PlotObject::kFlash
                    ? near(o.x2, p.x2) && near(o.y2, p.y2)
                    : near(o.x1, p.x1) && near(o.y1, p.y1) && near(o.x2, p.x2) && near(o.y2, p.y2);
            const bool centre =
                o.kind < PlotObject::kArcCw || (near(o.cx, p.cx) && near(o.cy, p.cy));
            if (ends && centre) found = used[k] = true;
        }
        if (!found) missing.push_back(o.describe());
    }
    for (std::size_t k = 0; k < b.size(); ++k)
        if (!used[k]) missing.push_back("extra: " + b[k].describe());
    return missing;
}

}  // namespace zevo::testing
