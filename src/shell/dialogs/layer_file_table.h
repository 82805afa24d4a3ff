// The paged layer/file table of the Gerber output and input dialogs: eight layers a page, each
// row with the layer number, the layer's name, a check box and the file name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "paths/file_io.h"
#include "shell/dialogs/dialog_common.h"

namespace zevo {

class Board;
struct LayerFiles;

inline constexpr std::string_view kLayerFilesPreviousButton = "<<";
inline constexpr std::string_view kLayerFilesNextButton = ">>";
inline constexpr std::string_view kLayerFilesLayerHeading = "レイヤー";
inline constexpr std::string_view kLayerFilesFileHeading = "ファイル名";
inline constexpr std::string_view kDecimalsLabel = "小数部";

// The file name of a field (UTF-8) as the choices keep it: CP932, at most 260 bytes, cut on a
// character boundary.
std::string OutputNameFromField(std::string_view utf8);
// Paths typed or chosen by the user are UTF-8: PathFromUtf8 and PathToUtf8 of paths/file_io.h.

class LayerFileTable {
  public:
    static constexpr int kRows = 8;
    static constexpr int kLastPage = 248;  // the first layer of the last page

    static constexpr int kPreviousButton = 110;
    static constexpr int kNextButton = 111;
    static constexpr int kNumberStatic = 120;  // + row
    static constexpr int kNameStatic = 130;    // + row
    static constexpr int kSelectBox = 140;     // + row
    static constexpr int kFileEdit = 150;      // + row

    // `files` is edited as the user types.
    LayerFileTable(const Board& board, LayerFiles& files) : board_(board), files_(files) {}

    // The first layer of the page shown: 0, 8, ..., 248.
    int page() const { return page_; }
    int layerOf(int row) const { return page_ + row; }
    // "%3d" and the layer's name (UTF-8, empty for an unnamed layer).
    std::string numberText(int row) const;
    std::string layerNameText(int row) const;
    // The row's file name (UTF-8).
    std::string fileText(int row) const;
    bool selected(int row) const;
    // A check box can be set only while its file name is non-empty.
    bool selectable(int row) const;

    // --- user actions
    void pressPrevious();  // <<: 8 back, from 0 to 248
    void pressNext();      // >>: 8 on, from 248 to 0
    // The name is kept as CP932, cut at 260 bytes; clearing it clears the check box.
    void editFile(int row, std::string_view utf8);
    // Setting the check box of a row without a file name does nothing.
    void setSelected(int row, bool on);

  private:
    const Board& board_;
    LayerFiles& files_;
    int page_ = 0;
};

// The decimals field of a dialog: the value typed, its fraction dropped.
std::optional<int> ReadIntField(std::string_view utf8);

}  // namespace zevo
