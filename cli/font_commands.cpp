#include "font_commands.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "board/model/board.h"
#include "glyph_editor/font_image.h"
#include "paths/file_io.h"
#include "paths/paths.h"
#include "text/cp932.h"
#include "view/stroke_font.h"

namespace zevo {
namespace {

namespace fs = std::filesystem;

fs::path DefaultFont() {
    return Paths::ForRunningProgram().fontFile();
}

std::string CharOf(FontCode code) {
    const char bytes[2] = {char(LeadOf(code)), char(TrailOf(code))};
    return Cp932ToUtf8(std::string_view(bytes, 2));
}

// Header kind, glyph count and the runs of codes that have a glyph.
int FontInfo(const fs::path& font) {
    const auto bytes = ReadWholeFile(font);
    if (!bytes) {
        std::fprintf(stderr, "font-info: cannot read %s\n", font.string().c_str());
        return 1;
    }
    auto image = std::make_unique<FontImage>();
    const FontLoadResult r = image->Load(*bytes);
    std::printf("file: %s\n", font.string().c_str());
    std::printf("size: %zu bytes\n", bytes->size());
    std::printf("header: %s\n", r.earlierFormat ? "none (earlier format, 42 index rows)"
                                                : "ZEVO FONT DATA-1 (current format, 60 rows)");
    std::printf("glyphs: %d\n", r.glyphs);
    if (r.damaged)
        std::printf("damaged cells: %d (offset past the end or short record)\n", r.damaged);
    if (r.truncated)
        std::printf("truncated: glyphs past %zu bytes were dropped\n", kFontImageLimit);
    std::printf("covered ranges:\n");
    for (int cell = 0; cell < kFontCells;) {
        if (!image->hasGlyph(cell)) {
            ++cell;
            continue;
        }
        int end = cell;
        while (end + 1 < kFontCells && image->hasGlyph(end + 1)) ++end;
        const FontCode a = FontCodeOfCell(cell), b = FontCodeOfCell(end);
        if (a == b)
            std::printf("  %04X        %s\n", a, CharOf(a).c_str());
        else
            std::printf("  %04X-%04X   %s..%s (%d)\n", a, b, CharOf(a).c_str(), CharOf(b).c_str(),
                        end - cell + 1);
        cell = end + 1;
    }
    return 0;
}

bool ParsePoint(const std::string& s, Point& p) {
    const std::size_t comma = s.find(',');
    if (comma == std::string::npos) return false;
    const std::string xs = s.substr(0, comma), ys = s.substr(comma + 1);
    char* endX = nullptr;
    char* endY = nullptr;
    p.x = std::strtod(xs.c_str(), &endX);
    p.y = std::strtod(ys.c_str(), &endY);
    return !xs.empty() && !ys.empty() && *endX == '\0' && *endY == '\0';
}

struct TextOptions {
    std::string text;
    double height = 3.2;
    double pitch = 3.4;
    double angle = 0;
    bool mirror = false;
    int layer = 1;
    int aperture = 4;
    std::string at;
    std::string font;
    std::string in, out;
};

int Text(const TextOptions& o, const BoardFileAccess& files) {
    Point at;
    if (!ParsePoint(o.at, at)) {
        std::fprintf(stderr, "text: --at needs X,Y\n");
        return 2;
    }
    if (o.layer < 0 || o.layer >= kLayers || o.aperture < 0 || o.aperture >= kApertures) {
        std::fprintf(stderr, "text: layer and aperture must lie in 0..255\n");
        return 2;
    }
    const fs::path font =
        o.font.empty() ? FontPath(Paths::ForRunningProgram()) : PathFromUtf8(o.font);
    const std::string text = Utf8ToCp932(o.text);
    if (text.find_first_of("\t\r\n") != std::string::npos) {
        // A board file keeps a tab in a text as the sign of a comma; a line end ends the item.
        std::fprintf(
            stderr, "text: TEXT must not hold a tab or a line end (a board file cannot keep it)\n");
        return 2;
    }

    const Coverage c = CheckCoverage(font, text);
    switch (c.verdict) {
        case Coverage::kAccepted:
            break;
        case Coverage::kNoFont:
            std::fprintf(stderr, "text: no font file (%s)\n", font.string().c_str());
            return 1;
        case Coverage::kMissingGlyphs:
            std::fprintf(stderr, "text: %s\n", Cp932ToUtf8(MissingGlyphMessage(c)).c_str());
            return 1;
        case Coverage::kUncodedBytes:
            std::fprintf(stderr, "text: the text holds control characters\n");
            return 1;
    }

    auto board = std::make_unique<Board>();
    std::string error;
    if (!files.read(*board, PathFromUtf8(o.in), error)) {
        std::fprintf(stderr, "text: cannot read %s: %s\n", o.in.c_str(), error.c_str());
        return 1;
    }
    TextParams p;
    p.text = text;
    p.layer = o.layer;
    p.aperture = o.aperture;
    p.height = o.height;
    p.pitch = o.pitch;
    p.angle = o.angle;
    p.mirror = o.mirror;
    const TextLayout t = LayoutText(*board, font, p, at);
    if (t.fontMissing) {
        std::fprintf(stderr, "text: cannot open the font %s\n", font.string().c_str());
        return 1;
    }
    if (!t.text) {
        std::fprintf(stderr, "text: no stroke of the text lies on the board\n");
        return 1;
    }
    board->AppendElement(nullptr, t.text);
    if (t.dropped)
        std::fprintf(stderr, "text: %d stroke(s) outside the board were left out\n", t.dropped);
    if (!files.write(*board, PathFromUtf8(o.out))) {
        std::fprintf(stderr, "text: cannot write %s\n", o.out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

void AddFontCommands(CLI::App& app, const BoardFileAccess& files, int& exitCode) {
    auto font = std::make_shared<std::string>();
    CLI::App* info = app.add_subcommand("font-info", "Describe a stroke font file");
    info->add_option("FONT", *font, "font file (default: the program's zevofont.dat)");
    info->callback([font, &exitCode] {
        exitCode = FontInfo(font->empty() ? DefaultFont() : PathFromUtf8(*font));
    });

    if (!files.read || !files.write) return;
    auto o = std::make_shared<TextOptions>();
    CLI::App* text = app.add_subcommand("text", "Lay a stroke-font text into a board");
    text->add_option("TEXT", o->text, "the text (UTF-8; stored as Shift-JIS)")->required();
    text->add_option("--height", o->height, "character height in mm")->required();
    text->add_option("--pitch", o->pitch, "distance between character origins in mm")->required();
    text->add_option("--angle", o->angle, "angle in degrees");
    text->add_flag("--mirror", o->mirror, "mirror left to right");
    text->add_option("--layer", o->layer, "layer number")->required();
    text->add_option("--aperture", o->aperture, "round aperture number")->required();
    text->add_option("--at", o->at, "insertion point X,Y in mm")->required();
    text->add_option("--font", o->font, "font file (default: the program's zevofont.dat)");
    text->add_option("IN", o->in, "board file to read")->required();
    text->add_option("OUT", o->out, "board file to write")->required();
    text->callback([o, files, &exitCode] { exitCode = Text(*o, files); });
}

}  // namespace zevo
