#include "output/zevonc.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

#include "output/gerber_writer.h"
#include "output/hole_output.h"
#include "output/text_out.h"
#include "paths/file_io.h"
#include "text/strings.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

struct FixedLayer {
    int layer;
    const char* file;
};
constexpr FixedLayer kFixedLayers[] = {
    {1, "PatternA"}, {2, "PatternB"}, {3, "SilkA"}, {4, "SilkB"},     {5, "MaskA"},
    {6, "MaskB"},    {7, "Board"},    {8, "Drill"}, {42, "DrillNTH"},
};

}  // namespace

std::optional<fs::path> PrepareZevoNcFolder(const fs::path& parent) {
    const fs::path folder = parent / kZevoNcFolder;
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(folder, ec);
    if (fs::is_directory(st)) {
        std::vector<fs::path> entries;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            entries.push_back(it->path());
        if (ec) return std::nullopt;
        for (const fs::path& p : entries) {
            std::error_code rec;
            fs::remove_all(p, rec);  // removes links themselves, never what they point to
            if (rec) return std::nullopt;
        }
        return folder;
    }
    if (fs::exists(st) || fs::is_symlink(st)) {
        if (!fs::remove(folder, ec)) return std::nullopt;
    }
    if (!fs::create_directory(folder, ec) || ec) return std::nullopt;
    return folder;
}

void WriteZevoNcLayers(const Board& b, const fs::path& folder, DCodeTables& codes,
                       OutputReport& report, bool modern) {
    struct Job {
        int layer;
        std::string file;
    };
    std::vector<Job> jobs;
    for (const FixedLayer& f : kFixedLayers)
        if (LayerHasElements(b, f.layer)) jobs.push_back({f.layer, f.file});
    int inner = 0;
    for (int layer = 10; layer < kLayers; ++layer) {
        if (b.HasRole(layer, kRolePattern) && LayerHasElements(b, layer))
            jobs.push_back({layer, "InnerLy" + std::to_string(++inner)});
    }
    // One set of codes over every file of the set, inner layers included, so that a D code
    // never stands for two apertures in one file.
    const auto usedByLayer = UsedAperturesByLayer(b);
    UsedApertures used;
    for (const Job& j : jobs) used |= usedByLayer[j.layer];
    codes = AutomaticDCodes(codes, used);

    std::string bytes;
    for (const Job& j : jobs) {
        bytes.clear();
        if (modern)
            WriteModernLayer(bytes, b, j.layer, codes);
        else
            WriteLayer(bytes, b, j.layer, true, 3, codes);
        const fs::path path = folder / j.file;
        if (WriteFileAtomically(path, bytes)) report.written.push_back(path);
    }
}

namespace {

// Holes by increasing half size; a hole of a size already present goes before those present.
void WriteDrillProgram(const Board& b, const std::vector<Hole>& docOrder, const fs::path& path,
                       OutputReport& report, const std::optional<Plating>& modern) {
    if (docOrder.empty()) return;
    std::vector<Hole> holes(docOrder.rbegin(), docOrder.rend());
    std::stable_sort(holes.begin(), holes.end(), [&b](const Hole& x, const Hole& y) {
        return b.roundAp[x.aperture] < b.roundAp[y.aperture];
    });
    if (modern) {
        // The same order and tool numbers, in the current format.
        std::vector<DrillTool> tools;
        std::vector<DrillHit> hits;
        double size = -1;
        for (const Hole& h : holes) {
            if (b.roundAp[h.aperture] > size) {
                size = b.roundAp[h.aperture];
                tools.push_back({static_cast<int>(tools.size()) + 1, 2 * size});
            }
            hits.push_back({static_cast<int>(tools.size()), h.x, h.y});
        }
        std::string bytes;
        WriteModernDrill(bytes, DrillFileFunction(*modern, CopperLayerCount(b)), tools, hits);
        if (WriteFileAtomically(path, bytes)) report.written.push_back(path);
        return;
    }
    OutputText t;
    t.put("M48");
    t.newline();
    t.put("M71");
    t.newline();
    double size = -1;
    int tool = 0;
    for (const Hole& h : holes) {
        if (!(b.roundAp[h.aperture] > size)) continue;
        size = b.roundAp[h.aperture];
        t.put('T');
        t.putInt(++tool, 2);
        t.put('C');
        t.putFixed(2 * size, 3);
        t.newline();
    }
    t.put('%');
    t.newline();
    t.put("G90");
    t.newline();
    t.put("G81");
    t.newline();
    size = -1;
    tool = 0;
    double lastX = -1e300, lastY = -1e300;
    for (const Hole& h : holes) {
        const bool dx = std::fabs(h.x - lastX) > 1e-8;
        const bool dy = std::fabs(h.y - lastY) > 1e-8;
        if (b.roundAp[h.aperture] > size) {
            size = b.roundAp[h.aperture];
            t.put('T');
            t.putInt(++tool);
            t.newline();
            t.put('X');
            t.putFixed(h.x * 1000, 0);
            t.put('Y');
            t.putFixed(h.y * 1000, 0);
            t.newline();
            lastX = h.x;
            lastY = h.y;
            continue;
        }
        if (dx) t.put('X'), t.putFixed(h.x * 1000, 0), lastX = h.x;
        if (dy) t.put('Y'), t.putFixed(h.y * 1000, 0), lastY = h.y;
        if (dx || dy) t.newline();
    }
    t.put("M30");
    if (WriteFileAtomically(path, t.str())) report.written.push_back(path);
}

}  // namespace

void WriteDrillNc(const Board& b, const fs::path& folder, OutputReport& report, bool modern) {
    std::vector<Hole> plated, nonPlated, both;
    bool others = false;
    ForEachDrawn(b.items, [&](const drawn* d) {
        if (d->layer != 8 && d->layer != 42) return;
        if (d->kind != kLand || d->square()) {
            others = true;
            return;
        }
        const Hole h{d->x, d->y, d->aperture & 0xFF};
        (d->layer == 8 ? plated : nonPlated).push_back(h);
        both.push_back(h);
    });
    if (others) report.messages.push_back({std::string(TableText(kMsgNotHoles)), false});
    auto as = [modern](Plating p) { return modern ? std::optional<Plating>(p) : std::nullopt; };
    WriteDrillProgram(b, plated, folder / "DrillNC1", report, as(Plating::kPlated));
    WriteDrillProgram(b, nonPlated, folder / "DrillNC2", report, as(Plating::kNonPlated));
    WriteDrillProgram(b, both, folder / "DrillNC", report, as(Plating::kMixed));
}

bool WriteZevoNcSet(const Board& b, const fs::path& parent, DCodeTables& codes,
                    OutputReport& report, bool modern) {
    const std::optional<fs::path> folder = PrepareZevoNcFolder(parent);
    if (!folder) return false;
    WriteZevoNcLayers(b, *folder, codes, report, modern);
    WriteDrillNc(b, *folder, report, modern);
    return true;
}

}  // namespace zevo
