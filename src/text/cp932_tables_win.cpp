// Fills the CP932 tables from code page 932 of Windows (MultiByteToWideChar and
// WideCharToMultiByte). The Windows build's counterpart of cp932_tables_iconv.cpp: the same
// tables, only the converter differs.
#include <windows.h>

#include "text/cp932.h"
#include "text/cp932_tables.h"

namespace zevo::cp932 {
namespace {

constexpr UINT kCodePage = 932;

// One character from `n` bytes, or kNoChar when the bytes are not exactly one character of the
// code page. Without MB_ERR_INVALID_CHARS Windows would hand back its default character (the
// katakana middle dot) for a gap, which is a real character.
std::uint16_t DecodeOne(const unsigned char* in, int n) {
    wchar_t out[4];
    const int got = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS,
                                        reinterpret_cast<const char*>(in), n, out, 4);
    if (got != 1) return kNoChar;
    const std::uint16_t c = static_cast<std::uint16_t>(out[0]);
    // A lone surrogate is no character of its own.
    if (c >= 0xD800 && c <= 0xDFFF) return kNoChar;
    return c;
}

// Windows gives the five single bytes CP932 leaves unassigned (0x80, 0xA0, 0xFD-0xFF)
// characters of their own: U+0080 and the private-use U+F8F0-U+F8F3. iconv does not; they stay
// gaps here too, so that both builds read and write the same bytes.
bool WindowsOnlyByte(unsigned b) {
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

}  // namespace

bool FillFromPlatform(Tables& t) {
    if (!IsValidCodePage(kCodePage)) return false;

    unsigned char in[2];
    for (unsigned b = 0; b < 0x100; ++b) {
        if (IsCp932LeadByte(static_cast<unsigned char>(b))) {
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
                in[0] = static_cast<unsigned char>(b);
                in[1] = static_cast<unsigned char>(trail);
                t.decode[(b << 8) | trail] = DecodeOne(in, 2);
            }
        } else {
            in[0] = static_cast<unsigned char>(b);
            if (!WindowsOnlyByte(b)) t.decode[b] = DecodeOne(in, 1);
        }
    }

    for (std::uint32_t cp = 0; cp < kNoChar; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const wchar_t w = static_cast<wchar_t>(cp);
        char out[8];
        BOOL usedDefault = FALSE;
        // No best-fit guesses (U+00E9 -> 'e' and the like): a character without its own code
        // stays unmapped, as with iconv.
        const int got = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &w, 1, out, sizeof out,
                                            nullptr, &usedDefault);
        if (usedDefault) continue;
        const auto* o = reinterpret_cast<const unsigned char*>(out);
        if (got == 1) {
            if (!WindowsOnlyByte(o[0])) t.encode[cp] = o[0];
        } else if (got == 2 && IsCp932LeadByte(o[0]) && IsCp932TrailByte(o[1])) {
            t.encode[cp] = static_cast<std::uint16_t>((o[0] << 8) | o[1]);
        }
    }
    return true;
}

}  // namespace zevo::cp932
