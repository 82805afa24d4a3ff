// The viewer of the renamed files without its window: the Gerber commands of a file as shapes
// in millimetres, and the zoom steps.
#pragma once

#include <string_view>
#include <vector>

namespace zevo {

struct ViewerShape {
    enum class Kind { kLine, kFlash, kArc } kind = Kind::kLine;
    double x0 = 0, y0 = 0;  // start, or the flash's place
    double x1 = 0, y1 = 0;  // end
    double cx = 0, cy = 0;  // arc centre
    bool clockwise = false;
    double width = 0;   // the aperture's size (a rectangle's width)
    double height = 0;  // a rectangle's height; 0 for a round aperture
};

struct ViewerDrawing {
    std::vector<ViewerShape> shapes;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;  // over the shapes with their widths
    bool empty() const { return shapes.empty(); }
};

// Reads the extended Gerber of the set (3 decimals, millimetres, or the decimals its "%FSLAX"
// gives) or a drill program (holes as flashes of their tool size; coordinates with a decimal
// point are millimetres) into shapes. Anything else is skipped.
ViewerDrawing ReadViewerDrawing(std::string_view bytes);

// Pixels per millimetre steps of the viewer.
int ViewerZoomOut(int scale);  // × 8/10, not below 3
int ViewerZoomIn(int scale);   // × 6/5 + 1, at most 1000
// The largest scale (3..1000) at which the drawing fits into width × height pixels.
int ViewerFitScale(const ViewerDrawing& d, int width, int height);

}  // namespace zevo
