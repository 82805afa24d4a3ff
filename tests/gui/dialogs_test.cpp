// The definition and settings dialogs on the offscreen platform: typing, pressing buttons and
// reading the board afterwards.

#include "shell/qt/dialogs/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "board/model/board.h"
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "shell/qt/dialogs/aperture_dialog.h"
#include "shell/qt/dialogs/board_size_dialog.h"
#include "shell/qt/dialogs/grid_dialog.h"
#include "shell/qt/dialogs/layer_dialog.h"
#include "shell/qt/dialogs/numeric_keypad.h"
#include "shell/qt/dialogs/pad_dialog.h"
#include "shell/qt/dialogs/swap_dialog.h"
#include "text/cp932.h"
#include "view/board_renderer.h"

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

// Runs `act` on the modal widget that is open once the event loop runs again (message boxes and
// the colour chooser), and tells whether there was one.
void OnNextModal(std::function<void(QWidget*)> act, bool* seen = nullptr) {
    QTimer::singleShot(0, [act = std::move(act), seen] {
        QWidget* w = QApplication::activeModalWidget();
        if (seen) *seen = w != nullptr;
        if (w) act(w);
    });
}

void CloseMessageBox(QWidget* w, QString* text = nullptr) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        if (text) *text = box->windowTitle() + "|" + box->text();
        box->accept();
    }
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void apertureDialogChangesOneEntry();
    void apertureDialogReportsACalculationError();
    void padDialogBuildsAndStepsThroughDefinitions();
    void layerDialogPagesAndStoresRows();
    void layerDialogCancelAndCloseStoreToo();
    void layerDialogColourButtonOpensTheChooser();
    void swapDialogAddsAndDeletesPairs();
    void gridDialogSetsAndCancels();
    void gridDialogKeepsItsFieldsOnAnError();
    void boardSizeDialogIsLeftOnlyThroughOk();
    void keypadTypesIntoTheLastFocusedField();
    void padDialogKeepsADefinitionEqualToAnother();
    void layerNamesTakeNoComma();
};

void DialogsTest::apertureDialogChangesOneEntry() {
    Board board;
    ApertureDialogModel model(board, ApertureTable::kRound);
    ApertureDialog dlg(model);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("アパーチャ設定"));
    auto* combo = Find<QComboBox>(&dlg, "combo101");
    auto* edit = Find<QLineEdit>(&dlg, "edit102");
    auto* change = Find<QPushButton>(&dlg, "button1");
    QVERIFY(combo && edit && change);
    QCOMPARE(combo->count(), 256);
    QCOMPARE(edit->text(), QString("0.100"));
    QCOMPARE(change->text(), QString("変更"));

    combo->setCurrentIndex(20);
    QCOMPARE(edit->text(), QString("1.200"));
    Type(edit, "0.1234");
    QTest::mouseClick(change, Qt::LeftButton);
    QCOMPARE(board.roundAp[20], 0.0615);
    QCOMPARE(edit->text(), QString("0.123"));

    Type(edit, "0.0004");  // below the smallest size: nothing happens
    QTest::mouseClick(change, Qt::LeftButton);
    QCOMPARE(board.roundAp[20], 0.0615);

    // Return presses 変更.
    Type(edit, "2*0.4");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(board.roundAp[20], 0.4);
    QVERIFY(dlg.isVisible());
    QCOMPARE(board.squareAp[20], DefaultApertureDiameter(20) / 2);

    QTest::mouseClick(Find<QPushButton>(&dlg, "button2"), Qt::LeftButton);  // 終了
    QVERIFY(!dlg.isVisible());
}

