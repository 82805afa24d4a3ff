// The layer dialog over LayerDialogModel, and the colour chooser its colour buttons open.
#pragma once

#include <array>

#include "shell/qt/dialogs/dialog_support.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace zevo {

class LayerDialogModel;
class ColourChooserModel;

class LayerDialog : public QDialog {
    Q_OBJECT
  public:
    LayerDialog(LayerDialogModel& model, QWidget* parent = nullptr);
    void accept() override;
    void reject() override;  // 取消, Escape and the window's close

  private:
    static constexpr int kRows = 8;
    void refresh();
    void refreshColour(int row);
    void chooseColour(int row);

    LayerDialogModel& model_;
    QComboBox* page_;
    std::array<QLabel*, kRows> number_{};
    std::array<QLineEdit*, kRows> name_{};
    std::array<ColourButton*, kRows> colour_{};
    std::array<QCheckBox*, kRows> display_{};
    std::array<QCheckBox*, kRows> edit_{};
};

class ColourChooserDialog : public QDialog {
    Q_OBJECT
  public:
    ColourChooserDialog(ColourChooserModel& model, QWidget* parent = nullptr);
    void reject() override;

  private:
    ColourChooserModel& model_;
};

}  // namespace zevo
