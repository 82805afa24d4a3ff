#include "shell/dialogs/board_size_dialog.h"

#include <cmath>
#include <cstdio>

#include "board/model/board.h"
#include "text/strings.h"

namespace zevo {

BoardSizeDialogModel::BoardSizeDialogModel(Board& board) : board_(board) {
    x_ = FormatValue("%g", board_.sizeX);
    y_ = FormatValue("%g", board_.sizeY);
}

double BoardSizeDialogModel::FitSide(double v) {
    if (!(v >= kMinSide)) return kMinSide;
    if (v > kMaxSide) return kMaxSide;
    // Up to the next whole millimetre; what arithmetic leaves a hair above a whole number
    // (0.7*300 is 210.00000000000003) stays on it.
    return std::ceil(v - 1e-9);
}

FieldResult BoardSizeDialogModel::pressOk() {
    const auto x = ReadNumericField(x_);
    if (!x) return {FieldOutcome::kCalcError, kXEdit};
    const auto y = ReadNumericField(y_);
    if (!y) return {FieldOutcome::kCalcError, kYEdit};
    board_.sizeX = FitSide(*x);
    board_.sizeY = FitSide(*y);
    adjustment_.clear();
    if (std::fabs(board_.sizeX - *x) > 1e-9 || std::fabs(board_.sizeY - *y) > 1e-9) {
        char text[256];
        std::snprintf(text, sizeof text, std::string(TableText(kMsgBoardSizeAdjusted)).c_str(),
                      board_.sizeX, board_.sizeY);
        adjustment_ = text;
    }
    // The grid origin stays on the board: one that a smaller board leaves outside goes back to
    // (0, 0), as when a file holds it.
    board_.SetGridOrigin(board_.gridOrigin.x, board_.gridOrigin.y);
    return {};
}

}  // namespace zevo
