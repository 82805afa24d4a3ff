#include "text/strings.h"

#include <gtest/gtest.h>

#include "text/cp932.h"

namespace zevo {
namespace {

TEST(StringTable, IdsAreUniqueSortedAndInRange) {
    int previous = kFirstStringId - 1;
    for (const TableEntry& e : AllTableTexts()) {
        EXPECT_GT(e.id, previous) << "ids must increase: " << e.id;
        EXPECT_LE(e.id, kLastStringId);
        EXPECT_FALSE(e.text.empty()) << e.id;
        std::size_t bad = 0;
        Utf8ToCp932(e.text, &bad);
        EXPECT_EQ(bad, 0u) << "not representable in CP932: " << e.id;
        previous = e.id;
    }
}

TEST(StringTable, LooksUpTextsById) {
    EXPECT_EQ(TableText(kMsgCalcError), "計算エラー");
    EXPECT_EQ(TableText(kStrPcbFiles), "PCBファイル");
    EXPECT_EQ(TableText(kCaptionEditor), "Zevo");
    EXPECT_EQ(TableText(kCaptionEstimate), "Ordavist");
    EXPECT_EQ(TableTextCp932(kMsgCannotWriteSettings), Utf8ToCp932("設定ファイルに書込めません。"));
    EXPECT_TRUE(TableText(0).empty());
    EXPECT_TRUE(TableText(kLastStringId + 1).empty());
}

}  // namespace
}  // namespace zevo
