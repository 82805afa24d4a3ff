// What the window tests share: a scratch set of program folders, clicks at board points in the
// editor's viewport, and a hook that acts on the next modal dialog.
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <filesystem>
#include <utility>

#include "paths/paths.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"

namespace zevo::windowtest {

// Program and user folders inside `dir`, the shipped resources of the source tree.
inline Paths ScratchPaths(const QTemporaryDir& dir) {
    Folders f;
    f.program = dir.path().toStdString();
    f.userData = f.program / "user";
    f.shipped = {std::filesystem::path(ZEVO_EXAMPLES).parent_path() / "resources"};
    f.programWritable = true;
    return Paths(f);
}

// The viewport pixel nearest to board point `p`.
inline QPoint ViewPixel(EditorWindow& w, Point p) {
    const Point s = w.editor().view.WorldToScreen(p);
    return {int(std::lround(s.x)), int(std::lround(s.y))};
}

// A left click at board point `p`, with the pointer moved there first.
inline void Click(EditorWindow& w, Point p, Qt::KeyboardModifiers keys = {}) {
    QWidget* v = w.screen().viewport();
    const QPoint at = ViewPixel(w, p);
    QTest::mouseMove(v, at);
    QTest::mousePress(v, Qt::LeftButton, keys, at);
    QTest::mouseRelease(v, Qt::LeftButton, keys, at);
}

// Runs `act` on the next modal dialog once it is open (polled, since the dialog's event loop
// holds the caller until it closes); the timer goes with `owner`.
template <class F>
void OnDialog(QObject* owner, F act) {
    auto* timer = new QTimer(owner);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)]() mutable {
        QWidget* d = QApplication::activeModalWidget();
        if (!d) return;
        timer->stop();
        timer->deleteLater();
        act(d);
    });
    timer->start();
}

// The same without an owner: the timer lives until a dialog comes.
template <class F>
void OnDialog(F act) {
    OnDialog(nullptr, std::move(act));
}

}  // namespace zevo::windowtest
