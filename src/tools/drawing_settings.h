// The current drawing settings the tools share (apertures, pad, text; the current layer is the
// board's) and the option bits
// of selection and drawing, with their values before the settings file is read.
#pragma once

#include <string>

#include "board/model/board.h"

namespace zevo {

struct DrawingSettings {
    int roundLandAperture = 18;
    int squareLandAperture = 18;
    int lineAperture = 18;
    int squareLineAperture = 18;
    int textAperture = 4;
    int padNumber = 0;
    double rectDx = 1.0, rectDy = 1.0, rectAngle = 0.0;
    int rectAperture = 0;
    // option bits of drawing
    bool squareLine = false;
    bool lineEightAlways = false;
    bool drawAtClickPoint = false;
    bool squareAsRectangle = false;
    bool arcByClicks = false;
    // the arc dialog's values (radius mm, angles in degrees), kept between uses
    double arcRadius = 0, arcStart = 0, arcEnd = 0;
    // the text dialog's values (the string as CP932 bytes), kept between uses
    std::string text;
    double textHeight = 3.2, textPitch = 3.4, textAngle = 0;
    bool textMirror = false;
    // the aperture the line tool draws with
    int currentLineAperture() const { return squareLine ? squareLineAperture : lineAperture; }
};

struct SelectionSettings {
    bool selectSingleByDefault = false;
    bool anyAngleRotation = false;
    bool deleteOnClick = false;
    bool multiClickDeselects = false;
    // The deform tool's vertex moves keep to eight directions without Shift.
    bool deformEightAlways = false;
};

// The texts of the menu-bar items 98 (the current layer) and 99 (the current definition) for a
// definition kind (DefKind of the tool framework), UTF-8.
std::string LayerItemText(const Board& board, const DrawingSettings& s);
std::string DefinitionItemText(const Board& board, const DrawingSettings& s, int defKind);

}  // namespace zevo
