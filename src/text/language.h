// The language of the user interface. Files never depend on it: whatever the programs write is
// the same bytes in either language (texts that end up in files are taken in Japanese).
#pragma once

#include <string_view>

namespace zevo {

enum class Language { Japanese, English };

// The language the windows, menus, messages and hints use. Japanese until set.
Language UiLanguage();
void SetUiLanguage(Language language);

// The language for a system locale name ("ja", "ja_JP.UTF-8", "Japanese_Japan.932", "C",
// "en_US"...): Japanese for a Japanese locale, English for every other one.
Language LanguageForLocaleName(std::string_view localeName);
// The language the locale variables choose, as the C library reads them: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty decides; English when none is.
Language LanguageForEnvironment(const char* lcAll, const char* lcMessages, const char* lang);
// The same from the process environment.
Language LanguageFromEnvironment();

// The text to show for a Japanese text of the interface (menu captions, dialog labels, tool
// names...): the text itself in Japanese; in English the translation file's entry, else the
// built-in catalog's (texts of the string table included), else the Japanese text. English texts
// are no keys, so Tr(Tr(x)) == Tr(x). The view stays valid for the program's lifetime.
std::string_view Tr(std::string_view japanese);

}  // namespace zevo
