// The aperture dialog: one size of the round or the square aperture table at a time.
#pragma once

#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

class Board;

inline constexpr std::string_view kApertureDialogTitle = "アパーチャ設定";
inline constexpr std::string_view kApertureNumberLabel = "番号";
inline constexpr std::string_view kApertureSizeLabel = "直径(mm)";
inline constexpr std::string_view kApertureChangeButton = "変更";
inline constexpr std::string_view kApertureCloseButton = "終了";

enum class ApertureTable { kRound, kSquare };

class ApertureDialogModel : public DialogModel {
  public:
    // Control ids of the window.
    static constexpr int kNumberCombo = 101;
    static constexpr int kSizeEdit = 102;
    static constexpr int kChangeButton = 1;
    // Diameters the field accepts: at least 1 µm, below 100 mm.
    static constexpr double kMinDiameter = 0.001;
    static constexpr double kMaxDiameter = 100;

    ApertureDialogModel(Board& board, ApertureTable table, int first = 0);

    ApertureTable table() const { return table_; }
    static constexpr int entryCount() { return 256; }
    // The number list: "0" .. "255".
    static std::string entryText(int n);
    int selected() const { return selected_; }
    // The size field as the user is editing it.
    const std::string& sizeText() const { return sizeText_; }
    // Whether any size was stored while the dialog was open.
    bool changed() const { return changed_; }

    // --- user actions
    // Chooses another entry; the field shows its diameter.
    void selectEntry(int n);
    void editSize(std::string_view text) { sizeText_ = text; }
    // 変更: stores the diameter of the field (whole micrometres) as the entry's half size.
    FieldResult pressChange();

  private:
    double half(int n) const;
    void showEntry();

    Board& board_;
    ApertureTable table_;
    int selected_ = 0;
    std::string sizeText_;
    bool changed_ = false;
};

}  // namespace zevo
