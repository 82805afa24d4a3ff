#include "view/png_file.h"

#if defined(ZEVO_HAVE_PNG)
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

#else  // without libpng: the same pictures through zlib alone (the Windows build)

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "paths/file_io.h"

namespace zevo {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr std::uint32_t kMaxSide = 20000;  // as the libpng reader: refuse absurd sizes

void PutBe32(std::string& out, std::uint32_t v) {
    out += char(v >> 24);
    out += char(v >> 16);
    out += char(v >> 8);
    out += char(v);
}

std::uint32_t Be32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void PutChunk(std::string& out, const char* type, std::string_view data) {
    PutBe32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* p = reinterpret_cast<const Bytef*>(out.data() + start);
    PutBe32(out, std::uint32_t(crc32(0, p, uInt(out.size() - start))));
}

unsigned char Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<unsigned char>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the row filters in place; `bpp` bytes a pixel, `stride` bytes a row after its filter
// byte. False on an unknown filter.
bool Unfilter(std::string& data, std::size_t rows, std::size_t stride, std::size_t bpp) {
    auto* d = reinterpret_cast<unsigned char*>(data.data());
    const unsigned char* prior = nullptr;
    for (std::size_t y = 0; y < rows; ++y) {
        const unsigned char filter = d[y * (stride + 1)];
        unsigned char* row = d + y * (stride + 1) + 1;
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= bpp ? row[x - bpp] : 0;
            const int b = prior ? prior[x] : 0;
            const int c = prior && x >= bpp ? prior[x - bpp] : 0;
            switch (filter) {
                case 0:
                    break;
                case 1:
                    row[x] = static_cast<unsigned char>(row[x] + a);
                    break;
                case 2:
                    row[x] = static_cast<unsigned char>(row[x] + b);
                    break;
                case 3:
                    row[x] = static_cast<unsigned char>(row[x] + (a + b) / 2);
                    break;
                case 4:
                    row[x] = static_cast<unsigned char>(row[x] + Paeth(a, b, c));
                    break;
                default:
                    return false;
            }
        }
        prior = row;
    }
    return true;
}

}  // namespace

bool WritePng(const std::filesystem::path& file, const Framebuffer& fb) {
    if (fb.empty()) return false;
    const std::size_t stride = std::size_t(fb.width()) * 3;
    std::string raw;
    raw.reserve((stride + 1) * std::size_t(fb.height()));
    for (int y = 0; y < fb.height(); ++y) {
        const Pixel* p = fb.row(y);
        raw += '\0';  // no filter
        for (int x = 0; x < fb.width(); ++x) {
            raw += char(p[x] >> 16);
            raw += char(p[x] >> 8);
            raw += char(p[x]);
        }
    }
    std::string packed(compressBound(uLong(raw.size())), '\0');
    uLongf packedSize = uLongf(packed.size());
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string header;
    PutBe32(header, std::uint32_t(fb.width()));
    PutBe32(header, std::uint32_t(fb.height()));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no interlace
    std::string out(kSignature);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return WriteFileAtomically(file, out);
}

bool ReadPng(const std::filesystem::path& file, Framebuffer& fb) {
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes || !bytes->starts_with(kSignature)) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes->data());
    std::uint32_t width = 0, height = 0;
    int colour = -1;
    std::string packed;
    bool ended = false;
    for (std::size_t at = kSignature.size(); !ended;) {
        if (bytes->size() - at < 12) return false;
        const std::uint32_t length = Be32(b + at);
        if (length > bytes->size() - at - 12) return false;
        const std::string_view type(bytes->data() + at + 4, 4);
        const unsigned char* data = b + at + 8;
        if (Be32(data + length) != std::uint32_t(crc32(0, b + at + 4, uInt(length + 4))))
            return false;
        if (type == "IHDR") {
            if (length != 13) return false;
            width = Be32(data);
            height = Be32(data + 4);
            // 8 bits a sample, grey, RGB, grey with alpha or RGBA; no interlacing.
            if (data[8] != 8 || data[10] != 0 || data[11] != 0 || data[12] != 0) return false;
            colour = data[9];
        } else if (type == "IDAT") {
            packed.append(reinterpret_cast<const char*>(data), length);
        } else if (type == "IEND") {
            ended = true;
        } else if (type == "PLTE") {
            return false;  // palette pictures are not read here
        }
        at += std::size_t(length) + 12;
    }
    const std::size_t bpp = colour == 0   ? 1
                            : colour == 2 ? 3
                            : colour == 4 ? 2
                            : colour == 6 ? 4
                                          : 0;
    if (!bpp || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
    const std::size_t stride = std::size_t(width) * bpp;
    std::string raw((stride + 1) * height, '\0');
    uLongf rawSize = uLongf(raw.size());
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                   reinterpret_cast<const Bytef*>(packed.data()), uLong(packed.size())) != Z_OK ||
        rawSize != raw.size())
        return false;
    if (!Unfilter(raw, height, stride, bpp)) return false;
    fb.Resize(int(width), int(height));
    for (std::uint32_t y = 0; y < height; ++y) {
        Pixel* p = fb.row(int(y));
        const auto* s = reinterpret_cast<const unsigned char*>(raw.data()) + y * (stride + 1) + 1;
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* q = s + x * bpp;
            // Alpha is dropped: the pictures read are the program's own, which have none.
            p[x] = bpp <= 2 ? Rgb(q[0], q[0], q[0]) : Rgb(q[0], q[1], q[2]);
        }
    }
    return true;
}

}  // namespace zevo

#endif
