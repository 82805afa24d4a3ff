// The change tool through the real window on the offscreen platform: a part's reference typed
// into "部品変更" after a Shift-click, then undone; and the arc's dialog with its layer list.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "board/file/board_writer.h"
#include "board/model/intern.h"
#include "shell/qt/dialogs/change_dialogs.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "tools/change_tool.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

class ChangeWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void partReferenceThroughTheWindow() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.startUp({});
        QApplication::processEvents();
        Editor& e = w.editor();
        e.options.longCursor = false;
        e.view.SetView(5, 0, 0);
        Board& b = e.doc.board;
        group* part = b.CreateGroup(Intern("R"));
        part->ext = b.CreatePartPlacement({30, 30}, 0);
        b.AppendElement(nullptr, part);
        b.AppendElement(part, b.CreateLand(1, 0, false, {30, 30}));
        b.AppendElement(part, b.CreateLand(1, 0, false, {35, 30}));
        e.redraw();
        const std::string before = WriteDocument(b);
        QVERIFY(e.command(Cmd::Change));

        QString title;
        bool insertShown = false, turnShown = false;
        OnDialog(&w, [&](QWidget* d) {
            title = d->windowTitle();
            insertShown = d->findChild<QCheckBox*>("check302") != nullptr;
            turnShown = d->findChild<QCheckBox*>("check303") != nullptr;
            d->findChild<QLineEdit*>("edit301")->setText(QString::fromUtf8("R12"));
            d->findChild<QPushButton*>("button1")->click();
        });
        Click(w, {35, 30}, Qt::ShiftModifier);
        QCOMPARE(title, QString::fromUtf8("部品変更"));
        QVERIFY(insertShown);
        QVERIFY(turnShown);
        QCOMPARE(e.history.doneCount(), size_t(1));
        QCOMPARE(std::string(View(AsGroup(AsElement(b.items.next))->reference)),
                 std::string("R12"));
        QVERIFY(e.doc.modified);

        // 取消 in the next dialog changes nothing; Backspace undoes the change.
        OnDialog(&w, [](QWidget* d) {
            d->findChild<QLineEdit*>("edit301")->setText("X");
            d->findChild<QPushButton*>("button2")->click();
        });
        Click(w, {35, 30}, Qt::ShiftModifier);
        QCOMPARE(e.history.doneCount(), size_t(1));
        QTest::keyClick(&w.screen(), Qt::Key_Backspace);
        QCOMPARE(WriteDocument(b), before);
    }

    void arcDialogTakesItsFieldsAndLayer() {
        Board b;
        b.SetLayerName(2, "Bottom");
        ArcChangeModel m(b, 5, 0, 90, 1, 3);
        OnDialog(this, [](QWidget* d) {
            auto* layer = d->findChild<QComboBox*>("combo201");
            layer->setCurrentIndex(layer->findData(2));
            d->findChild<QComboBox*>("combo202")->setCurrentIndex(7);
            d->findChild<QLineEdit*>("edit101")->setText("2*3");
            d->findChild<QPushButton*>("button1")->click();
        });
        RunArcChangeDialog(nullptr, m, false);
        QVERIFY(m.decided());
        QCOMPARE(m.radiusValue, 6.0);
        QCOMPARE(m.endValue, 90.0);
        QCOMPARE(m.layer, 2);
        QCOMPARE(m.aperture, 7);
    }
};

QTEST_MAIN(ChangeWindowTest)
#include "change_window_test.moc"
