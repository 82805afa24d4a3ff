#include "shell/dialogs/layer_dialog.h"

#include "board/model/board.h"
#include "text/cp932.h"
#include "text/language.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo {

LayerDialogModel::LayerDialogModel(Board& board) : board_(board) {
    loadRows();
}

std::string LayerDialogModel::pageEntry(int page) {
    std::string s(TableText(kStrLayer));
    s += FormatInt(" %3d", page * kRows);
    s += Tr(" ～");
    s += FormatInt(" %3d", page * kRows + kRows - 1);
    return s;
}

std::string LayerDialogModel::numberText(int row) const {
    return FormatInt("%3d", layerOf(row));
}

int LayerDialogModel::colourIndex(int row) const {
    return board_.layerColour[layerOf(row)] & 15;
}

Pixel LayerDialogModel::colour(int row) const {
    return kPalette[size_t(colourIndex(row))];
}

void LayerDialogModel::loadRows() {
    for (int r = 0; r < kRows; ++r) {
        const int layer = layerOf(r);
        Row& row = rows_[r];
        row.name = Cp932ToUtf8(View(board_.layerName[layer]));
        row.original = row.name;
        row.display = board_.layerFlags[layer] & kDisp;
        row.edit = board_.layerFlags[layer] & kActiv;
    }
}

void LayerDialogModel::storeRows() {
    for (int r = 0; r < kRows; ++r) {
        const int layer = layerOf(r);
        const Row& row = rows_[r];
        const uint32_t before = board_.layerFlags[layer];
        const Istr nameBefore = board_.layerName[layer];
        // A name the user did not touch keeps its bytes: a name that does not convert cleanly
        // would otherwise come back with replacement characters in it.
        if (row.name != row.original) {
            const std::string bytes = Utf8ToCp932(row.name);
            board_.SetLayerName(layer, Cp932Prefix(bytes, kNameMax));
        } else {
            board_.SetLayerName(layer, View(nameBefore));
        }
        if (row.display)
            board_.SetLayerSwitch(layer, kDisp);
        else
            board_.ClearLayerSwitch(layer, kDisp);
        if (row.edit)
            board_.SetLayerSwitch(layer, kActiv);
        else
            board_.ClearLayerSwitch(layer, kActiv);
        if (board_.layerFlags[layer] != before || board_.layerName[layer] != nameBefore)
            changed_ = true;
    }
}

void LayerDialogModel::choosePage(int page) {
    if (page < 0 || page >= kPages) return;
    storeRows();
    page_ = page;
    loadRows();
}

void LayerDialogModel::pressPrevious() {
    choosePage(page_ == 0 ? kPages - 1 : page_ - 1);
}

void LayerDialogModel::pressNext() {
    choosePage(page_ == kPages - 1 ? 0 : page_ + 1);
}

bool LayerDialogModel::AcceptsName(std::string_view utf8) {
    return utf8.find(',') == std::string_view::npos;
}

bool LayerDialogModel::editName(int row, std::string_view utf8) {
    if (row < 0 || row >= kRows || !AcceptsName(utf8)) return false;
    rows_[row].name = utf8;
    return true;
}

void LayerDialogModel::setDisplayed(int row, bool on) {
    if (row < 0 || row >= kRows) return;
    rows_[row].display = on;
    if (!on) rows_[row].edit = false;
}

void LayerDialogModel::setEditable(int row, bool on) {
    if (row < 0 || row >= kRows) return;
    rows_[row].edit = on;
    if (on) rows_[row].display = true;
}

bool LayerDialogModel::chooseColour(int row, int index) {
    if (row < 0 || row >= kRows) return false;
    if (index < 0 || index >= ColourChooserModel::kColours ||
        index == board_.layerColour[layerOf(row)])
        return false;
    board_.layerColour[layerOf(row)] = static_cast<uint8_t>(index);
    changed_ = true;
    return true;
}

Pixel ColourChooserModel::colour(int index) {
    return index >= 0 && index < kColours ? kPalette[size_t(index)] : 0;
}

}  // namespace zevo
