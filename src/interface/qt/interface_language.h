// The interface language on the Qt side: the texts of the windows, Qt's translators and the
// language a program starts in. The windows' own texts are written in Japanese and translated
// through Qt's translation files; texts that come from the core are shown through UiText.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string_view>

#include "paths/paths.h"
#include "text/language.h"

namespace zevo {

// The context of every text of the Qt windows in the translation files.
inline constexpr char kTextContext[] = "Zevo";

// A Japanese text written in a Qt source, in the interface language. The translation files
// hold one entry per text, shared by the three programs.
inline QString T(const char* japanese) {
    return QCoreApplication::translate(kTextContext, japanese);
}

// A text of the interface that comes from the core (captions, labels, choices, messages,
// hints), in the interface language. Never for what the user typed or a file holds.
inline QString UiText(std::string_view text) {
    const std::string_view shown = Tr(text);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

// The language a program starts in: the settings' choice, else the system's language.
Language StartLanguage(std::optional<Language> chosen);

// Puts the language in force: the core's texts (SetUiLanguage) and Qt's translators, ours and
// Qt's own for its standard buttons and windows. A "zevo_en.qm" among the program's files (the
// program's or the per-user folder, the shipped folders) wins over the built-in one. Windows
// made afterwards use the language; those already open rebuild their texts themselves.
void ApplyUiLanguage(Language language, const Paths& paths);

// At a program's start: the language of the editor's settings file ("Language"), else the
// system's, put in force.
void StartInterfaceLanguage(const Paths& paths);

// The name of our translation file for a language (none for Japanese, the source language).
inline constexpr std::string_view kEnglishTranslationFile = "zevo_en.qm";

}  // namespace zevo
