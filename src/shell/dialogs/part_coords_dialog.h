// The part coordinate output settings dialog: the report file (typed or chosen with 参照), and
// whether positions are taken from the board origin, mirrored in x. The settings change only
// when 出力 is pressed.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "output/part_coords.h"
#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"

namespace zevo {

inline constexpr std::string_view kPartCoordsDialogTitle = "部品座標出力設定";
inline constexpr std::string_view kPartCoordsFileLabel = "ファイル名";
inline constexpr std::string_view kPartCoordsBrowseButton = "参照";
inline constexpr std::string_view kPartCoordsOriginBox = "原点座標";
inline constexpr std::string_view kPartCoordsMirrorBox = "Ｘ座標反転";
inline constexpr std::string_view kPartCoordsSaveTitle = "部品座標ファイル";
inline constexpr std::string_view kPartCoordsSaveFilter =
    "部品座標ファイル (*.pos);;すべてのファイル (*)";

class PartCoordsDialogModel : public DialogModel {
  public:
    static constexpr int kFileEdit = 101;
    static constexpr int kOriginBox = 102;
    static constexpr int kMirrorBox = 103;
    static constexpr int kBrowseButton = 104;
    static constexpr int kOutputButton = 1;

    PartCoordsDialogModel(const Board& board, PartCoordsSettings& settings);

    const std::string& fileText() const { return file_; }
    bool fromOrigin() const { return work_.fromOrigin; }
    bool mirrorX() const { return work_.mirrorX; }
    // Ｘ座標反転 is usable only with 原点座標.
    bool mirrorEnabled() const { return work_.fromOrigin; }
    // Where the save chooser of 参照 starts: the file of the field.
    std::filesystem::path browseStart() const;

    // --- user actions
    void editFile(std::string_view utf8) { file_ = utf8; }
    // The name the 参照 chooser returned; empty (cancelled) changes nothing.
    void chooseFile(const std::filesystem::path& file);
    void setFromOrigin(bool on) { work_.fromOrigin = on; }
    void setMirrorX(bool on);
    // 出力: the settings take the file and the switches. False (the dialog stays) when the
    // file name is empty.
    bool pressOutput();
    void pressCancel() {}

    // What the dialog's 出力 / 入力 writes into: the command's own choices. A host that answers
    // without a window (a test) fills them directly.
    PartCoordsSettings& target() { return settings_; }

  private:
    PartCoordsSettings& settings_;
    PartCoordsSettings work_;
    std::string file_;
};

}  // namespace zevo
