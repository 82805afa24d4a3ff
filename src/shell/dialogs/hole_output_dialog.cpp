#include "shell/dialogs/hole_output_dialog.h"

#include <algorithm>

#include "board/model/board.h"
#include "text/cp932.h"

namespace zevo {

HoleOutputDialogModel::HoleOutputDialogModel(const Board& board, HoleOutputChoices& choices)
    : board_(board), choices_(choices), work_(choices) {
    if (!work_.autoT) work_.single = false;
    decimals_ = FormatInt("%d", std::clamp(work_.decimals, 0, kMaxHoleDecimals));
    chooseLayer(0);
}

std::string HoleOutputDialogModel::layerEntry(int layer) const {
    return LayerCaption(board_, layer);
}

std::vector<int> HoleOutputDialogModel::listLayers() const {
    std::vector<int> layers;
    for (int layer = 0; layer < kLayers; ++layer)
        if (work_.files.selected[layer]) layers.push_back(layer);
    return layers;
}

std::string HoleOutputDialogModel::listEntry(int layer) const {
    std::string s = LayerCaption(board_, layer);
    s += "  ";
    s += Cp932ToUtf8(work_.files.name[layer]);
    return s;
}

void HoleOutputDialogModel::chooseLayer(int layer) {
    if (layer < 0 || layer >= kLayers) return;
    chosen_ = layer;
    file_ = Cp932ToUtf8(work_.files.name[layer]);
}

bool HoleOutputDialogModel::pressAdd() {
    const std::string name = OutputNameFromField(file_);
    if (name.empty()) return false;
    work_.files.name[chosen_] = name;
    work_.files.selected[chosen_] = true;
    file_ = Cp932ToUtf8(name);
    listRow_ = -1;
    return true;
}

void HoleOutputDialogModel::chooseListRow(int row) {
    const int n = static_cast<int>(listLayers().size());
    listRow_ = row >= 0 && row < n ? row : -1;
}

bool HoleOutputDialogModel::pressRemove() {
    const std::vector<int> layers = listLayers();
    if (listRow_ < 0 || listRow_ >= static_cast<int>(layers.size())) return false;
    work_.files.selected[layers[listRow_]] = false;
    listRow_ = -1;
    return true;
}

void HoleOutputDialogModel::setAutoT(bool on) {
    work_.autoT = on;
    if (!on) work_.single = false;
}

void HoleOutputDialogModel::setSingle(bool on) {
    work_.single = on && work_.autoT;
}

FieldResult HoleOutputDialogModel::pressOutput() {
    awaiting_ = false;
    // The decimals are greyed for the current format: what they hold does not count then.
    if (!work_.modern) {
        const auto d = ReadIntField(decimals_);
        if (!d) return {FieldOutcome::kCalcError, kDecimalsEdit};
        if (*d < 0 || *d > kMaxHoleDecimals) return {FieldOutcome::kIgnored, 0};
        work_.decimals = *d;
    }
    if (work_.single) {
        awaiting_ = true;
        return {};
    }
    choices_ = work_;
    return {};
}

bool HoleOutputDialogModel::chooseSingleFile(const std::filesystem::path& file) {
    if (!awaiting_) return false;
    awaiting_ = false;
    if (file.empty()) return false;
    work_.singleFile = file;
    choices_ = work_;
    return true;
}

}  // namespace zevo
