// The grid dialog: spacing, origin and display interval of the grid.
#pragma once

#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

class Board;
class ViewState;

inline constexpr std::string_view kGridDialogTitle = "グリッド設定";
inline constexpr std::string_view kGridSpacingLabel = "グリッド間隔(mm)";
inline constexpr std::string_view kGridOriginXLabel = "原点 X(mm)";
inline constexpr std::string_view kGridOriginYLabel = "原点 Y(mm)";
inline constexpr std::string_view kGridIntervalLabel = "表示間隔";
inline constexpr std::string_view kGridSetButton = "設定";
inline constexpr std::string_view kGridCancelButton = "取消";

class GridDialogModel : public DialogModel {
  public:
    static constexpr int kSpacingEdit = 101;
    static constexpr int kOriginXEdit = 102;
    static constexpr int kOriginYEdit = 103;
    static constexpr int kIntervalEdit = 104;
    // Each field holds at most this many bytes.
    static constexpr int kFieldMax = 256;
    // The display interval is kept within this range; below 1 is 1.
    static constexpr int kMaxInterval = 1000000;

    // The fields show the document's grid. With a view, 設定 brings the view's grid along.
    GridDialogModel(Board& board, ViewState* view = nullptr);

    const std::string& spacingText() const { return spacing_; }
    const std::string& originXText() const { return originX_; }
    const std::string& originYText() const { return originY_; }
    const std::string& intervalText() const { return interval_; }

    // --- user actions
    void editSpacing(std::string_view text) { spacing_ = text; }
    void editOriginX(std::string_view text) { originX_ = text; }
    void editOriginY(std::string_view text) { originY_ = text; }
    void editInterval(std::string_view text) { interval_ = text; }
    // 設定: all four fields or none. On kStored the dialog closes.
    FieldResult pressSet();
    // 取消: closes without change.
    void pressCancel() {}

  private:
    Board& board_;
    ViewState* view_;
    std::string spacing_, originX_, originY_, interval_;
};

}  // namespace zevo
