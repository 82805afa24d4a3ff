// The Gerber input command without its dialog: the files of the chosen layers are read (drill
// programs on hole layers), shifted onto an empty board, cut to the board area and added as one
// undo step.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "board/model/board.h"
#include "board/undo/undo.h"
#include "output/gerber_reader.h"
#include "output/output_settings.h"

namespace zevo {

struct GerberInputChoices {
    LayerFiles files;
    DCodeTables codes = DCodeTables::Defaults();
    int decimals = 3;
    bool inch = false;
};

struct InputReport {
    int added = 0;      // top-level elements added to the board
    int discarded = 0;  // elements that left the board area
    Point shift;        // the move applied on an empty board
    uint32_t warnings = 0;
    int warningCount = 0;
    // Flashes and draws that made nothing for want of an aperture (the first ones listed).
    long long skippedCommands = 0;
    std::vector<SkippedCommand> skipped;
    std::vector<std::filesystem::path> unreadable;  // files that could not be opened
    bool settingsWritten = false;
};

// Adds elements read from files: on an empty board they are first moved right and up by whole
// millimetres until no coordinate is negative; elements whose box leaves the board are
// recycled; the rest are linked at the end of the board and recorded as one undo step (when
// `undo` is given).
void AddReadElements(Board& b, UndoHistory* undo, std::vector<container*>& elements,
                     InputReport& report);

// Reads the file of every chosen layer (`folder` places names without a folder, as the outputs
// do) and adds what was read. `askDrillDecimals` is asked once per command, at the first tool
// selection of a drill program.
void ReadLayerFiles(Board& b, UndoHistory* undo, const GerberInputChoices& choices,
                    const std::filesystem::path& folder,
                    const std::function<int()>& askDrillDecimals, InputReport& report);

// The whole command: reads `settingsFile` (made empty when missing), lets `dialog` edit the
// choices (false cancels), reads the files and rewrites the settings.
bool GerberInputCommand(Board& b, UndoHistory* undo, const std::filesystem::path& settingsFile,
                        const std::filesystem::path& folder, GerberInputChoices& choices,
                        const std::function<bool(GerberInputChoices&)>& dialog,
                        const std::function<int()>& askDrillDecimals, InputReport& report);

}  // namespace zevo
