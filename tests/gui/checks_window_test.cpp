// The check commands through the real window on the offscreen platform: the rule file chosen in
// the file dialog, the progress window, the result message, the marks, and the equipotential tool.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "board/model/board.h"
#include "board/model/intern.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "view/board_renderer.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

namespace {

// Acts on the modal window of type T as soon as one is up (a long operation may come first).
template <class T>
void WhenModal(std::function<void(T*)> act, int tries = 500) {
    QTimer::singleShot(10, [act, tries] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(w);
        else if (tries > 0)
            WhenModal<T>(act, tries - 1);
    });
}

}  // namespace

class ChecksWindowTest : public QObject {
    Q_OBJECT

    static size_t Marks(const Board& b) {
        size_t n = 0;
        for (container* c : Items(b.items))
            if (c->kind == kGroup && AsGroup(c)->type == Reserved().drc) ++n;
        return n;
    }

  private Q_SLOTS:
    void designRuleCheckThroughTheWindow() {
        QTemporaryDir dir, copies;
        EditorWindow w(ScratchPaths(dir), copies.path());
        w.show();
        w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
        Board& b = w.editor().doc.board;
        b.AppendElement(nullptr, b.CreateLand(1, 18, false, {200, 150}));
        b.AppendElement(nullptr,
                        b.CreateLand(1, 18, false, {200 + 2 * b.roundHalf(18) + 0.1, 150}));

        QString message;
        WhenModal<QFileDialog>([&](QFileDialog* chooser) {
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                message = box->text();
                box->accept();
            });
            chooser->selectFile(QString(ZEVO_EXAMPLES) + "/../resources/Zevo.drc");
            QMetaObject::invokeMethod(chooser, "accept", Qt::DirectConnection);
        });
        w.action(Cmd::Drc)->trigger();
        QCOMPARE(message, QString("違反個所が見つかりました"));
        QCOMPARE(Marks(b), size_t(1));
        QVERIFY(w.editor().ready());
        QVERIFY(w.action(Cmd::DrcErase)->isEnabled());
        w.action(Cmd::DrcErase)->trigger();
        QCOMPARE(Marks(b), size_t(0));
    }

    void equipotentialHighlightsThroughTheWindow() {
        QTemporaryDir dir, copies;
        EditorWindow w(ScratchPaths(dir), copies.path());
        w.show();
        w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
        const drawn* first = nullptr;
        ForEachDrawn(w.editor().doc.board.items, [&](drawn* d) {
            if (!first && d->kind == kLand && d->layer == 1) first = d;
        });
        QVERIFY(first);
        const Point at = w.editor().view.WorldToScreen(
            {first->bounds.maxX, (first->bounds.minY + first->bounds.maxY) / 2});
        w.action(Cmd::Equipotential)->trigger();
        QTest::mouseClick(w.screen().viewport(), Qt::LeftButton, {}, QPoint(int(at.x), int(at.y)));
        QApplication::processEvents();
        const QImage shot = w.screen().viewport()->grab().toImage();
        int grey = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if ((shot.pixel(x, y) & 0xffffff) == kGreyPen) ++grey;
        QVERIFY(grey > 0);
        QTest::keyClick(&w.screen(), Qt::Key_Escape);
        QCOMPARE(w.editor().tools->modes.depth(), 1);
    }

    void spacingIsMeasuredThroughTheWindowAndShownInItsDialog() {
        QTemporaryDir dir, copies;
        EditorWindow w(ScratchPaths(dir), copies.path());
        w.show();
        w.startUp({});
        Board& b = w.editor().doc.board;
        b.AppendElement(nullptr, b.CreateLand(1, 18, false, {20, 20}));
        b.AppendElement(nullptr, b.CreateLand(1, 18, false, {30, 20}));
        w.editor().view.SetView(10, 0, 0);
        w.editor().redraw();
        auto pixel = [&](Point p) {
            const Point s = w.editor().view.WorldToScreen(p);
            return QPoint(int(std::lround(s.x)), int(std::lround(s.y)));
        };
        QTest::keyClick(&w.screen(), Qt::Key_D);
        QCOMPARE(w.editor().tools->modes.mode(), int(kModeSpacing));
        QTest::mouseClick(w.screen().viewport(), Qt::LeftButton, {}, pixel({20.5, 20}));
        QStringList figures;
        WhenModal<QDialog>([&](QDialog* d) {
            QCOMPARE(d->objectName(), QString("dialog167"));
            for (int id : {101, 102, 103})
                figures << d->findChild<QLineEdit*>(QString("edit%1").arg(id))->text();
            d->findChild<QPushButton*>("button1")->click();
        });
        QTest::mouseClick(w.screen().viewport(), Qt::LeftButton, {}, pixel({29.5, 20}));
        QCOMPARE(figures, (QStringList{"9", "0", "9"}));
        QCOMPARE(w.editor().tools->modes.depth(), 1);
    }
};

QTEST_MAIN(ChecksWindowTest)
#include "checks_window_test.moc"
