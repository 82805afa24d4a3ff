// Strokel, the font editor.
#include <QApplication>
#include <QDir>

#include "glyph_editor/qt/one_copy.h"
#include "glyph_editor/qt/strokel_window.h"
#include "interface/qt/interface_language.h"
#include "paths/paths.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Strokel");
    // The editor's language: its settings file, else the system's.
    const zevo::Paths paths = zevo::Paths::ForRunningProgram();
    zevo::StartInterfaceLanguage(paths);

    // A second copy only brings the first one to the front.
    zevo::OneCopy copy(QString::fromUtf8(zevo::kStrokelInstanceName.data(),
                                         qsizetype(zevo::kStrokelInstanceName.size())));
    if (copy.otherCopyRuns()) return 0;

    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QStringList args = app.arguments();
    args.removeFirst();
    const std::string line = args.join(' ').toStdString();

    // The same font the editor finds; written where the programs write their files.
    paths.PrepareWritableDir();
    zevo::StrokelWindow window(paths.fontFile(), paths.WriteTarget(zevo::kFontFileName),
                               zevo::TraceSwitchGiven(line));
    copy.listen([&window] {
        if (window.isMinimized()) window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.show();
    window.start();
    return app.exec();
}
