// The T-code dialog: the drill tool number of one round aperture at a time, over the table of
// the hole output dialog.
#pragma once

#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"

namespace zevo {

struct TCodeTable;

inline constexpr std::string_view kTCodeDialogTitle = "Tコード設定";
inline constexpr std::string_view kTCodeApertureLabel = "アパーチャ";
inline constexpr std::string_view kTCodeCodeLabel = "Tコード";
inline constexpr std::string_view kTCodeChangeButton = "変更";
inline constexpr std::string_view kTCodeCloseButton = "終了";

class TCodeDialogModel {
  public:
    static constexpr int kApertureCombo = 101;
    static constexpr int kCodeEdit = 102;
    static constexpr int kChangeButton = 1;
    // Tool numbers the field accepts; the defaults run from 10 to 265.
    static constexpr int kMinCode = 1;
    static constexpr int kMaxCode = 999;

    explicit TCodeDialogModel(TCodeTable& codes);

    static constexpr int entryCount() { return 256; }
    static std::string entryText(int n);
    int selected() const { return selected_; }
    const std::string& codeText() const { return codeText_; }

    // --- user actions
    void selectEntry(int n);
    void editCode(std::string_view text) { codeText_ = text; }
    // 変更: the tool number of the field for the chosen aperture; outside 1..999 it is ignored.
    FieldResult pressChange();

  private:
    void showEntry();

    TCodeTable& codes_;
    int selected_ = 0;
    std::string codeText_;
};

}  // namespace zevo
