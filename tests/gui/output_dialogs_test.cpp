// The settings dialogs of the manufacturing commands and the progress window on the offscreen
// platform: paging, typing, accepting and cancelling, and the choices afterwards.

#include "shell/qt/dialogs/output_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "board/model/board.h"
#include "output/gerber_input.h"
#include "output/gerber_output.h"
#include "output/hole_output.h"
#include "output/part_coords.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/qt/progress_window.h"

using namespace zevo;

namespace {

template <class T>
T* Find(QWidget* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    if (!w) qWarning("no control %s", qPrintable(name));
    return w;
}

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Click(QWidget* parent, const QString& name) {
    QAbstractButton* b = Find<QAbstractButton>(parent, name);
    if (b) b->click();
}

// Runs `act` on the modal widget that is open once the event loop runs again.
void OnNextModal(std::function<void(QWidget*)> act, bool* seen = nullptr) {
    QTimer::singleShot(0, [act = std::move(act), seen] {
        QWidget* w = QApplication::activeModalWidget();
        if (seen) *seen = w != nullptr;
        if (w) act(w);
    });
}

// Counts the key presses that reach it.
class KeyCounter : public QLineEdit {
  public:
    int escapes = 0;

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) ++escapes;
        QLineEdit::keyPressEvent(e);
    }
};

}  // namespace

class OutputDialogsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void gerberOutputPagesTypesAndOutputs();
    void gerberOutputCancelKeepsTheChoices();
    void gerberOutputDCodeDialogEditsTheSquareTable();
    void currentFormatBoxesGreyWhatTheyOverride();
    void gerberInputReportsACalculationErrorThenReads();
    void holeOutputAddsRemovesAndBeepsAtTooManyDecimals();
    void holeOutputAsksForTheSingleFile();
    void holeOutputCancelledChooserCancels();
    void holeDataDialogGivesTheDecimals();
    void partCoordsMirrorFollowsTheOriginAndBrowseFillsTheName();
    void progressWindowTakesEscapeWhereverTheFocusIs();
};

void OutputDialogsTest::gerberOutputPagesTypesAndOutputs() {
    Board board;
    board.SetLayerName(9, "Top");
    GerberOutputChoices choices;
    choices.extended = true;
    bool ran = false;
    OnNextModal([&](QWidget* w) {
        ran = true;
        QCOMPARE(w->objectName(), QString("dialog189"));
        QCOMPARE(w->windowTitle(), QString("ガーバー出力設定"));
        QCOMPARE(Find<QLabel>(w, "static120")->text(), QString("  0"));
        Click(w, "button110");  // << wraps to the last page
        QCOMPARE(Find<QLabel>(w, "static127")->text(), QString("255"));
        Click(w, "button111");
        Click(w, "button111");
        QCOMPARE(Find<QLabel>(w, "static121")->text(), QString("  9"));
        QCOMPARE(Find<QLabel>(w, "static131")->text(), QString("Top"));
        auto* check = Find<QCheckBox>(w, "check141");
        QVERIFY(!check->isEnabled());
        Type(Find<QLineEdit>(w, "edit151"), "top.gbr");
        QVERIFY(check->isEnabled());
        check->click();
        QVERIFY(check->isChecked());
        auto* dcode = Find<QPushButton>(w, "button104");
        QVERIFY(!dcode->isEnabled());
        QCOMPARE(dcode->text(), QString("Dｺｰﾄﾞ設定"));
        Click(w, "check101");
        QVERIFY(dcode->isEnabled());
        Type(Find<QLineEdit>(w, "edit105"), "9");
        QCOMPARE(Find<QPushButton>(w, "button1")->text(), QString("出力"));
        Click(w, "button1");
    });
    GerberOutputDialogModel model(board, choices);
    QVERIFY(RunGerberOutputDialog(nullptr, model));
    QVERIFY(ran);
    QVERIFY(choices.files.active(9));
    QCOMPARE(choices.files.name[9], std::string("top.gbr"));
    QCOMPARE(choices.decimals, 5);
    QVERIFY(!choices.extended);
}

