#include "view/png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <system_error>
#include <vector>

namespace zevo {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// libpng reports errors by longjmp; everything that owns memory lives outside these
// functions' setjmp scope.
bool WriteRows(FILE* f, const Framebuffer& fb, std::vector<png_byte>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(fb.width()), png_uint_32(fb.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < fb.height(); ++y) {
        const Pixel* p = fb.row(y);
        for (int x = 0; x < fb.width(); ++x) {
            row[size_t(x) * 3] = png_byte(p[x] >> 16);
            row[size_t(x) * 3 + 1] = png_byte(p[x] >> 8);
            row[size_t(x) * 3 + 2] = png_byte(p[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::filesystem::path& file, const Framebuffer& fb) {
    if (fb.empty()) return false;
    std::filesystem::path temp = file;
    temp += ".tmp";
    std::vector<png_byte> row(size_t(fb.width()) * 3);
    {
        File f(std::fopen(temp.string().c_str(), "wb"));
        if (!f) return false;
        if (!WriteRows(f.get(), fb, row) || std::fflush(f.get()) != 0) {
            f.reset();
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) std::filesystem::remove(temp, ec);
    return !ec;
}

bool ReadPng(const std::filesystem::path& file, Framebuffer& fb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.string().c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    // Refuse absurd sizes before allocating.
    if (image.width == 0 || image.height == 0 || image.width > 20000 || image.height > 20000) {
        png_image_free(&image);
        return false;
    }
    std::vector<png_byte> data(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, data.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    fb.Resize(int(image.width), int(image.height));
    for (int y = 0; y < fb.height(); ++y) {
        Pixel* p = fb.row(y);
        const png_byte* s = data.data() + size_t(y) * image.width * 3;
        for (int x = 0; x < fb.width(); ++x) p[x] = Rgb(s[3 * x], s[3 * x + 1], s[3 * x + 2]);
    }
    return true;
}

}  // namespace zevo
