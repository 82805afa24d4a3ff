// The estimate program's dialog on the offscreen platform: its controls for each entry, the
// whole way through the real local channel to a running editor window, the viewer, and the end
// of the program when the editor goes.
#include "estimate/qt/estimate_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QLockFile>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "board/model/board.h"
#include "estimate/qt/viewer_dialog.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/estimate_server.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

namespace {

EstimateArguments Args(const std::string& board) {
    const ParsedArguments p =
        ParseEstimateArguments("ZEVO 0000000A X70 Y50 LY1 F000000F7 " + board);
    return p.args;
}

template <class T>
T* Child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
}

}  // namespace

class EstimateDialogTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void controlsFollowTheEntryAndTheSide() {
        QTemporaryDir temp;
        EstimateDialog d(Args("/boards/amp.pcb"), MakerTable({"fab", "https://fab.example/o"}),
                         temp.path().toStdString(), {});
        d.quiet = true;
        d.show();
        auto* maker = Child<QComboBox>(d, "combo102");
        QCOMPARE(maker->count(), 4);
        QCOMPARE(maker->currentText(), QString("fab"));
        QCOMPARE(Child<QLineEdit>(d, "edit111")->text(), QString("70"));
        QCOMPARE(Child<QLineEdit>(d, "edit112")->text(), QString("50"));
        QCOMPARE(Child<QLineEdit>(d, "edit113")->text(), QString("4"));
        QCOMPARE(Child<QComboBox>(d, "combo114")->currentText(), QString("４層"));
        QCOMPARE(Child<QComboBox>(d, "combo115")->currentText(), QString("部品面のみ"));
        QCOMPARE(Child<QComboBox>(d, "combo117")->currentText(), QString("1.6mm"));
        QVERIFY(!Child<QComboBox>(d, "combo118")->isEnabled());  // no fifth option
        QVERIFY(Child<QRadioButton>(d, "radio104")->isChecked());
        QVERIFY(Child<QPushButton>(d, "button101")->isEnabled());
        QVERIFY(!Child<QPushButton>(d, "button103")->isEnabled());
        QVERIFY(!Child<QPushButton>(d, "button1")->isEnabled());

        // Side B: the single silk side is now the solder side.
        QTest::mouseClick(Child<QRadioButton>(d, "radio105"), Qt::LeftButton);
        QCOMPARE(Child<QComboBox>(d, "combo115")->currentText(), QString("半田面のみ"));
        QVERIFY(d.session().sideB());

        // A generic entry: no sizes, no quantity, no options.
        maker->setCurrentIndex(2);
        Q_EMIT maker->activated(2);
        QCOMPARE(d.session().entryIndex(), size_t(2));
        QVERIFY(!Child<QLineEdit>(d, "edit111")->isEnabled());
        QVERIFY(!Child<QLineEdit>(d, "edit113")->isEnabled());
        QVERIFY(!Child<QComboBox>(d, "combo114")->isEnabled());
        QCOMPARE(Child<QComboBox>(d, "combo114")->count(), 0);

        // F1 shows the help text.
        QTest::keyClick(&d, Qt::Key_F1);
        QVERIFY(!d.shown.empty());
        QVERIFY(d.shown.back().contains("データ作成"));

