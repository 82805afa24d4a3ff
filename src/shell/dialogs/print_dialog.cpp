#include "shell/dialogs/print_dialog.h"

#include <algorithm>

#include "board/model/board.h"

namespace zevo {

PrintDialogModel::PrintDialogModel(PrintKind kind, PrintOptions& options,
                                   double standardMagnification)
    : kind_(kind), options_(options), flags_(options.flags) {
    magnification_ = FormatValue("%.12g", standardMagnification);
}

void PrintDialogModel::setMirror(bool on) {
    flags_ = on ? flags_ | kPrintMirror : flags_ & ~uint32_t(kPrintMirror);
}

void PrintDialogModel::setNegative(bool on) {
    if (!negativeEnabled()) return;
    flags_ = on ? flags_ | kPrintNegative : flags_ & ~uint32_t(kPrintNegative);
}

std::vector<PrintDialogModel::MenuLine> PrintDialogModel::contextMenu() const {
    return {
        {MenuItem::kToPrinter, kPrintToPrinterItem, toBmp(), false},
        {MenuItem::kToBmp, kPrintToBmpItem, !toBmp(), false},
        {MenuItem::kStoreStandard, kPrintStandardItem, true, true},
        {MenuItem::kCancel, kPrintMenuCancelItem, true, true},
    };
}

bool PrintDialogModel::chooseMenu(MenuItem item) {
    switch (item) {
        case MenuItem::kToPrinter:
            if (!toBmp()) return false;
            flags_ &= ~uint32_t(kPrintToBmp);
            return true;
        case MenuItem::kToBmp:
            if (toBmp()) return false;
            flags_ |= kPrintToBmp;
            return true;
        case MenuItem::kStoreStandard: {
            const auto m = ReadNumericField(magnification_);
            if (!m) return false;
            return storeStandard ? storeStandard(*m) : true;
        }
        case MenuItem::kCancel:
            return true;
    }
    return false;
}

FieldResult PrintDialogModel::pressPrint() {
    const auto x = ReadNumericField(offsetX_);
    if (!x) return {FieldOutcome::kCalcError, kOffsetXEdit};
    const auto y = ReadNumericField(offsetY_);
    if (!y) return {FieldOutcome::kCalcError, kOffsetYEdit};
    const auto m = ReadNumericField(magnification_);
    if (!m) return {FieldOutcome::kCalcError, kMagnificationEdit};
    options_.offsetX = *x;
    options_.offsetY = *y;
    options_.magnification = std::clamp(*m, kMinPrintMagnification, kMaxPrintMagnification);
    options_.flags = flags_;
    return {};
}

PrintLayerDialogModel::PrintLayerDialogModel(Board& board) : board_(board) {
    for (int l = 0; l < kLayers; ++l) {
        if (board_.layerFlags[size_t(l)] & kPrint)
            printed_.push_back(l);
        else if (!IsBlank(board_.layerName[size_t(l)]))
            others_.push_back(l);
    }
}

namespace {

bool MoveLayer(std::vector<int>& from, std::vector<int>& to, int layer) {
    const auto it = std::find(from.begin(), from.end(), layer);
    if (it == from.end()) return false;
    from.erase(it);
    to.insert(std::lower_bound(to.begin(), to.end(), layer), layer);
    return true;
}

}  // namespace

bool PrintLayerDialogModel::add(int layer) {
    return MoveLayer(others_, printed_, layer);
}

bool PrintLayerDialogModel::remove(int layer) {
    return MoveLayer(printed_, others_, layer);
}

bool PrintLayerDialogModel::pressOk() {
    bool changed = false;
    for (int l : printed_)
        if (!(board_.layerFlags[size_t(l)] & kPrint)) {
            board_.SetLayerSwitch(l, kPrint);
            changed = true;
        }
    for (int l : others_)
        if (board_.layerFlags[size_t(l)] & kPrint) {
            board_.ClearLayerSwitch(l, kPrint);
            changed = true;
        }
    return changed;
}

}  // namespace zevo
