// The ZevoNC set: the layer and drill files the fabrication estimate program collects, under
// fixed names, in a folder of their own.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "board/model/board.h"
#include "files/output_files.h"
#include "output/output_settings.h"

namespace zevo {

inline constexpr std::string_view kZevoNcFolder = "ZevoNC";

// Makes `parent`/ZevoNC an empty folder: a file (or a link) of that name is removed, the
// contents of an existing folder are deleted (subfolders too; links are removed, never
// followed). Nothing outside that folder is touched. Nothing when it cannot be made.
std::optional<std::filesystem::path> PrepareZevoNcFolder(const std::filesystem::path& parent);

// The layer files of the set in `folder` (extended format, 3 decimals, no extension): PatternA,
// PatternB, SilkA, SilkB, MaskA, MaskB, Board, Drill and DrillNTH from layers 1-8 and 42, and
// InnerLy1, InnerLy2, ... from the pattern layers 10..255, each only when its layer holds an
// element. The automatic D codes are assigned over all of these files together and left in
// `codes`. Files that cannot be written are skipped.
// With `modern` the files are in the current format (X2), under the same names.
void WriteZevoNcLayers(const Board& b, const std::filesystem::path& folder, DCodeTables& codes,
                       OutputReport& report, bool modern = false);

// The drill programs of the set: DrillNC1 (layer 8), DrillNC2 (layer 42) and DrillNC (both),
// tools numbered by diameter. Reports elements of those layers that are not round lands. With
// `modern` the programs are in the current format, marked plated, non-plated and mixed.
void WriteDrillNc(const Board& b, const std::filesystem::path& folder, OutputReport& report,
                  bool modern = false);

// Prepares `parent`/ZevoNC and writes both; false only when the folder cannot be prepared.
bool WriteZevoNcSet(const Board& b, const std::filesystem::path& parent, DCodeTables& codes,
                    OutputReport& report, bool modern = false);

}  // namespace zevo
