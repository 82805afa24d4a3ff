#include "shell/qt/screen_widget.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "shell/editor.h"
#include "shell/qt/editor_window.h"

namespace zevo {

ScreenWidget::ScreenWidget(EditorWindow& window, QWidget* parent)
    : QAbstractScrollArea(parent), window_(window) {
    setObjectName("ZevoClient");
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int a) { scrollAction(true, a); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int a) { scrollAction(false, a); });
}

void ScreenWidget::syncScrollBars() {
    if (!editor_) return;
    syncing_ = true;
    const ViewState& v = editor_->view;
    horizontalScrollBar()->setRange(0, v.hScrollRange);
    horizontalScrollBar()->setValue(v.hScrollPos);
    verticalScrollBar()->setRange(0, v.vScrollRange);
    verticalScrollBar()->setValue(v.vScrollPos);
    syncing_ = false;
}

void ScreenWidget::scrollAction(bool horizontal, int action) {
    if (!editor_ || syncing_) return;
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    ScrollRequest r;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            r = ScrollRequest::kLineDown;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            r = ScrollRequest::kLineUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            r = ScrollRequest::kPageDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            r = ScrollRequest::kPageUp;
            break;
        case QAbstractSlider::SliderToMinimum:
            r = ScrollRequest::kTop;
            break;
        case QAbstractSlider::SliderToMaximum:
            r = ScrollRequest::kBottom;
            break;
        case QAbstractSlider::SliderMove:
            r = ScrollRequest::kThumb;
            break;
        default:
            return;
    }
    editor_->scroll(horizontal, r, bar->sliderPosition());
    // Qt would move the slider itself after this; the view decides where it stands.
    QMetaObject::invokeMethod(
        this, [this] { syncScrollBars(); }, Qt::QueuedConnection);
}

void ScreenWidget::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    if (!editor_ || editor_->screen().empty()) {
        p.fillRect(viewport()->rect(), Qt::black);
        return;
    }
    const Framebuffer& fb = editor_->screen();
    const QImage image(reinterpret_cast<const uchar*>(fb.pixels().data()), fb.width(), fb.height(),
                       fb.width() * 4, QImage::Format_RGB32);
    p.drawImage(0, 0, image);
}

void ScreenWidget::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    const QSize s = viewport()->size();
    if (editor_ && s.width() > 8 && s.height() > 8) editor_->resize(s.width(), s.height());
}

void ScreenWidget::mousePressEvent(QMouseEvent* e) {
    if (!editor_) return;
    const QPoint p = e->position().toPoint();
    const uint32_t f = MouseFlagsOf(e->buttons(), e->modifiers());
    switch (e->button()) {
        case Qt::LeftButton:
            editor_->leftDown(p.x(), p.y(), f);
            break;
        case Qt::RightButton:
            editor_->rightDown(p.x(), p.y(), f);
            break;
        case Qt::MiddleButton:
            editor_->middleDown(p.x(), p.y(), f);
            break;
        default:
            break;
    }
    window_.updateStates();
}

void ScreenWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    mousePressEvent(e);
}

void ScreenWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!editor_) return;
    const QPoint p = e->position().toPoint();
    const uint32_t f = MouseFlagsOf(e->buttons(), e->modifiers());
    switch (e->button()) {
        case Qt::LeftButton:
            editor_->leftUp(p.x(), p.y(), f);
            break;
        case Qt::RightButton:
            editor_->rightUp(p.x(), p.y(), f);
            break;
        default:
            break;
    }
    window_.updateStates();
}

void ScreenWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!editor_) return;
    const QPoint p = e->position().toPoint();
    editor_->mouseMove(p.x(), p.y(), MouseFlagsOf(e->buttons(), e->modifiers()));
}

void ScreenWidget::wheelEvent(QWheelEvent* e) {
    if (!editor_) return;
    const QPoint p = e->position().toPoint();
    const int delta = e->angleDelta().y();
    if (delta != 0) editor_->wheel(delta, p.x(), p.y());
    e->accept();
}

void ScreenWidget::keyPressEvent(QKeyEvent* e) {
    // Keys belong to the main window.
    if (!editor_ || !DeliverKey(*editor_, *e)) QAbstractScrollArea::keyPressEvent(e);
    window_.updateStates();
}

}  // namespace zevo
