#include "output/hole_output.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <system_error>

#include "output/gerber_writer.h"
#include "output/text_out.h"
#include "paths/file_io.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

constexpr double kSameHole = 1e-8;

bool IsHole(const drawn* d) {
    return d->kind == kLand && !d->square();
}

// Appends "%.0f" of v.
void PutCoord(OutputText& t, char letter, double v) {
    t.put(letter);
    t.putFixed(v, 0);
}

}  // namespace

void SortHoles(std::vector<Hole>& holes) {
    auto before = [](const Hole& a, const Hole& b) {
        if (a.aperture != b.aperture) return a.aperture < b.aperture;
        if (a.x != b.x) return a.x < b.x;
        return a.y < b.y;
    };
    std::stable_sort(holes.begin(), holes.end(), before);
    // A hole is a duplicate of any kept one with its aperture within 1e-8 in x and in y. The
    // kept holes stay sorted, so the candidates are the runs of equal x just before the end.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < holes.size(); ++i) {
        const Hole c = holes[i];
        bool duplicate = false;
        std::size_t k = kept;
        while (k > 0 && !duplicate) {
            const Hole& last = holes[k - 1];
            if (last.aperture != c.aperture || !(c.x - last.x < kSameHole)) break;
            const auto first = std::lower_bound(
                holes.begin(), holes.begin() + static_cast<std::ptrdiff_t>(k), last,
                [](const Hole& a, const Hole& b) {
                    return a.aperture != b.aperture ? a.aperture < b.aperture : a.x < b.x;
                });
            const auto near = std::lower_bound(
                first, holes.begin() + static_cast<std::ptrdiff_t>(k), c.y - kSameHole,
                [](const Hole& a, double y) { return !(a.y > y); });
            duplicate = near != holes.begin() + static_cast<std::ptrdiff_t>(k) &&
                        std::fabs(near->y - c.y) < kSameHole &&
                        std::fabs(near->x - c.x) < kSameHole;
            k = static_cast<std::size_t>(first - holes.begin());
        }
        if (!duplicate) holes[kept++] = c;
    }
    holes.resize(kept);
}

int GatherHoles(const Board& b, int layer, std::vector<Hole>& holes) {
    std::vector<Hole> found;
    int others = 0;
    ForEachDrawn(b.items, [&](const drawn* d) {
        if (d->layer != layer) return;
        if (IsHole(d))
            found.push_back({d->x, d->y, d->aperture & 0xFF});
        else
            ++others;
    });
    holes.insert(holes.end(), found.begin(), found.end());
    SortHoles(holes);
    return others;
}

void WriteToolTableProgram(std::string& out, const Board& b, const std::vector<Hole>& holes,
                           const std::function<int(int)>& tcode, int decimals) {
    const double scale = std::pow(10.0, decimals);
    OutputText t;
    t.put("M48");
    t.newline();
    t.put("M71");
    t.newline();
    int previous = -1;
    for (const Hole& h : holes) {
        if (h.aperture == previous) continue;
        previous = h.aperture;
        t.put('T');
        t.putInt(tcode(h.aperture), 2);
        t.put('C');
        t.putFixed(2 * b.roundAp[h.aperture], 3);
        t.newline();
    }
    t.put('%');
    t.newline();
    t.put("G90");
    t.newline();
    if (!holes.empty()) {
        t.put("G81");
        t.newline();
        t.put('T');
        t.putInt(tcode(holes.front().aperture));
        t.newline();
        previous = holes.front().aperture;
    }
    // The last written values start far outside any board, so the first hole gets both.
    double lastX = -1e300, lastY = -1e300;
    for (const Hole& h : holes) {
        if (h.aperture != previous) {
            previous = h.aperture;
            t.put('T');
            t.putInt(tcode(h.aperture));
            t.newline();
            PutCoord(t, 'X', h.x * scale);
            PutCoord(t, 'Y', h.y * scale);
            t.newline();
            lastX = h.x;
            lastY = h.y;
            continue;
        }
        const bool dx = std::fabs(h.x - lastX) > kSameHole;
        const bool dy = std::fabs(h.y - lastY) > kSameHole;
        if (dx) PutCoord(t, 'X', h.x * scale), lastX = h.x;
        if (dy) PutCoord(t, 'Y', h.y * scale), lastY = h.y;
        if (dx || dy) t.newline();
    }
    t.put("M30");
    out.append(t.str());
}

