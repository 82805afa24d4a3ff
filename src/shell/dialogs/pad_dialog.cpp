#include "shell/dialogs/pad_dialog.h"

#include <algorithm>

#include "board/model/board.h"
#include "text/cp932.h"

namespace zevo {

PadDialogModel::PadDialogModel(Board& board) : board_(board) {
    if (board_.padDefs.empty()) board_.padDefs.emplace_back();
    show(0);
}

std::string PadDialogModel::numberText() const {
    return FormatInt("%d", current_);
}

bool PadDialogModel::showing() const {
    return current_ >= 0 && current_ < static_cast<int>(board_.padDefs.size());
}

std::vector<std::string> PadDialogModel::lines() const {
    std::vector<std::string> out;
    if (!showing()) return out;
    for (const PadPair& p : board_.padDefs[current_]) {
        std::string line = FormatValue("%7.3f", 2 * board_.roundHalf(p.aperture));
        line += FormatInt(": %3d: ", p.layer);
        if (p.layer >= 0 && p.layer < kLayers) line += Cp932ToUtf8(View(board_.layerName[p.layer]));
        out.push_back(std::move(line));
    }
    return out;
}

std::string PadDialogModel::apertureEntry(int n) const {
    return FormatInt("%3d: ", n) + FormatValue("%.3f", 2 * board_.roundHalf(n));
}

std::string PadDialogModel::layerEntry(int layer) const {
    return LayerCaption(board_, layer);
}

void PadDialogModel::selectLine(int index) {
    const int n = showing() ? static_cast<int>(board_.padDefs[current_].size()) : 0;
    selectedLine_ = index >= 0 && index < n ? index : -1;
}

void PadDialogModel::selectAperture(int n) {
    if (n >= 0 && n < kApertures) aperture_ = n;
}

void PadDialogModel::selectLayer(int layer) {
    if (layer >= 0 && layer < kLayers) layer_ = layer;
}

bool PadDialogModel::pressAdd() {
    if (!showing()) return false;
    PadDefinition& def = board_.padDefs[current_];
    const PadPair pair{static_cast<int16_t>(layer_), static_cast<int16_t>(aperture_)};
    if (std::find(def.begin(), def.end(), pair) != def.end()) return false;
    def.push_back(pair);
    changed_ = true;
    return true;
}

bool PadDialogModel::pressDelete() {
    if (!showing()) return false;
    PadDefinition& def = board_.padDefs[current_];
    if (selectedLine_ < 0 || selectedLine_ >= static_cast<int>(def.size())) return false;
    // The line names a layer, not a pair: the first pair on that layer goes.
    const int16_t layer = def[selectedLine_].layer;
    const auto it =
        std::find_if(def.begin(), def.end(), [&](const PadPair& p) { return p.layer == layer; });
    def.erase(it);
    selectedLine_ = -1;
    changed_ = true;
    return true;
}

void PadDialogModel::show(int index) {
    current_ = index;
    selectedLine_ = -1;
    const PadDefinition& def = board_.padDefs[current_];
    if (!def.empty()) {
        aperture_ = def.front().aperture;
        layer_ = def.front().layer;
    }
}

void PadDialogModel::showEmptyAtEnd() {
    auto& defs = board_.padDefs;
    if (defs.empty() || !defs.back().empty()) defs.emplace_back();
    show(static_cast<int>(defs.size()) - 1);
}

bool PadDialogModel::dropCurrentIfEmpty() {
    auto& defs = board_.padDefs;
    if (!showing() || !defs[current_].empty()) return false;
    defs.erase(defs.begin() + current_);
    return true;
}

bool PadDialogModel::duplicate() const {
    if (!showing()) return false;
    const auto& defs = board_.padDefs;
    const PadDefinition& def = defs[current_];
    if (def.empty()) return false;
    for (int i = 0; i < static_cast<int>(defs.size()); ++i)
        if (i != current_ && SamePadDefinition(defs[i], def)) return true;
    return false;
}

bool PadDialogModel::pressPrevious() {
    if (!showing()) return true;
    if (duplicate()) return false;
    if (current_ == 0) {
        dropCurrentIfEmpty();
        showEmptyAtEnd();
        return true;
    }
    dropCurrentIfEmpty();
    show(current_ - 1);
    return true;
}

bool PadDialogModel::pressNext() {
    if (!showing()) return true;
    if (duplicate()) return false;
    const int next = dropCurrentIfEmpty() ? current_ : current_ + 1;
    if (next >= static_cast<int>(board_.padDefs.size()))
        showEmptyAtEnd();
    else
        show(next);
    return true;
}

bool PadDialogModel::close() {
    if (duplicate()) return false;
    auto& defs = board_.padDefs;
    std::erase_if(defs, [](const PadDefinition& d) { return d.empty(); });
    current_ = -1;  // nothing is shown any more
    selectedLine_ = -1;
    return true;
}

}  // namespace zevo
