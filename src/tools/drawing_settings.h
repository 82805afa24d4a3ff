// The current drawing settings the tools share (apertures, pad, text; the current layer is the
// board's) and the option bits
// of selection and drawing, with their values before the settings file is read.
#pragma once

#include <string>

#include "board/model/board.h"
#include "tools/line_edit_geometry.h"

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
    // the parallel / middle line tool: a plain click starts a middle line; parallels of one
    // element rather than of a section ("ParaMode"); the values of "平行線／中間線入力", one set
    // for parallels and one for middle lines, kept between uses
    bool middleByClick = false;
    bool singleLineParallel = true;
    LineSetValues parallelValues;
    LineSetValues middleValues;
    // the connect tool: the plain click stretches or splits; the chamfer's radius ("間隔入力")
    bool stretchByClick = false;
    bool splitByClick = false;
    double chamferRadius = 0.5;
    // the fill tool: the plain click unfills an area or cuts a window into it
    bool unfillByClick = false;
    bool windowByClick = false;
    // the change tool: a plain click on a part changes the part ("部品番号優先"); the values of
    // "点線変換", kept between uses
    bool partNumberFirst = false;
    double dotLength = 1.0, dotGap = 0.5;
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
