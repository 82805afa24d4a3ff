// The deform tool through the real window on the offscreen platform: a land dragged with the
// line on it, taken back with Backspace, and a rectangle turned by the angle of "回転角 設定"
// after "任意角の回転" was switched on in "選択方法設定".
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "board/file/board_writer.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

class DeformWindowTest : public QObject {
    Q_OBJECT

    // Answers the next modal dialog: check boxes to tick, fields by object name, then a button.
    static void Answer(QStringList checks, std::vector<std::pair<QString, QString>> fields,
                       QString button, QString* title = nullptr) {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [=] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) return;  // not open yet
            timer->stop();
            timer->deleteLater();
            if (title) *title = d->windowTitle();
            for (const QString& name : checks)
                if (auto* c = d->findChild<QCheckBox*>(name)) c->setChecked(true);
            for (const auto& [name, text] : fields)
                if (auto* e = d->findChild<QLineEdit*>(name)) e->setText(text);
            if (auto* b = d->findChild<QPushButton*>(button)) b->click();
        });
        timer->start();
    }

  private Q_SLOTS:
    void dragsTurnsAndTakesBack() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.resize(900, 700);
        w.show();
        w.startUp({});
        // The window's own resizing is over before the view is set.
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::processEvents();
        Editor& e = w.editor();
        Board& b = e.doc.board;
        e.options.longCursor = false;
        e.view.SetView(5, 0, 0);
        e.view.SetGrid(1, 1);
        if (!e.view.onGrid()) e.view.ToggleOnGrid();
        b.AppendElement(nullptr, b.CreateLand(1, 18, false, {20, 20}));
        b.AppendElement(nullptr, b.CreateLine(1, 18, false, {20, 20}, {40, 20}));
        b.AppendElement(nullptr, b.CreateRect(1, 0, {60, 40}, 6, 2, 0));
        e.redraw();
        const std::string before = WriteDocument(b);

        // The land's rim, then where it goes: the line's start goes along.
        QVERIFY(e.command(Cmd::Deform));
        Click(w, {20.5, 20});
        QCOMPARE(e.tools->modes.depth(), 2);
        QTest::mouseMove(w.screen().viewport(), ViewPixel(w, {23, 27}));
        Click(w, {25, 30});
        QCOMPARE(e.tools->modes.depth(), 1);
        auto it = Items(b.items).begin();
        QCOMPARE(AsDrawn(*it)->ref(), (Point{25, 30}));
        ++it;
        QCOMPARE(static_cast<const line*>(*it)->start(), (Point{25, 30}));
        QCOMPARE(e.history.doneCount(), size_t(1));
        QTest::keyClick(&w.screen(), Qt::Key_Backspace);
        QCOMPARE(WriteDocument(b), before);

        // "任意角の回転" in the tool's settings, then a turn by the angle typed.
        QString title;
        Answer({"check103"}, {}, "button1", &title);
        QVERIFY(e.command(Cmd::SelectSettings));
        QCOMPARE(title, QString::fromUtf8("選択方法設定"));
        QVERIFY(e.selection.anyAngleRotation);
        Click(w, {63, 41});
        QCOMPARE(e.tools->modes.depth(), 2);
        Answer({}, {{"edit101", "30+15"}}, "button1", &title);
        QVERIFY(e.command(Cmd::Rotate));
        QCOMPARE(title, QString::fromUtf8("回転角 設定"));
        Click(w, {60, 40});
        QCOMPARE(e.tools->modes.depth(), 1);
        const rect* r = nullptr;
        for (container* c : Items(b.items))
            if (c->kind == kRect) r = static_cast<const rect*>(c);
        QVERIFY(r);
        QVERIFY(std::fabs(r->ang - ToRadians(45)) < 1e-9);
        QCOMPARE(r->ref(), (Point{60, 40}));
    }
};

QTEST_MAIN(DeformWindowTest)
#include "deform_window_test.moc"
