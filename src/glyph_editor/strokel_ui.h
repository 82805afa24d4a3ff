// What Strokel's window shows and decides, without the window: the trace switch of the command
// line, the context menu, the coordinate text, the trace settings and the magnification dialog.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "glyph_editor/glyph_editor.h"

namespace zevo {

inline constexpr std::string_view kStrokelTitle = "Strokel";
// The name the running copy is found by.
inline constexpr std::string_view kStrokelInstanceName = "Strokle mutex";
inline constexpr std::string_view kGridWindowTitle = "Draw font";
inline constexpr std::string_view kTraceCheckText = "トレース文字の表示";
inline constexpr int kCharacterBoxId = 101;
inline constexpr int kTraceCheckId = 102;
// The grid window's client area.
inline constexpr int kGridClientSize = 127;

// The trace characters start at this pixel height in this face.
inline constexpr int kDefaultTraceHeight = 128;
inline constexpr std::string_view kDefaultTraceFace = "ＭＳ ゴシック";

// Whether the command line asks for the trace check box: after leading blanks and control
// characters, a minus sign or a slash followed by T in either case.
bool TraceSwitchGiven(std::string_view commandLine);

// "X:%2d  Y:%d" for the glyph point of a cell.
std::string CoordinateText(GridCell c);

// The right-click menu of the main window, built at each click.
enum class StrokelCommand { kNone = 0, kUndo = 1, kFontChoice = 2, kMagnification = 3, kExit = 4 };
struct StrokelMenuLine {
    StrokelCommand command;  // kNone: a separator
    std::string_view text;
    bool enabled;
};
// 元に戻す (greyed without history), with the trace shown フォント選択 and 倍率, then 終了;
// everything greyed while a stroke is drawn or a point moved.
std::vector<StrokelMenuLine> StrokelContextMenu(const GlyphEditor& editor, bool traceShown);

// The magnification dialog (倍率設定): the trace height as a factor of 128.
inline constexpr std::string_view kMagnificationTitle = "倍率設定";
inline constexpr std::string_view kMagnificationLabel = "倍率(0.5～2.0)";
inline constexpr std::string_view kMagnificationSet = "設定";
inline constexpr std::string_view kMagnificationCancel = "取消";
inline constexpr int kMagnificationEditId = 101;
inline constexpr int kMagnificationMaxChars = 15;

class TraceMagnificationModel {
  public:
    explicit TraceMagnificationModel(int traceHeight);
    // The field: trace height / 128 with "%.3g".
    const std::string& text() const { return text_; }
    void edit(std::string_view t) { text_ = t; }
    // 設定: a value from 0.5 to 2.0 sets the height to round(value x 128); anything else
    // leaves the dialog open (false).
    bool pressSet();
    int height() const { return height_; }

  private:
    int height_;
    std::string text_;
};

}  // namespace zevo
