#include "sheet.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fontgen {
namespace {

struct Canvas {
    int w, h;
    std::vector<uint8_t> px;
    Canvas(int w_, int h_) : w(w_), h(h_), px(std::size_t(w_) * h_, 255) {}
    void dot(int x, int y) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[std::size_t(y) * w + x] = 0;
    }
    void line(int x0, int y0, int x1, int y1) {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            dot(x0, y0);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
    }
    void glyph(const HGlyph& g, int ox, int oy, double scale) {
        for (const auto& s : g.strokes)
            for (std::size_t i = 1; i < s.size(); ++i)
                line(ox + int(s[i - 1].x * scale), oy + int(s[i - 1].y * scale),
                     ox + int(s[i].x * scale), oy + int(s[i].y * scale));
    }
};

bool WritePng(const Canvas& c, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, c.w, c.h, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < c.h; ++y)
        png_write_row(png, const_cast<png_bytep>(&c.px[std::size_t(y) * c.w]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

}  // namespace

bool WriteContactSheet(const std::vector<HGlyph>& glyphs, const std::vector<HGlyph>& digits,
                       const std::string& path, int columns) {
    const int tile = 80;
    const int rows = (int(glyphs.size()) + columns - 1) / columns;
    Canvas c(columns * tile, rows * tile);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const int tx = int(i % columns) * tile, ty = int(i / columns) * tile;
        // Tile frame and the glyph's index in small digits at the top left.
        c.line(tx, ty, tx + tile - 1, ty);
        c.line(tx, ty, tx, ty + tile - 1);
        const std::string label = std::to_string(i);
        for (std::size_t k = 0; k < label.size(); ++k)
            if (!digits.empty()) c.glyph(digits[label[k] - '0'], tx + 6 + int(k) * 9, ty + 9, 0.4);
        c.glyph(glyphs[i], tx + tile / 2, ty + tile / 2 + 6, 2.2);
    }
    return WritePng(c, path);
}

}  // namespace fontgen
