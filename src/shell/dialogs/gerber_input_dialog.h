// The Gerber input settings dialog: the same paged layer/file table as the output, the decimals
// of the coordinates, inch units and the D-code dialog. The choices change only on 入力.
#pragma once

#include <string>
#include <string_view>

#include "output/gerber_input.h"
#include "shell/dialogs/dialog_common.h"
#include "shell/dialogs/layer_file_table.h"
#include "tools/dialog.h"

namespace zevo {

inline constexpr std::string_view kGerberInputDialogTitle = "ガーバー入力設定";
inline constexpr std::string_view kGerberInchBox = "インチ";
inline constexpr std::string_view kGerberInputDCodeButton = "Dｺｰﾄﾞ設定";
inline constexpr std::string_view kInputButton = "入力";
inline constexpr std::string_view kInputCancelButton = "取消";

class GerberInputDialogModel : public DialogModel {
  public:
    static constexpr int kDCodeButton = 103;
    static constexpr int kDecimalsEdit = 105;
    static constexpr int kInchBox = 106;
    static constexpr int kInputButton = 1;
    // The coordinate decimals the reader can use.
    static constexpr int kMinDecimals = 0;
    static constexpr int kMaxDecimals = 9;

    GerberInputDialogModel(const Board& board, GerberInputChoices& choices);

    LayerFileTable& table() { return table_; }
    const LayerFileTable& table() const { return table_; }
    const std::string& decimalsText() const { return decimals_; }
    bool inch() const { return work_.inch; }
    DCodeTables& codes() { return work_.codes; }

    // --- user actions
    void editDecimals(std::string_view text) { decimals_ = text; }
    void setInch(bool on) { work_.inch = on; }
    // 入力: the decimals (kept within 0..9), then everything goes into the choices.
    FieldResult pressInput();
    void pressCancel() {}

    // What the dialog's 出力 / 入力 writes into: the command's own choices. A host that answers
    // without a window (a test) fills them directly.
    GerberInputChoices& target() { return choices_; }

  private:
    GerberInputChoices& choices_;
    GerberInputChoices work_;
    LayerFileTable table_;
    std::string decimals_;
};

}  // namespace zevo
