#include "view/stroke_font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <system_error>

#include "board/model/board.h"
#include "board/model/intern.h"
#include "paths/paths.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

std::filesystem::path FontPath(const Paths& paths) {
    std::filesystem::path p = paths.fontFile();
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec) ? p : std::filesystem::path();
}

bool FontFile::open(const std::filesystem::path& path) {
    f_ = path.empty() ? nullptr : OpenFile(path, "rb");
    // Every read is a seek somewhere else: a read-ahead buffer would only be thrown away.
    if (f_) std::setvbuf(f_.get(), nullptr, _IONBF, 0);
    return isOpen();
}

bool FontFile::readAt(uint32_t offset, void* dst, std::size_t n, std::size_t* got) {
    *got = 0;
    if (!f_ || std::fseek(f_.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
    *got = std::fread(dst, 1, n, f_.get());
    std::clearerr(f_.get());
    return true;
}

std::optional<uint32_t> FontFile::glyphOffset(FontCode code) {
    const int cell = FontCellOfCode(code);
    if (cell < 0) return std::nullopt;
    uint8_t raw[3];
    std::size_t got = 0;
    if (!readAt(static_cast<uint32_t>(FontCellOffset(cell)), raw, 3, &got) || got != 3)
        return std::nullopt;
    const uint32_t v = ReadCellValue(raw);
    if (v <= kNoGlyphLimit) return std::nullopt;
    return v;
}

std::size_t FontFile::readGlyph(FontCode code, uint8_t (&buf)[kGlyphReadSize]) {
    const std::optional<uint32_t> at = glyphOffset(code);
    if (!at) return 0;
    std::size_t got = 0;
    if (!readAt(*at, buf, kGlyphReadSize, &got) || got < 3) return 0;
    return got;
}

std::optional<uint32_t> GlyphOffset(FontCode code, FontFile& font) {
    return font.glyphOffset(code);
}

// ---- coverage

Coverage CheckCoverage(const std::filesystem::path& font, std::string_view text) {
    Coverage c;
    FontFile f(font);
    if (!f.isOpen()) {
        c.verdict = Coverage::kNoFont;
        return c;
    }
    bool previousUncoded = false, twoUncoded = false;
    TextCodes codes(text);
    for (TextChar ch; codes.next(ch);) {
        if (ch.code == kNoCode) {
            twoUncoded |= previousUncoded;
            previousUncoded = true;
            continue;
        }
        previousUncoded = false;
        if (f.glyphOffset(ch.code)) continue;
        if (c.missing.size() + ch.length <= kMaxMissingBytes)
            c.missing.append(text.substr(ch.offset, ch.length));
        c.verdict = Coverage::kMissingGlyphs;
    }
    if (c.verdict == Coverage::kAccepted && twoUncoded) c.verdict = Coverage::kUncodedBytes;
    return c;
}

std::string MissingGlyphMessage(const Coverage& c) {
    return c.missing + " " + Utf8ToCp932(TableText(kMsgFontNoGlyph));
}

// ---- layout

bool LayoutSegments(const std::filesystem::path& font, const TextParams& params, Point origin,
                    std::vector<TextSegment>& out) {
    FontFile f(font);
    if (!f.isOpen()) return false;
    const double h = std::max(params.height, kMinTextHeight);
    const double p = std::max(params.pitch, kMinTextPitch);
    const double a = NormaliseAngle(ToRadians(params.angle));
    const double u = h / kGlyphGrid;
    const double sign = params.mirror ? -1.0 : 1.0;
    const double c = std::cos(a), s = std::sin(a);
    const double dx = sign * p * c, dy = sign * p * s;
    const auto place = [&](Point o, int gx, int gy) {
        const double x = sign * u * gx, y = u * gy;
        return Point{o.x + (x * c - y * s), o.y + (x * s + y * c)};
    };

    // The segments of each glyph in glyph units, read once per layout: a text repeats its
    // characters, and a glyph read again would read the same bytes.
    struct GlyphStrokes {
        FontCode code;
        std::vector<std::array<uint8_t, 4>> strokes;
    };
    std::vector<GlyphStrokes> seen;
    uint8_t record[kGlyphReadSize];
    Point o = origin;
    TextCodes codes(params.text);
    for (TextChar ch; codes.next(ch);) {
        if (ch.code == kNoCode) continue;  // neither drawn nor advanced
        auto it = std::find_if(seen.begin(), seen.end(),
                               [&](const GlyphStrokes& g) { return g.code == ch.code; });
        if (it == seen.end()) {
            GlyphStrokes g{ch.code, {}};
            if (const std::size_t n = f.readGlyph(ch.code, record)) {
                GlyphDecoder d(record, n);
                int px = 0, py = 0;
                for (GlyphPoint e; d.next(e); px = e.x, py = e.y)
                    if (e.pen && (e.x != px || e.y != py))
                        g.strokes.push_back({uint8_t(px), uint8_t(py), uint8_t(e.x), uint8_t(e.y)});
            }
            seen.push_back(std::move(g));
            it = seen.end() - 1;
        }
        for (const auto& st : it->strokes)
            out.push_back({place(o, st[0], st[1]), place(o, st[2], st[3])});
        o.x += dx;
        o.y += dy;
    }
    return true;
}

TextLayout LayoutText(Board& board, const std::filesystem::path& font, const TextParams& params,
                      Point at) {
    TextLayout result;
    std::vector<TextSegment> segments;
    if (!LayoutSegments(font, params, at, segments)) {
        result.fontMissing = true;
        return result;
    }
    // A stroke stays when its bounds with the pen lie on the board, the rule by which a board
    // file drops elements when it is opened.
    group* g = nullptr;
    for (const TextSegment& seg : segments) {
        line* l = board.CreateLine(params.layer, params.aperture, false, seg.start, seg.end);
        const Box& box = l->bounds;
        if (box.minX < 0 || box.minY < 0 || box.maxX > board.sizeX || box.maxY > board.sizeY) {
            l->recycle(board);
            ++result.dropped;
            continue;
        }
        if (!g) g = board.CreateGroup(Reserved().text);
        board.AppendElement(g, l);
    }
    if (!g) return result;
    const double h = std::max(params.height, kMinTextHeight);
    const double p = std::max(params.pitch, kMinTextPitch);
    g->attribute = params.text.empty() ? kEmptyText : Intern(params.text);
    g->ext = board.CreateTextPlacement(at, ToRadians(params.angle), h, params.mirror ? -p : p);
    result.text = g;
    return result;
}

}  // namespace zevo
