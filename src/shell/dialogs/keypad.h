// The numeric key pad shown beside dialogs with numeric fields: each key types one character
// into the field that last had the focus.
#pragma once

#include <span>
#include <string_view>

namespace zevo {

inline constexpr std::string_view kKeypadTitle = "数値キー";
// The character of the backspace key.
inline constexpr char kKeypadBackspace = '\b';

struct KeypadKey {
    int id;                  // control id, 100..118
    std::string_view label;  // what the key shows
    char character;          // what it types
};

// The nineteen keys in id order: 0-9, ".", "+", "-", "×" (*), "÷" (/), "(", ")", "e", BS.
std::span<const KeypadKey> KeypadKeys();
// The character of key `id`, or 0 for an id that is not a key.
char KeypadCharacter(int id);

}  // namespace zevo
