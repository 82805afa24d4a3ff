// The decimals of a drill program being read, asked once per Gerber input.
#pragma once

#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

inline constexpr std::string_view kHoleDataDialogTitle = "ホールデータ設定";
inline constexpr std::string_view kHoleDataDecimalsLabel = "小数部";
inline constexpr std::string_view kHoleDataOkButton = "決定";

class HoleDataDialogModel : public DialogModel {
  public:
    static constexpr int kDecimalsEdit = 101;
    static constexpr int kOkButton = 1;
    static constexpr int kDefaultDecimals = 3;
    static constexpr int kMaxDecimals = 6;

    HoleDataDialogModel() = default;

    const std::string& decimalsText() const { return text_; }
    // What the reader uses: the value taken by 決定, or 3.
    int decimals() const { return decimals_; }

    // --- user actions
    void editDecimals(std::string_view text) { text_ = text; }
    // 決定: a value above 6 (or below 0) becomes 3.
    FieldResult pressOk();
    // Closing without 決定 keeps 3.
    void close() {}

  private:
    std::string text_ = "3";
    int decimals_ = kDefaultDecimals;
};

}  // namespace zevo
