#include "shell/dialogs/dcode_dialog.h"

#include "board/model/board.h"
#include "output/output_settings.h"
#include "shell/dialogs/layer_file_table.h"

namespace zevo {

DCodeDialogModel::DCodeDialogModel(DCodeTables& codes, int minCode)
    : codes_(codes), minCode_(minCode) {
    showEntry();
}

std::string DCodeDialogModel::entryText(int n) {
    return FormatInt("%d", n);
}

int& DCodeDialogModel::entry() {
    return square_ ? codes_.square[selected_] : codes_.round[selected_];
}

void DCodeDialogModel::showEntry() {
    codeText_ = entry() < 0 ? std::string() : FormatInt("%d", entry());  // no code: empty
}

void DCodeDialogModel::selectEntry(int n) {
    if (n < 0 || n >= kApertures) return;
    selected_ = n;
    showEntry();
}

void DCodeDialogModel::setSquare(bool on) {
    square_ = on;
    showEntry();
}

FieldResult DCodeDialogModel::pressChange() {
    const auto code = ReadIntField(codeText_);
    if (!code) return {FieldOutcome::kCalcError, kCodeEdit};
    if (*code < minCode_ || *code > kMaxCode) return {FieldOutcome::kIgnored, 0};
    if (oneAperturePerCode())
        MapInputDCode(codes_, selected_, square_, *code);
    else
        entry() = *code;
    showEntry();
    return {};
}

}  // namespace zevo
