#include "output/gerber_output.h"

#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "output/gerber_writer.h"
#include "output/text_out.h"
#include "paths/file_io.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

std::string Sjis(int id) {
    return TableTextCp932(id);
}

struct ApertureRef {
    bool square = false;
    int index = 0;
};

// Two apertures of `use` that the table gives one code (the first such pair, round apertures
// before square ones, in increasing number), or nothing when every code stands for one aperture.
std::optional<std::pair<ApertureRef, ApertureRef>> SharedCode(const DCodeTables& codes,
                                                              const UsedApertures& use) {
    std::map<int, ApertureRef> byCode;
    for (int pass = 0; pass < 2; ++pass) {
        const bool square = pass == 1;
        for (int i = 0; i < kApertures; ++i) {
            if (!(square ? use.square[i] : use.round[i])) continue;
            const auto [at, fresh] =
                byCode.try_emplace(codes.code(i, square), ApertureRef{square, i});
            if (!fresh) return std::pair{at->second, ApertureRef{square, i}};
        }
    }
    return std::nullopt;
}

// "丸アパーチャー 3 (0.500 mm)"
std::string ApertureText(const Board& b, ApertureRef a) {
    std::string s(TableText(a.square ? kStrSquareAperture : kStrRoundAperture));
    s += ' ';
    s += std::to_string(a.index);
    s += " (";
    s += FixedText(2 * (a.square ? b.squareAp[a.index] : b.roundAp[a.index]), 3);
    s += " mm)";
    return s;
}

}  // namespace

std::string GerberListText(const Board& b, const GerberOutputChoices& choices,
                           const DCodeTables& codesInEffect, const UsedApertures& used) {
    OutputText t;
    {
        // The header names the number of decimals in place of its "%d".
        std::string head = Sjis(kStrGerberFormat);
        const std::size_t at = head.find("%d");
        if (at != std::string::npos)
            head.replace(at, 2,
                         std::to_string(choices.modern ? kModernDecimals
                                                       : ClampGerberDecimals(choices.decimals)));
        t.put(head);
        t.newline();
    }
    const std::string file = Sjis(kStrFile), layerWord = Sjis(kStrLayer);
    for (int layer = 0; layer < kLayers; ++layer) {
        if (!choices.files.active(layer)) continue;
        t.put(file);
        t.put(' ');
        t.put(choices.files.name[layer]);
        t.newline();
        t.put("  ");
        t.put(layerWord);
        t.put(' ');
        t.putInt(layer);
        t.put(" : ");
        t.put(View(b.layerName[layer]));
        t.newline();
        t.newline();
    }
    t.put(Sjis(kStrUsedDCodes));
    t.newline();
    t.newline();
    const std::string roundWord = Sjis(kStrRoundApertureLine);
    const std::string squareWord = Sjis(kStrSquareApertureLine);
    for (int pass = 0; pass < 2; ++pass) {
        const bool square = pass == 1;
        for (int i = 0; i < kApertures; ++i) {
            if (!(square ? used.square[i] : used.round[i])) continue;
            t.put("  ");
            t.put(square ? squareWord : roundWord);
            t.put("  D");
            t.putInt(codesInEffect.code(i, square), 2);
            t.put(" : ");
            t.putFixed(2 * (square ? b.squareAp[i] : b.roundAp[i]), 3);
            t.put(" mm");
            t.newline();
        }
    }
    return t.take();
}

OutputReport WriteGerberFiles(const Board& b, const GerberOutputChoices& choices,
                              const fs::path& folder) {
    OutputReport report;
    DeleteFilesWithExtensions(folder, {"grb", "gbr"}, report.deleted);

    const auto usedByLayer = UsedAperturesByLayer(b);
    UsedApertures selectedUse;
    for (int layer = 0; layer < kLayers; ++layer)
        if (choices.files.active(layer)) selectedUse |= usedByLayer[layer];
    const DCodeTables codes = choices.extended || choices.modern
                                  ? AutomaticDCodes(choices.codes, selectedUse)
                                  : choices.codes;

    UsedApertures writtenUse;
    std::string bytes;
    for (int layer = 0; layer < kLayers; ++layer) {
        if (!choices.files.active(layer)) continue;
        const fs::path path = OutputFilePath(folder, choices.files.name[layer], "grb");
        if (!LayerHasElements(b, layer)) {
            std::error_code ec;
            if (fs::remove(path, ec)) report.deleted.push_back(path);
            report.messages.push_back({std::string(TableText(kMsgNothingToOutput)) +
                                           LayerSuffix(layer, choices.files.name[layer]),
                                       false});
            continue;
        }
        // A plain file names its apertures only by code (gout.lst gives the sizes): a code that
        // would stand for two apertures of the files written refuses the layer.
        UsedApertures withLayer = writtenUse;
        withLayer |= usedByLayer[layer];
        if (const auto shared = SharedCode(codes, withLayer)) {
            std::error_code ec;
            if (fs::remove(path, ec)) report.deleted.push_back(path);
            std::string text(TableText(kMsgDCodeTwoApertures));
            text += " D";
            OutputText code;
            code.putInt(codes.code(shared->first.index, shared->first.square), 2);
            text += code.str();
            text +=
                " : " + ApertureText(b, shared->first) + " / " + ApertureText(b, shared->second);
            text += LayerSuffix(layer, choices.files.name[layer]);
            report.messages.push_back({std::move(text), true});
            continue;
        }
        bytes.clear();
        if (choices.modern)
            WriteModernLayer(bytes, b, layer, codes);
        else
            WriteLayer(bytes, b, layer, choices.extended, choices.decimals, codes);
        if (!WriteFileAtomically(path, bytes)) {
            report.messages.push_back({std::string(TableText(kMsgCannotWriteOutput)), true});
            continue;
        }
        report.written.push_back(path);
        writtenUse |= usedByLayer[layer];
    }

    const fs::path list = folder / kGerberListFile;
    report.listWritten = WriteFileAtomically(list, GerberListText(b, choices, codes, writtenUse));
    if (report.listWritten) report.written.push_back(list);
    return report;
}

bool GerberOutputCommand(const Board& b, const fs::path& settingsFile, const fs::path& folder,
                         GerberOutputChoices& choices,
                         const std::function<bool(GerberOutputChoices&)>& dialog,
                         OutputReport& report) {
    const std::optional<std::string> bytes = ReadOrCreateSettingsFile(settingsFile);
    if (!bytes) return false;
    const GerberOutSettings settings = ReadGerberOutSettings(*bytes);
    choices.files = settings.files;
    choices.codes = settings.codes;
    if (dialog && !dialog(choices)) return false;
    choices.decimals = ClampGerberDecimals(choices.decimals);
    report = WriteGerberFiles(b, choices, folder);
    // The user's table is saved, never the automatic codes of an extended output.
    report.settingsWritten =
        WriteFileAtomically(settingsFile, WriteGerberOutSettings(choices.files, choices.codes));
    return true;
}

}  // namespace zevo
