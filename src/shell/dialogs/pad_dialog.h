// The pad dialog: the pad definition list, one definition at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

class Board;

inline constexpr std::string_view kPadDialogTitle = "パッド設定";
inline constexpr std::string_view kPadNumberLabel = "パッド番号";
inline constexpr std::string_view kPadApertureLabel = "アパーチャ";
inline constexpr std::string_view kPadLayerLabel = "レイヤー";
inline constexpr std::string_view kPadAddButton = "追加";
inline constexpr std::string_view kPadDeleteButton = "削除";
inline constexpr std::string_view kPadPreviousButton = "<<";
inline constexpr std::string_view kPadNextButton = ">>";
inline constexpr std::string_view kPadCloseButton = "終了";

class PadDialogModel : public DialogModel {
  public:
    static constexpr int kPairList = 101;
    static constexpr int kApertureCombo = 102;
    static constexpr int kLayerCombo = 103;
    static constexpr int kDeleteButton = 104;
    static constexpr int kAddButton = 105;
    static constexpr int kNumberStatic = 106;
    static constexpr int kPreviousButton = 107;
    static constexpr int kNextButton = 108;

    // Opening shows the first definition; an empty list gets an empty definition to fill.
    explicit PadDialogModel(Board& board);

    // The definition shown: its position in the list, from 0.
    int current() const { return current_; }
    std::string numberText() const;
    // One line per pair: "%7.3f: %3d: %s" (round aperture diameter, layer number, layer name).
    std::vector<std::string> lines() const;
    int selectedLine() const { return selectedLine_; }
    // The round apertures by diameter, and the layers; 256 entries each.
    static constexpr int comboCount() { return 256; }
    std::string apertureEntry(int n) const;
    std::string layerEntry(int layer) const;
    int selectedAperture() const { return aperture_; }
    int selectedLayer() const { return layer_; }
    bool changed() const { return changed_; }

    // --- user actions
    void selectLine(int index);
    void selectAperture(int n);
    void selectLayer(int layer);
    // 追加: the pair (selected aperture, selected layer), unless the definition holds it.
    bool pressAdd();
    // 削除: takes the layer number of the selected line and removes the definition's first pair
    // on that layer.
    bool pressDelete();
    // << and >>: the previous and next definition. A definition left without pairs goes; stepping
    // off either end of the list shows an empty definition at the end. A definition equal to
    // another one of the list is not left (false: the window beeps and keeps it shown), since
    // the file keeps only one of them and the pads placed with the later ones would change.
    bool pressPrevious();
    bool pressNext();
    // 終了 or the window's close: every definition without pairs goes. False (nothing changes,
    // the window stays) while the definition shown equals another one.
    bool close();
    // Whether the definition shown equals another definition of the list.
    bool duplicate() const;
    void windowClosed() override { close(); }

  private:
    // Whether a definition is shown; none is once the dialog is closed.
    bool showing() const;
    void show(int index);
    void showEmptyAtEnd();
    // Removes the current definition when it has no pairs; true when it did.
    bool dropCurrentIfEmpty();

    Board& board_;
    int current_ = 0;
    int selectedLine_ = -1;
    int aperture_ = 0;
    int layer_ = 0;
    bool changed_ = false;
};

}  // namespace zevo
