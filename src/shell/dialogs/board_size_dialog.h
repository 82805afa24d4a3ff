// The board size dialog shown for a new document.
#pragma once

#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

class Board;

inline constexpr std::string_view kBoardSizeDialogTitle = "作画サイズ設定";
inline constexpr std::string_view kBoardSizeXLabel = "X(mm)";
inline constexpr std::string_view kBoardSizeYLabel = "Y(mm)";
inline constexpr std::string_view kBoardSizeOkButton = "決定";

class BoardSizeDialogModel : public DialogModel {
  public:
    static constexpr int kXEdit = 101;
    static constexpr int kYEdit = 102;
    static constexpr double kMinSide = 100;
    static constexpr double kMaxSide = 1000;

    explicit BoardSizeDialogModel(Board& board);

    const std::string& xText() const { return x_; }
    const std::string& yText() const { return y_; }

    // --- user actions
    void editX(std::string_view text) { x_ = text; }
    void editY(std::string_view text) { y_ = text; }
    // 決定: both sides, clamped to [100, 1000] and rounded up to whole millimetres. On a
    // calculation error the old size stays and the dialog stays open; it has no other way out.
    FieldResult pressOk();
    // After 決定: what the dialog says when the size taken differs from what was typed (clamped
    // or rounded up), else empty.
    const std::string& adjustment() const { return adjustment_; }

    // The side a typed value gives.
    static double FitSide(double v);

  private:
    Board& board_;
    std::string x_, y_;
    std::string adjustment_;
};

}  // namespace zevo
