// The dialogs of the change tool without their windows: the layer and aperture of an element or
// the layer of a filled area ("変更"), a rectangle ("四角形の変更"), an arc ("円弧変更"), a text
// ("文字列変更", the text input dialog with a layer), a part ("部品変更"), a pin ("ピン名／ピンＮｏ
// 変更"), the dotted-line conversion ("点線変換") and the tool's settings ("変更 設定"). Each model
// starts with the current values; `decide` reads the fields as 決定 does. Texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/dialog.h"
#include "tools/drawing_dialogs.h"

namespace zevo {

class Board;

// The layers a change dialog offers: every layer with a name or open for editing, and `layer`.
std::vector<int> ChangeLayers(const Board& board, int layer);
std::string ChangeLayerCaption(const Board& board, int layer);

// "変更": a layer list and, for a land or a line, an aperture list (the square table for a
// square element). A filled area shows the layer list only.
class ElementChangeModel : public DialogModel {
  public:
    // `aperture` < 0: no aperture list.
    ElementChangeModel(const Board& board, int layer, int aperture, bool squareTable);
    const std::vector<int>& layers() const { return layers_; }
    std::string layerCaption(size_t index) const;
    int layerIndex() const;  // the entry of `layer`, or -1
    bool hasAperture() const { return hasAperture_; }
    bool squareTable() const { return square_; }
    // "%3d: %.3f" with the diameter in mm.
    std::string apertureEntry(int n) const;
    int layer;
    int aperture;

  private:
    const Board& board_;
    std::vector<int> layers_;
    bool hasAperture_;
    bool square_;
};

// "四角形の変更": "Ｘ ", "Ｙ " (the sizes), "角度" (degrees) and the layer.
class RectChangeModel : public DialogModel {
  public:
    static constexpr int kFieldX = 101, kFieldY = 102, kFieldAngle = 103;
    RectChangeModel(const Board& board, double dx, double dy, double angleDegrees, int layer);
    std::string x, y, angle;
    int layer;
    const std::vector<int>& layers() const { return layers_; }
    std::string layerCaption(size_t index) const;
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double dxValue = 0, dyValue = 0, angleValue = 0;

  private:
    const Board& board_;
    std::vector<int> layers_;
    bool decided_ = false;
};

// "円弧変更": "半径", "開始角度", "終了角度" (degrees), the layer and the aperture.
class ArcChangeModel : public DialogModel {
  public:
    static constexpr int kFieldRadius = 101, kFieldStart = 102, kFieldEnd = 103;
    ArcChangeModel(const Board& board, double r, double startDegrees, double endDegrees, int layer,
                   int aperture);
    std::string radius, start, end;
    int layer;
    int aperture;
    const std::vector<int>& layers() const { return layers_; }
    std::string layerCaption(size_t index) const;
    std::string apertureEntry(int n) const;
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double radiusValue = 0, startValue = 0, endValue = 0;

  private:
    const Board& board_;
    std::vector<int> layers_;
    bool decided_ = false;
};

// "文字列変更": the text input dialog's fields (string of up to 255 bytes, aperture, height,
// pitch, angle; the mirror stays as it was) and the layer.
class TextChangeModel : public TextDialogModel {
  public:
    static constexpr size_t kMaxBytes = 255;
    TextChangeModel(const Board& board, const DrawingSettings& values, int layer,
                    std::filesystem::path font);
    int layer;
    const std::vector<int>& layers() const { return layers_; }
    std::string layerCaption(size_t index) const;
    // As the text input dialog decides; a string longer than 255 bytes is refused too.
    Result decide();

  private:
    const Board& board_;
    std::vector<int> layers_;
};

// "部品変更": "部品番号" (the reference), "文字列挿入" (a text of the reference is added to the
// part) and "部品面反転" (the part is turned over).
class PartChangeModel : public DialogModel {
  public:
    explicit PartChangeModel(std::string reference) : reference(std::move(reference)) {}
    std::string reference;
    bool insertText = false;
    bool turnOver = false;
};

// "ピン名／ピンＮｏ 変更": "ピン名" and "ピンNo" (a whole number; 0 is no number).
class PinChangeModel : public DialogModel {
  public:
    static constexpr int kFieldNumber = 102;
    PinChangeModel(std::string name, int number);
    std::string name, number;
    // A number that is no whole number within the file's range keeps the window open.
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    int numberValue = 0;

  private:
    bool decided_ = false;
};

// "点線変換": "ドット長" and "ドット間" (mm), kept between uses.
class DottedLineModel : public DialogModel {
  public:
    static constexpr int kFieldDot = 101, kFieldGap = 102;
    DottedLineModel(double dot, double gap);
    std::string dot, gap;
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double dotValue = 0, gapValue = 0;

  private:
    bool decided_ = false;
};

// "変更 設定": "部品番号優先" (a plain click on a part changes the part) or "要素優先".
class ChangeSettingsModel : public DialogModel {
  public:
    explicit ChangeSettingsModel(bool partNumberFirst) : partNumberFirst(partNumberFirst) {}
    bool partNumberFirst;
};

}  // namespace zevo