        // Without an editor the request fails at once.
        QTest::mouseClick(Child<QPushButton>(d, "button101"), Qt::LeftButton);
        QCOMPARE(d.shown.back(), QString("データ作成失敗"));
        QVERIFY(Child<QPushButton>(d, "button101")->isEnabled());
    }

    void theWholeWayThroughTheChannelToARunningEditor() {
        QTemporaryDir dir, copies, temp;
        // The editor writes the ZevoNC folder into the user's temporary folder.
        const QByteArray oldTemp = qgetenv("TMPDIR");
        const auto restore = qScopeGuard([&] {
            if (oldTemp.isEmpty())
                qunsetenv("TMPDIR");
            else
                qputenv("TMPDIR", oldTemp);
        });
        qputenv("TMPDIR", temp.path().toUtf8());
        EditorWindow w(ScratchPaths(dir), copies.path());
        w.show();
        w.startUp({});
        Board& b = w.editor().doc.board;
        b.AppendElement(nullptr, b.CreateLine(7, 0, false, {0, 0}, {40, 0}));
        b.AppendElement(nullptr, b.CreateLine(7, 0, false, {40, 0}, {40, 30}));
        b.AppendElement(nullptr, b.CreateLand(1, 0, false, {10, 10}));
        b.AppendElement(nullptr, b.CreateArc(1, 0, {20, 15}, 5, 0, 3.0));
        b.AppendElement(nullptr, b.CreateLand(8, 0, false, {10, 10}));
        const QString board = dir.path() + "/amp.pcb";
        w.editor().doc.path = board.toStdString();

        const uint32_t channel = w.estimateChannel();
        QVERIFY(channel != 0);
        EstimateDialog d(Args(board.toStdString()), MakerTable({"fab", "https://fab.example/o"}),
                         temp.path().toStdString(), EstimateServerName(channel));
        d.quiet = true;
        d.show();
        QTest::mouseClick(Child<QPushButton>(d, "button101"), Qt::LeftButton);
        QVERIFY(!Child<QPushButton>(d, "button101")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(Child<QPushButton>(d, "button103")->isEnabled(), 10000);
        QVERIFY(QFile::exists(dir.path() + "/amp_zevo.zip"));
        QCOMPARE(d.shown.back(),
                 "ガーバーファイルを作製／圧縮しました。\n" + dir.path() + "/amp_zevo.zip");
        QCOMPARE(QApplication::clipboard()->text(), dir.path() + "/amp_zevo.zip");
        QVERIFY(Child<QPushButton>(d, "button1")->isEnabled());
        QCOMPARE(d.session().renamed().files.size(), size_t(3));  // pattern, outline, holes

        // "見積": the order form with the archive, then the program closes.
        QSignalSpy finished(&d, &QDialog::finished);
        QTest::mouseClick(Child<QPushButton>(d, "button1"), Qt::LeftButton);
        QVERIFY(d.openedUrl.contains("x_size=70&y_size=50&units=4"));
        QVERIFY(d.openedUrl.endsWith("&gb_file_name=amp_zevo.zip"));
        QTRY_COMPARE(finished.count(), 1);
    }

    void theProgramClosesWhenTheEditorIsGone() {
        QTemporaryDir dir, copies, temp;
        auto w = std::make_unique<EditorWindow>(ScratchPaths(dir), copies.path());
        EstimateDialog d(Args("/boards/amp.pcb"), MakerTable({"fab", ""}),
                         temp.path().toStdString(), EstimateServerName(w->estimateChannel()));
        d.quiet = true;
        d.show();
        QSignalSpy finished(&d, &QDialog::finished);
        QTest::qWait(500);
        QCOMPARE(finished.count(), 0);
        w.reset();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 3000);
    }

    void oneCopyAtATime() {
        // A runtime folder of this test's own: other runs on the machine hold their own locks.
        QTemporaryDir runtime;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] {
            if (oldRuntime.isEmpty())
                qunsetenv("XDG_RUNTIME_DIR");
            else
                qputenv("XDG_RUNTIME_DIR", oldRuntime);
        });
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        QVERIFY(EstimateLockPath().startsWith(runtime.path()));
        QVERIFY(!EstimateLockHeld());
        {
            // What a running program holds; a second start tries the same and ends.
            QLockFile running(EstimateLockPath());
            running.setStaleLockTime(0);
            QVERIFY(running.tryLock(0));
            QVERIFY(EstimateLockHeld());
            QLockFile second(EstimateLockPath());
            second.setStaleLockTime(0);
            QVERIFY(!second.tryLock(0));
            // The editor's menu item asks the same question and starts nothing.
            QTemporaryDir dir, copies;
            EditorWindow w(ScratchPaths(dir), copies.path());
            QVERIFY(w.estimateRunning());
        }
        QVERIFY(!EstimateLockHeld());
    }

    void theViewerDrawsZoomsAndFits() {
        QTemporaryDir dir;
        QFile f(dir.path() + "/amp.GTL");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "G71*G90*G75*D02*\r\n%ADD11C,1.000*%\r\nG54D11*\r\nG01X10000Y10000D02*\r\n"
            "X50000D01*\r\nG03X50000Y30000I0J10000D01*\r\nX20000Y20000D03*\r\nG01X0Y0D02*\r\n"
            "M02*\r\n");
        f.close();
        RenamedFile r;
        r.name = "amp.GTL";
        ViewerDialog v(dir.path().toStdString(), {r});
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QCOMPARE(v.canvas().drawing().shapes.size(), size_t(3));
        const int fitted = v.canvas().scale();
        QVERIFY(fitted >= 3);
        v.zoomIn();
        QCOMPARE(v.canvas().scale(), fitted * 6 / 5 + 1);
        for (int i = 0; i < 40; ++i) v.zoomIn();
        QCOMPARE(v.canvas().scale(), 1000);
        for (int i = 0; i < 40; ++i) v.zoomOut();
        QCOMPARE(v.canvas().scale(), 3);
        v.fit();
        QCOMPARE(v.canvas().scale(), fitted);
        // The canvas is as large as the drawing at its scale: the scroll bars take the rest.
        v.zoomIn();
        QVERIFY(v.canvas().width() > 40 * v.canvas().scale());
        QImage shot(v.canvas().size(), QImage::Format_RGB32);
        v.canvas().render(&shot);
        // Ink on black: the track, the arc and the flash are drawn.
        int ink = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y).green() > 128) ++ink;
        QVERIFY(ink > 40 * v.canvas().scale());
        QCOMPARE(shot.pixelColor(1, 1), QColor(Qt::black));
    }
};

QTEST_MAIN(EstimateDialogTest)
#include "estimate_dialog_test.moc"
