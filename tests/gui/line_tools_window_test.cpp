// The connect tool through the real window on the offscreen platform: a corner rounded by a
// chamfer, its radius typed into "間隔入力", then undone.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "shell/qt/dialogs/line_tool_dialogs.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "tools/line_tools.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

class LineToolsWindowTest : public QObject {
    Q_OBJECT

    static void Press(QWidget* d, const char* name) {
        if (auto* b = d->findChild<QAbstractButton*>(name)) b->click();
    }

  private Q_SLOTS:
    void settingsDialogsTakeTheirChoices() {
        Board board;
        DrawingSettings s;
        ParallelSettingsModel parallel(board, s);
        OnDialog([](QWidget* d) {
            Press(d, "radio102");
            Press(d, "radio103");
            d->findChild<QListWidget*>("list101")->setCurrentRow(5);
            Press(d, "button1");
        });
        QVERIFY(RunParallelSettingsDialog(nullptr, parallel));
        QVERIFY(parallel.middleByClick);
        QVERIFY(!parallel.singleLineParallel);
        QCOMPARE(parallel.aperture, 5);

        ConnectSettingsModel connect(s);
        OnDialog([](QWidget* d) {
            Press(d, "radio103");
            Press(d, "button2");  // 取消: nothing taken
        });
        QVERIFY(!RunConnectSettingsDialog(nullptr, connect));
        QVERIFY(connect.click == ConnectSettingsModel::Click::kConnect);
        OnDialog([](QWidget* d) {
            Press(d, "radio102");
            Press(d, "button1");
        });
        QVERIFY(RunConnectSettingsDialog(nullptr, connect));
        QVERIFY(connect.click == ConnectSettingsModel::Click::kStretch);

        LineSetInputModel values(LineSetInputModel::Kind::kParallelArc, LineSetValues{});
        bool lengthEnabled = true;
        OnDialog([&lengthEnabled](QWidget* d) {
            lengthEnabled = d->findChild<QLineEdit*>("edit102")->isEnabled();
            d->findChild<QLineEdit*>("edit101")->setText("0.3*2");
            d->findChild<QLineEdit*>("edit103")->setText("4");
            Press(d, "button1");
        });
        QVERIFY(RunLineSetInputDialog(nullptr, values));
        QVERIFY(!lengthEnabled);
        QCOMPARE(values.values().spacing, 0.6);
        QCOMPARE(values.values().count, 4);
    }

    void chamferWithItsDialog() {
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
        b.AppendElement(nullptr, b.CreateLine(1, 0, false, {10, 10}, {40, 10}));
        b.AppendElement(nullptr, b.CreateLine(1, 0, false, {40, 10}, {40, 40}));
        e.redraw();
        QVERIFY(e.command(Cmd::Connect));

        // The radius is typed into the dialog the second line opens.
        QString title, shown;
        auto* timer = new QTimer(&w);
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, &title, &shown] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) return;
            timer->stop();
            title = d->windowTitle();
            auto* field = d->findChild<QLineEdit*>("edit101");
            if (field) {
                shown = field->text();
                field->setText("3");
            }
            if (auto* ok = d->findChild<QPushButton*>("button1")) ok->click();
        });
        timer->start();
        Click(w, {25, 10}, Qt::ShiftModifier);
        QCOMPARE(e.tools->modes.depth(), 2);
        Click(w, {40, 25});
        QCOMPARE(title, QString::fromUtf8("間隔入力"));
        QCOMPARE(shown, QString("0.5"));
        QCOMPARE(e.tools->modes.depth(), 1);
        QCOMPARE(e.history.doneCount(), size_t(1));

        std::vector<container*> items;
        for (container* c : Items(b.items)) items.push_back(c);
        QCOMPARE(items.size(), size_t(3));
        const auto* first = static_cast<const line*>(items[0]);
        const auto* second = static_cast<const line*>(items[1]);
        const auto* corner = static_cast<const arc*>(items[2]);
        QCOMPARE(corner->kind, int(kArc));
        QCOMPARE(first->ex, 37.0);
        QCOMPARE(second->y, 13.0);
        QCOMPARE(corner->r, 3.0);
        QCOMPARE(corner->x, 37.0);
        QCOMPARE(corner->y, 13.0);

        // One undo brings the corner back.
        QTest::keyClick(&w.screen(), Qt::Key_Backspace);
        items.clear();
        for (container* c : Items(b.items)) items.push_back(c);
        QCOMPARE(items.size(), size_t(2));
        QCOMPARE(static_cast<const line*>(items[0])->ex, 40.0);
    }
};

QTEST_MAIN(LineToolsWindowTest)
#include "line_tools_window_test.moc"
