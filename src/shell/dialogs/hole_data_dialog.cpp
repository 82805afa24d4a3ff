#include "shell/dialogs/hole_data_dialog.h"

#include "shell/dialogs/layer_file_table.h"

namespace zevo {

FieldResult HoleDataDialogModel::pressOk() {
    const auto d = ReadIntField(text_);
    if (!d) return {FieldOutcome::kCalcError, kDecimalsEdit};
    // A negative count would multiply the coordinates instead of dividing them.
    decimals_ = *d > kMaxDecimals || *d < 0 ? kDefaultDecimals : *d;
    return {};
}

}  // namespace zevo
