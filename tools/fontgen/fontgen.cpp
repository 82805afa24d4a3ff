// Builds the shipped stroke font "zevofont.dat" from the Hershey stroke data (Debian package
// hershey-fonts-data), so that a fresh install has a font for the text tool.
//
//   zevo_fontgen --hershey /usr/share/hershey-fonts --out resources/zevofont.dat
//   zevo_fontgen --sheet /usr/share/hershey-fonts/japanese.jhf sheet.png
//   zevo_fontgen --preview resources/zevofont.dat preview.png
//
// The output depends only on the input files: the same data always gives the same bytes.
//
// Sources and placement in the 32 x 32 cell (y up):
//   - Latin letters, digits and signs: the simplex Roman face, one Hershey unit per cell, the
//     baseline at y = 7 (capitals reach y = 28, descenders y = 0) and every glyph's advance
//     centred in the cell, so a pitch a little above the height spaces the letters evenly.
//   - Greek letters and mathematical signs: the simplex Greek and the lower mathematical face,
//     placed the same way.
//   - Kana, a few kanji and Japanese marks: the Japanese face. Its glyphs carry no codes; the
//     table below records which glyph is which, read off a contact sheet (--sheet). They are
//     scaled by 1.1 around the middle of the face's box.
//   - Small kana are the full ones scaled down towards the bottom of the cell; ー, ヴ, 「」, ・,
//     ゛ and ゜ are drawn here as strokes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "glyph_editor/font_image.h"
#include "glyph_editor/glyph_editor.h"
#include "hershey.h"
#include "sheet.h"
#include "text/cp932.h"
#include "view/font_format.h"

