// The ZevoNC set: preparing the folder, the fixed layer files, inner layers and their D codes,
// the three drill programs.
#include "output/zevonc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "output/output_fixture.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::ExpectSameAsFile;
using testing::MakeFeatureBoard;
using testing::NameLayer;
using testing::ScratchDir;
namespace fs = std::filesystem;

TEST(ZevoNcFolder, PreparedEmptyWithoutTouchingAnythingElse) {
    ScratchDir dir;
    dir.Put("keep.txt", "x");
    dir.Put("ZevoNC/old/deep.grb", "x");
    dir.Put("ZevoNC/PatternA", "x");
    dir.Put("elsewhere/precious", "x");
    std::error_code ec;
    fs::create_directory_symlink(dir / "elsewhere", dir / "ZevoNC" / "link", ec);
    if (ec) GTEST_SKIP() << "no symbolic links here";
    auto folder = PrepareZevoNcFolder(dir.path());
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, dir / "ZevoNC");
    EXPECT_TRUE(fs::is_empty(*folder));
    EXPECT_TRUE(fs::exists(dir / "keep.txt"));
    EXPECT_TRUE(fs::exists(dir / "elsewhere" / "precious"));  // a link is removed, not followed

    // A file of that name makes way for the folder; a link to a folder is replaced, and the
    // folder it pointed to keeps its files.
    fs::remove_all(*folder);
    dir.Put("ZevoNC", "file");
    ASSERT_TRUE(PrepareZevoNcFolder(dir.path()));
    EXPECT_TRUE(fs::is_directory(dir / "ZevoNC"));
    fs::remove_all(dir / "ZevoNC");
    fs::create_directory_symlink(dir / "elsewhere", dir / "ZevoNC");
    ASSERT_TRUE(PrepareZevoNcFolder(dir.path()));
    EXPECT_FALSE(fs::is_symlink(dir / "ZevoNC"));
    EXPECT_TRUE(fs::exists(dir / "elsewhere" / "precious"));

    EXPECT_FALSE(PrepareZevoNcFolder(dir / "no" / "such"));
}

TEST(ZevoNcSet, FixedFilesInnerLayersAndDrills) {
    Board b;
    MakeFeatureBoard(b);
    NameLayer(b, 20, "内層2");
    b.AppendElement(nullptr, b.CreateLand(20, 60, true, {30, 30}));
    NameLayer(b, 15, "パターン3");  // a pattern layer without elements gets no file
    ScratchDir dir;
    DCodeTables codes = DCodeTables::Defaults();
    // Aperture 50 is used on an inner layer only. Its table code equals the automatic code of
    // aperture 9, which the same inner layer uses too: one code must not stand for two sizes.
    codes.round[50] = 14;
    OutputReport r;
    ASSERT_TRUE(WriteZevoNcSet(b, dir.path(), codes, r));
    const fs::path nc = dir / "ZevoNC";
    std::set<std::string> files;
    for (const auto& e : fs::directory_iterator(nc)) files.insert(e.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"PatternA", "PatternB", "SilkA", "MaskA", "MaskB",
                                            "Board", "Drill", "DrillNTH", "InnerLy1", "InnerLy2",
                                            "DrillNC1", "DrillNC2", "DrillNC"}));
    ExpectSameAsFile(dir.Get("ZevoNC/InnerLy1"), "zevonc_InnerLy1");
    ExpectSameAsFile(dir.Get("ZevoNC/Drill"), "zevonc_Drill");
    ExpectSameAsFile(dir.Get("ZevoNC/DrillNC"), "zevonc_DrillNC");
    EXPECT_EQ(dir.Get("ZevoNC/DrillNC2"),
              "M48\r\nM71\r\nT01C3.200\r\n%\r\nG90\r\nG81\r\nT1\r\nX70000Y10000\r\nX10000Y50000\r\n"
              "M30");

    // Every D code of the set means one aperture, in every file.
    std::map<std::string, std::string> meaning;
    const std::regex def(R"(%ADD(\d+)([CR],[0-9.X]+)\*%)");
    for (const std::string& f : files) {
        const std::string text = dir.Get("ZevoNC/" + f);
        std::set<std::string> inFile;
        for (std::sregex_iterator it(text.begin(), text.end(), def), end; it != end; ++it) {
            const std::string code = (*it)[1], shape = (*it)[2];
            EXPECT_TRUE(inFile.insert(code).second) << f << " defines D" << code << " twice";
            auto [pos, fresh] = meaning.emplace(code, shape);
            EXPECT_EQ(pos->second, shape) << "D" << code << " in " << f;
        }
    }
    EXPECT_NE(codes.round[50], 14);  // the automatic codes stay in the table
    // The square land on layer 8 cannot be drilled.
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "ホール出力できない要素があります");
}

TEST(ZevoNcSet, EmptyBoardGivesAnEmptyFolder) {
    Board b;
    ScratchDir dir;
    DCodeTables codes = DCodeTables::Defaults();
    OutputReport r;
    ASSERT_TRUE(WriteZevoNcSet(b, dir.path(), codes, r));
    EXPECT_TRUE(fs::is_empty(dir / "ZevoNC"));
    EXPECT_TRUE(r.messages.empty());
}

}  // namespace
}  // namespace zevo
