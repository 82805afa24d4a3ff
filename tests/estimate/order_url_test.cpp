// The maker table as shipped and from its settings file, the presets of the board maker, and the
// order form's query.
#include "estimate/order_url.h"

#include <gtest/gtest.h>

#include "estimate/maker_table.h"
#include "text/cp932.h"

namespace zevo {
namespace {

TEST(MakerTable, OneMakerAndThreeGenericEntries) {
    const auto t = MakerTable(ParseMakerSettings(""));
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].name, kDefaultMakerName);
    EXPECT_FALSE(t[0].hasOrderForm());  // shipped without a URL: "見積" stays off
    EXPECT_EQ(t[0].rows.size(), 13u);
    EXPECT_EQ(t[0].options.size(), 4u);
    EXPECT_EQ(t[1].name, "データ作成 (ﾄﾞﾘﾙ=NC)");
    EXPECT_EQ(t[2].name, "データ作成 (ﾄﾞﾘﾙ=TH/NTH)");
    EXPECT_EQ(t[3].name, "データ作成 (ﾄﾞﾘﾙ=ｶﾞｰﾊﾞｰ)");
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_FALSE(t[i].hasOrderForm());
        EXPECT_FALSE(t[i].allowsSizes());
        EXPECT_TRUE(t[i].options.empty());
    }
    EXPECT_EQ(t[1].rows.size(), 16u);
    EXPECT_EQ(t[2].rows.size(), 17u);
    EXPECT_EQ(t[2].rows[8].zevoNc, "DrillNC2");
    EXPECT_EQ(t[3].rows[7].zevoNc, "Drills");
    EXPECT_EQ(t[3].rows[15].sideA, ".GL9");
}

TEST(MakerTable, TheSettingsFileNamesTheMaker) {
    const std::string bytes = Utf8ToCp932(
        "; my fab\r\n[Other]\r\nURL=http://wrong\r\n[Maker]\r\nName = 試作基板屋 \r\n"
        "URL=https://fab.example/order\r\nbroken line\r\n");
    const MakerSettings s = ParseMakerSettings(bytes);
    EXPECT_EQ(s.name, "試作基板屋");
    EXPECT_EQ(s.url, "https://fab.example/order");
    EXPECT_TRUE(MakerTable(s)[0].hasOrderForm());
    EXPECT_EQ(ReadMakerSettings("/nonexistent/Ordavist.ini").name, kDefaultMakerName);
}

TEST(MakerTable, NewNamesBySide) {
    const auto t = MakerTable(ParseMakerSettings(""));
    EXPECT_EQ(NewFileName(t[0].rows[0], false, "amp.pcb"), "ptn_top.grb");
    EXPECT_EQ(NewFileName(t[0].rows[0], true, "amp.pcb"), "ptn_btm.grb");  // side B swaps
    EXPECT_EQ(NewFileName(t[0].rows[1], true, "amp.pcb"), "ptn_top.grb");
    EXPECT_EQ(NewFileName(t[0].rows[6], true, "amp.pcb"), "outline.grb");
    // Suffixes replace the last extension.
    EXPECT_EQ(NewFileName(t[2].rows[0], false, "amp.pcb"), "amp.GTL");
    EXPECT_EQ(NewFileName(t[2].rows[0], true, "amp.pcb"), "amp.GBL");
    EXPECT_EQ(NewFileName(t[2].rows[8], false, "amp.pcb"), "amp-NPTH.TXT");
    EXPECT_EQ(NewFileName(t[2].rows[0], false, "a.b.pcb"), "a.b.GTL");
}

TEST(MakerTable, PresetsFromLayersAndSides) {
    EstimateArguments a;
    std::vector<int> sel;
    auto preset = [&](int ly, uint32_t f, bool sideB) {
        a.innerLayers = ly;
        a.layerMask = f;
        sel.assign(4, -1);
        MakerSideCallback(a, sideB, sel);
    };
    preset(0, 0x3F, false);
    EXPECT_EQ(sel, (std::vector<int>{1, 0, 0, -1}));  // 両面(２層), silk and resist on both
    preset(0, 0x01 | 0x04 | 0x10, false);
    EXPECT_EQ(sel, (std::vector<int>{0, 1, 1, -1}));  // 片面, 部品面のみ
    preset(0, 0x01 | 0x04 | 0x10, true);
    EXPECT_EQ(sel, (std::vector<int>{0, 2, 2, -1}));  // side B is the component side: 半田面のみ
    preset(0, 0x02 | 0x08 | 0x20, true);
    EXPECT_EQ(sel, (std::vector<int>{0, 1, 1, -1}));
    preset(1, 0x03, false);
    EXPECT_EQ(sel, (std::vector<int>{2, 3, 3, -1}));  // ４層, no silk, no resist
    preset(2, 0x03, false);
    EXPECT_EQ(sel[0], 2);
    preset(3, 0x03, false);
    EXPECT_EQ(sel[0], 3);  // ６層
}

TEST(OrderUrl, EncodingOfTheQuery) {
    EXPECT_EQ(EncodeQueryValue("C:\\my boards"), "C%3A%5Cmy+boards");
    EXPECT_EQ(EncodeQueryValue("aZ09*-._~/&="), "aZ09*-._%7E%2F%26%3D");
    EXPECT_EQ(EncodeQueryValue("基"), "%E5%9F%BA");
}

TEST(OrderUrl, SizesOptionsAndTheArchive) {
    auto t = MakerTable({"fab", "https://fab.example/order"});
    OrderRequest r{"50", "81", "4", {1, 0, -1, 3}, ""};
    EXPECT_EQ(OrderUrl(t[0], r),
              "https://fab.example/order?cad=zevo&x_size=50&y_size=81&units=4"
              "&layers=2&silk_layer=1&substrate=3");
    r.archivePath = "C:\\my boards\\amp_zevo.zip";
    r.sizeX = "50&layers=8";  // typed text cannot add a parameter
    EXPECT_EQ(OrderUrl(t[0], r),
              "https://fab.example/order?cad=zevo&x_size=50%26layers%3D8&y_size=81&units=4"
              "&layers=2&silk_layer=1&substrate=3"
              "&gb_file_dir=C%3A%5Cmy+boards&gb_file_name=amp_zevo.zip");
    r.archivePath = "/home/u/amp_zevo.zip";
    EXPECT_TRUE(OrderUrl(t[0], r).ends_with("&gb_file_dir=%2Fhome%2Fu&gb_file_name=amp_zevo.zip"));
}

}  // namespace
}  // namespace zevo