void OutputDialogsTest::gerberOutputCancelKeepsTheChoices() {
    Board board;
    GerberOutputChoices choices;
    GerberOutputDialogModel model(board, choices);
    OnNextModal([&](QWidget* w) {
        Type(Find<QLineEdit>(w, "edit150"), "a.gbr");
        Click(w, "check140");
        Click(w, "check101");
        Click(w, "button2");
    });
    QVERIFY(!RunGerberOutputDialog(nullptr, model));
    QVERIFY(choices.files.name[0].empty());
    QVERIFY(choices.extended);
}

void OutputDialogsTest::gerberOutputDCodeDialogEditsTheSquareTable() {
    Board board;
    GerberOutputChoices choices;
    choices.extended = false;
    GerberOutputDialogModel model(board, choices);
    bool nested = false;
    OnNextModal([&](QWidget* w) {
        OnNextModal([&](QWidget* d) {
            nested = true;
            QCOMPARE(d->objectName(), QString("dialog191"));
            Click(d, "check102");
            Find<QComboBox>(d, "combo101")->setCurrentIndex(3);
            auto* code = Find<QLineEdit>(d, "edit103");
            QCOMPARE(code->text(), QString("17"));
            Type(code, "500");
            Click(d, "button1");
            QCOMPARE(code->text(), QString("500"));
            Click(d, "button2");
        });
        Click(w, "button104");
        Click(w, "button1");
    });
    QVERIFY(RunGerberOutputDialog(nullptr, model));
    QVERIFY(nested);
    QCOMPARE(choices.codes.square[3], 500);
    QCOMPARE(choices.codes.round[3], 16);
}

void OutputDialogsTest::gerberInputReportsACalculationErrorThenReads() {
    Board board;
    GerberInputChoices choices;
    GerberInputDialogModel model(board, choices);
    QString message;
    OnNextModal([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QString("ガーバー入力設定"));
        QCOMPARE(Find<QLineEdit>(w, "edit105")->text(), QString("3"));
        Type(Find<QLineEdit>(w, "edit152"), "inner.gbr");
        Click(w, "check142");
        Click(w, "check106");
        Type(Find<QLineEdit>(w, "edit105"), "x");
        OnNextModal([&](QWidget* box) {
            if (auto* b = qobject_cast<QMessageBox*>(box)) {
                message = b->text();
                b->accept();
            }
        });
        Click(w, "button1");
        QVERIFY(w->isVisible());
        Type(Find<QLineEdit>(w, "edit105"), "4");
        QCOMPARE(Find<QPushButton>(w, "button1")->text(), QString("入力"));
        Click(w, "button1");
    });
    QVERIFY(RunGerberInputDialog(nullptr, model));
    QCOMPARE(message, QString("計算エラー"));
    QVERIFY(choices.files.active(2));
    QVERIFY(choices.inch);
    QCOMPARE(choices.decimals, 4);
}

// "最新形式 (X2)" in both dialogs: checked, it greys what the current format decides itself
// (the extended box, the decimals, the code tables' buttons only where they stop counting) and
// reaches the choices with 出力.
void OutputDialogsTest::currentFormatBoxesGreyWhatTheyOverride() {
    Board board;
    GerberOutputChoices gerber;
    gerber.extended = false;
    OnNextModal([&](QWidget* w) {
        auto* modern = Find<QCheckBox>(w, "check106");
        QCOMPARE(modern->text(), QString("最新形式 (X2)"));
        QVERIFY(!modern->isChecked());
        QVERIFY(Find<QPushButton>(w, "button104")->isEnabled());
        modern->click();
        QVERIFY(!Find<QPushButton>(w, "button104")->isEnabled());
        QVERIFY(!Find<QCheckBox>(w, "check101")->isEnabled());
        QVERIFY(!Find<QLineEdit>(w, "edit105")->isEnabled());
        Click(w, "button1");
    });
    GerberOutputDialogModel gm(board, gerber);
    QVERIFY(RunGerberOutputDialog(nullptr, gm));
    QVERIFY(gerber.modern);

    HoleOutputChoices hole;
    hole.modern = true;
    OnNextModal([&](QWidget* w) {
        auto* modern = Find<QCheckBox>(w, "check111");
        QCOMPARE(modern->text(), QString("最新形式 (X2)"));
        QVERIFY(modern->isChecked());
        QVERIFY(!Find<QLineEdit>(w, "edit103")->isEnabled());
        modern->click();
        QVERIFY(Find<QLineEdit>(w, "edit103")->isEnabled());
        Click(w, "button1");
    });
    HoleOutputDialogModel hm(board, hole);
    QVERIFY(RunHoleOutputDialog(nullptr, hm, {}));
    QVERIFY(!hole.modern);
}

