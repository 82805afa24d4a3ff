#include "shell/dialogs/dialog_common.h"

#include <cstdio>

#include "board/eval/evaluator.h"
#include "board/model/board.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

std::string_view CalcErrorText() {
    return TableText(kMsgCalcError);
}
std::string_view MessageCaption() {
    return TableText(kCaptionEditor);
}

std::optional<double> ReadNumericField(std::string_view utf8) {
    return EvaluateField(Utf8ToCp932(utf8));
}

std::string FormatValue(const char* format, double value) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string FormatInt(const char* format, int value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string LayerCaption(const Board& board, int layer) {
    std::string s = FormatInt("%3d:", layer);
    if (layer >= 0 && layer < kLayers && !IsBlank(board.layerName[layer])) {
        s += ' ';
        s += Cp932ToUtf8(View(board.layerName[layer]));
    }
    return s;
}

std::string_view Cp932Prefix(std::string_view s, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n =
            IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        if (i + n > maxBytes) break;
        i += n;
    }
    return s.substr(0, i);
}

std::size_t Cp932Width(std::string_view utf8) {
    return Utf8ToCp932(utf8).size();
}

}  // namespace zevo
