#include "output/gerber_input.h"

#include <cmath>
#include <optional>
#include <system_error>

#include "files/output_files.h"
#include "paths/file_io.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

bool BoundsOf(const container* e, Box& box) {
    if (e->kind == kGroup) return Board::GroupBounds(AsGroup(e), box);
    if (!IsDrawn(e)) return false;
    box = AsDrawn(e)->bounds;
    return true;
}

}  // namespace

void AddReadElements(Board& b, UndoHistory* undo, std::vector<container*>& elements,
                     InputReport& report) {
    if (elements.empty()) return;
    if (b.items.emptyList()) {
        double minX = 0, minY = 0;
        bool any = false;
        for (const container* e : elements) {
            Box box;
            if (!BoundsOf(e, box)) continue;
            if (!any || box.minX < minX) minX = box.minX;
            if (!any || box.minY < minY) minY = box.minY;
            any = true;
        }
        const double dx = any && minX < 0 ? std::ceil(-minX) : 0;
        const double dy = any && minY < 0 ? std::ceil(-minY) : 0;
        if (dx != 0 || dy != 0) {
            for (container* e : elements) e->translate(b, dx, dy);
            report.shift = {dx, dy};
        }
    }
    UndoStep* step = undo ? undo->BeginStep() : nullptr;
    for (container* e : elements) {
        Box box;
        const bool inside = BoundsOf(e, box) && box.minX >= 0 && box.minY >= 0 &&
                            box.maxX <= b.sizeX && box.maxY <= b.sizeY;
        if (!inside) {
            e->recycle(b);
            ++report.discarded;
            continue;
        }
        b.AppendElement(nullptr, e);
        if (step) undo->RecordAdded(step, e);
        ++report.added;
    }
    if (step) undo->CommitStep(step);
    elements.clear();
}

void ReadLayerFiles(Board& b, UndoHistory* undo, const GerberInputChoices& choices,
                    const fs::path& folder, const std::function<int()>& askDrillDecimals,
                    InputReport& report) {
    std::optional<int> drillDecimals;
    const std::function<int()> askOnce = [&] {
        if (!drillDecimals) drillDecimals = askDrillDecimals ? askDrillDecimals() : 3;
        return *drillDecimals;
    };
    InputResult result;
    for (int layer = 0; layer < kLayers; ++layer) {
        if (!choices.files.active(layer)) continue;
        const fs::path path = OutputFilePath(folder, choices.files.name[layer], "grb");
        const std::optional<std::string> bytes = ReadWholeFile(path);
        if (!bytes) {
            report.unreadable.push_back(path);
            continue;
        }
        if (b.HasRole(layer, kRoleHole) && LooksLikeDrillFile(*bytes)) {
            DrillReadOptions o;
            o.layer = layer;
            o.inch = choices.inch;
            o.askDecimals = askOnce;
            ReadDrill(b, *bytes, o, result);
        } else {
            GerberReadOptions o;
            o.layer = layer;
            o.decimals = choices.decimals;
            o.inch = choices.inch;
            o.codes = choices.codes;
            ReadGerber(b, *bytes, o, result);
        }
    }
    report.warnings |= result.warnings;
    report.warningCount += result.warningCount;
    report.skippedCommands += result.skippedCommands;
    for (const SkippedCommand& k : result.skipped)
        if (report.skipped.size() < kMaxListedSkips) report.skipped.push_back(k);
    AddReadElements(b, undo, result.elements, report);
}

bool GerberInputCommand(Board& b, UndoHistory* undo, const fs::path& settingsFile,
                        const fs::path& folder, GerberInputChoices& choices,
                        const std::function<bool(GerberInputChoices&)>& dialog,
                        const std::function<int()>& askDrillDecimals, InputReport& report) {
    const std::optional<std::string> bytes = ReadOrCreateSettingsFile(settingsFile);
    if (!bytes) return false;
    const GerberInSettings settings = ReadGerberInSettings(*bytes);
    choices.files = settings.files;
    choices.codes = settings.codes;
    if (dialog && !dialog(choices)) return false;
    ReadLayerFiles(b, undo, choices, folder, askDrillDecimals, report);
    report.settingsWritten =
        WriteFileAtomically(settingsFile, WriteGerberInSettings(choices.files, choices.codes));
    return true;
}

}  // namespace zevo
