// The print dialog (offsets, magnification, mirror and negative, printer or BMP file, with its
// right-click menu) and the print layer dialog (which layers are printed).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/dialogs/dialog_common.h"
#include "tools/dialog.h"
#include "view/print.h"

namespace zevo {

class Board;

inline constexpr std::string_view kPrintDialogTitle = "印刷";
inline constexpr std::string_view kPrintOffsetXLabel = "オフセット X(mm)";
inline constexpr std::string_view kPrintOffsetYLabel = "オフセット Y(mm)";
inline constexpr std::string_view kPrintMagnificationLabel = "倍率";
inline constexpr std::string_view kPrintMirrorCheck = "反転印刷";
inline constexpr std::string_view kPrintNegativeCheck = "ネガ印刷";
inline constexpr std::string_view kPrintButton = "印刷";
inline constexpr std::string_view kPrintCancelButton = "取消";
inline constexpr std::string_view kPrintPrinterButton = "プリンタ設定";
inline constexpr std::string_view kPrintLayersButton = "レイヤー設定";
inline constexpr std::string_view kPrintToPrinterItem = "プリンタに出力";
inline constexpr std::string_view kPrintToBmpItem = "ＢＭＰファイルに出力";
inline constexpr std::string_view kPrintStandardItem = "倍率を標準に設定";
inline constexpr std::string_view kPrintMenuCancelItem = "取消";
// The modeless window while the page is drawn.
inline constexpr std::string_view kPrintingText = "印刷中";

class PrintDialogModel : public DialogModel {
  public:
    static constexpr int kOffsetXEdit = 101;
    static constexpr int kOffsetYEdit = 102;
    static constexpr int kMagnificationEdit = 103;
    static constexpr int kMirrorCheckBox = 104;
    static constexpr int kNegativeCheckBox = 105;
    static constexpr int kPrinterButton = 106;
    static constexpr int kLayersButton = 107;
    static constexpr int kFieldMax = 256;

    // The offsets start at "0", the magnification at the standard magnification; the check
    // boxes and the output show `options`, which 印刷 fills in.
    PrintDialogModel(PrintKind kind, PrintOptions& options, double standardMagnification);

    PrintKind kind() const { return kind_; }
    const std::string& offsetXText() const { return offsetX_; }
    const std::string& offsetYText() const { return offsetY_; }
    const std::string& magnificationText() const { return magnification_; }
    bool mirror() const { return flags_ & kPrintMirror; }
    bool negative() const { return flags_ & kPrintNegative; }
    // Check prints have no negative choice.
    bool negativeEnabled() const { return kind_ == PrintKind::kArtwork; }
    bool toBmp() const { return flags_ & kPrintToBmp; }

    // --- user actions
    void editOffsetX(std::string_view t) { offsetX_ = t; }
    void editOffsetY(std::string_view t) { offsetY_ = t; }
    void editMagnification(std::string_view t) { magnification_ = t; }
    void setMirror(bool on);
    void setNegative(bool on);  // nothing for check prints
    // プリンタ設定 and レイヤー設定: what the editor hangs on them.
    std::function<void()> printerSetup;
    std::function<void()> layerSetup;
    void pressPrinterSetup() {
        if (printerSetup) printerSetup();
    }
    void pressLayers() {
        if (layerSetup) layerSetup();
    }

    // The right-click menu.
    enum class MenuItem { kToPrinter, kToBmp, kStoreStandard, kCancel };
    struct MenuLine {
        MenuItem item;
        std::string_view text;
        bool enabled;
        bool separatorBefore;
    };
    std::vector<MenuLine> contextMenu() const;
    // False when the choice was refused (the window beeps): a magnification that is not a
    // number for 倍率を標準に設定, or an output already in force.
    bool chooseMenu(MenuItem item);
    // Stores the standard magnification (the editor writes the settings file).
    std::function<bool(double)> storeStandard;

    // 印刷: the three numbers and the flags go into the options. A field that is not a number
    // keeps the dialog open. The magnification is kept within the standard magnification's
    // range (a zero or negative one would leave nothing to print).
    FieldResult pressPrint();

  private:
    PrintKind kind_;
    PrintOptions& options_;
    uint32_t flags_;
    std::string offsetX_ = "0", offsetY_ = "0", magnification_;
};

inline constexpr std::string_view kPrintLayerDialogTitle = "印刷レイヤー設定";
inline constexpr std::string_view kPrintLayerPrintedLabel = "印刷レイヤー";
inline constexpr std::string_view kPrintLayerAllLabel = "レイヤー一覧";
inline constexpr std::string_view kPrintLayerAddButton = "<<";
inline constexpr std::string_view kPrintLayerRemoveButton = ">>";
inline constexpr std::string_view kPrintLayerOkButton = "OK";
inline constexpr std::string_view kPrintLayerCancelButton = "取消";

class PrintLayerDialogModel : public DialogModel {
  public:
    static constexpr int kPrintedList = 101;
    static constexpr int kAllList = 102;
    static constexpr int kAddButton = 103;
    static constexpr int kRemoveButton = 104;

    // 印刷レイヤー: the layers with the print switch; レイヤー一覧: the other named layers.
    explicit PrintLayerDialogModel(Board& board);

    const std::vector<int>& printed() const { return printed_; }
    const std::vector<int>& others() const { return others_; }
    std::string caption(int layer) const { return LayerCaption(board_, layer); }

    // << moves a layer of the list into the printed ones, >> back; both keep layer order.
    bool add(int layer);
    bool remove(int layer);
    // OK: the print switches follow the lists. True when one changed (the document changed).
    bool pressOk();

  private:
    Board& board_;
    std::vector<int> printed_, others_;
};

}  // namespace zevo
