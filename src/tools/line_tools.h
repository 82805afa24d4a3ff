// The line editing tools that make new lines out of old ones:
//   parallel and middle lines (mode 8): a middle line between two elements, parallels of one line
//   or arc, or of a section of joined lines;
//   connect, stretch, split and chamfer (mode 9): two elements joined at their crossing, an end
//   stretched onto another element or to the cursor, an element split in two, a corner rounded;
//   and two groups of lines, each crossed by a rubber line, joined pair by pair.
// Each finished operation is one undo step; Esc and Backspace put back what was taken.
#pragma once

#include <optional>
#include <string>

#include "tools/dialog.h"
#include "tools/drawing_dialogs.h"
#include "tools/line_edit_geometry.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts both tools' states into a mode table.
void InstallLineTools(ModeTable& table);

// "平行線設定": "平行線(シフトを押しながら中間線)" / "左クリックで中間線", "区間を選択" /
// "単一ライン選択", and the list of round apertures (the line aperture of the new lines).
class ParallelSettingsModel : public DialogModel {
  public:
    ParallelSettingsModel(const Board& board, const DrawingSettings& s);
    bool middleByClick;
    bool singleLineParallel;
    int aperture;
    // "%3d: %.3f", the diameter in mm.
    std::string entry(int n) const;

  private:
    const Board& board_;
};

// "平行線／中間線入力": 間隔, 長さ and 本数. The length is not asked for parallels of an arc or of
// a section (their lengths follow the element).
class LineSetInputModel : public DialogModel {
  public:
    static constexpr int kFieldSpacing = 101, kFieldLength = 102, kFieldCount = 103;
    enum class Kind { kMiddle, kParallelLine, kParallelArc, kSection };
    LineSetInputModel(Kind kind, const LineSetValues& values);
    Kind kind() const { return kind_; }
    bool lengthEnabled() const { return kind_ == Kind::kMiddle || kind_ == Kind::kParallelLine; }
    std::string spacing, length, count;
    // "決定": the fields are read (the count taken whole, kept within 0..kMaxLineSetCount) and
    // the window closes; a calculation error keeps it open.
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    const LineSetValues& values() const { return values_; }

  private:
    Kind kind_;
    LineSetValues values_;
    bool decided_ = false;
};

// "接続／伸縮／分割／角取 設定": "接続(キーを押しながら伸縮／分割)", "左クリックで伸縮",
// "左クリックで分割".
class ConnectSettingsModel : public DialogModel {
  public:
    enum class Click { kConnect, kStretch, kSplit };
    explicit ConnectSettingsModel(const DrawingSettings& s);
    Click click;
    void store(DrawingSettings& s) const;
};

// "間隔入力": the chamfer's radius ("間隔"), kept for the next time.
class ChamferRadiusModel : public DialogModel {
  public:
    static constexpr int kFieldRadius = 101;
    explicit ChamferRadiusModel(double radius);
    std::string radius;
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double value() const { return value_; }

  private:
    double value_ = 0;
    bool decided_ = false;
};

}  // namespace zevo
