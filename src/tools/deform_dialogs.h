// The dialogs of the deform tool without their windows: the selection settings "選択方法設定"
// (the tool's first state), the move settings "変形方法設定" (while dragging), the rotation angle
// "回転角 設定" and the arc input "円弧変形入力". Texts are UTF-8.
#pragma once

#include <optional>
#include <string>

#include "tools/dialog.h"
#include "tools/drawing_dialogs.h"
#include "tools/drawing_settings.h"

namespace zevo {

// "選択方法設定": "標準(シフトを押しながら単一要素)" or "単一要素(部品)選択", and "任意角の回転".
class SelectMethodModel : public DialogModel {
  public:
    explicit SelectMethodModel(const SelectionSettings& s)
        : singleByDefault(s.selectSingleByDefault), anyAngleRotation(s.anyAngleRotation) {}
    bool singleByDefault;
    bool anyAngleRotation;
    // The settings with the dialog's choices in them.
    SelectionSettings applied(SelectionSettings s) const {
        s.selectSingleByDefault = singleByDefault;
        s.anyAngleRotation = anyAngleRotation;
        return s;
    }
};

// "変形方法設定": "任意(シフトを押しながら８方向)" or "８方向", and "任意角の回転".
class DeformMethodModel : public DialogModel {
  public:
    explicit DeformMethodModel(const SelectionSettings& s)
        : eightAlways(s.deformEightAlways), anyAngleRotation(s.anyAngleRotation) {}
    bool eightAlways;
    bool anyAngleRotation;
    SelectionSettings applied(SelectionSettings s) const {
        s.deformEightAlways = eightAlways;
        s.anyAngleRotation = anyAngleRotation;
        return s;
    }
};

// "回転角 設定": the angle in degrees, counter-clockwise; the field starts as "90".
class RotationAngleModel : public DialogModel {
  public:
    static constexpr int kFieldAngle = 101;
    std::string angle = "90";
    // "決定": the field is read and the window closes; a calculation error keeps it open.
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double degrees = 0;

  private:
    bool decided_ = false;
};

// "円弧変形入力": the new radius of an arc, or the new angle (degrees) of the end being moved.
class ArcDeformModel : public DialogModel {
  public:
    static constexpr int kFieldValue = 101;
    enum class Asks { kRadius, kAngle };
    // `current`: the radius (mm) or the angle (degrees) the arc has now.
    ArcDeformModel(Asks asks, double current);
    Asks asks() const { return asks_; }
    // The field's label: "半径" or "角度".
    std::string label() const;
    std::string value;
    std::optional<FieldError> decide();
    bool decided() const { return decided_; }
    double number = 0;

  private:
    Asks asks_;
    bool decided_ = false;
};

}  // namespace zevo
