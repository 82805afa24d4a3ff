// Any translation file must read without crashing, and what it gives must be safe to use: every
// text taken keeps the printf conversions of the text it replaces, and is UTF-8.
#include "text/translations.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/cp932.h"
#include "text/strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zevo::TranslationEntries e = zevo::ReadTranslationText(text);
    for (const auto& [id, english] : e.byId) {
        const std::string_view japanese = zevo::TableTextJapanese(id);
        if (japanese.empty() || english.empty()) std::abort();
        if (zevo::PrintfConversions(japanese) != zevo::PrintfConversions(english)) std::abort();
        size_t bad = 0;
        zevo::Utf8ToCp932(english, &bad);  // converts, with replacements where it must
    }
    for (const auto& [japanese, english] : e.byText) {
        if (japanese.empty() || english.empty()) std::abort();
        if (zevo::PrintfConversions(japanese) != zevo::PrintfConversions(english)) std::abort();
    }
    return 0;
}
