// The interface language on the Qt side: the choice at start, the switch in the options menu and
// a translation file among the program's files.

#include "interface/qt/interface_language.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "board/file/settings.h"
#include "paths/file_io.h"
#include "shell/qt/editor_window.h"
#include "text/strings.h"
#include "tools/display_tools.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

namespace {

std::string Bytes(const fs::path& file) {
    return ReadWholeFile(file).value_or("<missing>");
}

// The title of the dialog the editor opens for the model.
QString DialogTitle(EditorWindow& w, DialogModel& m) {
    QString title;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            title = modal->windowTitle();
            modal->close();
        }
    });
    w.run(m);
    return title;
}

}  // namespace

class InterfaceLanguageTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() {
        QTemporaryDir dir;
        ApplyUiLanguage(Language::Japanese, ScratchPaths(dir));
    }

    // The settings file's choice wins; the windows' own texts and Qt's follow it.
    void theSettingsFileChoosesTheLanguageAtStart() {
        QTemporaryDir dir;
        const Paths paths = ScratchPaths(dir);
        QVERIFY(WriteFileAtomically(paths.settingsFile(), "[Setting]\r\nLanguage:English\r\n"));
        StartInterfaceLanguage(paths);
        QCOMPARE(UiLanguage(), Language::English);
        QCOMPARE(T("取消"), QString("Cancel"));
        QCOMPARE(T("部品面反転"), QString("Flip side"));

        QVERIFY(WriteFileAtomically(paths.settingsFile(), "[Setting]\r\nLanguage:Japanese\r\n"));
        StartInterfaceLanguage(paths);
        QCOMPARE(UiLanguage(), Language::Japanese);
        QCOMPARE(T("取消"), QString::fromUtf8("取消"));
        // Qt's standard buttons speak Japanese too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QString::fromUtf8("キャンセル"));
    }

    // "zevo_en.qm" among the program's files replaces the built-in translations whole.
    void aTranslationFileBesideTheProgramWins() {
        QTemporaryDir dir;
        const Paths paths = ScratchPaths(dir);
        ApplyUiLanguage(Language::English, paths);
        QCOMPARE(T("取消"), QString("Cancel"));
        QVERIFY(QFile::copy(ZEVO_OVERRIDE_QM, dir.filePath("zevo_en.qm")));
        ApplyUiLanguage(Language::English, paths);
        QCOMPARE(T("取消"), QString("Dismiss"));
        QCOMPARE(T("決定"), QString::fromUtf8("決定"));  // not in that file
        // A file that is no translation file leaves the built-in one in force.
        QVERIFY(WriteFileAtomically(dir.filePath("zevo_en.qm").toStdString(), "not a .qm file"));
        ApplyUiLanguage(Language::English, paths);
        QCOMPARE(T("取消"), QString("Cancel"));
    }

    // "zevo_en.txt" among the program's files replaces the core's English; in Japanese, or once
    // the file is gone, the built-in texts are back.
    void theCoreTextsFileBesideTheProgramWins() {
        QTemporaryDir dir;
        const Paths paths = ScratchPaths(dir);
        ApplyUiLanguage(Language::English, paths);
        const std::string builtIn(TableText(kMsgCalcError));
        QVERIFY(WriteFileAtomically(dir.filePath("zevo_en.txt").toStdString(),
                                    "487\tSums went wrong\r\nno tab on this line\r\n"));
        ApplyUiLanguage(Language::English, paths);
        QCOMPARE(std::string(TableText(kMsgCalcError)), std::string("Sums went wrong"));
        ApplyUiLanguage(Language::Japanese, paths);
        QCOMPARE(std::string(TableText(kMsgCalcError)), std::string("計算エラー"));
        QVERIFY(QFile::remove(dir.filePath("zevo_en.txt")));
        ApplyUiLanguage(Language::English, paths);
        QCOMPARE(std::string(TableText(kMsgCalcError)), builtIn);
    }

    void theOptionsMenuSwitchesAtOnceAndFilesStayTheSame() {
        QTemporaryDir dir;
        const Paths paths = ScratchPaths(dir);
        ApplyUiLanguage(Language::Japanese, paths);
        const QString board = dir.filePath("board.pcb");
        QVERIFY(QFile::copy(QString(ZEVO_EXAMPLES) + "/example.pcb", board));
        EditorWindow w(paths);
        w.show();
        w.startUp({board});

        // The switch sits in the options menu, unchecked in Japanese.
        QAction* english = w.action(Cmd::English);
        QVERIFY(english);
        QCOMPARE(english->text(), QString("English"));
        QVERIFY(english->isCheckable());
        QVERIFY(!english->isChecked());
        QMenu* options = nullptr;
        for (QAction* a : w.menuBar()->actions())
            if (a->menu() && a->menu()->actions().contains(english)) options = a->menu();
        QVERIFY(options);
        QCOMPARE(options->title(), UiText("オプション(&O)"));
        CoordinateDisplayModel shown({1, 2}, {0, 0}, false);
        QCOMPARE(DialogTitle(w, shown), QString::fromUtf8("座標表示"));
        w.editor().doc.modified = true;
        w.editor().command(Cmd::Save);
        const std::string japaneseBytes = Bytes(board.toStdString());

        english->trigger();
        QCOMPARE(UiLanguage(), Language::English);
        // The menus are made anew; the switch is checked there.
        QAction* again = w.action(Cmd::English);
        QVERIFY(again);
        QVERIFY(again->isChecked());
        QCOMPARE(w.menuBar()->actions().size(), 9);
        QCOMPARE(w.menuBar()->actions()[0]->text(), UiText("ファイル(&F)"));
        QAction* zoomOut = w.toolBar()->findChild<QAction*>("button330");
        QCOMPARE(zoomOut->toolTip(), UiText(CommandCaption(Cmd::ZoomOut)));
        // Dialogs opened afterwards are English.
        QCOMPARE(DialogTitle(w, shown), QString("Coordinates"));
        QCOMPARE(LoadOptions(paths.settingsFile()).language, Language::English);
        QVERIFY(Bytes(paths.settingsFile()).find("Language:English\r\n") != std::string::npos);

        // The board written in English is the same bytes.
        w.editor().doc.modified = true;
        w.editor().command(Cmd::Save);
        QCOMPARE(Bytes(board.toStdString()), japaneseBytes);

        // And back.
        w.action(Cmd::English)->trigger();
        QCOMPARE(UiLanguage(), Language::Japanese);
        QVERIFY(!w.action(Cmd::English)->isChecked());
        QCOMPARE(DialogTitle(w, shown), QString::fromUtf8("座標表示"));
        QCOMPARE(LoadOptions(paths.settingsFile()).language, Language::Japanese);
        QApplication::processEvents();  // the old menus go
    }
};

QTEST_MAIN(InterfaceLanguageTest)
#include "interface_language_test.moc"
