#include "glyph_editor/font_image.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "../paths/scratch_dir.h"
#include "../view/font_fixture.h"
#include "glyph_editor/glyph_editor.h"

namespace zevo {
namespace {

using testing::FontBytes;
using testing::Record;
using testing::ScratchDir;
using testing::XY0;

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// The image a font of these glyphs must have: header, index, records packed in index order.
std::string Rebuilt(const std::map<int, std::vector<uint8_t>>& glyphs) {
    std::string f(kFontIndexEnd, '\0');
    f.replace(0, kFontHeaderTextSize, kFontHeaderText, kFontHeaderTextSize);
    for (const auto& [cell, rec] : glyphs) {
        if (rec.empty()) continue;
        WriteCellValue(reinterpret_cast<uint8_t*>(&f[FontCellOffset(cell)]), uint32_t(f.size()));
        f.append(rec.begin(), rec.end());
    }
    return f;
}

TEST(FontImage, StartsEmptyWithTheHeader) {
    FontImage img;
    EXPECT_EQ(img.total(), 33968u);
    EXPECT_TRUE(HasCurrentFontHeader(img.bytes()));
    EXPECT_EQ(img.glyphCount(), 0);
    EXPECT_FALSE(img.needsSave());
}

TEST(FontImage, LoadingPacksRecordsInIndexOrder) {
    // Records in the file out of index order, with a hole between them: both are packed.
    std::string f = FontBytes().build();
    const std::string a = Record({XY0(1, true), 2}), b = Record({0x80 | 0x20 | 7});
    f += std::string(10, 'x');
    const uint32_t atB = uint32_t(f.size());
    f += b;
    const uint32_t atA = uint32_t(f.size());
    f += a;
    WriteCellValue(reinterpret_cast<uint8_t*>(&f[FontCellOffset(FontCellOfCode(0x8260))]), atA);
    WriteCellValue(reinterpret_cast<uint8_t*>(&f[FontCellOffset(FontCellOfCode(0x8261))]), atB);
    FontImage img;
    const FontLoadResult r = img.Load(f);
    EXPECT_FALSE(r.earlierFormat);
    EXPECT_EQ(r.glyphs, 2);
    EXPECT_FALSE(img.changed());
    EXPECT_EQ(img.bytes(),
              Rebuilt({{FontCellOfCode(0x8260), Bytes(a)}, {FontCellOfCode(0x8261), Bytes(b)}}));
}

TEST(FontImage, EarlierFormatIsConvertedOnLoadAndSavedWithTheHeader) {
    const std::string rec = Record({XY0(3, true), 3});
    const std::string old = FontBytes(false).glyph(0xEA40, rec).glyph(0x8140, rec).build();
    ASSERT_EQ(old.size(), kFontOldIndexEnd + 2 * rec.size());
    FontImage img;
    const FontLoadResult r = img.Load(old);
    EXPECT_TRUE(r.earlierFormat);
    EXPECT_EQ(r.glyphs, 2);
    EXPECT_EQ(img.bytes(), Rebuilt({{FontCellOfCode(0x8140), Bytes(rec)},
                                    {FontCellOfCode(0xEA40), Bytes(rec)}}));
    // Loading alone changes nothing to be saved; a glyph edit makes the new format go out.
    ScratchDir dir;
    EXPECT_EQ(img.Save(dir / "f.dat"), FontSaveResult::kNothingToWrite);
    EXPECT_FALSE(std::filesystem::exists(dir / "f.dat"));
    ASSERT_TRUE(img.Splice(FontCellOfCode(0x8141), Bytes(rec)));
    EXPECT_EQ(img.Save(dir / "f.dat"), FontSaveResult::kWritten);
    EXPECT_EQ(dir.Get("f.dat"), std::string(img.bytes()));
    EXPECT_TRUE(HasCurrentFontHeader(dir.Get("f.dat")));
}

TEST(FontImage, DamagedCellsAreDroppedAndShortFilesEndTheIndex) {
    std::string f =
        FontBytes().glyph(0x8260, Record({XY0(1, true), 1})).rawCell(0x8261, 9'000'000).build();
    f += "\x02\x61";  // 'C': claims two entries, the file ends after one
    WriteCellValue(reinterpret_cast<uint8_t*>(&f[FontCellOffset(FontCellOfCode(0x8262))]),
                   uint32_t(f.size() - 2));
    FontImage img;
    FontLoadResult r = img.Load(f);
    EXPECT_EQ(r.glyphs, 1);
    EXPECT_EQ(r.damaged, 2);
    EXPECT_TRUE(img.hasGlyph(FontCellOfCode(0x8260)));
    EXPECT_FALSE(img.hasGlyph(FontCellOfCode(0x8261)));
    r = img.Load(std::string("ZEVO FONT DATA-1\0", 17));
    EXPECT_EQ(r.glyphs, 0);
    EXPECT_EQ(img.total(), kFontIndexEnd);
}

TEST(FontImage, LoadingStopsPastTheCapacity) {
    // 9000 longest records are 4.6 MB: loading stops after the record that passes the limit.
    std::string rec(1, char(255));
    for (int i = 0; i < 255; ++i) rec += std::string{char(0xE0 | (i % 32)), char(i % 32)};
    FontBytes b;
    for (int cell = 0; cell < 9000; ++cell) b.glyph(FontCodeOfCell(cell), rec);
    FontImage img;
    const FontLoadResult r = img.Load(b.build());
    EXPECT_TRUE(r.truncated);
    const int expect = int((kFontImageLimit - kFontIndexEnd) / rec.size()) + 1;
    EXPECT_EQ(r.glyphs, expect);
    EXPECT_GT(img.total(), kFontImageLimit);
    EXPECT_LE(img.total(), kFontImageLimit + rec.size());
    // A full font refuses to grow and still shrinks.
    EXPECT_FALSE(img.Splice(expect, Bytes(rec)));
    EXPECT_EQ(img.glyphCount(), expect);
    EXPECT_TRUE(img.Splice(0, {}));
    EXPECT_EQ(img.glyphCount(), expect - 1);
}

TEST(FontImage, SplicingInFrontOfAllGlyphsGoesTo33968) {
    const std::string a = Record({XY0(1, true), 1}), b = Record({XY0(2, true), 2});
    FontImage img;
    img.Load(FontBytes().glyph(0x8260, a).glyph(0x8261, b).build());
    const auto rec = Bytes(Record({0x80 | 0x40 | 9}));
    ASSERT_TRUE(img.Splice(FontCellOfCode(0x8140), rec));
    EXPECT_EQ(img.cellValue(FontCellOfCode(0x8140)), 33968u);
    EXPECT_EQ(img.cellValue(FontCellOfCode(0x8260)), 33968u + rec.size());
    EXPECT_EQ(img.cellValue(FontCellOfCode(0x8261)), 33968u + rec.size() + a.size());
    EXPECT_TRUE(img.changed());
}

TEST(FontImage, ClearingAGlyphRemovesItsRecordAndZeroesItsCell) {
    const std::string a = Record({XY0(1, true), 1}), b = Record({XY0(2, true), 2});
    FontImage img;
    img.Load(FontBytes().glyph(0x8260, a).glyph(0x8261, b).build());
    ASSERT_TRUE(img.Splice(FontCellOfCode(0x8260), {}));
    EXPECT_EQ(img.cellValue(FontCellOfCode(0x8260)), 0u);
    EXPECT_EQ(img.bytes(), Rebuilt({{FontCellOfCode(0x8261), Bytes(b)}}));
    // Deleting every glyph leaves nothing to write even though the font changed.
    ASSERT_TRUE(img.Splice(FontCellOfCode(0x8261), {}));
    EXPECT_TRUE(img.changed());
    EXPECT_EQ(img.total(), kFontIndexEnd);
    EXPECT_FALSE(img.needsSave());
}

TEST(FontImage, RandomSplicesMatchAFreshlyRebuiltImage) {
    std::mt19937 rng(7);
    FontImage img;
    std::map<int, std::vector<uint8_t>> model;
    for (int step = 0; step < 600; ++step) {
        // Cells bunch up so that the same glyph is hit again and neighbours shift each other.
        const int cell = std::uniform_int_distribution<int>(0, 40)(rng) * 277 % kFontCells;
        GlyphBuffer g;
        const int n = std::uniform_int_distribution<int>(0, 12)(rng);
        for (int i = 0; i < n; ++i)
            g.append({bool(rng() & 1), uint8_t(rng() % 32), uint8_t(rng() % 32)});
        if (rng() % 5 == 0) g.clear();
        const auto rec = g.encode();
        ASSERT_TRUE(img.Splice(cell, rec));
        model[cell] = rec;
        ASSERT_EQ(img.bytes(), Rebuilt(model)) << "step " << step;
    }
}

TEST(FontImage, SaveReplacesTheFileOrReportsFailure) {
    ScratchDir dir;
    FontImage img;
    ASSERT_TRUE(img.Splice(5, Bytes(Record({XY0(1, true), 1}))));
    dir.Put("zevofont.dat", "old");
    EXPECT_EQ(img.Save(dir / "zevofont.dat"), FontSaveResult::kWritten);
    EXPECT_EQ(dir.Get("zevofont.dat"), std::string(img.bytes()));
    EXPECT_FALSE(img.changed());
    ASSERT_TRUE(img.Splice(6, Bytes(Record({XY0(1, true), 1}))));
    EXPECT_EQ(img.Save(dir / "no-such-folder" / "zevofont.dat"), FontSaveResult::kCannotWrite);
    EXPECT_TRUE(img.needsSave());
    // Only the font file is left in the folder: no temporary files.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace zevo
