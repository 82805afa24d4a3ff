// The code tables of the manufacturing outputs and the three settings files that keep them:
// "GOutIni.dat" (Gerber output: layer files and D codes), "HOutIni.dat" (hole output: layer
// files and T codes) and "GInIni.dat" (Gerber input: layer files and the D-code mapping).
//
// Every file holds CP932 bytes; names are kept as those bytes. Files are written with CR LF and
// read with CR LF or LF. Readers never stop at a bad line: they skip it and count it.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

#include "board/model/board.h"

namespace zevo {

inline constexpr int kMinDCode = 10;
inline constexpr int kMaxDCode = 999;
inline constexpr std::size_t kMaxOutputName = 260;

// An aperture without a D code (in the input's table, where a code stands for one aperture).
inline constexpr int kNoDCode = -1;

// D code of every round and every square aperture.
struct DCodeTables {
    std::array<int, kApertures> round{};
    std::array<int, kApertures> square{};

    // Round aperture i gets D 2i + 10, square aperture i gets D 2i + 11.
    static DCodeTables Defaults();
    int code(int aperture, bool isSquare) const {
        return isSquare ? square[aperture & 0xFF] : round[aperture & 0xFF];
    }
    friend bool operator==(const DCodeTables&, const DCodeTables&) = default;
};

// The Gerber input's table maps each D code to one aperture: `code` goes to the aperture, and
// any other aperture (of either table) that had it is left without a code (kNoDCode).
void MapInputDCode(DCodeTables& t, int aperture, bool isSquare, int code);

// T code of every round aperture (drill tool).
struct TCodeTable {
    std::array<int, kApertures> code{};
    // Aperture i gets T i + 10.
    static TCodeTable Defaults();
    friend bool operator==(const TCodeTable&, const TCodeTable&) = default;
};

// The apertures a set of elements uses, split the way the writers split them: arcs, rectangles
// and lands and lines without the square flag use a round aperture; lands and lines with the
// square flag a square one.
struct UsedApertures {
    std::bitset<kApertures> round;
    std::bitset<kApertures> square;
    bool any() const { return round.any() || square.any(); }
    UsedApertures& operator|=(const UsedApertures& o) {
        round |= o.round;
        square |= o.square;
        return *this;
    }
};

// Adds the apertures of the elements on `layer`, at any depth in groups.
void CollectUsedApertures(const Board& b, int layer, UsedApertures& used);
// The apertures of every layer in one walk over the board.
std::array<UsedApertures, kLayers> UsedAperturesByLayer(const Board& b);
// Whether any land, line, arc or rectangle lies on `layer`, at any depth.
bool LayerHasElements(const Board& b, int layer);

// The codes of an extended output: the used round apertures in increasing number get 11, 12,
// 13, ..., the used square apertures continue the sequence; unused apertures keep `base`.
DCodeTables AutomaticDCodes(const DCodeTables& base, const UsedApertures& used);

// The layer-to-file table of an output or input command: a file name per layer (CP932 bytes, at
// most 260) and whether the layer is selected.
struct LayerFiles {
    std::array<std::string, kLayers> name;
    std::bitset<kLayers> selected;
    // Selected with a file name: what the commands work on.
    bool active(int layer) const { return selected[layer] && !name[layer].empty(); }
};

struct SettingsReadResult {
    int skipped = 0;  // lines of a section that did not follow its rules
};

// ---- GOutIni.dat ----
struct GerberOutSettings {
    LayerFiles files;
    DCodeTables codes = DCodeTables::Defaults();
};
// Reads the "Output", "LineDef" and "FlshDef" sections; the tables start from the defaults.
GerberOutSettings ReadGerberOutSettings(std::string_view bytes, SettingsReadResult* r = nullptr);
std::string WriteGerberOutSettings(const LayerFiles& files, const DCodeTables& codes);

// ---- HOutIni.dat ----
struct HoleOutSettings {
    LayerFiles files;
    TCodeTable codes = TCodeTable::Defaults();
};
HoleOutSettings ReadHoleOutSettings(std::string_view bytes, SettingsReadResult* r = nullptr);
std::string WriteHoleOutSettings(const LayerFiles& files, const TCodeTable& codes);

// ---- GInIni.dat ----
struct GerberInSettings {
    LayerFiles files;
    DCodeTables codes = DCodeTables::Defaults();
};
GerberInSettings ReadGerberInSettings(std::string_view bytes, SettingsReadResult* r = nullptr);
std::string WriteGerberInSettings(const LayerFiles& files, const DCodeTables& codes);

// Splits text into lines at LF, dropping a CR before it (shared by the readers of this folder).
template <class F>
void ForEachTextLine(std::string_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        const std::size_t stop = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, stop - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        f(line);
        pos = stop + 1;
    }
}

// A decimal integer as sscanf's "%d" takes it (leading blanks, a sign, digits), with the number
// of bytes used; false when there is no digit or the value does not fit in an int.
bool ScanInt(std::string_view s, int& value, std::size_t* used = nullptr);

}  // namespace zevo
