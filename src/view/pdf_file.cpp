#include "view/pdf_file.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

#include "paths/file_io.h"

namespace zevo {

namespace {

std::string Deflate(const std::string& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    // Locale-proof: PDF numbers always take a point.
    for (char* p = buf; *p; ++p)
        if (*p == ',') *p = '.';
    return buf;
}

}  // namespace

std::string EncodePdfPage(const DibImage& image, double widthMm, double heightMm) {
    // The rows without their padding to four bytes, top row first as PDF images run.
    const size_t rowBytes = (size_t(image.width) * size_t(image.bits) + 7) / 8;
    std::string raw;
    raw.reserve(rowBytes * size_t(image.height));
    for (int y = 0; y < image.height; ++y)
        raw.append(
            reinterpret_cast<const char*>(image.rows.data()) + size_t(y) * size_t(image.stride()),
            rowBytes);
    const std::string data = Deflate(raw);

    std::string colourSpace;
    if (image.bits == 1) {
        // Bit set = white in our bitmaps, as it is for DeviceGray.
        const bool plain = image.colours.size() >= 2 && image.colours[0] == 0 &&
                           image.colours[1] == Rgb(255, 255, 255);
        colourSpace = plain ? "/DeviceGray" : "";
        if (!plain) {
            colourSpace = "[/Indexed /DeviceRGB 1 <";
            for (int i = 0; i < 2; ++i) {
                const Pixel c = size_t(i) < image.colours.size() ? image.colours[size_t(i)] : 0;
                char hex[8];
                std::snprintf(hex, sizeof hex, "%06X", unsigned(c & 0xFFFFFF));
                colourSpace += hex;
            }
            colourSpace += ">]";
        }
    } else {
        colourSpace = "[/Indexed /DeviceRGB 255 <";
        for (int i = 0; i < 256; ++i) {
            const Pixel c = size_t(i) < image.colours.size() ? image.colours[size_t(i)] : 0;
            char hex[8];
            std::snprintf(hex, sizeof hex, "%06X", unsigned(c & 0xFFFFFF));
            colourSpace += hex;
        }
        colourSpace += ">]";
    }

    const std::string w = Number(widthMm / 25.4 * 72), h = Number(heightMm / 25.4 * 72);
    const std::string content = "q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q\n";

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    auto object = [&](const std::string& body) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h +
           "] /Resources << /XObject << /Im0 4 0 R >> >> /Contents 5 0 R >>");
    object("<< /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
           std::to_string(image.height) + " /ColorSpace " + colourSpace + " /BitsPerComponent " +
           std::to_string(image.bits) + " /Filter /FlateDecode /Length " +
           std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream");
    object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
           "endstream");
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t o : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", o);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

bool WritePdfPage(const std::filesystem::path& file, const DibImage& image, double widthMm,
                  double heightMm) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rows.size() < size_t(image.stride()) * size_t(image.height))
        return false;
    return WriteFileAtomically(file, EncodePdfPage(image, widthMm, heightMm));
}

}  // namespace zevo
