// Fills the CP932 tables from iconv (glibc, or GNU libiconv on macOS). This is the only file that
// talks to iconv; the Windows build fills the same tables from code page 932 in
// cp932_tables_win.cpp.
#include <iconv.h>

#include <cstring>

#include "text/cp932.h"
#include "text/cp932_tables.h"

namespace zevo::cp932 {
namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts exactly `in` (all of it) and returns the number of output bytes, or -1.
    int Convert(const unsigned char* in, std::size_t inSize, unsigned char* out,
                std::size_t outSize) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        char* src = const_cast<char*>(reinterpret_cast<const char*>(in));
        char* dst = reinterpret_cast<char*>(out);
        std::size_t left = inSize, room = outSize;
        if (iconv(cd_, &src, &left, &dst, &room) == static_cast<std::size_t>(-1) || left != 0)
            return -1;
        // Flush, for converters that keep a shift state.
        if (iconv(cd_, nullptr, nullptr, &dst, &room) == static_cast<std::size_t>(-1)) return -1;
        return static_cast<int>(outSize - room);
    }

  private:
    iconv_t cd_;
};

std::uint32_t ReadUtf32Le(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

bool FillFromPlatform(Tables& t) {
    Converter dec("UTF-32LE", "CP932");
    Converter enc("CP932", "UTF-32LE");
    if (!dec.ok() || !enc.ok()) return false;

    unsigned char in[4];
    unsigned char out[16];
    auto decodeOne = [&](std::size_t n) -> std::uint16_t {
        const int got = dec.Convert(in, n, out, sizeof out);
        if (got != 4) return kNoChar;  // nothing, or more than one character
        const std::uint32_t cp = ReadUtf32Le(out);
        return cp < kNoChar ? static_cast<std::uint16_t>(cp) : kNoChar;
    };
    for (unsigned b = 0; b < 0x100; ++b) {
        if (IsCp932LeadByte(static_cast<unsigned char>(b))) {
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
                in[0] = static_cast<unsigned char>(b);
                in[1] = static_cast<unsigned char>(trail);
                t.decode[(b << 8) | trail] = decodeOne(2);
            }
        } else {
            in[0] = static_cast<unsigned char>(b);
            t.decode[b] = decodeOne(1);
        }
    }

    for (std::uint32_t cp = 0; cp < kNoChar; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        in[0] = cp & 0xFF;
        in[1] = (cp >> 8) & 0xFF;
        in[2] = in[3] = 0;
        const int got = enc.Convert(in, 4, out, sizeof out);
        if (got == 1) {
            t.encode[cp] = out[0];
        } else if (got == 2 && IsCp932LeadByte(out[0]) && IsCp932TrailByte(out[1])) {
            t.encode[cp] = static_cast<std::uint16_t>((out[0] << 8) | out[1]);
        }
    }
    return true;
}

}  // namespace zevo::cp932
