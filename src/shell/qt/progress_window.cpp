#include "shell/qt/progress_window.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "interface/qt/interface_language.h"

namespace zevo {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setModal(false);
    setObjectName("dialog186");
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* box = new QVBoxLayout(frame);
    box->setContentsMargins(24, 12, 24, 12);
    text_ = new QLabel(frame);
    text_->setObjectName("static101");
    text_->setAlignment(Qt::AlignCenter);
    escapeLine_ = new QLabel(T("ESCで中止"), frame);
    escapeLine_->setObjectName("static102");
    escapeLine_->setAlignment(Qt::AlignCenter);
    box->addWidget(text_);
    box->addWidget(escapeLine_);
    escapeLine_->hide();
}

ProgressWindow::~ProgressWindow() {
    if (watching_) qApp->removeEventFilter(this);
}

void ProgressWindow::show(std::string_view text, bool abortable) {
    setObjectName(abortable ? "dialog203" : "dialog186");
    text_->setText(UiText(text));
    escapeLine_->setVisible(abortable);
    escape_ = false;
    if (!watching_) {
        qApp->installEventFilter(this);
        watching_ = true;
    }
    adjustSize();
    if (QWidget* p = parentWidget()) {
        const QRect r = p->geometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::show();
    raise();
    QCoreApplication::processEvents();
}

bool ProgressWindow::pump() {
    QCoreApplication::processEvents();
    return escape_;
}

void ProgressWindow::close() {
    if (watching_) {
        qApp->removeEventFilter(this);
        watching_ = false;
    }
    hide();
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (t == QEvent::KeyPress || t == QEvent::ShortcutOverride || t == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            // Counted once per press, wherever the focus is, and never seen by anyone else.
            if (t == QEvent::KeyPress && !key->isAutoRepeat()) escape_ = true;
            key->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zevo
