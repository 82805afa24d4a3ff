// The built-in English of the string table (the same ids as the Japanese texts).
#pragma once

#include <span>
#include <string_view>

#include "text/strings.h"

namespace zevo {

// The built-in English text of `id`, or an empty view when the id has none.
std::string_view TableTextEnglish(int id);
// Every id with an English text, in increasing order.
std::span<const TableEntry> AllEnglishTableTexts();

}  // namespace zevo
