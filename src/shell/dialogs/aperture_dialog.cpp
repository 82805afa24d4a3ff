#include "shell/dialogs/aperture_dialog.h"

#include <cmath>

#include "board/model/board.h"

namespace zevo {

ApertureDialogModel::ApertureDialogModel(Board& board, ApertureTable table, int first)
    : board_(board), table_(table), selected_(first >= 0 && first < kApertures ? first : 0) {
    showEntry();
}

std::string ApertureDialogModel::entryText(int n) {
    return FormatInt("%d", n);
}

double ApertureDialogModel::half(int n) const {
    return table_ == ApertureTable::kRound ? board_.roundHalf(n) : board_.squareHalf(n);
}

void ApertureDialogModel::showEntry() {
    sizeText_ = FormatValue("%.3f", 2 * half(selected_));
}

void ApertureDialogModel::selectEntry(int n) {
    if (n < 0 || n >= kApertures) return;
    selected_ = n;
    showEntry();
}

FieldResult ApertureDialogModel::pressChange() {
    const auto d = ReadNumericField(sizeText_);
    if (!d) return {FieldOutcome::kCalcError, kSizeEdit};
    if (!(*d >= kMinDiameter && *d < kMaxDiameter)) return {FieldOutcome::kIgnored, 0};
    // The diameter is cut to whole micrometres. A typed 1.001 is 1000.9999... micrometres in
    // binary; the small allowance keeps it at 1.001 instead of dropping a micrometre.
    const double micrometres = std::floor(*d * 1000 + 1e-6);
    const double h = micrometres * 0.001 / 2;
    if (table_ == ApertureTable::kRound)
        board_.SetRoundAperture(selected_, h);
    else
        board_.SetSquareAperture(selected_, h);
    changed_ = true;
    showEntry();
    return {};
}

}  // namespace zevo
