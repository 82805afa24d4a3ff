#include "shell/dialogs/layer_file_table.h"

#include <cmath>

#include "board/model/board.h"
#include "output/output_settings.h"
#include "text/cp932.h"

namespace zevo {

std::string OutputNameFromField(std::string_view utf8) {
    return std::string(Cp932Prefix(Utf8ToCp932(utf8), kMaxOutputName));
}

std::optional<int> ReadIntField(std::string_view utf8) {
    const auto v = ReadNumericField(utf8);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    const double t = std::trunc(*v);
    // Far beyond any number of decimals: kept within an int, still out of every range.
    if (t > 1e6) return 1000000;
    if (t < -1e6) return -1000000;
    return static_cast<int>(t);
}

std::string LayerFileTable::numberText(int row) const {
    return FormatInt("%3d", layerOf(row));
}

std::string LayerFileTable::layerNameText(int row) const {
    return Cp932ToUtf8(View(board_.layerName[layerOf(row)]));
}

std::string LayerFileTable::fileText(int row) const {
    return Cp932ToUtf8(files_.name[layerOf(row)]);
}

bool LayerFileTable::selected(int row) const {
    return files_.selected[layerOf(row)];
}

bool LayerFileTable::selectable(int row) const {
    return !files_.name[layerOf(row)].empty();
}

void LayerFileTable::pressPrevious() {
    page_ = page_ == 0 ? kLastPage : page_ - kRows;
}

void LayerFileTable::pressNext() {
    page_ = page_ >= kLastPage ? 0 : page_ + kRows;
}

void LayerFileTable::editFile(int row, std::string_view utf8) {
    if (row < 0 || row >= kRows) return;
    const int layer = layerOf(row);
    files_.name[layer] = OutputNameFromField(utf8);
    if (files_.name[layer].empty()) files_.selected[layer] = false;
}

void LayerFileTable::setSelected(int row, bool on) {
    if (row < 0 || row >= kRows) return;
    if (on && !selectable(row)) return;
    files_.selected[layerOf(row)] = on;
}

}  // namespace zevo
