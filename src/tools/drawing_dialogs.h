// The dialogs of the drawing tools without their windows: the layer choice, each tool's aperture
// choice, the pad choice, the arc and text input and the numeric point input. A window forwards
// each user action to its model and shows what the model's accessors return; texts are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "tools/dialog.h"
#include "tools/drawing_settings.h"

namespace zevo {

class Board;

// A numeric field that did not evaluate: the window shows "計算エラー" and focuses `control`.
struct FieldError {
    int control = 0;
};
std::string_view CalculationErrorText();
// Reads a numeric field as the board's own arithmetic does (the UTF-8 text turned into CP932).
std::optional<double> EvaluateInput(std::string_view utf8);
std::string FormatNumber(double v);  // "%.12g"

// "レイヤー選択": every layer that has a name or is open for editing; choosing one closes it.
class LayerSelectModel : public DialogModel {
  public:
    explicit LayerSelectModel(const Board& board);
    const std::vector<int>& layers() const { return layers_; }
    std::string caption(size_t index) const;
    // The entry of the current layer, or -1.
    int selectedIndex() const;
    void choose(size_t index);
    bool chosen() const { return chosen_; }
    int layer() const { return layer_; }

  private:
    const Board& board_;
    std::vector<int> layers_;
    int layer_;
    bool chosen_ = false;
};

// The aperture choice of a drawing tool. Each tool shows its own variant:
//   round land "アパーチャ選択" (round table), square land "アパーチャ 選択" (square table, the
//   square / rectangle radio buttons and the rectangle's fields), line "ライン・アパーチャ選択"
//   (either table, the eight-direction, square-line and click-point switches), arc "アパーチャ
//   選択" (round table, the centre+dialog / three clicks radio buttons), text (round table).
// A click on an entry chooses it and closes. The switches act at once on the model's copy of the
// settings; `finish` hands the copy back when the window closes.
enum class ApertureTool { kRoundLand, kSquareLand, kLine, kArc, kText };

class ApertureSelectModel : public DialogModel {
  public:
    // Control ids of the rectangle fields.
    static constexpr int kFieldDx = 1001, kFieldDy = 1002, kFieldAngle = 1003;

    ApertureSelectModel(const Board& board, const DrawingSettings& settings, ApertureTool tool,
                        bool squareLineEnabled = true);
    ApertureTool tool() const { return tool_; }
    std::string title() const;
    // The list: 256 entries of the table in use, "%3d: %.3f" with the diameter in mm.
    bool squareTable() const;
    std::string entry(int n) const;
    int selected() const;
    void choose(int n);
    bool closed() const { return closed_; }

    // line
    bool eightAlways() const { return s_.lineEightAlways; }
    void setEightAlways(bool on) { s_.lineEightAlways = on; }
    bool squareLine() const { return s_.squareLine; }
    bool squareLineEnabled() const { return squareLineEnabled_; }
    void setSquareLine(bool on) {
        if (squareLineEnabled_) s_.squareLine = on;
    }
    bool clickPoint() const { return s_.drawAtClickPoint; }
    void setClickPoint(bool on) { s_.drawAtClickPoint = on; }
    // square land
    bool rectangle() const { return s_.squareAsRectangle; }
    void setRectangle(bool on) { s_.squareAsRectangle = on; }
    std::string dx, dy, angle;  // the rectangle's fields as typed
    // arc
    bool byClicks() const { return s_.arcByClicks; }
    void setByClicks(bool on) { s_.arcByClicks = on; }

    // The window is closing (after a choice or by its close button): the rectangle's fields are
    // read; a field that does not evaluate keeps the window open.
    std::optional<FieldError> close();
    const DrawingSettings& settings() const { return s_; }

  private:
    const Board& board_;
    DrawingSettings s_;
    ApertureTool tool_;
    bool squareLineEnabled_;
    bool closed_ = false;
};

// "パッド選択": "<<" and ">>" step through the pad definitions; "決定" accepts.
class PadSelectModel : public DialogModel {
  public:
    PadSelectModel(const Board& board, int padNumber);
    int number() const { return number_; }
    int count() const;
    // "%d / %d" and the definition's pairs, one "layer: aperture" per line.
    std::string heading() const;
    std::vector<std::string> pairs() const;
    void previous();
    void next();
    void accept() { accepted_ = true; }
    bool accepted() const { return accepted_; }

  private:
    const Board& board_;
    int number_;
    bool accepted_ = false;
};

// "円弧入力": radius, start and end angle (degrees), kept between uses.
class ArcDialogModel : public DialogModel {
  public:
    static constexpr int kFieldRadius = 101, kFieldStart = 102, kFieldEnd = 103;
    explicit ArcDialogModel(const DrawingSettings& s);
    std::string radius, start, end;
    // "決定": the values are read and the window closes; a calculation error keeps it open.
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double radiusValue = 0, startValue = 0, endValue = 0;

  private:
    bool decided_ = false;
};

// "文字列入力": the string, the text aperture, height, pitch, angle and mirror, kept between uses.
class TextDialogModel : public DialogModel {
  public:
    static constexpr int kFieldText = 101, kFieldHeight = 103, kFieldPitch = 104, kFieldAngle = 105;
    TextDialogModel(const Board& board, const DrawingSettings& s, std::filesystem::path font);
    std::string text;  // UTF-8
    int aperture;
    std::string height, pitch, angle;
    bool mirror;
    std::string apertureEntry(int n) const;

    enum class Outcome {
        kDecided,          // the window closes with the values
        kCalcError,        // a field did not evaluate: "計算エラー", the window stays
        kMissingGlyphs,    // message(): characters without glyph; the window stays
        kRefused,          // not drawable, or a tab or line end in it (beep); the window stays
        kRefusedSilently,  // the font cannot be opened; the window stays
    };
    struct Result {
        Outcome outcome = Outcome::kDecided;
        int control = 0;
        std::string message;  // UTF-8
    };
    Result decide();
    bool decided() const { return decided_; }
    // After decide: the values for the settings.
    void store(DrawingSettings& s) const;

  private:
    const Board& board_;
    std::filesystem::path font_;
    double h_ = 0, p_ = 0, a_ = 0;
    bool decided_ = false;
};

// "数値入力": X and Y and the buttons "相対", "原点", "絶対". In first-point form "相対" is
// disabled and "絶対" is the default; in next-point form "相対" is the default.
class NumericInputModel : public DialogModel {
  public:
    static constexpr int kFieldX = 101, kFieldY = 102;
    enum class Button { kRelative, kOrigin, kAbsolute };
    // `memory` keeps the form of the last use and its values; `last` is the last point placed,
    // `origin` the grid origin.
    struct Memory {
        int form = -1;
        double x = 0, y = 0;
    };
    NumericInputModel(bool nextPoint, Memory& memory, Point last, Point origin);
    bool nextPoint() const { return next_; }
    bool relativeEnabled() const { return next_; }
    Button defaultButton() const { return next_ ? Button::kRelative : Button::kAbsolute; }
    std::string x, y;
    // A button: the fields are read and the window closes with the point; a calculation error
    // keeps it open. The relative button does nothing in first-point form.
    std::optional<FieldError> press(Button b);
    // Return presses the default button.
    std::optional<FieldError> pressReturn() { return press(defaultButton()); }
    const std::optional<Point>& point() const { return point_; }

  private:
    bool next_;
    Memory& memory_;
    Point last_, origin_;
    std::optional<Point> point_;
};

}  // namespace zevo
