// The Gerber output command without its dialog: the choices come in, the files, gout.lst and the
// rewritten GOutIni.dat go out, and the message boxes come back in order.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "board/model/board.h"
#include "files/output_files.h"
#include "output/output_settings.h"

namespace zevo {

inline constexpr std::string_view kGerberListFile = "gout.lst";

// What the output dialog holds: the layer files and their selection, the user's D-code table
// (edited with the D-code dialog), the decimals and the extended-output choice. The last two are
// not stored in GOutIni.dat; the editor keeps them while it runs.
struct GerberOutputChoices {
    LayerFiles files;
    DCodeTables codes = DCodeTables::Defaults();
    int decimals = 3;
    bool extended = true;
    // The current format (X2, six decimals, codes assigned as for the extended format) in place
    // of the two above; the decimals and the extended choice are then not used.
    bool modern = false;
};

// Writes the files of the chosen layers into `folder` (steps after the dialog): deletes every
// "grb"/"gbr" file of the folder, assigns automatic D codes for extended output, writes one file
// per selected layer with a name (or deletes it and reports the layer when it is empty), and
// writes gout.lst. The decimals are clamped to 1..5. Does not touch GOutIni.dat.
OutputReport WriteGerberFiles(const Board& b, const GerberOutputChoices& choices,
                              const std::filesystem::path& folder);

// The contents of gout.lst (CP932, CR LF) for the layers written.
std::string GerberListText(const Board& b, const GerberOutputChoices& choices,
                           const DCodeTables& codesInEffect, const UsedApertures& used);

// The whole command: reads `settingsFile` (creating it empty when missing; D codes from the
// defaults, then the file), lets `dialog` edit the choices (its false cancels), writes the files
// and rewrites `settingsFile` with the layer files and the user's D codes. `choices` carries
// the decimals and the extended flag in and the dialog's last state out. Returns false when the
// settings file can be neither read nor created, or the dialog was cancelled.
bool GerberOutputCommand(const Board& b, const std::filesystem::path& settingsFile,
                         const std::filesystem::path& folder, GerberOutputChoices& choices,
                         const std::function<bool(GerberOutputChoices&)>& dialog,
                         OutputReport& report);

}  // namespace zevo
