// What the definition dialogs share: text conversion, the calculation error box, the colour
// buttons and the base of dialogs with numeric fields (the key pad beside them).
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QDialog>
#include <QString>
#include <string>
#include <string_view>

#include "interface/qt/interface_language.h"

class QBoxLayout;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zevo {

inline QString Qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string Us(const QString& s) {
    return s.toUtf8().toStdString();
}

// "計算エラー" in a message box captioned "Zevo"; then the field gets the focus with its text
// selected for correction.
void ShowCalcError(QWidget* parent, QLineEdit* field);

// The control id in an object name, so that tests and the key pad find controls.
inline QString ControlName(const char* kind, int id) {
    return QString::fromLatin1(kind) + QString::number(id);
}

// A push button named after its control id. Only the default button takes Return; the others
// never become default when they get the focus.
QPushButton* ControlButton(QWidget* owner, const QString& text, int id, bool isDefault = false);

// Makes the box wide enough for its widest entry as the font lays it out (Qt's own size hint
// measures the ink of the glyphs, a pixel or two short of the text's advance).
void FitComboToEntries(QComboBox* combo);

// The row of 決定 (id 1, the default button: accepts) and 取消 (id 2: rejects) at the foot of a
// dialog's layout.
void AddDecideCancel(QDialog& dialog, QBoxLayout& layout);

// A button showing nothing but a colour.
class ColourButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit ColourButton(QWidget* parent = nullptr);
    void setColour(const QColor& c);
    QColor colour() const { return colour_; }
    QSize sizeHint() const override { return {40, 20}; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QColor colour_;
};

class NumericKeypad;

// A dialog with numeric fields; with the key pad on, the pad is shown beside it.
class NumericDialog : public QDialog {
    Q_OBJECT
  public:
    NumericDialog(QWidget* parent, bool keypad);
    NumericKeypad* keypad() const { return keypad_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    NumericKeypad* keypad_ = nullptr;
};

}  // namespace zevo
