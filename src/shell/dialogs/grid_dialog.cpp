#include "shell/dialogs/grid_dialog.h"

#include <algorithm>
#include <cmath>

#include "board/model/board.h"
#include "view/view_state.h"

namespace zevo {

GridDialogModel::GridDialogModel(Board& board, ViewState* view) : board_(board), view_(view) {
    spacing_ = FormatValue("%.12g", board_.gridSpacing);
    originX_ = FormatValue("%.9g", board_.gridOrigin.x);
    originY_ = FormatValue("%.9g", board_.gridOrigin.y);
    interval_ = FormatInt("%d", board_.gridInterval);
}

FieldResult GridDialogModel::pressSet() {
    const auto spacing = ReadNumericField(spacing_);
    if (!spacing) return {FieldOutcome::kCalcError, kSpacingEdit};
    const auto x = ReadNumericField(originX_);
    if (!x) return {FieldOutcome::kCalcError, kOriginXEdit};
    const auto y = ReadNumericField(originY_);
    if (!y) return {FieldOutcome::kCalcError, kOriginYEdit};
    const auto interval = ReadNumericField(interval_);
    if (!interval) return {FieldOutcome::kCalcError, kIntervalEdit};

    // The fraction is dropped; what is below 1 shows every grid point, and a huge value stays
    // within what the document can hold.
    const double whole = std::trunc(*interval);
    const int every = whole < 1 ? 1 : whole > kMaxInterval ? kMaxInterval : static_cast<int>(whole);
    board_.SetGrid(std::clamp(*spacing, ViewState::kMinGrid, ViewState::kMaxGrid), every);
    board_.SetGridOrigin(std::clamp(*x, 0.0, board_.sizeX), std::clamp(*y, 0.0, board_.sizeY));
    if (view_) view_->TakeBoardGrid(board_);
    return {};
}

}  // namespace zevo