void DialogsTest::apertureDialogReportsACalculationError() {
    Board board;
    ApertureDialogModel model(board, ApertureTable::kSquare);
    ApertureDialog dlg(model);
    dlg.show();
    auto* edit = Find<QLineEdit>(&dlg, "edit102");
    Type(edit, "1/0");
    QString message;
    bool seen = false;
    OnNextModal([&](QWidget* w) { CloseMessageBox(w, &message); }, &seen);
    QTest::mouseClick(Find<QPushButton>(&dlg, "button1"), Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(message, QString("Zevo|計算エラー"));
    QCOMPARE(edit->text(), QString("1/0"));  // kept for correction
    QCOMPARE(board.squareAp[0], 0.05);
    QVERIFY(dlg.isVisible());
}

void DialogsTest::padDialogBuildsAndStepsThroughDefinitions() {
    Board board;
    board.SetLayerName(1, "top");
    board.padDefs = {{{1, 18}}};
    PadDialogModel model(board);
    PadDialog dlg(model);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("パッド設定"));
    auto* list = Find<QListWidget>(&dlg, "list101");
    auto* apertures = Find<QComboBox>(&dlg, "combo102");
    auto* layers = Find<QComboBox>(&dlg, "combo103");
    auto* number = Find<QLabel>(&dlg, "static106");
    auto* add = Find<QPushButton>(&dlg, "button105");
    auto* remove = Find<QPushButton>(&dlg, "button104");
    auto* next = Find<QPushButton>(&dlg, "button108");
    auto* previous = Find<QPushButton>(&dlg, "button107");
    QVERIFY(list && apertures && layers && number && add && remove && next && previous);
    QCOMPARE(number->text(), QString("0"));
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QString("  1.000:   1: top"));
    QCOMPARE(apertures->currentIndex(), 18);
    QCOMPARE(layers->currentIndex(), 1);

    layers->setCurrentIndex(2);
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(add, Qt::LeftButton);  // the same pair again: refused
    QCOMPARE(list->count(), 2);
    apertures->setCurrentIndex(0);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(list->count(), 3);
    list->setCurrentRow(2);  // (layer 2, aperture 0) ...
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(list->count(), 2);  // ... and the first pair on layer 2 went
    QCOMPARE(board.padDefs[0], (PadDefinition{{1, 18}, {2, 0}}));

    QTest::mouseClick(next, Qt::LeftButton);  // a new empty definition
    QCOMPARE(number->text(), QString("1"));
    QCOMPARE(list->count(), 0);
    layers->setCurrentIndex(5);
    apertures->setCurrentIndex(3);
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(number->text(), QString("2"));
    QTest::mouseClick(previous, Qt::LeftButton);
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(number->text(), QString("0"));
    QCOMPARE(apertures->currentIndex(), 18);
    QTest::mouseClick(previous, Qt::LeftButton);  // back from the first: a new one at the end
    QCOMPARE(number->text(), QString("2"));
    QCOMPARE(board.padDefs.size(), size_t(3));

    dlg.reject();  // Escape or the close button
    QCOMPARE(board.padDefs, (std::vector<PadDefinition>{{{1, 18}, {2, 0}}, {{5, 3}}}));
}

void DialogsTest::layerDialogPagesAndStoresRows() {
    Board board;
    board.SetLayerName(10, Utf8ToCp932("穴"));
    board.SetLayerName(10, Utf8ToCp932("穴あけ"));
    LayerDialogModel model(board);
    LayerDialog dlg(model);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("レイヤー設定"));
    auto* page = Find<QComboBox>(&dlg, "combo101");
    auto* previous = Find<QPushButton>(&dlg, "button102");
    auto* next = Find<QPushButton>(&dlg, "button103");
    QVERIFY(page && previous && next);
    QCOMPARE(page->count(), 32);
    QCOMPARE(page->itemText(1), QString("レイヤー   8 ～  15"));
    QCOMPARE(Find<QLabel>(&dlg, "static117")->text(), QString("  7"));

    // Page 0: a name, and display off on row 3 (edit goes with it).
    Type(Find<QLineEdit>(&dlg, "edit121"), "top");
    auto* display3 = Find<QCheckBox>(&dlg, "check143");
    auto* edit3 = Find<QCheckBox>(&dlg, "check153");
    QVERIFY(display3->isChecked() && edit3->isChecked());
    QTest::mouseClick(display3, Qt::LeftButton);
    QVERIFY(!edit3->isChecked());
    QTest::mouseClick(edit3, Qt::LeftButton);
    QVERIFY(display3->isChecked());
    QTest::mouseClick(edit3, Qt::LeftButton);  // display stays, edit off
    QVERIFY(display3->isChecked() && !edit3->isChecked());

    QTest::mouseClick(next, Qt::LeftButton);  // leaving page 0 stores it
    QCOMPARE(page->currentIndex(), 1);
    QCOMPARE(View(board.layerName[1]), std::string_view("top"));
    QCOMPARE(board.layerFlags[3] & (kDisp | kActiv), uint32_t(kDisp));
    QCOMPARE(Find<QLabel>(&dlg, "static110")->text(), QString("  8"));
    auto* name2 = Find<QLineEdit>(&dlg, "edit122");
    QCOMPARE(name2->text(), QString("穴あけ"));
    name2->clear();

    page->setCurrentIndex(5);  // the combo stores page 1
    QCOMPARE(board.layerName[10], nullptr);
    QVERIFY(!board.HasRole(10, kRoleHole));
    QCOMPARE(Find<QLabel>(&dlg, "static110")->text(), QString(" 40"));

    page->setCurrentIndex(0);
    QTest::mouseClick(previous, Qt::LeftButton);  // wraps to the last page
    QCOMPARE(page->currentIndex(), 31);
    QCOMPARE(Find<QLabel>(&dlg, "static117")->text(), QString("255"));
    QTest::mouseClick(Find<QCheckBox>(&dlg, "check157"), Qt::LeftButton);  // 255: edit off
    QTest::mouseClick(next, Qt::LeftButton);  // and back round to page 0
    QCOMPARE(page->currentIndex(), 0);
    QCOMPARE(Find<QLineEdit>(&dlg, "edit121")->text(), QString("top"));
    QVERIFY(!Find<QCheckBox>(&dlg, "check153")->isChecked());

    Type(Find<QLineEdit>(&dlg, "edit124"), "pattern");
    QTest::mouseClick(Find<QPushButton>(&dlg, "button1"), Qt::LeftButton);  // 決定
    QVERIFY(!dlg.isVisible());
    QVERIFY(board.HasRole(4, kRolePattern));
    QCOMPARE(board.layerFlags[255] & (kDisp | kActiv), uint32_t(kDisp));
    QVERIFY(model.changed());
}

