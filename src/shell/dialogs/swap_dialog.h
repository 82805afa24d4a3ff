// The dialog of the layer swap pairs: which layer an element goes to when its part is turned
// over.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

class Board;

inline constexpr std::string_view kSwapDialogTitle = "部品面変更設定";
inline constexpr std::string_view kSwapLayer1Label = "レイヤー１";
inline constexpr std::string_view kSwapLayer2Label = "レイヤー２";
inline constexpr std::string_view kSwapAddButton = "追加";
inline constexpr std::string_view kSwapDeleteButton = "削除";
inline constexpr std::string_view kSwapCloseButton = "終了";
inline constexpr std::string_view kSwapArrow = "⇔";

class SwapDialogModel : public DialogModel {
  public:
    static constexpr int kPairList = 101;
    static constexpr int kLayer1Combo = 102;
    static constexpr int kLayer2Combo = 103;
    static constexpr int kAddButton = 104;
    static constexpr int kDeleteButton = 105;

    explicit SwapDialogModel(Board& board);

    // The layer lists of both combo boxes; nothing is selected at first (-1).
    static constexpr int layerCount() { return 256; }
    std::string layerEntry(int layer) const;
    int selectedLayer1() const { return layer1_; }
    int selectedLayer2() const { return layer2_; }
    // Every pair once, the lower layer first: the first caption padded to 20 columns, "⇔", the
    // second caption.
    std::vector<std::string> lines() const;
    // The layers of each line, in the order of lines().
    std::vector<std::pair<int, int>> pairs() const;
    int selectedLine() const { return selectedLine_; }
    bool changed() const { return changed_; }

    // --- user actions
    void selectLayer1(int layer);
    void selectLayer2(int layer);
    void selectLine(int index);
    // 追加: pairs the two selected layers (each leaves an earlier pair first).
    bool pressAdd();
    // 削除: both layers of the selected line pair with themselves again.
    bool pressDelete();

  private:
    Board& board_;
    int layer1_ = -1;
    int layer2_ = -1;
    int selectedLine_ = -1;
    bool changed_ = false;
};

}  // namespace zevo
