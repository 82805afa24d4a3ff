// Printing and bitmap export without a printer: the print classes of the layers, the placement
// of the board on the page bitmap, the check print (outlines like the screen) and the artwork
// print (filled shapes drawn as one-pixel rows in black and white), device-independent bitmaps
// and the BMP file. The front ends hand the bitmap to a printer, a PDF page or a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/model/board.h"
#include "view/framebuffer.h"
#include "view/view_state.h"

namespace zevo {

enum PrintFlags : uint32_t {
    kPrintNegative = 1,
    kPrintMirror = 2,
    kPrintToBmp = 4,
};

enum class PrintKind { kCheck, kArtwork };

// What the print dialog fills in.
struct PrintOptions {
    uint32_t flags = 0;
    double offsetX = 0, offsetY = 0;  // mm
    double magnification = 1.0;
    bool negative() const { return flags & kPrintNegative; }
    bool mirror() const { return flags & kPrintMirror; }
    bool toBmp() const { return flags & kPrintToBmp; }
};

// What the printer reports of its page.
struct PrinterMetrics {
    int resX = 0, resY = 0;            // printable area in pixels
    double widthMm = 0, heightMm = 0;  // printable area in mm
    int lpx = 0, lpy = 0;              // pixels per inch
    int colours = 2;
    // Everything but the number of colours must be non-zero.
    bool complete() const {
        return resX > 0 && resY > 0 && widthMm > 0 && heightMm > 0 && lpx > 0 && lpy > 0;
    }
};

// A whole A4 page (210 x 297 mm) printable at `dpi` on both axes, black and white.
PrinterMetrics VirtualA4(int dpi);

// 0 not printed, 1 positive, 2 cut, 3 negative, from the layer's switches and roles.
int PrintClass(const Board& board, int layer);
// Whether some layer prints as negative (the artwork print then starts from ink).
bool HasPrintableNegativeLayer(const Board& board);
// The bounding box of every element on a printed layer, groups included; nothing when there is
// no such element.
std::optional<Box> PrintExtent(const Board& board);

// Size and depth of the page bitmap.
struct BitmapSize {
    int width = 0, height = 0;
    bool mono = true;
};
// The printer's full resolution made square-pixelled (the axis with more pixels per inch is
// reduced); one bit per pixel.
BitmapSize ArtworkBitmapSize(const PrinterMetrics& m);
// Pixels of 0.15 mm; colour unless the printer has fewer than 3 colours.
BitmapSize CheckBitmapSize(const PrinterMetrics& m);

// Points the view at the bitmap: true to size times the magnification, mirror from the options,
// the extent's centre in the middle of the bitmap shifted by the offsets, the origin on a whole
// millimetre.
void PlaceOnBitmap(const Box& extent, const PrinterMetrics& m, int width, int height,
                   const PrintOptions& o, ViewState& view);

// A device-independent bitmap as the print system hands it over: 1 bit per pixel (colour table
// black, white) or 8 bits with a 256-entry table. Rows are kept top row first, each padded to a
// multiple of 4 bytes; the BMP file stores them bottom row first.
struct DibImage {
    int width = 0, height = 0;
    int bits = 1;
    int dpiX = 0, dpiY = 0;      // carried into the file's pixels per metre
    std::vector<Pixel> colours;  // 2^bits entries, 0x00RRGGBB
    std::vector<uint8_t> rows;
    int stride() const { return ((width * bits + 31) / 32) * 4; }
    // The colour of a pixel through the table.
    Pixel at(int x, int y) const;
};

// One-bit page for the artwork print; bit set = white. Spans are cut to the page.
class MonoBitmap {
  public:
    // False when the size is not positive or the memory cannot be had.
    bool Create(int width, int height, bool white);
    int width() const { return image_.width; }
    int height() const { return image_.height; }
    bool white(int x, int y) const {
        return image_.rows[size_t(y) * size_t(image_.stride()) + size_t(x >> 3)] &
               (0x80 >> (x & 7));
    }
    // Pixels x0..x1 of row y (inclusive), set white or black.
    void Span(int64_t x0, int64_t x1, int64_t y, bool white);
    DibImage& image() { return image_; }
    DibImage Take() { return std::move(image_); }

  private:
    DibImage image_;
};

// Filled shapes of the artwork print, row by row, in the view's conversion.
void FillElement(const Board& board, const ViewState& view, const drawn* e, bool white,
                 MonoBitmap& bitmap);
// The passes of the artwork print over the board (background included).
void RenderArtwork(const Board& board, const ViewState& view, bool negative, MonoBitmap& bitmap);
// The check print: outlines of the printed elements on white (black with the negative option).
void RenderCheckPrint(const Board& board, const ViewState& view, bool negative, Framebuffer& fb);

// The whole print up to the bitmap: extent, size, placement and rendering. Nothing when there is
// nothing to print (no printed element, incomplete metrics, no memory for the bitmap). The view
// used is left in `usedView` when given.
std::optional<DibImage> RenderPrint(const Board& board, PrintKind kind, const PrinterMetrics& m,
                                    const PrintOptions& o, ViewState* usedView = nullptr);

// A framebuffer as an 8-bit bitmap over the 16 layer colours and black.
DibImage ColourDib(const Framebuffer& fb);

// The BMP file's bytes: file header, information header, colour table, rows bottom up.
std::string EncodeBmp(const DibImage& image);
// Written through a temporary file; false when it cannot be written.
bool WriteBmp(const std::filesystem::path& file, const DibImage& image);
// The bitmap's name beside the board file: the part after the last dot of the file name
// replaced by "bmp", or ".bmp" appended.
std::filesystem::path BmpPathFor(const std::filesystem::path& boardFile);

// The standard magnification: "PrintMagnification" in "Setting", 0.1..10, default 1.
inline constexpr double kMinPrintMagnification = 0.1;
inline constexpr double kMaxPrintMagnification = 10;
double ParsePrintMagnification(std::string_view contents);
double LoadPrintMagnification(const std::filesystem::path& settingsFile);
// The value written for a magnification: clamped, "%.12g", empty for exactly 1.
std::string PrintMagnificationText(double m);
bool StorePrintMagnification(const std::filesystem::path& settingsFile, double m);

}  // namespace zevo
