#include "tools/drawing_settings.h"

#include <cstdio>

#include "board/model/intern.h"
#include "text/cp932.h"
#include "text/language.h"
#include "tools/tool_context.h"

namespace zevo {

namespace {

std::string Format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

double RoundDiameter(const Board& b, int n) {
    return 2 * b.roundHalf(n);
}
double SquareSide(const Board& b, int n) {
    return 2 * b.squareHalf(n);
}

// A word of the status texts in the interface language.
std::string Word(std::string_view japanese) {
    return std::string(Tr(japanese));
}

}  // namespace

std::string LayerItemText(const Board& board, const DrawingSettings& s) {
    std::string name;
    if (board.currentLayer >= 0 && board.currentLayer < kLayers)
        name = Cp932ToUtf8(View(board.layerName[size_t(board.currentLayer)]));
    return Format("%s %d: %s", Word("レイヤー").c_str(), board.currentLayer, name.c_str());
}

std::string DefinitionItemText(const Board& board, const DrawingSettings& s, int defKind) {
    switch (defKind) {
        case kDefRoundLand:
            return Format("%s %d: %.3f", Word("アパーチャ").c_str(), s.roundLandAperture,
                          RoundDiameter(board, s.roundLandAperture));
        case kDefSquareLand:
            if (s.squareAsRectangle)
                return Format("%s X:%.3f Y:%.3f", Word("四角").c_str(), s.rectDx, s.rectDy);
            return Format("%s %d: %.3f", Word("アパーチャ").c_str(), s.squareLandAperture,
                          SquareSide(board, s.squareLandAperture));
        case kDefLine:
            if (s.squareLine)
                return Format("%s %d: %.3f", Word("アパーチャ").c_str(), s.squareLineAperture,
                              SquareSide(board, s.squareLineAperture));
            return Format("%s %d: %.3f", Word("アパーチャ").c_str(), s.lineAperture,
                          RoundDiameter(board, s.lineAperture));
        case kDefPad:
            return Format("%s: %d", Word("パッド").c_str(), s.padNumber);
        case kDefText:
            return Format("%s %d: %.3f", Word("アパーチャ").c_str(), s.textAperture,
                          RoundDiameter(board, s.textAperture));
        default:  // arc, parallel line and the selection tools show the round line aperture
            return Format("%s %d: %.3f", Word("アパーチャ").c_str(), s.lineAperture,
                          RoundDiameter(board, s.lineAperture));
    }
}

}  // namespace zevo
