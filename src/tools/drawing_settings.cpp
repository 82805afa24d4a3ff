#include "tools/drawing_settings.h"

#include <cstdio>

#include "board/model/intern.h"
#include "text/cp932.h"
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

}  // namespace

std::string LayerItemText(const Board& board, const DrawingSettings& s) {
    std::string name;
    if (board.currentLayer >= 0 && board.currentLayer < kLayers)
        name = Cp932ToUtf8(View(board.layerName[size_t(board.currentLayer)]));
    return Format("%s %d: %s", "レイヤー", board.currentLayer, name.c_str());
}

std::string DefinitionItemText(const Board& board, const DrawingSettings& s, int defKind) {
    switch (defKind) {
        case kDefRoundLand:
            return Format("%s %d: %.3f", "アパーチャ", s.roundLandAperture,
                          RoundDiameter(board, s.roundLandAperture));
        case kDefSquareLand:
            if (s.squareAsRectangle) return Format("%s X:%.3f Y:%.3f", "四角", s.rectDx, s.rectDy);
            return Format("%s %d: %.3f", "アパーチャ", s.squareLandAperture,
                          SquareSide(board, s.squareLandAperture));
        case kDefLine:
            if (s.squareLine)
                return Format("%s %d: %.3f", "アパーチャ", s.squareLineAperture,
                              SquareSide(board, s.squareLineAperture));
            return Format("%s %d: %.3f", "アパーチャ", s.lineAperture,
                          RoundDiameter(board, s.lineAperture));
        case kDefPad:
            return Format("%s: %d", "パッド", s.padNumber);
        case kDefText:
            return Format("%s %d: %.3f", "アパーチャ", s.textAperture,
                          RoundDiameter(board, s.textAperture));
        default:  // arc, parallel line and the selection tools show the round line aperture
            return Format("%s %d: %.3f", "アパーチャ", s.lineAperture,
                          RoundDiameter(board, s.lineAperture));
    }
}

}  // namespace zevo
