#include "shell/dialogs/gerber_output_dialog.h"

#include <algorithm>

namespace zevo {

GerberOutputDialogModel::GerberOutputDialogModel(const Board& board, GerberOutputChoices& choices)
    : choices_(choices), work_(choices), table_(board, work_.files) {
    decimals_ = FormatInt("%d", std::clamp(work_.decimals, kMinDecimals, kMaxDecimals));
}

FieldResult GerberOutputDialogModel::pressOutput() {
    // The decimals are greyed for the current format: what they hold does not count then.
    if (!work_.modern) {
        const auto d = ReadIntField(decimals_);
        if (!d) return {FieldOutcome::kCalcError, kDecimalsEdit};
        work_.decimals = std::clamp(*d, kMinDecimals, kMaxDecimals);
        decimals_ = FormatInt("%d", work_.decimals);
    }
    choices_ = work_;
    return {};
}

}  // namespace zevo
