// The layer dialog: names, colours and the display and edit switches of the layers, eight layers
// a page; and the colour chooser its colour buttons open.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"
#include "view/framebuffer.h"

namespace zevo {

class Board;

inline constexpr std::string_view kLayerDialogTitle = "レイヤー設定";
inline constexpr std::string_view kLayerDisplayBox = "表示";
inline constexpr std::string_view kLayerEditBox = "編集";
inline constexpr std::string_view kLayerNumberHeading = "番号";
inline constexpr std::string_view kLayerNameHeading = "レイヤー名";
inline constexpr std::string_view kLayerColourHeading = "色";
inline constexpr std::string_view kLayerPreviousButton = "<<";
inline constexpr std::string_view kLayerNextButton = ">>";
inline constexpr std::string_view kLayerOkButton = "決定";
inline constexpr std::string_view kLayerCancelButton = "取消";

inline constexpr std::string_view kColourDialogTitle = "カラー選択";

class LayerDialogModel : public DialogModel {
  public:
    static constexpr int kRows = 8;
    static constexpr int kPages = 32;
    // A layer name holds at most this many bytes.
    static constexpr std::size_t kNameMax = 64;

    static constexpr int kPageCombo = 101;
    static constexpr int kPreviousButton = 102;
    static constexpr int kNextButton = 103;
    static constexpr int kNumberStatic = 110;  // + row
    static constexpr int kNameEdit = 120;      // + row
    static constexpr int kColourButton = 130;  // + row
    static constexpr int kDisplayBox = 140;    // + row
    static constexpr int kEditBox = 150;       // + row

    // Opening shows page 0.
    explicit LayerDialogModel(Board& board);

    int page() const { return page_; }
    // The page list: "レイヤー   0 ～   7" and so on.
    static std::string pageEntry(int page);
    int layerOf(int row) const { return page_ * kRows + row; }
    // "%3d", the layer number of the row.
    std::string numberText(int row) const;
    const std::string& nameText(int row) const { return rows_[row].name; }
    bool displayed(int row) const { return rows_[row].display; }
    bool editable(int row) const { return rows_[row].edit; }
    // Colour index 0..15 of the row's layer as the renderer takes it, and its pixel value.
    int colourIndex(int row) const;
    Pixel colour(int row) const;
    bool changed() const { return changed_; }

    // --- user actions
    void choosePage(int page);  // the page list
    void pressPrevious();       // <<, from page 0 to the last page
    void pressNext();           // >>, from the last page to page 0
    // The name field of a row. A name with a comma is refused (false, the field keeps its
    // text): the file ends a layer name at a comma.
    bool editName(int row, std::string_view utf8);
    static bool AcceptsName(std::string_view utf8);
    // 表示 off takes 編集 off with it; 編集 on takes 表示 on with it.
    void setDisplayed(int row, bool on);
    void setEditable(int row, bool on);
    // The colour chooser of the row returned `index` (-1 when it was closed). A different colour
    // is stored at once; true when the row must be painted again.
    bool chooseColour(int row, int index);
    // 決定, 取消 and the window's close all keep what the page shows.
    void pressOk() { storeRows(); }
    void pressCancel() { storeRows(); }
    void close() { storeRows(); }
    void windowClosed() override { close(); }

  private:
    struct Row {
        std::string name;      // as the field shows it (UTF-8)
        std::string original;  // the field's text when the page was shown
        bool display = false;
        bool edit = false;
    };
    void loadRows();
    void storeRows();

    Board& board_;
    int page_ = 0;
    std::array<Row, kRows> rows_;
    bool changed_ = false;
};

// The colour chooser: sixteen colour buttons (ids 101..116) for the indexes 0..15.
class ColourChooserModel {
  public:
    static constexpr int kColours = 16;
    static constexpr int kFirstButton = 101;

    explicit ColourChooserModel(int current) : current_(current) {}
    int current() const { return current_; }
    static Pixel colour(int index);
    // A colour button; the chooser closes with that index.
    void pressColour(int index) { result_ = index >= 0 && index < kColours ? index : -1; }
    // Closing without a choice returns -1.
    void close() { result_ = -1; }
    int result() const { return result_; }

  private:
    int current_;
    int result_ = -1;
};

}  // namespace zevo
