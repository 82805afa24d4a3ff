// Dialog 101: the renamed files drawn one at a time, with zoom, fit and scrolling.
#pragma once

#include <QDialog>
#include <QWidget>
#include <filesystem>
#include <vector>

#include "estimate/package_files.h"
#include "estimate/viewer.h"

class QScrollArea;
class QMenuBar;

namespace zevo {

// The drawing of one file at a scale in pixels per millimetre.
class ViewerCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit ViewerCanvas(QWidget* parent = nullptr);
    void setDrawing(ViewerDrawing d);
    void setScale(int scale);
    int scale() const { return scale_; }
    const ViewerDrawing& drawing() const { return drawing_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPointF toPixel(double x, double y) const;
    ViewerDrawing drawing_;
    int scale_ = 10;
};

class ViewerDialog : public QDialog {
    Q_OBJECT
  public:
    ViewerDialog(const std::filesystem::path& folder, const std::vector<RenamedFile>& files,
                 QWidget* parent = nullptr);
    void showFile(size_t index);
    void zoomIn();
    void zoomOut();
    void fit();
    ViewerCanvas& canvas() { return *canvas_; }
    QMenuBar* menu() const { return menu_; }

  protected:
    // The window has its size only now: the first file is fitted into it.
    void showEvent(QShowEvent* event) override;

  private:
    std::filesystem::path folder_;
    std::vector<RenamedFile> files_;
    QScrollArea* scroll_ = nullptr;
    ViewerCanvas* canvas_ = nullptr;
    QMenuBar* menu_ = nullptr;
};

}  // namespace zevo
