// What the estimate program does with the ZevoNC files before packing them: the drill Gerber
// gathered into one file, mirroring for boards drawn from the solder side, renaming and
// measuring.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "estimate/maker_table.h"

namespace zevo {

// `Drills` in `folder`: the merge of `Drill` and `DrillNTH` when both exist (the header of
// `Drill`, the aperture definitions of both in increasing D-code order, the body of `Drill` up
// to its closing move, the rest of `DrillNTH`), a copy of the one that exists, or nothing.
// False when a file exists but cannot be read, or `Drills` cannot be written.
bool GatherDrills(const std::filesystem::path& folder);
// The merge itself, over the two files' bytes.
std::string MergeDrills(std::string_view drill, std::string_view drillNth);

// The mirror axis of files whose largest body X is `maxX`: the next multiple of 10 000 above
// (10 mm at three decimals).
long long MirrorAxis(long long maxX);
// The largest X of the body lines of `bytes` (after the first line; lines beginning with "%"
// are header); false when none has an X.
bool LargestBodyX(std::string_view bytes, long long& maxX);
// `bytes` mirrored about `axis`: X becomes axis - X; in arcs G02 and G03 change places and I
// changes sign. The header, the closing move "G01X0Y0D02*" and lines without X stay.
std::string MirrorBytes(std::string_view bytes, long long axis);
// Mirrors every file of `rows` present in `folder`, through "tmp.nc". False when a file cannot
// be read or rewritten.
bool MirrorFiles(const std::filesystem::path& folder, const std::vector<RenameRow>& rows);

// The extent of a file's drawing in file units: X and Y minimum and maximum, each kept on its
// own; a coordinate of 0 or unchanged from the line before is not counted; arcs count their
// extreme points.
struct Extent {
    bool any = false;
    long long minX = 0, minY = 0, maxX = 0, maxY = 0;
    double centreX() const { return (minX + maxX) / 2.0; }
    double centreY() const { return (minY + maxY) / 2.0; }
};
Extent MeasureBytes(std::string_view bytes);

// One renamed file.
struct RenamedFile {
    size_t row = 0;
    std::string name;  // the new name (UTF-8), in ZevoNC
    Extent extent;
};

struct RenameResult {
    bool ok = true;
    uint32_t present = 0;  // bit i for row i renamed
    std::vector<RenamedFile> files;
    Extent extent;  // over all files; its centre is where the viewer starts
};

// Renames every present file of `rows` in `folder` to its new name for `boardName` and measures
// it. Stops with ok = false at the first rename that fails.
RenameResult RenameAndMeasure(const std::filesystem::path& folder,
                              const std::vector<RenameRow>& rows, bool sideB,
                              std::string_view boardName);

// ---- sets in the current format (X2 Gerber, decimal Excellon)
//
// Such a set is packed as the editor wrote it: its files are neither mirrored (their
// coordinates are not the integers the mirroring rewrites) nor merged.

// Whether the ZevoNC files in `folder` are in the current format (read from the files' own
// headers; the first file that can be read decides).
bool IsModernSet(const std::filesystem::path& folder);
// The rows for such a set: a "Drills" row (the merged drill Gerber) is taken by "Drill" under
// that row's names, and "DrillNTH" follows with "-NPTH" before the names' extension
// (".TXT" gives "-NPTH.TXT"). The new names live in `names`, which must outlive the rows.
std::vector<RenameRow> ModernRows(const std::vector<RenameRow>& rows,
                                  std::deque<std::string>& names);

// A file name (UTF-8) as a path of the host.
std::filesystem::path Utf8Path(std::string_view name);

}  // namespace zevo
