// The small modeless window long operations show: "出力中" / "入力中", or "チェック中" above
// "ESCで中止" when Escape may stop the operation.
#pragma once

#include <QDialog>
#include <string_view>

class QLabel;

namespace zevo {

class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Shows the window with `text`; with `abortable` it is the check window with the Escape
    // line under the text. Escape presses counted so far are forgotten.
    void show(std::string_view text, bool abortable);
    // Lets pending events through; true when Escape was pressed while the window was shown.
    bool pump();
    // Hides the window; Escape is no longer taken.
    void close();
    bool escapePressed() const { return escape_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* text_;
    QLabel* escapeLine_;
    bool watching_ = false;
    bool escape_ = false;
};

}  // namespace zevo
