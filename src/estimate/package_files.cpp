#include "estimate/package_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

#include "output/gerber_writer.h"
#include "paths/file_io.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kClosingMove = "G01X0Y0D02*";
// Coordinates beyond this are not numbers of ours; they are copied and never counted, so that
// no arithmetic on them can overflow.
constexpr long long kMaxCoordinate = 1'000'000'000'000LL;

// The lines of a file, each with its line end ("\n" or "\r\n"), the last one possibly without.
std::vector<std::string_view> Lines(std::string_view bytes) {
    std::vector<std::string_view> out;
    while (!bytes.empty()) {
        const size_t nl = bytes.find('\n');
        const size_t n = nl == std::string_view::npos ? bytes.size() : nl + 1;
        out.push_back(bytes.substr(0, n));
        bytes.remove_prefix(n);
    }
    return out;
}

std::string_view Content(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// A signed decimal number at `s[i]`: its value and length; nothing when there is none.
std::optional<long long> NumberAt(std::string_view s, size_t i, size_t& len) {
    const char* b = s.data() + i;
    const char* e = s.data() + s.size();
    const char* p = b;
    if (p < e && *p == '+') ++p;  // from_chars takes "-" but not "+"
    long long v = 0;
    const auto [end, ec] = std::from_chars(p, e, v);
    if (ec != std::errc() || end == p || (p > b && *p == '-')) return std::nullopt;
    if (v > kMaxCoordinate || v < -kMaxCoordinate) return std::nullopt;
    len = size_t(end - b);
    return v;
}

// The words of one line that matter here.
struct Words {
    std::optional<long long> x, y, i, j;
    int g = -1;  // the last G code of the line
};

Words Parse(std::string_view line) {
    Words w;
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c != 'X' && c != 'Y' && c != 'I' && c != 'J' && c != 'G') continue;
        size_t len = 0;
        const auto v = NumberAt(line, k + 1, len);
        if (!v) continue;
        switch (c) {
            case 'X':
                w.x = w.x ? w.x : v;
                break;
            case 'Y':
                w.y = w.y ? w.y : v;
                break;
            case 'I':
                w.i = w.i ? w.i : v;
                break;
            case 'J':
                w.j = w.j ? w.j : v;
                break;
            default:
                w.g = int(std::clamp<long long>(*v, -1, 1000));
                break;
        }
        k += len;
    }
    return w;
}

// Header lines: the first line and those beginning with "%".
bool IsHeader(size_t index, std::string_view line) {
    return index == 0 || line.starts_with('%');
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l;
    return out;
}

std::optional<int> ApertureCode(std::string_view line) {
    if (!line.starts_with("%ADD")) return std::nullopt;
    int code = 0;
    const auto [end, ec] = std::from_chars(line.data() + 4, line.data() + line.size(), code);
    if (ec != std::errc()) return std::nullopt;
    return code;
}

}  // namespace

bool IsModernSet(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    // In name order, so that the answer does not depend on the order the folder lists them.
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        if (const auto bytes = ReadWholeFile(f)) return IsModernOutput(*bytes);
    }
    return false;
}

std::vector<RenameRow> ModernRows(const std::vector<RenameRow>& rows,
                                  std::deque<std::string>& names) {
    auto npthName = [&names](std::string_view name) -> std::string_view {
        std::string n(name);
        const size_t dot = n.rfind('.');
        n.insert(dot == std::string::npos ? n.size() : dot, "-NPTH");
        return names.emplace_back(std::move(n));
    };
    std::vector<RenameRow> out;
    for (const RenameRow& r : rows) {
        if (r.zevoNc != "Drills") {
            out.push_back(r);
            continue;
        }
        out.push_back({"Drill", r.sideA, r.sideB});
        out.push_back({"DrillNTH", npthName(r.sideA), npthName(r.sideB)});
    }
    return out;
}