void WritePlainDrill(std::string& out, const std::vector<Hole>& holes,
                     const std::function<int(int)>& tcode, int decimals) {
    const double scale = std::pow(10.0, decimals);
    OutputText t;
    t.put('%');
    t.newline();
    t.put("G90");
    t.newline();
    t.put("X0Y0");
    t.newline();
    int previous = -1;
    for (const Hole& h : holes) {
        if (h.aperture != previous) {
            previous = h.aperture;
            t.put('T');
            t.putInt(tcode(h.aperture));
            t.newline();
        }
        PutCoord(t, 'X', h.x * scale);
        PutCoord(t, 'Y', h.y * scale);
        t.put("M05");
        t.newline();
    }
    t.put("X0Y0");
    t.newline();
    t.put("M30");
    t.newline();
    out.append(t.str());
}

bool NonPlatedLayer(const Board& b, int layer) {
    return layer == 42 || b.HasRole(layer, kRoleNonThrough);
}

std::string DrillFileFunction(Plating p, int copperLayers) {
    const std::string n = std::to_string(copperLayers);
    switch (p) {
        case Plating::kPlated:
            return "Plated,1," + n + ",PTH";
        case Plating::kNonPlated:
            return "NonPlated,1," + n + ",NPTH";
        case Plating::kMixed:
            break;
    }
    return "MixedPlating,1," + n;
}

void WriteModernDrill(std::string& out, std::string_view fileFunction,
                      const std::vector<DrillTool>& tools, const std::vector<DrillHit>& hits) {
    OutputText t;
    auto line = [&t](std::string_view a, std::string_view b = {}) {
        t.put(a);
        t.put(b);
        t.newline();
    };
    line("M48");
    line("; #@! TF.GenerationSoftware,", GenerationSoftware());
    line("; #@! TF.FileFunction,", fileFunction);
    line("FMAT,2");
    line("METRIC,TZ");
    for (const DrillTool& tool : tools) {
        t.put('T');
        t.putInt(tool.number);
        t.put('C');
        t.putFixed(tool.diameter, 3);
        t.newline();
    }
    line("%");
    line("G90");
    line("G05");
    int current = -1;
    for (const DrillHit& h : hits) {
        if (h.tool != current) {
            current = h.tool;
            t.put('T');
            t.putInt(h.tool);
            t.newline();
        }
        t.put('X');
        t.putFixed(h.x, 3);
        t.put('Y');
        t.putFixed(h.y, 3);
        t.newline();
    }
    line("M30");
    out.append(t.str());
}

fs::path NonPlatedFileName(const fs::path& single) {
    fs::path p = single;
    fs::path name = single.stem();
    name += "-NPTH";
    name += single.extension();
    p.replace_filename(name);
    return p;
}

namespace {

// The program of sorted holes in the current format: one tool per aperture, numbered by
// `tcode`, in the order the holes have them.
void ModernProgram(std::string& out, const Board& b, const std::vector<Hole>& holes,
                   const std::function<int(int)>& tcode, Plating plating) {
    std::vector<DrillTool> tools;
    std::vector<DrillHit> hits;
    int previous = -1;
    for (const Hole& h : holes) {
        if (h.aperture != previous) {
            previous = h.aperture;
            tools.push_back({tcode(h.aperture), 2 * b.roundAp[h.aperture]});
        }
        hits.push_back({tcode(h.aperture), h.x, h.y});
    }
    WriteModernDrill(out, DrillFileFunction(plating, CopperLayerCount(b)), tools, hits);
}

// Holes per aperture of sorted holes.
std::map<int, int> CountByAperture(const std::vector<Hole>& holes) {
    std::map<int, int> n;
    for (const Hole& h : holes) ++n[h.aperture];
    return n;
}

void PutCountLines(OutputText& t, const std::map<int, int>& counts,
                   const std::function<int(int)>& tcode, const std::string& pieces) {
    char buf[64];
    for (const auto& [aperture, count] : counts) {
        std::snprintf(buf, sizeof buf, "  T%-2d%8d ", tcode(aperture), count);
        t.put(buf);
        t.put(pieces);
        t.newline();
    }
}

}  // namespace