void DialogsTest::layerDialogCancelAndCloseStoreToo() {
    for (int way = 0; way < 2; ++way) {
        Board board;
        LayerDialogModel model(board);
        LayerDialog dlg(model);
        dlg.show();
        Type(Find<QLineEdit>(&dlg, "edit125"), "hole");
        QTest::mouseClick(Find<QCheckBox>(&dlg, "check145"), Qt::LeftButton);
        if (way == 0)
            QTest::mouseClick(Find<QPushButton>(&dlg, "button2"), Qt::LeftButton);  // 取消
        else
            dlg.close();
        QVERIFY(!dlg.isVisible());
        QVERIFY(board.HasRole(5, kRoleHole));
        QCOMPARE(board.layerFlags[5] & (kDisp | kActiv), uint32_t(0));
    }
}

void DialogsTest::layerDialogColourButtonOpensTheChooser() {
    Board board;
    LayerDialogModel model(board);
    LayerDialog dlg(model);
    dlg.show();
    auto* button = Find<ColourButton>(&dlg, "button132");
    QVERIFY(button);
    QCOMPARE(button->colour().rgb() & 0xFFFFFF, kPalette[0]);

    QString title;
    OnNextModal([&](QWidget* w) {
        title = w->windowTitle();
        QCOMPARE(w->findChildren<ColourButton*>().size(), qsizetype(16));
        QTest::mouseClick(w->findChild<ColourButton*>("button110"), Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(title, QString("カラー選択"));
    QCOMPARE(int(board.layerColour[2]), 9);  // stored at once
    QCOMPARE(button->colour().rgb() & 0xFFFFFF, kPalette[9]);

    OnNextModal([](QWidget* w) { w->close(); });  // closed without a choice
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(int(board.layerColour[2]), 9);
    dlg.reject();
}

void DialogsTest::swapDialogAddsAndDeletesPairs() {
    Board board;
    board.SetLayerName(1, "top");
    board.SetLayerName(2, "bottom");
    SwapDialogModel model(board);
    SwapDialog dlg(model);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("部品面変更設定"));
    auto* list = Find<QListWidget>(&dlg, "list101");
    auto* first = Find<QComboBox>(&dlg, "combo102");
    auto* second = Find<QComboBox>(&dlg, "combo103");
    auto* add = Find<QPushButton>(&dlg, "button104");
    auto* remove = Find<QPushButton>(&dlg, "button105");
    QVERIFY(list && first && second && add && remove);
    QCOMPARE(first->currentIndex(), -1);

    first->setCurrentIndex(1);
    QTest::mouseClick(add, Qt::LeftButton);  // only one layer chosen
    QCOMPARE(list->count(), 0);
    second->setCurrentIndex(2);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QString("  1: top            ⇔  2: bottom"));
    QCOMPARE(board.SwapPartner(1), 2);
    first->setCurrentIndex(16);
    second->setCurrentIndex(17);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(list->count(), 2);

    list->setCurrentRow(0);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(list->count(), 1);
    QCOMPARE(board.SwapPartner(1), 1);
    QCOMPARE(board.SwapPartner(2), 2);
    QCOMPARE(board.SwapPartner(16), 17);
    QTest::mouseClick(Find<QPushButton>(&dlg, "button2"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
}

void DialogsTest::gridDialogSetsAndCancels() {
    Board board;
    ViewState view;
    {
        GridDialogModel model(board, &view);
        GridDialog dlg(model);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QString("グリッド設定"));
        QCOMPARE(Find<QLineEdit>(&dlg, "edit101")->text(), QString("10"));
        Type(Find<QLineEdit>(&dlg, "edit101"), "1.27");
        Type(Find<QLineEdit>(&dlg, "edit102"), "400");
        Type(Find<QLineEdit>(&dlg, "edit103"), "12.5");
        Type(Find<QLineEdit>(&dlg, "edit104"), "4.7");
        QTest::mouseClick(Find<QPushButton>(&dlg, "button1"), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
    }
    QCOMPARE(board.gridSpacing, 1.27);
    QCOMPARE(board.gridOrigin.x, 300.0);  // clamped onto the board
    QCOMPARE(board.gridOrigin.y, 12.5);
    QCOMPARE(board.gridInterval, 4);
    QCOMPARE(view.gridSpacing, 1.27);
    QCOMPARE(view.gridDisplayEvery, 4);

    GridDialogModel model(board, &view);
    GridDialog dlg(model);
    dlg.show();
    QCOMPARE(Find<QLineEdit>(&dlg, "edit102")->text(), QString("300"));
    Type(Find<QLineEdit>(&dlg, "edit101"), "5");
    QTest::mouseClick(Find<QPushButton>(&dlg, "button2"), Qt::LeftButton);  // 取消
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(board.gridSpacing, 1.27);
}

void DialogsTest::gridDialogKeepsItsFieldsOnAnError() {
    Board board;
    GridDialogModel model(board);
    GridDialog dlg(model);
    dlg.show();
    Type(Find<QLineEdit>(&dlg, "edit101"), "2");
    Type(Find<QLineEdit>(&dlg, "edit103"), "sqrt(-4)");
    QString message;
    OnNextModal([&](QWidget* w) { CloseMessageBox(w, &message); });
    QTest::mouseClick(Find<QPushButton>(&dlg, "button1"), Qt::LeftButton);
    QCOMPARE(message, QString("Zevo|計算エラー"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(board.gridSpacing, 10.0);  // nothing stored, not even the good fields
    QCOMPARE(Find<QLineEdit>(&dlg, "edit103")->text(), QString("sqrt(-4)"));
    QCOMPARE(Find<QLineEdit>(&dlg, "edit103")->selectedText(), QString("sqrt(-4)"));
    dlg.reject();
}

void DialogsTest::boardSizeDialogIsLeftOnlyThroughOk() {
    Board board;
    BoardSizeDialogModel model(board);
    QStringList steps;
    // Inside the modal loop: the close attempts fail, a bad field keeps the old size, then 決定.
    OnNextModal([&](QWidget* w) {
        auto* dlg = qobject_cast<BoardSizeDialog*>(w);
        if (!dlg) return;
        steps << dlg->windowTitle();
        dlg->close();
        QTest::keyClick(dlg, Qt::Key_Escape);
        dlg->reject();
        if (dlg->isVisible()) steps << "still open";
        QVERIFY(!(dlg->windowFlags() & Qt::WindowCloseButtonHint));
        Type(Find<QLineEdit>(dlg, "edit101"), "123.2");
        Type(Find<QLineEdit>(dlg, "edit102"), "(99");
        OnNextModal([&](QWidget* box) {
            CloseMessageBox(box);
            steps << "error";
            QCOMPARE(board.sizeX, 300.0);
            Type(Find<QLineEdit>(dlg, "edit102"), "99");
            QTest::mouseClick(Find<QPushButton>(dlg, "button1"), Qt::LeftButton);
        });
        QTest::mouseClick(Find<QPushButton>(dlg, "button1"), Qt::LeftButton);
    });
    RunBoardSizeDialog(nullptr, model);
    QCOMPARE(steps, (QStringList{"作画サイズ設定", "still open", "error"}));
    QCOMPARE(board.sizeX, 124.0);
    QCOMPARE(board.sizeY, 100.0);
}

void DialogsTest::keypadTypesIntoTheLastFocusedField() {
    Board board;
    GridDialogModel model(board);
    GridDialog dlg(model, nullptr, true);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    NumericKeypad* pad = dlg.keypad();
    QVERIFY(pad);
    QVERIFY(pad->isVisible());
    QCOMPARE(pad->windowTitle(), QString("数値キー"));
    QVERIFY(pad->x() >= dlg.frameGeometry().right());

    auto* interval = Find<QLineEdit>(&dlg, "edit104");
    interval->setFocus();
    QCOMPARE(pad->target(), interval);
    interval->selectAll();
    for (const char* key : {"button102", "button113", "button115", "button101", "button111",
                            "button101", "button116", "button110", "button118"})
        QTest::mouseClick(Find<QToolButton>(pad, key), Qt::LeftButton);
    QCOMPARE(interval->text(), QString("2*(1+1)"));   // the "." was taken back
    QCOMPARE(QApplication::focusWidget(), interval);  // the keys do not take the focus

    auto* spacing = Find<QLineEdit>(&dlg, "edit101");
    spacing->setFocus();
    spacing->selectAll();
    QTest::mouseClick(Find<QToolButton>(pad, "button105"), Qt::LeftButton);
    QTest::mouseClick(Find<QToolButton>(pad, "button114"), Qt::LeftButton);
    QTest::mouseClick(Find<QToolButton>(pad, "button104"), Qt::LeftButton);
    QCOMPARE(spacing->text(), QString("5/4"));
    QCOMPARE(Find<QToolButton>(pad, "button114")->text(), QString("÷"));

    QTest::mouseClick(Find<QPushButton>(&dlg, "button1"), Qt::LeftButton);
    QCOMPARE(board.gridSpacing, 1.25);
    QCOMPARE(board.gridInterval, 4);
}

void DialogsTest::padDialogKeepsADefinitionEqualToAnother() {
    Board board;
    board.padDefs = {{{1, 18}}};
    PadDialogModel model(board);
    PadDialog dlg(model);
    dlg.show();
    auto* number = Find<QLabel>(&dlg, "static106");
    auto* layers = Find<QComboBox>(&dlg, "combo103");
    auto* apertures = Find<QComboBox>(&dlg, "combo102");
    QTest::mouseClick(Find<QPushButton>(&dlg, "button108"), Qt::LeftButton);  // a new one
    QCOMPARE(number->text(), QString("1"));
    layers->setCurrentIndex(1);
    apertures->setCurrentIndex(18);
    QTest::mouseClick(Find<QPushButton>(&dlg, "button105"), Qt::LeftButton);  // equal to 0
    QTest::mouseClick(Find<QPushButton>(&dlg, "button107"), Qt::LeftButton);
    QCOMPARE(number->text(), QString("1"));
    QTest::mouseClick(Find<QPushButton>(&dlg, "button2"), Qt::LeftButton);  // 終了
    QVERIFY(dlg.isVisible());
    dlg.reject();  // Escape or the close button
    QVERIFY(dlg.isVisible());
    QCOMPARE(board.padDefs.size(), size_t(2));
    // Made different, it goes as any other.
    apertures->setCurrentIndex(3);
    QTest::mouseClick(Find<QPushButton>(&dlg, "button105"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(&dlg, "button2"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(board.padDefs, (std::vector<PadDefinition>{{{1, 18}}, {{1, 18}, {1, 3}}}));
}

void DialogsTest::layerNamesTakeNoComma() {
    Board board;
    LayerDialogModel model(board);
    LayerDialog dlg(model);
    dlg.show();
    auto* name = Find<QLineEdit>(&dlg, "edit121");
    Type(name, "Top, copper");
    QCOMPARE(name->text(), QString("Top copper"));
    // Pasted text with a comma is refused whole.
    QApplication::clipboard()->setText("a,b");
    name->paste();
    QCOMPARE(name->text(), QString("Top copper"));
    QApplication::clipboard()->setText("表");
    name->paste();
    QCOMPARE(name->text(), QString("Top copper表"));
    QTest::mouseClick(Find<QPushButton>(&dlg, "button1"), Qt::LeftButton);
    QCOMPARE(View(board.layerName[1]), std::string_view(Utf8ToCp932("Top copper表")));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
