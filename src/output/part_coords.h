// The part coordinate report: where every placed part sits (for the placing machine), the parts
// list grouped by name and attribute, and the pins of every part type relative to the part.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "board/model/board.h"
#include "files/output_files.h"

namespace zevo {

// What the settings dialog ("部品座標出力設定") holds.
struct PartCoordsSettings {
    std::filesystem::path file;  // the report file (edit 101)
    bool fromOrigin = false;     // positions relative to the board origin (check box 102)
    bool mirrorX = false;  // with fromOrigin: x mirrored, angle turned by 180° (check box 103)
};

// A top-level group with a reference, a part name and a part placement.
bool IsPlacedPart(const group* g);
// The name of the first mount layer (in layer order) holding an element of the part, or "".
std::string_view MountingSide(const Board& b, const group* part);

// The file the dialog proposes: the board file (or "untitled.pcb") with the extension "pos".
std::filesystem::path DefaultPartCoordsFile(const std::filesystem::path& boardFile);

// The report's bytes (Shift-JIS, CR LF) for the board as it stands.
std::string PartCoordsText(const Board& b, const PartCoordsSettings& settings);

struct PartCoordsReport {
    enum Status { kWritten, kDuplicate, kCancelled, kCannotWrite } status = kCancelled;
    std::filesystem::path written;
    std::vector<OutputMessage> messages;  // in the order they are shown
};

// The whole command: the duplicate reference check (stops), the warning about referenced groups
// that are no placed parts (goes on), the dialog (`dialog` edits the settings, whose file is
// first set to the proposed name; false cancels), then the report is written in one step.
// With `showNow` the messages that come before the dialog are handed to it as they arise (so a
// window shows them before it opens the dialog) instead of being kept in the report.
PartCoordsReport PartCoordinatesCommand(
    const Board& b, const std::filesystem::path& boardFile, PartCoordsSettings& settings,
    const std::function<bool(PartCoordsSettings&)>& dialog,
    const std::function<void(const OutputMessage&)>& showNow = {});

}  // namespace zevo