namespace {

using fontgen::HGlyph;
using fontgen::HPoint;

struct DPoint {
    double x, y;
};
using Stroke = std::vector<DPoint>;
using Strokes = std::vector<Stroke>;

// Hershey (y down, origin near the middle) to cell coordinates for the Latin-style faces.
Strokes PlaceLatin(const HGlyph& g) {
    const double centre = (g.left + g.right) / 2.0;
    Strokes out;
    for (const auto& s : g.strokes) {
        Stroke t;
        for (const HPoint& p : s) t.push_back({16 + (p.x - centre), 16.0 - p.y});
        out.push_back(t);
    }
    return out;
}

// The Japanese face spans x -11..13, y -13..13.
Strokes PlaceJapanese(const HGlyph& g) {
    Strokes out;
    for (const auto& s : g.strokes) {
        Stroke t;
        for (const HPoint& p : s) t.push_back({16 + 1.1 * (p.x - 1), 16 - 1.1 * p.y});
        out.push_back(t);
    }
    return out;
}

// Small kana: the full glyph scaled towards a point low in the cell.
Strokes Small(const Strokes& full) {
    Strokes out = full;
    for (Stroke& s : out)
        for (DPoint& p : s) p = {16 + 0.7 * (p.x - 16), 2 + 0.7 * (p.y - 2)};
    return out;
}

Strokes Join(Strokes a, const Strokes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The marks drawn at the upper right of voiced and semi-voiced kana.
const Strokes kVoicedMarks = {{{23, 30}, {25, 26}}, {{27, 31}, {29, 27}}};
const Strokes kSemiVoicedMark = {
    {{26, 31}, {28, 31}, {29, 30}, {29, 28}, {28, 27}, {26, 27}, {25, 28}, {25, 30}, {26, 31}}};

// The Japanese face, in file order. Glyphs 27-32, 84-87 and 164-167 are blank placeholders; the
// duplicates of い, え, う (and their katakana) in the y and w rows are left out too. Glyph 25
// stands among the numerals but is drawn as 入 (the strokes meet at the top), so it is taken as 入.
struct JapaneseEntry {
    int index;
    const char* text;
};
constexpr JapaneseEntry kJapanese[] = {
    {0, "。"},   {1, "、"},   {2, "―"},    {3, "日"},   {4, "円"},   {5, "年"},   {6, "大"},
    {7, "国"},   {8, "人"},   {9, "東"},   {10, "中"},  {11, "本"},  {12, "京"},  {13, "出"},
    {14, "時"},  {15, "上"},  {16, "者"},  {17, "十"},  {18, "一"},  {19, "二"},  {20, "三"},
    {21, "四"},  {22, "五"},  {23, "六"},  {24, "七"},  {25, "入"},  {26, "九"},  {33, "あ"},
    {34, "い"},  {35, "う"},  {36, "え"},  {37, "お"},  {38, "か"},  {39, "き"},  {40, "く"},
    {41, "け"},  {42, "こ"},  {43, "さ"},  {44, "し"},  {45, "す"},  {46, "せ"},  {47, "そ"},
    {48, "た"},  {49, "ち"},  {50, "つ"},  {51, "て"},  {52, "と"},  {53, "な"},  {54, "に"},
    {55, "ぬ"},  {56, "ね"},  {57, "の"},  {58, "は"},  {59, "ひ"},  {60, "ふ"},  {61, "へ"},
    {62, "ほ"},  {63, "ま"},  {64, "み"},  {65, "む"},  {66, "め"},  {67, "も"},  {68, "や"},
    {70, "ゆ"},  {72, "よ"},  {73, "ら"},  {74, "り"},  {75, "る"},  {76, "れ"},  {77, "ろ"},
    {78, "わ"},  {79, "ゐ"},  {81, "ゑ"},  {82, "を"},  {83, "ん"},  {88, "が"},  {89, "ぎ"},
    {90, "ぐ"},  {91, "げ"},  {92, "ご"},  {93, "ざ"},  {94, "じ"},  {95, "ず"},  {96, "ぜ"},
    {97, "ぞ"},  {98, "だ"},  {99, "ぢ"},  {100, "づ"}, {101, "で"}, {102, "ど"}, {103, "ば"},
    {104, "び"}, {105, "ぶ"}, {106, "べ"}, {107, "ぼ"}, {108, "ぱ"}, {109, "ぴ"}, {110, "ぷ"},
    {111, "ぺ"}, {112, "ぽ"}, {113, "ア"}, {114, "イ"}, {115, "ウ"}, {116, "エ"}, {117, "オ"},
    {118, "カ"}, {119, "キ"}, {120, "ク"}, {121, "ケ"}, {122, "コ"}, {123, "サ"}, {124, "シ"},
    {125, "ス"}, {126, "セ"}, {127, "ソ"}, {128, "タ"}, {129, "チ"}, {130, "ツ"}, {131, "テ"},
    {132, "ト"}, {133, "ナ"}, {134, "ニ"}, {135, "ヌ"}, {136, "ネ"}, {137, "ノ"}, {138, "ハ"},
    {139, "ヒ"}, {140, "フ"}, {141, "ヘ"}, {142, "ホ"}, {143, "マ"}, {144, "ミ"}, {145, "ム"},
    {146, "メ"}, {147, "モ"}, {148, "ヤ"}, {150, "ユ"}, {152, "ヨ"}, {153, "ラ"}, {154, "リ"},
    {155, "ル"}, {156, "レ"}, {157, "ロ"}, {158, "ワ"}, {159, "ヰ"}, {161, "ヱ"}, {162, "ヲ"},
    {163, "ン"}, {168, "ガ"}, {169, "ギ"}, {170, "グ"}, {171, "ゲ"}, {172, "ゴ"}, {173, "ザ"},
    {174, "ジ"}, {175, "ズ"}, {176, "ゼ"}, {177, "ゾ"}, {178, "ダ"}, {179, "ヂ"}, {180, "ヅ"},
    {181, "デ"}, {182, "ド"}, {183, "バ"}, {184, "ビ"}, {185, "ブ"}, {186, "ベ"}, {187, "ボ"},
    {188, "パ"}, {189, "ピ"}, {190, "プ"}, {191, "ペ"}, {192, "ポ"},
};

// Small kana and the full kana they are made from.
constexpr const char* kSmallKana[][2] = {
    {"ぁ", "あ"}, {"ぃ", "い"}, {"ぅ", "う"}, {"ぇ", "え"}, {"ぉ", "お"}, {"っ", "つ"},
    {"ゃ", "や"}, {"ゅ", "ゆ"}, {"ょ", "よ"}, {"ゎ", "わ"}, {"ァ", "ア"}, {"ィ", "イ"},
    {"ゥ", "ウ"}, {"ェ", "エ"}, {"ォ", "オ"}, {"ッ", "ツ"}, {"ャ", "ヤ"}, {"ュ", "ユ"},
    {"ョ", "ヨ"}, {"ヮ", "ワ"}, {"ヵ", "カ"}, {"ヶ", "ケ"},
};

// The simplex Greek face holds the Greek letters at the places of the Latin ones.
constexpr const char* kGreekUpper[][2] = {
    {"A", "Α"}, {"B", "Β"}, {"G", "Γ"}, {"D", "Δ"}, {"E", "Ε"}, {"Z", "Ζ"}, {"H", "Η"}, {"Q", "Θ"},
    {"I", "Ι"}, {"K", "Κ"}, {"L", "Λ"}, {"M", "Μ"}, {"N", "Ν"}, {"X", "Ξ"}, {"O", "Ο"}, {"P", "Π"},
    {"R", "Ρ"}, {"S", "Σ"}, {"T", "Τ"}, {"U", "Υ"}, {"F", "Φ"}, {"C", "Χ"}, {"Y", "Ψ"}, {"W", "Ω"},
};

// Glyphs of the lower mathematical face (index in the file) and their characters.
constexpr JapaneseEntry kMath[] = {
    {1, "±"},  {3, "×"},  {6, "≦"},  {7, "≧"},  {31, "≠"}, {32, "≡"}, {62, "∝"}, {63, "∞"},
    {64, "°"}, {66, "√"}, {72, "∈"}, {73, "→"}, {74, "↑"}, {75, "←"}, {76, "↓"}, {77, "∂"},
    {78, "∇"}, {86, "∃"}, {88, "÷"}, {89, "∥"}, {90, "⊥"}, {92, "∠"},
};

// Shapes of the symbol face: index and character.
constexpr JapaneseEntry kSymbols[] = {
    {40, "○"}, {41, "□"}, {42, "△"}, {43, "◇"}, {44, "☆"},
};

zevo::FontCode CodeOf(const char* utf8) {
    const std::string s = zevo::Utf8ToCp932(utf8);
    if (s.size() != 2) {
        std::fprintf(stderr, "fontgen: %s has no double-byte code\n", utf8);
        std::exit(1);
    }
    return zevo::MakeCode(static_cast<unsigned char>(s[0]), static_cast<unsigned char>(s[1]));
}

// The glyph entries of a set of strokes: each point rounded to the cell grid and kept inside
// it; a stroke that starts where the pen is continues without a move.
bool ToBuffer(const Strokes& strokes, zevo::GlyphBuffer& g) {
    g.clear();
    zevo::GridCell pen{0, 0};  // decoding starts at (0, 0)
    for (const Stroke& s : strokes) {
        std::vector<zevo::GridCell> pts;
        for (const DPoint& p : s) {
            const zevo::GridCell c{std::clamp(int(std::lround(p.x)), 0, 31),
                                   std::clamp(int(std::lround(p.y)), 0, 31)};
            if (pts.empty() || !(pts.back() == c)) pts.push_back(c);
        }
        if (pts.size() < 2) continue;  // nothing left to draw at this size
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const bool down = i > 0;
            if (!down && pts[0] == pen) continue;
            if (!g.append({down, uint8_t(pts[i].x), uint8_t(pts[i].y)})) return false;
        }
        pen = pts.back();
    }
    return true;
}

struct Builder {
    zevo::FontImage image;
    std::map<zevo::FontCode, Strokes> glyphs;
    int failures = 0;

