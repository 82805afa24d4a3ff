// Strokel's windows: the main window with the character box, the grid window with its four
// layers (glyph, grid, trace, composite) and the rubber band, the coordinate area and the trace
// check box; the context menu, the font choice and the magnification dialog; the save question
// on closing. The editing itself is the Qt-free GlyphEditor.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "glyph_editor/glyph_editor.h"
#include "glyph_editor/strokel_ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zevo {

class StrokelWindow;

// The 127 x 127 grid. Mouse buttons and moves go to the editor's pointer states in cells.
class GridWindow : public QFrame {
  public:
    GridWindow(StrokelWindow& owner, GlyphEditor& editor);
    // Redraws the glyph layer from the editing buffer and rebuilds the composite.
    void redrawGlyph();
    // Draws the trace character of the current code (in the trace face and height).
    void redrawTrace(const QFont& font, bool shown);
    void compose();
    const QImage& composite() const { return composite_; }
    const QImage& glyphLayer() const { return glyph_; }
    const QImage& gridLayer() const { return grid_; }
    const QImage& traceLayer() const { return trace_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

  private:
    GridCell cellAt(QPointF p) const;
    void after();

    StrokelWindow& owner_;
    GlyphEditor& editor_;
    QImage glyph_, grid_, trace_, composite_;
    bool traceShown_ = false;
    GridCell last_{-1, -1};
};

// The magnification dialog over its model.
class MagnificationDialog : public QDialog {
  public:
    MagnificationDialog(TraceMagnificationModel& model, QWidget* parent);

  private:
    TraceMagnificationModel& model_;
};

class StrokelWindow : public QWidget {
  public:
    // `fontFile`: the font to read; `saveFile`: where it is written on closing.
    StrokelWindow(std::filesystem::path fontFile, std::filesystem::path saveFile, bool traceSwitch);

    GlyphEditor& editor() { return editor_; }
    GridWindow* grid() const { return grid_; }
    QLineEdit* characterBox() const { return box_; }
    QCheckBox* traceCheck() const { return trace_; }
    QLabel* coordinates() const { return coords_; }
    int traceHeight() const { return traceHeight_; }
    QString traceFace() const { return traceFace_; }
    // Opens on the full-width exclamation mark (the character 0x21 typed into the box).
    void start();
    // The grid window reports the cell under the pointer.
    void showCell(GridCell c);
    // Runs one command of the context menu.
    void runCommand(StrokelCommand command);
    QFont traceFont() const;
    // Where the questions and messages go (replaced by tests).
    std::function<bool(const QString&)> ask;
    std::function<void(const QString&)> warn;
    // The font dialog and the magnification dialog (replaced by tests).
    std::function<bool(QFont&)> chooseFont;
    std::function<bool(TraceMagnificationModel&)> chooseMagnification;

  protected:
    void contextMenuEvent(QContextMenuEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void closeEvent(QCloseEvent*) override;

  private:
    void characterChanged();
    void reloadTrace();

    GlyphEditor editor_;
    std::filesystem::path saveFile_;
    GridWindow* grid_ = nullptr;
    QLineEdit* box_ = nullptr;
    QCheckBox* trace_ = nullptr;
    QLabel* coords_ = nullptr;
    int traceHeight_ = kDefaultTraceHeight;
    QString traceFace_;
};

}  // namespace zevo
