#include "estimate/viewer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <string>

namespace zevo {

namespace {

constexpr double kUnit = 1000;  // file units per millimetre (three decimals)
constexpr double kLimit = 1e9;  // coordinates beyond this are not drawn

// A number at `at`; `decimal` tells whether it was written with a decimal point (millimetres
// in a drill program of the current format, where the others are file units).
bool Number(std::string_view s, size_t& at, double& v, bool* decimal = nullptr) {
    const char* b = s.data() + at;
    const char* e = s.data() + s.size();
    if (b < e && *b == '+') ++b;
    const auto [end, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || end == b || !std::isfinite(v) || std::fabs(v) > kLimit) return false;
    if (decimal)
        *decimal = std::string_view(b, size_t(end - b)).find('.') != std::string_view::npos;
    at = size_t(end - s.data());
    return true;
}

struct Aperture {
    double w = 0, h = 0;
};

}  // namespace

ViewerDrawing ReadViewerDrawing(std::string_view bytes) {
    ViewerDrawing d;
    std::map<int, Aperture> apertures;
    Aperture current;
    double x = 0, y = 0;
    double unit = kUnit;
    int mode = 1;
    bool drill = false;
    bool first = true;
    auto add = [&](const ViewerShape& s) {
        // The extent holds the shapes with their width, so that a fitted view shows them whole.
        const double rx = s.width / 2, ry = (s.height > 0 ? s.height : s.width) / 2;
        const double xs[] = {s.x0, s.x1}, ys[] = {s.y0, s.y1};
        for (int k = 0; k < (s.kind == ViewerShape::Kind::kFlash ? 1 : 2); ++k) {
            if (d.shapes.empty() && k == 0) {
                d.minX = xs[0] - rx, d.maxX = xs[0] + rx;
                d.minY = ys[0] - ry, d.maxY = ys[0] + ry;
            }
            d.minX = std::min(d.minX, xs[k] - rx);
            d.maxX = std::max(d.maxX, xs[k] + rx);
            d.minY = std::min(d.minY, ys[k] - ry);
            d.maxY = std::max(d.maxY, ys[k] + ry);
        }
        if (s.kind == ViewerShape::Kind::kArc) {
            // The circle's box: enough to show the arc whole.
            const double r = std::hypot(s.x0 - s.cx, s.y0 - s.cy) + rx;
            d.minX = std::min(d.minX, s.cx - r);
            d.maxX = std::max(d.maxX, s.cx + r);
            d.minY = std::min(d.minY, s.cy - r);
            d.maxY = std::max(d.maxY, s.cy + r);
        }
        d.shapes.push_back(s);
    };
    while (!bytes.empty()) {
        const size_t nl = bytes.find('\n');
        std::string_view line = bytes.substr(0, nl);
        bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (first && line == "M48") drill = true;
        first = false;
        if (line.starts_with("%ADD")) {
            // %ADD<code>C,<size>*% or %ADD<code>R,<w>X<h>*%
            size_t at = 4;
            double code = 0, w = 0, h = 0;
            if (!Number(line, at, code) || at + 2 > line.size()) continue;
            const char shape = line[at];
            at += 2;
            if (!Number(line, at, w)) continue;
            if (shape == 'R' && at < line.size() && line[at] == 'X') {
                ++at;
                if (!Number(line, at, h)) continue;
            }
            apertures[int(code)] = {w, shape == 'R' ? h : 0};
            continue;
        }
        if (line.starts_with("%FSLAX") && line.size() > 7 && std::isdigit((unsigned char)line[7])) {
            // The number of decimals of the coordinates: three in the set's extended files, six
            // in the current format.
            unit = std::pow(10.0, line[7] - '0');
            continue;
        }
        // Parameters, comments (the attributes among them) and a drill program's comments.
        if (line.starts_with('%') || line.starts_with("G04") || line.starts_with(';')) continue;
        if (drill && line.starts_with('T')) {
            // A tool: "T01C0.800" in the table, "T1" in the body.
            size_t at = 1;
            double tool = 0, size = 0;
            if (!Number(line, at, tool)) continue;
            if (at < line.size() && line[at] == 'C') {
                ++at;
                if (Number(line, at, size)) apertures[int(tool)] = {size, 0};
            } else {
                current = apertures[int(tool)];
            }
            continue;
        }
        double nx = x, ny = y, i = 0, j = 0;
        bool hasXY = false, hasIJ = false;
        int op = drill ? 3 : 0;
        for (size_t at = 0; at < line.size();) {
            const char c = line[at++];
            double v = 0;
            bool decimal = false;
            if (!std::isupper(static_cast<unsigned char>(c)) || !Number(line, at, v, &decimal))
                continue;
            const double mm = decimal ? v : v / unit;
            switch (c) {
                case 'X':
                    nx = mm, hasXY = true;
                    break;
                case 'Y':
                    ny = mm, hasXY = true;
                    break;
                case 'I':
                    i = mm, hasIJ = true;
                    break;
                case 'J':
                    j = mm, hasIJ = true;
                    break;
                case 'G':
                    if (v == 1 || v == 2 || v == 3) mode = int(v);
                    break;
                case 'D':
                    if (v >= 10) {
                        current = apertures[int(v)];
                    } else {
                        op = int(v);
                    }
                    break;
                default:
                    break;
            }
        }
        if (drill && !hasXY) continue;
        if (line.starts_with("M")) continue;
        ViewerShape s;
        s.width = current.w;
        s.height = current.h;
        s.x0 = x, s.y0 = y, s.x1 = nx, s.y1 = ny;
        if (op == 3) {
            s.kind = ViewerShape::Kind::kFlash;
            s.x0 = nx, s.y0 = ny;
            add(s);
        } else if (op == 1 && hasIJ && (mode == 2 || mode == 3)) {
            s.kind = ViewerShape::Kind::kArc;
            s.cx = x + i, s.cy = y + j;
            s.clockwise = mode == 2;
            add(s);
        } else if (op == 1 && hasXY) {
            add(s);
        }
        x = nx, y = ny;
    }
    return d;
}

int ViewerZoomOut(int scale) {
    return std::max(3, scale * 8 / 10);
}

int ViewerZoomIn(int scale) {
    return std::min(1000, scale * 6 / 5 + 1);
}

int ViewerFitScale(const ViewerDrawing& d, int width, int height) {
    if (d.empty()) return 3;
    const double w = std::max(d.maxX - d.minX, 1.0), h = std::max(d.maxY - d.minY, 1.0);
    const double s = std::min((width - 20) / w, (height - 20) / h);
    return std::clamp(int(std::floor(s)), 3, 1000);
}

}  // namespace zevo
