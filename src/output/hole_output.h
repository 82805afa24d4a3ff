// The hole output: drill programs from the round lands of hole layers, in the tool-table format
// (an "M48" header listing the tools) or the plain format, with the list file hout.lst.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "board/model/board.h"
#include "files/output_files.h"
#include "output/output_settings.h"

namespace zevo {

inline constexpr std::string_view kHoleListFile = "hout.lst";
inline constexpr int kMaxHoleDecimals = 3;

// One hole: a round land's centre (mm) and its round aperture.
struct Hole {
    double x = 0, y = 0;
    int aperture = 0;
};

// Inserts the holes of `layer` (round lands at any depth, in document order) into `holes`, kept
// sorted by aperture, then x, then y; a hole within 1e-8 in x and y of one with the same
// aperture is a duplicate and left out. Returns the number of elements of the layer that are not
// round lands (they are not drilled).
int GatherHoles(const Board& b, int layer, std::vector<Hole>& holes);
// Sorts holes taken in document order and removes the duplicates (as GatherHoles does).
void SortHoles(std::vector<Hole>& holes);

// The tool-table program ("M48" ... "M30") of sorted holes; `tcode` maps an aperture to its
// tool number. Values are mm x 10^decimals.
void WriteToolTableProgram(std::string& out, const Board& b, const std::vector<Hole>& holes,
                           const std::function<int(int)>& tcode, int decimals);
// The plain program: "%", "G90", "X0Y0", tool changes and "X..Y..M05" lines, "X0Y0", "M30".
void WritePlainDrill(std::string& out, const std::vector<Hole>& holes,
                     const std::function<int(int)>& tcode, int decimals);

// ---- the current format: an Excellon program with a "METRIC,TZ" header, coordinates in
// millimetres with a decimal point, and the X2 attributes as comments of the header.

// The plating of a drill program's holes.
enum class Plating { kPlated, kNonPlated, kMixed };
// Holes of layer 42 and of a hole layer with the non-through role are not plated.
bool NonPlatedLayer(const Board& b, int layer);
// "Plated,1,<n>,PTH", "NonPlated,1,<n>,NPTH" or "MixedPlating,1,<n>" for `copperLayers` = n.
std::string DrillFileFunction(Plating p, int copperLayers);

// One tool of a program and one hit of it.
struct DrillTool {
    int number = 0;
    double diameter = 0;  // mm
};
struct DrillHit {
    int tool = 0;
    double x = 0, y = 0;  // mm
};
// The whole program: the header with the attributes and the tool table (in the order given),
// then the hits in the order given, a tool change before each new tool, every hit with both
// coordinates ("X12.500Y3.250"), and "M30".
void WriteModernDrill(std::string& out, std::string_view fileFunction,
                      const std::vector<DrillTool>& tools, const std::vector<DrillHit>& hits);

// The name of the non-plated program beside a single file of the current format:
// "board.hol" gives "board-NPTH.hol".
std::filesystem::path NonPlatedFileName(const std::filesystem::path& single);

// What the hole output dialog holds. The decimals are 0..3; the single file is used only with
// automatic T codes.
struct HoleOutputChoices {
    LayerFiles files;
    TCodeTable codes = TCodeTable::Defaults();
    int decimals = 3;
    bool autoT = false;
    bool single = false;
    std::filesystem::path singleFile;
    // The current format (tool table, decimal coordinates, plating marked) in place of the
    // two formats above; the decimals are then always 3. A single file keeps the plated holes,
    // the non-plated ones go to NonPlatedFileName beside it.
    bool modern = false;
};

// Writes the hole files into `folder` (steps after the dialog): deletes every "hol" file of the
// folder, reports layers that hold more than round lands, writes one file per selected layer (or
// the single file) and hout.lst. Does not touch HOutIni.dat.
OutputReport WriteHoleFiles(const Board& b, const HoleOutputChoices& choices,
                            const std::filesystem::path& folder);

// The whole command: reads `settingsFile` (made empty when missing), lets `dialog` edit the
// choices (false cancels; it also chooses the single file), writes the files and rewrites the
// settings with the files and the T-code table as the dialog left it.
bool HoleOutputCommand(const Board& b, const std::filesystem::path& settingsFile,
                       const std::filesystem::path& folder, HoleOutputChoices& choices,
                       const std::function<bool(HoleOutputChoices&)>& dialog, OutputReport& report);

}  // namespace zevo
