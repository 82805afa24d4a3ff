// The hole output settings dialog: a layer list with a file name per layer, the layers chosen
// for output, the decimals, automatic T codes and the single file. The choices change only when
// 出力 goes through (with the single file, once the save chooser returned a name).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "output/hole_output.h"
#include "shell/dialogs/dialog_common.h"
#include "shell/dialogs/layer_file_table.h"
#include "tools/dialog.h"

namespace zevo {

inline constexpr std::string_view kHoleOutputDialogTitle = "ホール出力設定";
inline constexpr std::string_view kHoleLayerLabel = "レイヤー";
inline constexpr std::string_view kHoleFileLabel = "ファイル名";
inline constexpr std::string_view kHoleListLabel = "出力レイヤー";
inline constexpr std::string_view kHoleDecimalsLabel = "小数部";
inline constexpr std::string_view kHoleAutoTBox = "T番号オート";
inline constexpr std::string_view kHoleTCodeButton = "Ｔコード設定";
inline constexpr std::string_view kHoleAddButton = "追加";
inline constexpr std::string_view kHoleRemoveButton = "削除";
inline constexpr std::string_view kHoleSingleBox = "一ファイル出力";
inline constexpr std::string_view kHoleModernBox = "最新形式 (X2)";
inline constexpr std::string_view kHoleSaveTitle = "ホールファイル";
inline constexpr std::string_view kHoleSaveFilter = "ホールファイル (*.hol);;すべてのファイル (*)";

class HoleOutputDialogModel : public DialogModel {
  public:
    static constexpr int kLayerCombo = 101;
    static constexpr int kLayerList = 102;
    static constexpr int kDecimalsEdit = 103;
    static constexpr int kAutoTBox = 104;
    static constexpr int kTCodeButton = 105;
    static constexpr int kAddButton = 106;
    static constexpr int kRemoveButton = 107;
    static constexpr int kFileEdit = 108;
    static constexpr int kFileLabel = 109;
    static constexpr int kSingleBox = 110;
    static constexpr int kModernBox = 111;
    static constexpr int kOutputButton = 1;

    HoleOutputDialogModel(const Board& board, HoleOutputChoices& choices);

    // The layer list of the combo box: "%3d: name" for 0..255.
    std::string layerEntry(int layer) const;
    int chosenLayer() const { return chosen_; }
    // Edit 108: the file name of the chosen layer, as typed.
    const std::string& fileText() const { return file_; }
    // List 102: the selected layers, in layer order, and their texts ("%3d: name  file").
    std::vector<int> listLayers() const;
    std::string listEntry(int layer) const;
    // The list row chosen, -1 for none.
    int chosenListRow() const { return listRow_; }
    const std::string& decimalsText() const { return decimals_; }
    bool autoT() const { return work_.autoT; }
    bool single() const { return work_.single; }
    bool modern() const { return work_.modern; }
    // The current format always has three decimals.
    bool decimalsEnabled() const { return !work_.modern; }
    bool tcodeEnabled() const { return !work_.autoT; }
    bool singleEnabled() const { return work_.autoT; }
    // Edit 108 and its label, with 追加 that stores its text.
    bool fileEnabled() const { return !work_.single; }
    TCodeTable& codes() { return work_.codes; }
    // After 出力 in single-file mode: the window asks for the file and answers below.
    bool awaitingSingleFile() const { return awaiting_; }

    // --- user actions
    void chooseLayer(int layer);
    void editFile(std::string_view utf8) { file_ = utf8; }
    // 追加: the typed name becomes the chosen layer's file and the layer is selected; an empty
    // name does nothing. True when something changed.
    bool pressAdd();
    void chooseListRow(int row);
    // 削除: the layer chosen in the list is no longer selected (its name stays).
    bool pressRemove();
    void editDecimals(std::string_view text) { decimals_ = text; }
    // T番号オート; clearing it clears 一ファイル出力 too.
    void setAutoT(bool on);
    // 最新形式 (X2): the current Excellon format with the plating marked.
    void setModern(bool on) { work_.modern = on; }
    // 一ファイル出力, only while T番号オート is on.
    void setSingle(bool on);
    // 出力: decimals outside 0..3 are ignored (the window beeps and stays). Otherwise the
    // choices are taken at once, or, in single-file mode, once chooseSingleFile() has the file.
    FieldResult pressOutput();
    // The save chooser's answer; an empty path (cancelled) leaves the choices untouched.
    // True when the choices were taken.
    bool chooseSingleFile(const std::filesystem::path& file);
    void pressCancel() {}

    // What the dialog's 出力 / 入力 writes into: the command's own choices. A host that answers
    // without a window (a test) fills them directly.
    HoleOutputChoices& target() { return choices_; }

    // Where the save chooser of 一ファイル出力 starts.
    std::filesystem::path proposedSingleFile;

  private:
    const Board& board_;
    HoleOutputChoices& choices_;
    HoleOutputChoices work_;
    int chosen_ = 0;
    int listRow_ = -1;
    std::string file_;
    std::string decimals_;
    bool awaiting_ = false;
};

}  // namespace zevo
