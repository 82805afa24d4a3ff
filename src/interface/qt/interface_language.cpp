#include "interface/qt/interface_language.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <system_error>

#include "board/file/settings.h"
#include "text/translations.h"

// The built-in translations live in the static library; their registration must be asked for.
static void InitTranslations() {
    static const bool done = [] {
        Q_INIT_RESOURCE(translations);
        return true;
    }();
    (void)done;
}

namespace zevo {

namespace {

// The translators in force, replaced on every change of language.
std::unique_ptr<QTranslator>& OwnTranslator() {
    static std::unique_ptr<QTranslator> t;
    return t;
}
std::unique_ptr<QTranslator>& QtTranslator() {
    static std::unique_ptr<QTranslator> t;
    return t;
}

void Replace(std::unique_ptr<QTranslator>& slot, std::unique_ptr<QTranslator> next) {
    if (slot) QCoreApplication::removeTranslator(slot.get());
    slot = std::move(next);
    if (slot) QCoreApplication::installTranslator(slot.get());
}

// Our translations for English: a file among the program's files, else the built-in one.
std::unique_ptr<QTranslator> LoadOwn(const Paths& paths) {
    auto t = std::make_unique<QTranslator>();
    std::error_code ec;
    const std::filesystem::path file = paths.Find(kEnglishTranslationFile);
    if (std::filesystem::is_regular_file(file, ec) &&
        t->load(QString::fromStdString(file.string())))
        return t;
    InitTranslations();
    if (t->load(QStringLiteral(":/i18n/zevo_en.qm"))) return t;
    return nullptr;
}

}  // namespace

Language StartLanguage(std::optional<Language> chosen) {
    if (chosen) return *chosen;
    return LanguageForLocaleName(QLocale::system().name().toStdString());
}

void ApplyUiLanguage(Language language, const Paths& paths) {
    SetUiLanguage(language);
    // The core's English texts have an override file of their own beside the program.
    ClearTranslationOverrides();
    if (language == Language::English) {
        const std::filesystem::path texts = paths.Find(kTranslationFileName);
        const TranslationLoad load = LoadTranslationOverrides(texts);
        if (load.skipped > 0)
            qWarning("%s: %d line(s) skipped", texts.string().c_str(), load.skipped);
    }
    std::unique_ptr<QTranslator> qt = std::make_unique<QTranslator>();
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const bool english = language == Language::English;
    if (!qt->load(english ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_ja"), qtFolder))
        qt.reset();
    Replace(QtTranslator(), std::move(qt));
    Replace(OwnTranslator(), english ? LoadOwn(paths) : nullptr);
}

void StartInterfaceLanguage(const Paths& paths) {
    ApplyUiLanguage(StartLanguage(LoadOptions(paths.settingsFile()).language), paths);
}

}  // namespace zevo
