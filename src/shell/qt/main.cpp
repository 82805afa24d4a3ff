// The board editor.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <csignal>

#include "board/file/fault.h"
#include "shell/qt/editor_window.h"

namespace {
zevo::EditorWindow* gWindow = nullptr;
void WriteRecovery(void*) {
    if (gWindow) gWindow->editor().writeRecovery();
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Zevo");
    // The program speaks Japanese: Qt's own windows (file choosers, standard buttons) too.
    QTranslator qtText;
    if (qtText.load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtText);
    zevo::EditorWindow window(zevo::Paths::ForRunningProgram());
    gWindow = &window;
    zevo::InstallFaultHandlers(WriteRecovery, nullptr);
    QStringList args = app.arguments();
    args.removeFirst();
    window.show();
    window.startUp(args);
    const int code = app.exec();
    gWindow = nullptr;
    return code;
}
