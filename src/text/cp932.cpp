#include "text/cp932.h"

#include <memory>

#include "text/cp932_tables.h"

namespace zevo {
namespace {

using cp932::kNoChar;

struct Loaded {
    std::unique_ptr<cp932::Tables> tables;
    bool available = false;
};

// The JIS spellings of characters that CP932 spells differently, for converters that do not
// fold them themselves. Only used where the converter left a gap.
constexpr struct {
    std::uint16_t from, to;
} kFolds[] = {
    {0x301C, 0x8160},  // WAVE DASH -> ～
    {0x2212, 0x817C},  // MINUS SIGN -> －
    {0x2016, 0x8161},  // DOUBLE VERTICAL LINE -> ∥
    {0x2014, 0x815C},  // EM DASH -> ―
    {0x00A2, 0x8191},  // CENT SIGN -> ￠
    {0x00A3, 0x8192},  // POUND SIGN -> ￡
    {0x00AC, 0x81CA},  // NOT SIGN -> ￢
    {0x00A5, 0x005C},  // YEN SIGN -> the single-byte yen of Japanese fonts
    {0x203E, 0x007E},  // OVERLINE -> the single-byte overline
};

const Loaded& Load() {
    static const Loaded loaded = [] {
        Loaded l;
        l.tables = std::make_unique<cp932::Tables>();
        cp932::Tables& t = *l.tables;
        for (auto& v : t.decode) v = kNoChar;
        for (auto& v : t.encode) v = kNoChar;
        l.available = cp932::FillFromPlatform(t);
        for (std::uint16_t c = 0; c < 0x80; ++c) {
            if (t.decode[c] == kNoChar) t.decode[c] = c;
            if (t.encode[c] == kNoChar) t.encode[c] = c;
        }
        if (l.available) {
            for (const auto& f : kFolds)
                if (t.encode[f.from] == kNoChar && t.decode[f.to] != kNoChar)
                    t.encode[f.from] = f.to;
        }
        return l;
    }();
    return loaded;
}

void PutUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one well-formed UTF-8 character at s[i]; returns its length, or 0 when the bytes there
// do not start a well-formed character.
std::size_t TakeUtf8(std::string_view s, std::size_t i, std::uint32_t& cp) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, cp = b & 0x0F;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (s.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char c = at(i + k);
        if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

}  // namespace

bool Cp932Available() {
    return Load().available;
}

std::string Cp932ToUtf8(std::string_view in, std::size_t* replaced) {
    const cp932::Tables& t = *Load().tables;
    std::string out;
    out.reserve(in.size() + in.size() / 2);
    std::size_t bad = 0;
    for (std::size_t i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        std::uint16_t cp;
        if (IsCp932LeadByte(b) && i + 1 < in.size() &&
            IsCp932TrailByte(static_cast<unsigned char>(in[i + 1]))) {
            cp = t.decode[(b << 8) | static_cast<unsigned char>(in[i + 1])];
            i += 2;
        } else {
            cp = t.decode[b];  // a lead byte alone is never a character
            i += 1;
        }
        if (cp == kNoChar) {
            cp = 0xFFFD;
            ++bad;
        }
        PutUtf8(out, cp);
    }
    if (replaced) *replaced = bad;
    return out;
}

std::string Utf8ToCp932(std::string_view in, std::size_t* replaced) {
    const cp932::Tables& t = *Load().tables;
    std::string out;
    out.reserve(in.size());
    std::size_t bad = 0;
    for (std::size_t i = 0; i < in.size();) {
        std::uint32_t cp = 0;
        const std::size_t len = TakeUtf8(in, i, cp);
        std::uint16_t code = kNoChar;
        if (len == 0) {
            i += 1;
        } else {
            i += len;
            if (cp < 0x10000) code = t.encode[cp];
        }
        if (code == kNoChar) {
            out += '?';
            ++bad;
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    if (replaced) *replaced = bad;
    return out;
}

}  // namespace zevo
