// What the dialog models of the definition and settings dialogs share: reading numeric fields,
// the error message of a field that does not evaluate, and the captions of layers.
//
// The models are the dialogs without their windows. A window forwards each user action to its
// model and shows what the model's accessors return; texts for the window are UTF-8, texts that
// go into the board (layer names) are CP932 bytes as the board holds them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zevo {

class Board;

// What a button that reads numeric fields did.
enum class FieldOutcome {
    kStored,     // the values were taken
    kIgnored,    // a value was outside what the field accepts; nothing changed
    kCalcError,  // a field did not evaluate; nothing changed, the window shows CalcErrorText()
};

struct FieldResult {
    FieldOutcome outcome = FieldOutcome::kStored;
    int control = 0;  // with kCalcError: the id of the field that did not evaluate
    bool stored() const { return outcome == FieldOutcome::kStored; }
    bool calcError() const { return outcome == FieldOutcome::kCalcError; }
};

// The message box of a field that does not evaluate: "計算エラー" captioned "Zevo".
std::string_view CalcErrorText();
std::string_view MessageCaption();

// Reads the text of a numeric field (UTF-8, as the window holds it). The arithmetic sees the
// bytes the board's own text would have, so full-width characters read as they always have.
std::optional<double> ReadNumericField(std::string_view utf8);

// printf-style formatting of one value, for the field texts ("%.3f", "%.12g", ...).
std::string FormatValue(const char* format, double value);
std::string FormatInt(const char* format, int value);

// "%3d: name" in UTF-8; the number alone for a layer without a name.
std::string LayerCaption(const Board& board, int layer);

// The first at most maxBytes bytes of a CP932 string, never splitting a double-byte character.
std::string_view Cp932Prefix(std::string_view cp932, std::size_t maxBytes);

// Display width of a UTF-8 text in half-width columns as the CP932 text would take (one column
// per byte), for padding captions to a column.
std::size_t Cp932Width(std::string_view utf8);

}  // namespace zevo
