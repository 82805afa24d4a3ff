#include "shell/dialogs/swap_dialog.h"

#include "board/model/board.h"

namespace zevo {

SwapDialogModel::SwapDialogModel(Board& board) : board_(board) {}

std::string SwapDialogModel::layerEntry(int layer) const {
    return LayerCaption(board_, layer);
}

std::vector<std::pair<int, int>> SwapDialogModel::pairs() const {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < kLayers; ++i) {
        const int partner = board_.swapLayer[i];
        if (partner > i && partner < kLayers) out.emplace_back(i, partner);
    }
    return out;
}

std::vector<std::string> SwapDialogModel::lines() const {
    std::vector<std::string> out;
    for (const auto& [a, b] : pairs()) {
        std::string line = LayerCaption(board_, a);
        for (std::size_t w = Cp932Width(line); w < 20; ++w) line += ' ';
        line += kSwapArrow;
        line += LayerCaption(board_, b);
        out.push_back(std::move(line));
    }
    return out;
}

void SwapDialogModel::selectLayer1(int layer) {
    layer1_ = layer >= 0 && layer < kLayers ? layer : -1;
}

void SwapDialogModel::selectLayer2(int layer) {
    layer2_ = layer >= 0 && layer < kLayers ? layer : -1;
}

void SwapDialogModel::selectLine(int index) {
    const int n = static_cast<int>(pairs().size());
    selectedLine_ = index >= 0 && index < n ? index : -1;
}

bool SwapDialogModel::pressAdd() {
    if (layer1_ < 0 || layer2_ < 0 || layer1_ == layer2_) return false;
    if (!board_.PairLayers(layer1_, layer2_)) return false;
    selectedLine_ = -1;
    changed_ = true;
    return true;
}

bool SwapDialogModel::pressDelete() {
    const auto all = pairs();
    if (selectedLine_ < 0 || selectedLine_ >= static_cast<int>(all.size())) return false;
    // The pair is taken from the table behind the line rather than read back from its text: a
    // layer name with blanks or a long first caption would not read back.
    const auto [a, b] = all[selectedLine_];
    board_.swapLayer[a] = static_cast<int16_t>(a);
    board_.swapLayer[b] = static_cast<int16_t>(b);
    selectedLine_ = -1;
    changed_ = true;
    return true;
}

}  // namespace zevo
