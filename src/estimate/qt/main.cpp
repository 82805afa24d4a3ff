// The fabrication estimate program: started by the editor with the board's facts, it asks the
// editor for the manufacturing files and packs them for a board maker.
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <filesystem>

#include "estimate/qt/estimate_dialog.h"
#include "interface/qt/interface_language.h"
#include "paths/paths.h"
#include "shell/qt/estimate_server.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Ordavist");
    // The editor's language: its settings file, else the system's.
    const zevo::Paths paths = zevo::Paths::ForRunningProgram();
    zevo::StartInterfaceLanguage(paths);

    // One running copy: a second start ends at once, without a word.
    QLockFile lock(zevo::EstimateLockPath());
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return 0;

    QStringList args = app.arguments();
    args.removeFirst();
    const QByteArray text = args.join(' ').toUtf8();
    const zevo::ParsedArguments parsed =
        zevo::ParseEstimateArguments(std::string_view(text.data(), size_t(text.size())));
    if (const std::string_view m = zevo::StartupMessage(parsed); !m.empty()) {
        QMessageBox::critical(nullptr, "Ordavist", zevo::UiText(m));
        return 1;
    }
    const auto table =
        zevo::MakerTable(zevo::ReadMakerSettings(paths.Find(zevo::kMakerSettingsFile)));
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) temp = QDir::tempPath().toStdString();
    zevo::EstimateDialog dialog(parsed.args, table, temp,
                                zevo::EstimateServerName(parsed.args.channel));
    QObject::connect(&dialog, &QDialog::finished, &app, &QApplication::quit);
    dialog.show();
    return app.exec();
}
