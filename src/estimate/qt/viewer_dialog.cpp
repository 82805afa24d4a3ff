#include "estimate/qt/viewer_dialog.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

#include "interface/qt/interface_language.h"
#include "paths/file_io.h"

namespace zevo {

namespace {
constexpr int kMargin = 10;  // pixels around the drawing
}

ViewerCanvas::ViewerCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("viewerCanvas");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

void ViewerCanvas::setDrawing(ViewerDrawing d) {
    drawing_ = std::move(d);
    setScale(scale_);
}

void ViewerCanvas::setScale(int scale) {
    scale_ = scale;
    const double w = drawing_.empty() ? 0 : drawing_.maxX - drawing_.minX;
    const double h = drawing_.empty() ? 0 : drawing_.maxY - drawing_.minY;
    resize(int(std::ceil(w * scale_)) + 2 * kMargin, int(std::ceil(h * scale_)) + 2 * kMargin);
    update();
}

QPointF ViewerCanvas::toPixel(double x, double y) const {
    // Board Y grows upwards.
    return {kMargin + (x - drawing_.minX) * scale_, kMargin + (drawing_.maxY - y) * scale_};
}

void ViewerCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0, 220, 120);
    for (const ViewerShape& s : drawing_.shapes) {
        const double w = std::max(1.0, s.width * scale_);
        QPen pen(ink, w, Qt::SolidLine, s.height > 0 ? Qt::SquareCap : Qt::RoundCap, Qt::RoundJoin);
        switch (s.kind) {
            case ViewerShape::Kind::kFlash: {
                p.setPen(Qt::NoPen);
                p.setBrush(ink);
                const QPointF c = toPixel(s.x0, s.y0);
                if (s.height > 0) {
                    const double h = std::max(1.0, s.height * scale_);
                    p.drawRect(QRectF(c.x() - w / 2, c.y() - h / 2, w, h));
                } else {
                    p.drawEllipse(c, w / 2, w / 2);
                }
                break;
            }
            case ViewerShape::Kind::kLine:
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                p.drawLine(toPixel(s.x0, s.y0), toPixel(s.x1, s.y1));
                break;
            case ViewerShape::Kind::kArc: {
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                const double r = std::hypot(s.x0 - s.cx, s.y0 - s.cy);
                const double a0 = std::atan2(s.y0 - s.cy, s.x0 - s.cx) * 180 / std::numbers::pi;
                const double a1 = std::atan2(s.y1 - s.cy, s.x1 - s.cx) * 180 / std::numbers::pi;
                double sweep = a1 - a0;
                if (s.clockwise) {
                    while (sweep >= 0) sweep -= 360;
                } else {
                    while (sweep <= 0) sweep += 360;
                }
                const QPointF c = toPixel(s.cx, s.cy);
                const QRectF box(c.x() - r * scale_, c.y() - r * scale_, 2 * r * scale_,
                                 2 * r * scale_);
                QPainterPath path;
                path.arcMoveTo(box, a0);
                path.arcTo(box, a0, sweep);
                p.drawPath(path);
                break;
            }
        }
    }
}

ViewerDialog::ViewerDialog(const std::filesystem::path& folder,
                           const std::vector<RenamedFile>& files, QWidget* parent)
    : QDialog(parent), folder_(folder), files_(files) {
    setObjectName("dialog101");
    setWindowTitle(T("確認"));
    resize(720, 540);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menu_ = new QMenuBar(this);
    layout->setMenuBar(menu_);
    QMenu* fileMenu = menu_->addMenu(T("ファイル"));
    for (size_t i = 0; i < files_.size(); ++i) {
        QAction* a = fileMenu->addAction(QString::fromStdString(files_[i].name));
        connect(a, &QAction::triggered, this, [this, i] { showFile(i); });
    }
    menu_->addAction(T("縮小"), this, [this] { zoomOut(); })->setShortcut(Qt::Key_Minus);
    menu_->addAction(T("拡大"), this, [this] { zoomIn(); })->setShortcut(Qt::Key_Plus);
    menu_->addAction(T("全体"), this, [this] { fit(); })->setShortcut(Qt::Key_Home);
    menu_->addAction(T("閉じる"), this, [this] { accept(); });
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(false);
    scroll_->setBackgroundRole(QPalette::Dark);
    canvas_ = new ViewerCanvas;
    scroll_->setWidget(canvas_);
    layout->addWidget(scroll_);
    if (!files_.empty()) showFile(0);
}

void ViewerDialog::showFile(size_t index) {
    if (index >= files_.size()) return;
    const auto bytes = ReadWholeFile(folder_ / Utf8Path(files_[index].name));
    canvas_->setDrawing(ReadViewerDrawing(bytes ? *bytes : std::string()));
    setWindowTitle(T("確認 - ") + QString::fromStdString(files_[index].name));
    fit();
}

void ViewerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fit();
}

void ViewerDialog::zoomIn() {
    canvas_->setScale(ViewerZoomIn(canvas_->scale()));
}

void ViewerDialog::zoomOut() {
    canvas_->setScale(ViewerZoomOut(canvas_->scale()));
}

void ViewerDialog::fit() {
    const QSize view = scroll_->viewport()->size();
    canvas_->setScale(ViewerFitScale(canvas_->drawing(), view.width(), view.height()));
}

}  // namespace zevo