void OutputDialogsTest::holeOutputAddsRemovesAndBeepsAtTooManyDecimals() {
    Board board;
    HoleOutputChoices choices;
    choices.files.name[42] = "nth";
    choices.files.selected[42] = true;
    HoleOutputDialogModel model(board, choices);
    OnNextModal([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QString("ホール出力設定"));
        auto* list = Find<QListWidget>(w, "list102");
        QCOMPARE(list->count(), 1);
        Find<QComboBox>(w, "combo101")->setCurrentIndex(42);
        QCOMPARE(Find<QLineEdit>(w, "edit108")->text(), QString("nth"));
        Find<QComboBox>(w, "combo101")->setCurrentIndex(8);
        Type(Find<QLineEdit>(w, "edit108"), "drill");
        Click(w, "button106");
        QCOMPARE(list->count(), 2);
        list->setCurrentRow(1);
        Click(w, "button107");
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().endsWith("drill"));
        QVERIFY(Find<QPushButton>(w, "button105")->isEnabled());
        QVERIFY(!Find<QCheckBox>(w, "check110")->isEnabled());
        Type(Find<QLineEdit>(w, "edit103"), "4");
        Click(w, "button1");
        QVERIFY(w->isVisible());
        Type(Find<QLineEdit>(w, "edit103"), "2");
        Click(w, "button1");
    });
    QVERIFY(RunHoleOutputDialog(nullptr, model, "/tmp/unused.hol"));
    QVERIFY(choices.files.active(8));
    QVERIFY(!choices.files.selected[42]);
    QCOMPARE(choices.decimals, 2);
    QVERIFY(!choices.single);
}

void OutputDialogsTest::holeOutputAsksForTheSingleFile() {
    QTemporaryDir dir;
    const std::filesystem::path proposed =
        std::filesystem::path(dir.path().toStdString()) / "board.hol";
    Board board;
    HoleOutputChoices choices;
    HoleOutputDialogModel model(board, choices);
    QString chooserTitle;
    OnNextModal([&](QWidget* w) {
        Click(w, "check104");
        QVERIFY(!Find<QPushButton>(w, "button105")->isEnabled());
        auto* single = Find<QCheckBox>(w, "check110");
        QVERIFY(single->isEnabled());
        single->click();
        QVERIFY(!Find<QLineEdit>(w, "edit108")->isEnabled());
        QVERIFY(!Find<QLabel>(w, "static109")->isEnabled());
        OnNextModal([&](QWidget* chooser) {
            chooserTitle = chooser->windowTitle();
            if (auto* fd = qobject_cast<QFileDialog*>(chooser)) static_cast<QDialog*>(fd)->accept();
        });
        Click(w, "button1");
    });
    QVERIFY(RunHoleOutputDialog(nullptr, model, proposed));
    QCOMPARE(chooserTitle, QString("ホールファイル"));
    QVERIFY(choices.autoT);
    QVERIFY(choices.single);
    QCOMPARE(choices.singleFile.filename().string(), std::string("board.hol"));
}

