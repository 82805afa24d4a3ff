// The board editor.
#include <QApplication>
#include <csignal>

#include "board/file/fault.h"
#include "interface/qt/interface_language.h"
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
    // Japanese or English, Qt's own windows (file choosers, standard buttons) too.
    const zevo::Paths paths = zevo::Paths::ForRunningProgram();
    zevo::StartInterfaceLanguage(paths);
    zevo::EditorWindow window(paths);
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
