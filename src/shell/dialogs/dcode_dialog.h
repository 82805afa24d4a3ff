// The D-code dialog: the D code of one round or square aperture at a time, over the tables of
// the Gerber output or input dialog.
#pragma once

#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"

namespace zevo {

struct DCodeTables;

inline constexpr std::string_view kDCodeDialogTitle = "Dコード設定";
inline constexpr std::string_view kDCodeApertureLabel = "アパーチャ";
inline constexpr std::string_view kDCodeCodeLabel = "Dコード";
inline constexpr std::string_view kDCodeSquareBox = "角アパーチャ";
inline constexpr std::string_view kDCodeChangeButton = "変更";
inline constexpr std::string_view kDCodeCloseButton = "終了";

class DCodeDialogModel {
  public:
    static constexpr int kApertureCombo = 101;
    static constexpr int kSquareBox = 102;
    static constexpr int kCodeEdit = 103;
    static constexpr int kChangeButton = 1;

    // The codes the tables accept: the Gerber output's settings keep 10..999, the input's 4..999
    // (the range of aperture definitions).
    static constexpr int kOutputMinCode = 10;
    static constexpr int kInputMinCode = 4;
    static constexpr int kMaxCode = 999;

    explicit DCodeDialogModel(DCodeTables& codes, int minCode = kOutputMinCode);

    static constexpr int entryCount() { return 256; }
    static std::string entryText(int n);  // "0" .. "255"
    int selected() const { return selected_; }
    bool square() const { return square_; }
    const std::string& codeText() const { return codeText_; }
    int minCode() const { return minCode_; }
    // The input's table (codes from kInputMinCode) maps each code to one aperture: a code given
    // to one aperture is taken from any other that had it, which is then shown without a code.
    bool oneAperturePerCode() const { return minCode_ == kInputMinCode; }

    // --- user actions
    void selectEntry(int n);
    // 角アパーチャ: the square table instead of the round one.
    void setSquare(bool on);
    void editCode(std::string_view text) { codeText_ = text; }
    // 変更: the code of the field for the chosen aperture; a code outside minCode..999 is ignored.
    // An aperture without a code shows an empty field.
    FieldResult pressChange();

  private:
    int& entry();
    void showEntry();

    DCodeTables& codes_;
    int minCode_;
    int selected_ = 0;
    bool square_ = false;
    std::string codeText_;
};

}  // namespace zevo