    void put(zevo::FontCode code, const Strokes& s) { glyphs[code] = s; }
    void put(const char* utf8, const Strokes& s) { put(CodeOf(utf8), s); }
    const Strokes& get(const char* utf8) {
        const auto it = glyphs.find(CodeOf(utf8));
        if (it == glyphs.end()) {
            std::fprintf(stderr, "fontgen: %s is needed before it is made\n", utf8);
            std::exit(1);
        }
        return it->second;
    }

    bool write(const std::string& out) {
        image.Clear();
        for (const auto& [code, strokes] : glyphs) {
            zevo::GlyphBuffer g;
            if (!ToBuffer(strokes, g)) {
                std::fprintf(stderr, "fontgen: glyph %04X has too many points\n", code);
                ++failures;
                continue;
            }
            const std::vector<uint8_t> bytes = g.encode();
            if (bytes.empty()) continue;
            image.Splice(zevo::FontCellOfCode(code), bytes);
        }
        // The ideographic space (and so the blank) needs a glyph, or every text with a blank
        // fails the coverage check: a record without entries, which draws nothing.
        const uint8_t blank[] = {0};
        image.Splice(zevo::FontCellOfCode(zevo::kIdeographicSpace), blank);
        return image.Save(out) == zevo::FontSaveResult::kWritten;
    }
};

std::vector<HGlyph> Need(const std::string& dir, const char* name, std::size_t count) {
    std::vector<HGlyph> g = fontgen::ReadHersheyFile(dir + "/" + name);
    if (g.size() < count) {
        std::fprintf(stderr, "fontgen: %s/%s is missing or short (install hershey-fonts-data)\n",
                     dir.c_str(), name);
        std::exit(1);
    }
    return g;
}

int Build(const std::string& dir, const std::string& out) {
    const std::vector<HGlyph> roman = Need(dir, "rowmans.jhf", 95);
    const std::vector<HGlyph> greek = Need(dir, "greek.jhf", 95);
    const std::vector<HGlyph> math = Need(dir, "mathlow.jhf", 95);
    const std::vector<HGlyph> symbols = Need(dir, "symbolic.jhf", 95);
    const std::vector<HGlyph> japanese = Need(dir, "japanese.jhf", 193);
    Builder b;

    // Printable ASCII through the full-width codes the board editor maps it to. The Roman
    // backslash goes to the full-width backslash; 0x5C itself reads as the yen sign.
    for (int c = 0x21; c <= 0x7E; ++c) {
        const Strokes s = PlaceLatin(roman[c - 0x20]);
        if (c == '\\') {
            b.put(zevo::MakeCode(0x81, 0x5F), s);
            continue;
        }
        b.put(zevo::FullWidthCodeOfByte(static_cast<unsigned char>(c)), s);
    }
    b.put(zevo::FullWidthCodeOfByte('\\'),
          Join(PlaceLatin(roman['Y' - 0x20]), {{{10, 16}, {22, 16}}, {{10, 12}, {22, 12}}}));

    for (const auto& [latin, letter] : kGreekUpper) {
        const int capital = latin[0], small = capital + ('a' - 'A');
        b.put(letter, PlaceLatin(greek[capital - 0x20]));
        // The small letters follow the capitals 0x20 codes later, in the same order.
        b.put(static_cast<zevo::FontCode>(CodeOf(letter) + 0x20), PlaceLatin(greek[small - 0x20]));
    }
    b.put("μ", PlaceLatin(greek['m' - 0x20]));  // the Greek mu doubles as the micro sign
    for (const JapaneseEntry& e : kMath) b.put(e.text, PlaceLatin(math[e.index]));
    for (const JapaneseEntry& e : kSymbols) b.put(e.text, PlaceLatin(symbols[e.index]));

    for (const JapaneseEntry& e : kJapanese) b.put(e.text, PlaceJapanese(japanese[e.index]));
    for (const auto& [small, full] : kSmallKana) b.put(small, Small(b.get(full)));
    b.put("ヴ", Join(b.get("ウ"), kVoicedMarks));
    b.put("ー", {{{4, 16}, {28, 16}}});
    b.put("「", {{{22, 30}, {11, 30}, {11, 14}}});
    b.put("」", {{{21, 18}, {21, 2}, {10, 2}}});
    b.put("・", {{{16, 17}, {17, 16}, {16, 15}, {15, 16}, {16, 17}}});
    b.put("゛", {{{12, 26}, {15, 20}}, {{18, 27}, {21, 21}}});
    b.put("゜", {{{16, 26}, {19, 25}, {20, 22}, {18, 19}, {15, 19}, {13, 21}, {13, 24}, {16, 26}}});

    if (!b.write(out)) {
        std::fprintf(stderr, "fontgen: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("fontgen: %zu glyphs, %zu bytes -> %s\n", b.glyphs.size(), b.image.total(),
                out.c_str());
    return b.failures ? 1 : 0;
}

// Every glyph of a font file on a contact sheet, in index order, to check the result by eye.
int Preview(const std::string& font, const std::string& png) {
    zevo::FontImage image;
    if (!image.LoadFile(font).found) return 1;
    std::vector<HGlyph> glyphs;
    for (int cell = 0; cell < zevo::kFontCells; ++cell) {
        if (!image.hasGlyph(cell)) continue;
        HGlyph h;
        for (const zevo::GlyphStroke& s :
             zevo::StrokesOf(zevo::GlyphBuffer::FromRecord(image.record(cell))))
            h.strokes.push_back({{s.from.x - 16, 16 - s.from.y}, {s.to.x - 16, 16 - s.to.y}});
        // The cell's frame, faintly: its corners.
        h.strokes.push_back({{-16, 16}, {-15, 16}});
        h.strokes.push_back({{15, -15}, {16, -15}});
        glyphs.push_back(h);
    }
    const std::vector<HGlyph> r = fontgen::ReadHersheyFile("/usr/share/hershey-fonts/rowmans.jhf");
    std::vector<HGlyph> digits;
    if (r.size() >= 26) digits.assign(r.begin() + 16, r.begin() + 26);
    return fontgen::WriteContactSheet(glyphs, digits, png, 20) ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: zevo_fontgen --hershey DIR --out FILE\n"
                 "       zevo_fontgen --sheet FILE.jhf OUT.png [ROMAN.jhf]\n"
                 "       zevo_fontgen --preview zevofont.dat OUT.png\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--sheet") == 0) {
        const std::string roman = argc >= 5 ? argv[4] : "/usr/share/hershey-fonts/rowmans.jhf";
        const std::vector<HGlyph> r = fontgen::ReadHersheyFile(roman);
        std::vector<HGlyph> digits;
        if (r.size() >= 26) digits.assign(r.begin() + 16, r.begin() + 26);
        return fontgen::WriteContactSheet(fontgen::ReadHersheyFile(argv[2]), digits, argv[3], 12)
                   ? 0
                   : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--preview") == 0) return Preview(argv[2], argv[3]);
    std::string dir, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--hershey") == 0)
            dir = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0)
            out = argv[i + 1];
        else
            return Usage();
    }
    if (dir.empty() || out.empty()) return Usage();
    return Build(dir, out);
}
