// The arithmetic behind every numeric field of the editor's dialogs.
//
//   expression: term { ("+" | "-") term }
//   term:       factor { ("*" | "/") factor }
//   factor:     { "+" | "-" } ( "sin" factor | "cos" factor | "sqrt" factor | "atan" factor
//                             | "(" expression ")" | number )
//
// Blanks, control bytes and bytes of 0x80 and above are removed first and letters folded to
// lower case, so "- -5" is 5 and "COS 60" is 0.5. Angles are in degrees. Text after a complete
// expression is ignored ("3mm" is 3).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace zevo {

// A dialog field holds at most this many bytes; the rest of a longer text is not looked at.
inline constexpr std::size_t kFieldTextMax = 8191;
// Parentheses and functions nested deeper than this are an error rather than a deep recursion.
inline constexpr int kMaxFieldNesting = 256;

// The value of the field text, or nothing on any error: empty text, a missing operand or
// parenthesis, division by a magnitude below 1e-8, the square root of a negative value, nesting
// beyond kMaxFieldNesting, or a result that is not a finite number. The caller shows
// kMsgCalcError and keeps its dialog open.
std::optional<double> EvaluateField(std::string_view text);

}  // namespace zevo
