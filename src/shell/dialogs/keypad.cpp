#include "shell/dialogs/keypad.h"

#include <array>

namespace zevo {

namespace {
constexpr std::array<KeypadKey, 19> kKeys = {{
    {100, "0", '0'},
    {101, "1", '1'},
    {102, "2", '2'},
    {103, "3", '3'},
    {104, "4", '4'},
    {105, "5", '5'},
    {106, "6", '6'},
    {107, "7", '7'},
    {108, "8", '8'},
    {109, "9", '9'},
    {110, ".", '.'},
    {111, "+", '+'},
    {112, "-", '-'},
    {113, "×", '*'},
    {114, "÷", '/'},
    {115, "(", '('},
    {116, ")", ')'},
    {117, "e", 'e'},
    {118, "BS", kKeypadBackspace},
}};
}  // namespace

std::span<const KeypadKey> KeypadKeys() {
    return kKeys;
}

char KeypadCharacter(int id) {
    return id >= 100 && id <= 118 ? kKeys[size_t(id - 100)].character : 0;
}

}  // namespace zevo
