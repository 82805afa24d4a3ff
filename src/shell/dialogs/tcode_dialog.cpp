#include "shell/dialogs/tcode_dialog.h"

#include "board/model/board.h"
#include "output/output_settings.h"
#include "shell/dialogs/layer_file_table.h"

namespace zevo {

TCodeDialogModel::TCodeDialogModel(TCodeTable& codes) : codes_(codes) {
    showEntry();
}

std::string TCodeDialogModel::entryText(int n) {
    return FormatInt("%d", n);
}

void TCodeDialogModel::showEntry() {
    codeText_ = FormatInt("%d", codes_.code[selected_]);
}

void TCodeDialogModel::selectEntry(int n) {
    if (n < 0 || n >= kApertures) return;
    selected_ = n;
    showEntry();
}

FieldResult TCodeDialogModel::pressChange() {
    const auto code = ReadIntField(codeText_);
    if (!code) return {FieldOutcome::kCalcError, kCodeEdit};
    if (*code < kMinCode || *code > kMaxCode) return {FieldOutcome::kIgnored, 0};
    codes_.code[selected_] = *code;
    showEntry();
    return {};
}

}  // namespace zevo