fs::path Utf8Path(std::string_view name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

// ------------------------------------------------------------------ the drill Gerber

std::string MergeDrills(std::string_view drill, std::string_view drillNth) {
    const auto a = Lines(drill);
    const auto b = Lines(drillNth);
    std::vector<std::string> out;
    size_t ia = 0;
    while (ia < a.size() && !a[ia].starts_with("%ADD")) out.emplace_back(a[ia++]);
    // The definitions of both files, in increasing D-code order; a code in both comes from
    // `Drill`. A file whose definitions are used up counts as larger than any code.
    size_t ib = 0;
    while (ib < b.size() && !b[ib].starts_with("%ADD")) ++ib;
    for (;;) {
        const auto ca = ia < a.size() ? ApertureCode(a[ia]) : std::nullopt;
        const auto cb = ib < b.size() ? ApertureCode(b[ib]) : std::nullopt;
        if (!ca && !cb) break;
        if (ca && (!cb || *ca <= *cb)) {
            if (cb && *ca == *cb) ++ib;
            out.emplace_back(a[ia++]);
        } else {
            out.emplace_back(b[ib++]);
        }
    }
    // Skip definitions the order above could not place (a malformed line among them).
    while (ia < a.size() && a[ia].starts_with("%ADD")) ++ia;
    while (ib < b.size() && b[ib].starts_with("%ADD")) ++ib;
    for (; ia < a.size() && Content(a[ia]) != kClosingMove; ++ia) out.emplace_back(a[ia]);
    // The body of `Drill` may end without a line end; the next file starts on a line of its own.
    if (!out.empty() && !out.back().ends_with('\n') && ib < b.size()) out.back() += "\r\n";
    for (; ib < b.size(); ++ib) out.emplace_back(b[ib]);
    return Joined(out);
}

bool GatherDrills(const fs::path& folder) {
    const fs::path drill = folder / "Drill";
    const fs::path nth = folder / "DrillNTH";
    std::error_code ec;
    const bool hasDrill = fs::is_regular_file(drill, ec);
    const bool hasNth = fs::is_regular_file(nth, ec);
    if (!hasDrill && !hasNth) return true;
    std::optional<std::string> a, b;
    if (hasDrill && !(a = ReadWholeFile(drill))) return false;
    if (hasNth && !(b = ReadWholeFile(nth))) return false;
    const std::string bytes = a && b ? MergeDrills(*a, *b) : a ? *a : *b;
    return WriteFileAtomically(folder / "Drills", bytes);
}

// ------------------------------------------------------------------ mirroring

long long MirrorAxis(long long maxX) {
    // Rounded down to a multiple of 10 000 (towards minus infinity), plus 10 000.
    long long q = maxX / 10000;
    if (maxX % 10000 < 0) --q;
    return q * 10000 + 10000;
}

bool LargestBodyX(std::string_view bytes, long long& maxX) {
    bool any = false;
    const auto lines = Lines(bytes);
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string_view line = Content(lines[k]);
        if (IsHeader(k, line)) continue;
        const Words w = Parse(line);
        if (!w.x) continue;
        if (!any || *w.x > maxX) maxX = *w.x;
        any = true;
    }
    return any;
}

std::string MirrorBytes(std::string_view bytes, long long axis) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    const auto lines = Lines(bytes);
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string_view line = Content(lines[k]);
        const Words w = Parse(line);
        if (IsHeader(k, line) || line == kClosingMove || !w.x) {
            out += lines[k];
            continue;
        }
        const bool arc = w.i || w.j;
        bool seenX = false, seenI = false;
        for (size_t p = 0; p < line.size();) {
            const char c = line[p];
            size_t len = 0;
            const auto v =
                (c == 'X' || c == 'I' || c == 'G') ? NumberAt(line, p + 1, len) : std::nullopt;
            char buf[32];
            if (v && c == 'X' && !seenX) {
                seenX = true;
                std::snprintf(buf, sizeof buf, "X%lld", axis - *v);
                out += buf;
            } else if (v && c == 'I' && arc && !seenI) {
                seenI = true;
                std::snprintf(buf, sizeof buf, "I%lld", -*v);
                out += buf;
            } else if (v && c == 'G' && arc && (*v == 2 || *v == 3)) {
                std::snprintf(buf, sizeof buf, "G%02d", *v == 2 ? 3 : 2);
                out += buf;
            } else {
                out.append(line.substr(p, len + 1));
            }
            p += len + 1;
        }
        out.append(lines[k].substr(line.size()));
    }
    return out;
}

bool MirrorFiles(const fs::path& folder, const std::vector<RenameRow>& rows) {
    struct File {
        fs::path path;
        std::string bytes;
    };
    std::vector<File> files;
    long long maxX = 0;
    bool any = false;
    std::error_code ec;
    for (const RenameRow& r : rows) {
        const fs::path p = folder / Utf8Path(r.zevoNc);
        if (!fs::is_regular_file(p, ec)) continue;
        auto bytes = ReadWholeFile(p);
        if (!bytes) return false;
        long long x = 0;
        if (LargestBodyX(*bytes, x) && (!any || x > maxX)) maxX = x, any = true;
        files.push_back({p, std::move(*bytes)});
    }
    const long long axis = MirrorAxis(maxX);
    const fs::path tmp = folder / "tmp.nc";
    for (const File& f : files) {
        const std::string mirrored = MirrorBytes(f.bytes, axis);
        FilePtr out = OpenFile(tmp, "wb");
        if (!out) return false;
        const bool written =
            std::fwrite(mirrored.data(), 1, mirrored.size(), out.get()) == mirrored.size();
        const bool closed = std::fclose(out.release()) == 0;
        if (!written || !closed) {
            fs::remove(tmp, ec);
            return false;
        }
        fs::rename(tmp, f.path, ec);
        if (ec) {
            fs::remove(tmp, ec);
            return false;
        }
    }
    return true;
}

