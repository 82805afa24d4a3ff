// Reading photo-plotter files (RS-274X, or plain files with the apertures of GInIni.dat) and
// drill programs back into board elements that use the editor's own aperture tables.
//
// The readers meet files from every CAD program there is. They never stop at bad input (except
// where a drill program must stop: a tool they cannot know), never allocate in proportion to a
// number written in the file, and report what they skipped as warning flags.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "board/model/board.h"
#include "output/output_settings.h"

namespace zevo {

// What a reader skipped or could not follow. Several can be set at once.
enum InputWarning : uint32_t {
    kWarnUnknownCode = 1u << 0,        // a G, D or M code or a letter the reader does not know
    kWarnBadParameter = 1u << 1,       // a parameter block not understood or refused
    kWarnBadAperture = 1u << 2,        // an aperture definition refused (size, number, shape)
    kWarnUndefinedAperture = 1u << 3,  // a draw or flash with an aperture slot never defined
    kWarnBadNumber = 1u << 4,          // a number that is not finite or far beyond any board
    kWarnBadArc = 1u << 5,             // an arc of zero radius
    kWarnUnterminated = 1u << 6,       // a block without "*" or a "%" block never closed
    kWarnApertureHole = 1u << 7,       // an aperture with a hole (the hole is not kept)
    kWarnDecimalsDiffer = 1u << 8,     // FS with different decimals for X and Y
    kWarnAfterEnd = 1u << 9,           // data after M02
    kWarnMacro = 1u << 10,             // a macro primitive or expression not understood
    kWarnLimit = 1u << 11,             // the element limit of one file was reached
    kWarnDrillStopped = 1u << 12,      // a drill program stopped at a tool it cannot use
    kWarnRegion = 1u << 13,            // G36/G37 regions: their outline is read as draws
};

// Elements are never more than this per file: a file cannot make the reader exhaust memory.
inline constexpr std::size_t kMaxElementsPerFile = 4'000'000;

struct GerberReadOptions {
    int layer = 1;
    int decimals = 3;   // 10^-decimals per unit of a coordinate until FS says otherwise
    bool inch = false;  // units until MO, G70/G71 or G20/G21 say otherwise
    DCodeTables codes = DCodeTables::Defaults();  // slots preset from the tables
};

// A flash or draw that made nothing because its D code has no usable aperture (a definition
// that was refused, a code never defined, a shape that cannot draw): its layer and the line of
// the file where the command begins.
struct SkippedCommand {
    int layer = 0;
    long long line = 0;
};
// Only the first ones are listed; all are counted.
inline constexpr std::size_t kMaxListedSkips = 100;

struct InputResult {
    std::vector<container*> elements;  // unlinked, in file order
    uint32_t warnings = 0;
    int warningCount = 0;
    long long commands = 0;  // blocks read
    long long skippedCommands = 0;
    std::vector<SkippedCommand> skipped;  // the first kMaxListedSkips of them
    void warn(uint32_t w) {
        warnings |= w;
        ++warningCount;
    }
    void skip(int layer, long long line) {
        ++skippedCommands;
        if (skipped.size() < kMaxListedSkips) skipped.push_back({layer, line});
    }
};

// Reads a Gerber file into new unlinked elements of `b`'s pools (on options.layer).
void ReadGerber(Board& b, std::string_view bytes, const GerberReadOptions& options,
                InputResult& result);

// The round aperture whose half size is nearest to r: an exact match (within 1e-8) in table
// order first, else the smallest difference (the first of equals). r below 0.0005 counts as
// 0.0005.
int NearestRoundAperture(const Board& b, double r);

// Whether the file is a drill program: the first line beginning with "T" and a digit, among the
// first 29 lines and before any line that begins with "X" or holds "*", contains "C".
bool LooksLikeDrillFile(std::string_view bytes);

struct DrillReadOptions {
    int layer = 8;
    bool inch = false;  // units until the program says otherwise
    // Asked once, at the first tool selection: the number of decimals (values above 6 become 3).
    std::function<int()> askDecimals;
};

// Reads a drill program: tool definitions "TnCd", tool selections "Tn" and hits "X..Y..", each
// hit a round land with the tool's aperture. Reading stops at a tool number above 255 (above
// 1023 for a selection) or below 0, a drill radius below 0.025 mm, an undefined tool, or a hit
// before any tool.
void ReadDrill(Board& b, std::string_view bytes, const DrillReadOptions& options,
               InputResult& result);

}  // namespace zevo