OutputReport WriteHoleFiles(const Board& b, const HoleOutputChoices& choices,
                            const fs::path& folder) {
    OutputReport report;
    const int decimals =
        choices.modern ? kMaxHoleDecimals : std::clamp(choices.decimals, 0, kMaxHoleDecimals);
    DeleteFilesWithExtensions(folder, {"hol"}, report.deleted);

    // Holes of every selected layer, and the report of what cannot be drilled.
    std::array<std::vector<Hole>, kLayers> byLayer;
    for (int layer = 0; layer < kLayers; ++layer) {
        if (!choices.files.active(layer)) continue;
        if (GatherHoles(b, layer, byLayer[layer]) > 0) {
            report.messages.push_back({std::string(TableText(kMsgNotHoles)) +
                                           LayerSuffix(layer, View(b.layerName[layer])),
                                       false});
        }
    }

    // Automatic T codes: the apertures of all holes, in increasing number, get 1, 2, 3, ...
    std::array<int, kApertures> codes = choices.codes.code;
    if (choices.autoT) {
        std::array<bool, kApertures> used{};
        for (const auto& holes : byLayer)
            for (const Hole& h : holes) used[h.aperture] = true;
        int next = 1;
        for (int i = 0; i < kApertures; ++i)
            if (used[i]) codes[i] = next++;
    }
    const std::function<int(int)> tcode = [&codes](int ap) { return codes[ap & 0xFF]; };

    const std::string fileWord = TableTextCp932(kStrFile);
    const std::string layerWord = TableTextCp932(kStrLayer);
    const std::string pieces = TableTextCp932(kStrPieces);
    OutputText list;
    if (choices.modern) {
        list.put(TableTextCp932(kStrModernDrillFormat));
        list.newline();
        list.newline();
    } else {
        list.put(TableTextCp932(kStrDrillFormatHead));
        list.put(' ');
        list.putInt(decimals);
        list.put(' ');
        list.put(TableTextCp932(kStrDrillFormatTail));
        list.newline();
        list.newline();
    }
    std::map<int, int> allCounts;
    std::string bytes;

    if (choices.autoT && choices.single && choices.modern) {
        // Plated and non-plated holes never share a program: the chosen file keeps the plated
        // ones, the non-plated go beside it.
        std::vector<Hole> plated, nonPlated;
        for (int layer = 0; layer < kLayers; ++layer) {
            auto& to = NonPlatedLayer(b, layer) ? nonPlated : plated;
            to.insert(to.end(), byLayer[layer].begin(), byLayer[layer].end());
        }
        SortHoles(plated);
        SortHoles(nonPlated);
        if (plated.empty() && nonPlated.empty())
            report.messages.push_back({std::string(TableText(kMsgNoHoles)), false});
        const struct {
            const std::vector<Hole>& holes;
            fs::path file;
            Plating plating;
        } programs[] = {{plated, choices.singleFile, Plating::kPlated},
                        {nonPlated, NonPlatedFileName(choices.singleFile), Plating::kNonPlated}};
        for (const auto& p : programs) {
            if (p.holes.empty()) {
                // No stale program of an earlier output is left beside the new one.
                std::error_code ec;
                if (fs::remove(p.file, ec)) report.deleted.push_back(p.file);
                continue;
            }
            bytes.clear();
            ModernProgram(bytes, b, p.holes, tcode, p.plating);
            if (WriteFileAtomically(p.file, bytes))
                report.written.push_back(p.file);
            else
                report.messages.push_back({std::string(TableText(kMsgCannotWriteOutput)), true});
            const auto counts = CountByAperture(p.holes);
            for (const auto& [ap, n] : counts) allCounts[ap] += n;
            list.put(fileWord);
            list.put(' ');
            list.put(Utf8ToCp932(p.file.filename().string()));
            list.newline();
            PutCountLines(list, counts, tcode, pieces);
        }
    } else if (choices.autoT && choices.single) {
        std::vector<Hole> all;
        for (const auto& holes : byLayer) all.insert(all.end(), holes.begin(), holes.end());
        SortHoles(all);
        allCounts = CountByAperture(all);
        if (all.empty()) {
            // Nothing to drill: a tool-table program needs at least one tool.
            report.messages.push_back({std::string(TableText(kMsgNoHoles)), false});
        } else {
            WriteToolTableProgram(bytes, b, all, tcode, decimals);
            if (WriteFileAtomically(choices.singleFile, bytes))
                report.written.push_back(choices.singleFile);
            else
                report.messages.push_back({std::string(TableText(kMsgCannotWriteOutput)), true});
        }
        list.put(fileWord);
        list.put(' ');
        list.put(Utf8ToCp932(choices.singleFile.filename().string()));
        list.newline();
        PutCountLines(list, allCounts, tcode, pieces);
    } else {
        for (int layer = 0; layer < kLayers; ++layer) {
            if (!choices.files.active(layer)) continue;
            const std::vector<Hole>& holes = byLayer[layer];
            const fs::path path = OutputFilePath(folder, choices.files.name[layer], "hol");
            if (holes.empty()) {
                std::error_code ec;
                if (fs::remove(path, ec)) report.deleted.push_back(path);
                report.messages.push_back({std::string(TableText(kMsgNoHoles)) +
                                               LayerSuffix(layer, View(b.layerName[layer])),
                                           false});
                continue;
            }
            bytes.clear();
            if (choices.modern)
                ModernProgram(bytes, b, holes, tcode,
                              NonPlatedLayer(b, layer) ? Plating::kNonPlated : Plating::kPlated);
            else if (choices.autoT)
                WriteToolTableProgram(bytes, b, holes, tcode, decimals);
            else
                WritePlainDrill(bytes, holes, tcode, decimals);
            if (WriteFileAtomically(path, bytes))
                report.written.push_back(path);
            else
                report.messages.push_back({std::string(TableText(kMsgCannotWriteOutput)), true});
            const auto counts = CountByAperture(holes);
            for (const auto& [ap, n] : counts) allCounts[ap] += n;
            list.newline();
            list.put(fileWord);
            list.put(' ');
            list.put(choices.files.name[layer]);
            list.newline();
            list.put("  ");
            list.put(layerWord);
            list.put(' ');
            list.putInt(layer);
            list.put(" : ");
            list.put(View(b.layerName[layer]));
            list.newline();
            list.newline();
            PutCountLines(list, counts, tcode, pieces);
            list.newline();
        }
    }

    list.newline();
    list.put(TableTextCp932(kStrUsedTCodes));
    list.newline();
    list.newline();
    char buf[96];
    for (const auto& [aperture, count] : allCounts) {
        std::snprintf(buf, sizeof buf, "  T%-2d : %8.3f mm", tcode(aperture),
                      2 * b.roundAp[aperture]);
        list.put(buf);
        list.newline();
    }
    const fs::path listPath = folder / kHoleListFile;
    report.listWritten = WriteFileAtomically(listPath, list.str());
    if (report.listWritten) report.written.push_back(listPath);
    return report;
}

bool HoleOutputCommand(const Board& b, const fs::path& settingsFile, const fs::path& folder,
                       HoleOutputChoices& choices,
                       const std::function<bool(HoleOutputChoices&)>& dialog,
                       OutputReport& report) {
    const std::optional<std::string> bytes = ReadOrCreateSettingsFile(settingsFile);
    if (!bytes) return false;
    const HoleOutSettings settings = ReadHoleOutSettings(*bytes);
    choices.files = settings.files;
    choices.codes = settings.codes;
    if (dialog && !dialog(choices)) return false;
    if (!choices.autoT) choices.single = false;
    choices.decimals = std::clamp(choices.decimals, 0, kMaxHoleDecimals);
    report = WriteHoleFiles(b, choices, folder);
    report.settingsWritten =
        WriteFileAtomically(settingsFile, WriteHoleOutSettings(choices.files, choices.codes));
    return true;
}

}  // namespace zevo