// ------------------------------------------------------------------ measuring

Extent MeasureBytes(std::string_view bytes) {
    Extent e;
    bool seenX = false, seenY = false;
    auto addX = [&](long long x) {
        if (!seenX) {
            e.minX = e.maxX = x;
            seenX = true;
            e.any = true;
        }
        e.minX = std::min(e.minX, x);
        e.maxX = std::max(e.maxX, x);
    };
    auto addY = [&](long long y) {
        if (!seenY) {
            e.minY = e.maxY = y;
            seenY = true;
            e.any = true;
        }
        e.minY = std::min(e.minY, y);
        e.maxY = std::max(e.maxY, y);
    };
    long long x = 0, y = 0;
    int mode = 1;
    const auto lines = Lines(bytes);
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string_view line = Content(lines[k]);
        if (IsHeader(k, line)) continue;
        const Words w = Parse(line);
        if (w.g == 1 || w.g == 2 || w.g == 3) mode = w.g;
        const long long nx = w.x.value_or(x), ny = w.y.value_or(y);
        if (w.x && *w.x != 0 && *w.x != x) addX(*w.x);
        if (w.y && *w.y != 0 && *w.y != y) addY(*w.y);
        if ((w.i || w.j) && (mode == 2 || mode == 3)) {
            // The arc from (x, y) to (nx, ny) about the start plus (I, J): its ends and the
            // points where it crosses the axes through its centre.
            const double cx = double(x) + double(w.i.value_or(0));
            const double cy = double(y) + double(w.j.value_or(0));
            const double r = std::hypot(double(x) - cx, double(y) - cy);
            addX(x), addY(y), addX(nx), addY(ny);
            double a0 = std::atan2(double(y) - cy, double(x) - cx);
            double a1 = std::atan2(double(ny) - cy, double(nx) - cx);
            if (mode == 2) std::swap(a0, a1);  // clockwise: the same sweep taken backwards
            double sweep = a1 - a0;
            while (sweep <= 0) sweep += kTwoPi;  // equal ends: the full circle
            for (int q = 0; q < 4; ++q) {
                const double a = q * std::numbers::pi / 2;
                double d = a - a0;
                while (d < 0) d += kTwoPi;
                while (d >= kTwoPi) d -= kTwoPi;
                if (d > sweep) continue;
                const double px = cx + r * std::cos(a), py = cy + r * std::sin(a);
                if (std::fabs(px) < double(kMaxCoordinate) &&
                    std::fabs(py) < double(kMaxCoordinate)) {
                    addX(std::llround(px));
                    addY(std::llround(py));
                }
            }
        }
        x = nx;
        y = ny;
    }
    return e;
}

// ------------------------------------------------------------------ renaming

RenameResult RenameAndMeasure(const fs::path& folder, const std::vector<RenameRow>& rows,
                              bool sideB, std::string_view boardName) {
    RenameResult r;
    bool seenX = false, seenY = false;
    std::error_code ec;
    for (size_t i = 0; i < rows.size(); ++i) {
        const fs::path from = folder / Utf8Path(rows[i].zevoNc);
        if (!fs::is_regular_file(from, ec)) continue;
        RenamedFile f;
        f.row = i;
        f.name = NewFileName(rows[i], sideB, boardName);
        if (const auto bytes = ReadWholeFile(from)) f.extent = MeasureBytes(*bytes);
        fs::rename(from, folder / Utf8Path(f.name), ec);
        if (ec) {
            r.ok = false;
            return r;
        }
        if (i < 32) r.present |= uint32_t(1) << i;
        if (f.extent.any) {
            const Extent& e = f.extent;
            // Files that never moved in one direction leave that range alone.
            if (e.minX != 0 || e.maxX != 0) {
                r.extent.minX = seenX ? std::min(r.extent.minX, e.minX) : e.minX;
                r.extent.maxX = seenX ? std::max(r.extent.maxX, e.maxX) : e.maxX;
                seenX = true;
            }
            if (e.minY != 0 || e.maxY != 0) {
                r.extent.minY = seenY ? std::min(r.extent.minY, e.minY) : e.minY;
                r.extent.maxY = seenY ? std::max(r.extent.maxY, e.maxY) : e.maxY;
                seenY = true;
            }
            r.extent.any = true;
        }
        r.files.push_back(std::move(f));
    }
    return r;
}

}  // namespace zevo
