// The board makers and generic file sets the estimate program offers: how the ZevoNC files are
// renamed for each, which options its order form takes, and how the options are preset from
// the board.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "estimate/command_line.h"

namespace zevo {

// One row of a renaming table: the file in ZevoNC and its new names with side A or side B as
// the component side. A new name beginning with "." or "-" replaces the board file's last
// extension; any other is used as it stands.
struct RenameRow {
    std::string_view zevoNc;
    std::string_view sideA;
    std::string_view sideB;
};

struct OptionItem {
    std::string_view label;
    std::string_view value;
};

struct MakerOption {
    std::string_view label;
    std::string_view key;
    int defaultItem = -1;  // -1: nothing selected at first
    std::vector<OptionItem> items;
};

// Sets the option selections from the command line; `sideB`: side B is the component side.
using SideCallback = void (*)(const EstimateArguments& args, bool sideB,
                              std::vector<int>& selections);

struct MakerEntry {
    std::string name;
    std::string url;     // the order form; empty: no order form (a generic entry, or not set up)
    bool maker = false;  // a board maker (sizes, quantity and an order form) or a generic set
    std::vector<RenameRow> rows;
    SideCallback side = nullptr;
    std::string_view defaultX, defaultY, defaultQuantity;  // empty: the field stays disabled
    std::vector<MakerOption> options;                      // at most nine

    bool allowsSizes() const { return maker; }
    bool hasOrderForm() const { return maker && !url.empty(); }
};

inline constexpr size_t kMaxMakerOptions = 9;

// The board maker as the settings file beside the program names it.
struct MakerSettings {
    std::string name;
    std::string url;
};

// "Ordavist.ini": "[Maker]" with "Name=" and "URL=" (CP932, CR LF).
inline constexpr std::string_view kMakerSettingsFile = "Ordavist.ini";
// The display name of the board maker when the settings do not give one.
inline constexpr std::string_view kDefaultMakerName = "基板メーカー";

// Reads the settings file's bytes (CP932): the name and URL in UTF-8. Unknown lines are
// skipped; a missing key keeps the default (the default name, an empty URL).
MakerSettings ParseMakerSettings(std::string_view bytes);
// The same from a file; the defaults when it cannot be read.
MakerSettings ReadMakerSettings(const std::filesystem::path& file);

// The shipped table: the board maker (from `settings`) and the three generic entries.
std::vector<MakerEntry> MakerTable(const MakerSettings& settings);

// The new name of `row` for the board file `boardName`.
std::string NewFileName(const RenameRow& row, bool sideB, std::string_view boardName);

// The board maker's presets: layers from LY and the pattern bits, silk and resist from their
// bits, the component side deciding which of "部品面のみ" and "半田面のみ" a single side is.
void MakerSideCallback(const EstimateArguments& args, bool sideB, std::vector<int>& selections);

}  // namespace zevo
