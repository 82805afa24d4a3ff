#include "shell/dialogs/gerber_input_dialog.h"

#include <algorithm>

namespace zevo {

GerberInputDialogModel::GerberInputDialogModel(const Board& board, GerberInputChoices& choices)
    : choices_(choices), work_(choices), table_(board, work_.files) {
    decimals_ = FormatInt("%d", std::clamp(work_.decimals, kMinDecimals, kMaxDecimals));
}

FieldResult GerberInputDialogModel::pressInput() {
    const auto d = ReadIntField(decimals_);
    if (!d) return {FieldOutcome::kCalcError, kDecimalsEdit};
    work_.decimals = std::clamp(*d, kMinDecimals, kMaxDecimals);
    decimals_ = FormatInt("%d", work_.decimals);
    choices_ = work_;
    return {};
}

}  // namespace zevo