void OutputDialogsTest::holeOutputCancelledChooserCancels() {
    Board board;
    HoleOutputChoices choices;
    HoleOutputDialogModel model(board, choices);
    OnNextModal([&](QWidget* w) {
        Click(w, "check104");
        Click(w, "check110");
        OnNextModal([&](QWidget* chooser) {
            if (auto* fd = qobject_cast<QFileDialog*>(chooser)) fd->reject();
        });
        Click(w, "button1");
    });
    QVERIFY(!RunHoleOutputDialog(nullptr, model, "/tmp/never.hol"));
    QVERIFY(!choices.autoT);
    QVERIFY(choices.singleFile.empty());
}

void OutputDialogsTest::holeDataDialogGivesTheDecimals() {
    HoleDataDialogModel model;
    OnNextModal([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QString("ホールデータ設定"));
        auto* edit = Find<QLineEdit>(w, "edit101");
        QCOMPARE(edit->text(), QString("3"));
        Type(edit, "4");
        Click(w, "button1");
    });
    QCOMPARE(RunHoleDataDialog(nullptr, model), 4);
    HoleDataDialogModel high;
    OnNextModal([&](QWidget* w) {
        Type(Find<QLineEdit>(w, "edit101"), "8");
        Click(w, "button1");
    });
    QCOMPARE(RunHoleDataDialog(nullptr, high), 3);
}

void OutputDialogsTest::partCoordsMirrorFollowsTheOriginAndBrowseFillsTheName() {
    QTemporaryDir dir;
    Board board;
    PartCoordsSettings settings;
    settings.file = std::filesystem::path(dir.path().toStdString()) / "board.pos";
    PartCoordsDialogModel model(board, settings);
    OnNextModal([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QString("部品座標出力設定"));
        auto* mirror = Find<QCheckBox>(w, "check103");
        QVERIFY(!mirror->isEnabled());
        Click(w, "check102");
        QVERIFY(mirror->isEnabled());
        mirror->click();
        OnNextModal([&](QWidget* chooser) {
            if (auto* fd = qobject_cast<QFileDialog*>(chooser)) {
                fd->selectFile(dir.path() + "/parts.pos");
                static_cast<QDialog*>(fd)->accept();
            }
        });
        Click(w, "button104");
        QVERIFY(Find<QLineEdit>(w, "edit101")->text().endsWith("parts.pos"));
        Click(w, "button1");
    });
    QVERIFY(RunPartCoordsDialog(nullptr, model));
    QVERIFY(settings.fromOrigin);
    QVERIFY(settings.mirrorX);
    QCOMPARE(settings.file.filename().string(), std::string("parts.pos"));

    PartCoordsDialogModel cancelled(board, settings);
    OnNextModal([&](QWidget* w) {
        Click(w, "check102");
        Click(w, "button2");
    });
    QVERIFY(!RunPartCoordsDialog(nullptr, cancelled));
    QVERIFY(settings.fromOrigin);
}

void OutputDialogsTest::progressWindowTakesEscapeWhereverTheFocusIs() {
    QWidget main;
    auto* edit = new KeyCounter;
    edit->setParent(&main);
    main.show();
    edit->setFocus();

    ProgressWindow progress(&main);
    progress.show("チェック中", true);
    QVERIFY(progress.isVisible());
    QCOMPARE(progress.objectName(), QString("dialog203"));
    QCOMPARE(Find<QLabel>(&progress, "static101")->text(), QString("チェック中"));
    QVERIFY(Find<QLabel>(&progress, "static102")->isVisibleTo(&progress));
    QVERIFY(!progress.pump());
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(progress.pump());
    QCOMPARE(edit->escapes, 0);  // swallowed
    QCOMPARE(edit->text(), QString("a"));
    progress.close();
    QVERIFY(!progress.isVisible());

    // Opened again it starts afresh; closed, it leaves Escape alone.
    progress.show("出力中", false);
    QCOMPARE(progress.objectName(), QString("dialog186"));
    QVERIFY(!Find<QLabel>(&progress, "static102")->isVisibleTo(&progress));
    QVERIFY(!progress.pump());
    progress.close();
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->escapes, 1);
    QVERIFY(!progress.pump());
}

QTEST_MAIN(OutputDialogsTest)
#include "output_dialogs_test.moc"
