// The Gerber output settings dialog: the paged layer/file table, the decimals, the extended
// format and the D-code dialog it opens. The choices change only when 出力 is pressed.
#pragma once

#include <string>
#include <string_view>

#include "output/gerber_output.h"
#include "shell/dialogs/dialog_common.h"
#include "shell/dialogs/layer_file_table.h"
#include "tools/dialog.h"

namespace zevo {

inline constexpr std::string_view kGerberOutputDialogTitle = "ガーバー出力設定";
inline constexpr std::string_view kGerberExtendedBox = "拡張出力";
inline constexpr std::string_view kGerberDCodeButton = "Dｺｰﾄﾞ設定";
// The current format beside the two above (shared with the hole output dialog).
inline constexpr std::string_view kModernOutputBox = "最新形式 (X2)";
inline constexpr std::string_view kOutputButton = "出力";
inline constexpr std::string_view kOutputCancelButton = "取消";

class GerberOutputDialogModel : public DialogModel {
  public:
    static constexpr int kExtendedBox = 101;
    static constexpr int kDCodeButton = 104;
    static constexpr int kDecimalsEdit = 105;
    static constexpr int kModernBox = 106;
    static constexpr int kOutputButton = 1;
    static constexpr int kMinDecimals = 1;
    static constexpr int kMaxDecimals = 5;

    GerberOutputDialogModel(const Board& board, GerberOutputChoices& choices);

    LayerFileTable& table() { return table_; }
    const LayerFileTable& table() const { return table_; }
    const std::string& decimalsText() const { return decimals_; }
    bool extended() const { return work_.extended; }
    bool modern() const { return work_.modern; }
    // Dｺｰﾄﾞ設定 is usable only for the plain format.
    bool dcodeEnabled() const { return !work_.extended && !work_.modern; }
    // The current format has its own header, decimals and automatic codes.
    bool extendedEnabled() const { return !work_.modern; }
    bool decimalsEnabled() const { return !work_.modern; }
    // The tables the D-code dialog edits (taken over by 出力).
    DCodeTables& codes() { return work_.codes; }

    // --- user actions (the table's own through table())
    void editDecimals(std::string_view text) { decimals_ = text; }
    void setExtended(bool on) { work_.extended = on; }
    void setModern(bool on) { work_.modern = on; }
    // 出力: the decimals clamped to 1..5, then everything goes into the choices.
    FieldResult pressOutput();
    // 取消: the choices stay as they were.
    void pressCancel() {}

    // What the dialog's 出力 / 入力 writes into: the command's own choices. A host that answers
    // without a window (a test) fills them directly.
    GerberOutputChoices& target() { return choices_; }

  private:
    GerberOutputChoices& choices_;
    GerberOutputChoices work_;
    LayerFileTable table_;
    std::string decimals_;
};

}  // namespace zevo
