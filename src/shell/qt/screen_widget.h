// The screen window: shows the editor's framebuffer and feeds it mouse, wheel, scroll bar and
// key input in client pixels.
#pragma once

#include <QAbstractScrollArea>

namespace zevo {

class Editor;
class EditorWindow;

class ScreenWidget : public QAbstractScrollArea {
    Q_OBJECT
  public:
    ScreenWidget(EditorWindow& window, QWidget* parent = nullptr);
    void setEditor(Editor* editor) { editor_ = editor; }
    // Takes the scroll ranges and positions of the view.
    void syncScrollBars();

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void scrollContentsBy(int, int) override {}

  private:
    void scrollAction(bool horizontal, int action);
    EditorWindow& window_;
    Editor* editor_ = nullptr;
    bool syncing_ = false;
};

}  // namespace zevo
