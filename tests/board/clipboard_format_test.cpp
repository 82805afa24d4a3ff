// The clipboard block "ZevoClip_t02": its bytes, copy and paste between boards, bad blocks that
// paste nothing, and what a paste does with a single part.
#include "board/file/clipboard_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "board/file/board_writer.h"
#include "board/file/file_text.h"
#include "board/model/intern.h"

namespace zevo {
namespace {

std::string U16(uint16_t v) {
    return {char(v & 0xFF), char(v >> 8)};
}
std::string U32(uint32_t v) {
    return U16(uint16_t(v & 0xFFFF)) + U16(uint16_t(v >> 16));
}
std::string F64(double v) {
    const uint64_t b = std::bit_cast<uint64_t>(v);
    return U32(uint32_t(b & 0xFFFFFFFF)) + U32(uint32_t(b >> 32));
}
const std::string kTerminator = U32(0) + U16(0) + std::string(8, '\0');

class Clipboard : public ::testing::Test {
  protected:
    Board board, other;
    ListNode items, pasted;
    void SetUp() override {
        items.initHead();
        pasted.initHead();
    }
    void TearDown() override {
        for (ListNode* l : {&items, &pasted})
            while (!l->emptyList()) AsElement(l->next)->recycle(l == &items ? board : other);
    }
    template <class E>
    E* add(E* e) {
        e->insertBefore(&items, board.changes);
        return e;
    }
    std::string itemsText(const ListNode& l, Point origin) {
        TextOut out;
        WriteItems(out, l, &origin);
        return out.text();
    }
};

TEST_F(Clipboard, DrawnRecordsHaveTheirSizesAndThePinNameBlock) {
    land* a = add(board.CreateLand(3, 18, true, {11, 22}));
    a->pinNo = -7;
    a->pinName = Intern("A12");  // 3 bytes: field (3 + 6) & ~3 = 8, record 32 + 0 + 4
    add(board.CreateLine(1, 4, false, {1, 2}, {3, 4}));
    const std::string got = WriteClipboard(items, {1, 2});
    const std::string land = U32(36) + U16(129) + U16(18) + U16(3) + U32(uint32_t(-7)) + F64(10) +
                             F64(20) + U16(8) + std::string("A12\0", 4);
    const std::string line =
        U32(48) + U16(2) + U16(4) + U16(1) + U32(0) + F64(0) + F64(0) + F64(2) + F64(2) + U16(2);
    EXPECT_EQ(got, land + line + kTerminator);
    // Four bytes of name: the record grows by four.
    a->pinName = Intern("A123");
    EXPECT_EQ(U32(uint32_t(uint8_t(WriteClipboard(items, {0, 0})[0]))), U32(40));
}

TEST_F(Clipboard, AGroupRecordHoldsItsStringsPlacementMembersAndEnd) {
    group* g = add(board.CreateGroup(Intern("R")));
    g->attribute = Intern("1/4W");
    g->ext = board.CreatePartPlacement({5, 5}, 0.5);
    board.AppendElement(g, board.CreateArc(1, 4, {5, 5}, 2, 0, 1.5));
    add(board.CreateGroup(Intern("EMPTY")));  // never written
    const std::string arc = U32(56) + U16(3) + U16(4) + U16(1) + U32(0) + F64(0) + F64(0) + F64(2) +
                            F64(0) + F64(1.5) + U16(2);
    const std::string want = U32(6 + 4 + 8 + 30 + 56 + 6) + U16(5) + U16(4) +
                             std::string("R\0", 2) + U16(8) + std::string("1/4W\0\0", 6) + U32(30) +
                             U16(7) + F64(0) + F64(0) + F64(0.5) + arc + U32(6) + U16(0) +
                             kTerminator;
    EXPECT_EQ(WriteClipboard(items, {5, 5}), want);
}

TEST_F(Clipboard, PastedItemsAreTheCopiedOnesMovedToThePastePoint) {
    group* part = add(board.CreateGroup(Intern("DIP8")));
    part->ext = board.CreatePartPlacement({10, 10}, 0);
    land* pin = board.CreateLand(1, 18, false, {10, 10});
    pin->pinNo = 1;
    pin->pinName = Intern("VCC");
    board.AppendElement(part, pin);
    group* text = board.CreateGroup(Reserved().text);
    text->ext = board.CreateTextPlacement({12, 11}, 0, 2.5, -2.7);
    board.AppendElement(text, board.CreateLine(2, 4, false, {12, 11}, {13, 12}));
    board.AppendElement(part, text);
    add(board.CreateRect(1, 4, {30, 30}, 4, 2, 0.25));
    add(board.CreateArc(1, 4, {40, 40}, 3, 1, 2));
    const std::string bytes = WriteClipboard(items, {10, 10});
    ASSERT_TRUE(ReadClipboard(bytes, other, {50, 60}, pasted));
    EXPECT_EQ(itemsText(pasted, {50, 60}), itemsText(items, {10, 10}));
    // Read again into the same list: appended after what is there.
    ASSERT_TRUE(ReadClipboard(bytes, other, {0, 0}, pasted));
    int n = 0;
    for (container* e : Items(pasted)) {
        EXPECT_EQ(e->parent, nullptr);
        ++n;
    }
    EXPECT_EQ(n, 6);
    // Nothing but the terminator: nothing pasted, no failure.
    ListNode none;
    none.initHead();
    EXPECT_TRUE(ReadClipboard(kTerminator, other, {0, 0}, none));
    EXPECT_TRUE(none.emptyList());
}

TEST_F(Clipboard, BadBlocksPasteNothing) {
    group* g = add(board.CreateGroup(Intern("R")));
    board.AppendElement(g, board.CreateLand(1, 18, false, {1, 1}));
    board.AppendElement(g, board.CreateLine(1, 4, false, {1, 1}, {2, 2}));
    add(board.CreateLand(1, 18, false, {3, 3}));
    const std::string good = WriteClipboard(items, {0, 0});
    const PoolCounts before = other.liveCounts();
    auto refused = [&](const std::string& bytes) {
        const bool ok = ReadClipboard(bytes, other, {0, 0}, pasted);
        const PoolCounts after = other.liveCounts();
        return !ok && pasted.emptyList() && after.lands == before.lands &&
               after.lines == before.lines && after.groups == before.groups;
    };
    // Cut short anywhere before the terminator is complete.
    const size_t whole = good.size() - 8;
    for (size_t n = 0; n < whole; ++n) EXPECT_TRUE(refused(good.substr(0, n))) << n;
    std::string b = good;
    b[0] = char(0xFF);  // the group claims more than there is
    EXPECT_TRUE(refused(b));
    b = good;
    std::memcpy(b.data(), U32(20).data(), 4);  // less than its members
    EXPECT_TRUE(refused(b));
    b = good;
    b[4] = 9;  // no such kind
    EXPECT_TRUE(refused(b));
    const size_t landAt = 6 + 4 + 2 + 6;  // the group's first member
    b = good;
    std::memcpy(b.data() + landAt + 8, U16(300).data(), 2);  // layer out of range
    EXPECT_TRUE(refused(b));
    b = good;
    std::memcpy(b.data() + landAt + 14, F64(std::nan("")).data(), 8);
    EXPECT_TRUE(refused(b));
    b = good;
    std::memcpy(b.data() + landAt, U32(8).data(), 4);  // a land record shorter than a land
    EXPECT_TRUE(refused(b));
    // Groups inside groups deeper than any board may hold.
    std::string deep;
    const int depth = kMaxGroupDepth + 5;
    std::string inner = U32(32) + U16(1) + U16(18) + U16(1) + U32(0) + F64(0) + F64(0) + U16(2);
    for (int i = 0; i < depth; ++i)
        inner = U32(uint32_t(6 + 2 + 2 + 6 + inner.size() + 6)) + U16(5) + U16(2) + U16(2) +
                U32(6) + U16(0) + inner + U32(6) + U16(0);
    EXPECT_TRUE(refused(inner + kTerminator));
}

TEST(PastedPart, AnUnnamedGroupGetsATemporaryNameAPlacementAndItsOriginOnThePastePoint) {
    Board b;
    b.SetLayerName(20, "Origin");
    ListNode l;
    l.initHead();
    group* g = b.CreateGroup(kEmptyText);
    group* inner = b.CreateGroup(Intern("IN"));
    b.AppendElement(inner, b.CreateLand(20, 18, false, {3, 4}));  // one level down
    b.AppendElement(g, inner);
    b.AppendElement(g, b.CreateLand(1, 18, false, {5, 5}));
    g->insertBefore(&l, b.changes);
    std::tm now{};
    now.tm_year = 126, now.tm_mon = 11, now.tm_mday = 8, now.tm_hour = 9, now.tm_min = 5,
    now.tm_sec = 7;
    ApplyPastedPartRule(b, l, {10, 10}, now);
    EXPECT_EQ(View(g->type), "tmp261208090507");
    ASSERT_NE(g->ext, nullptr);
    EXPECT_EQ(g->ext->kind, 2);
    EXPECT_EQ(g->ext->pt, (Point{10, 10}));
    EXPECT_EQ(AsDrawn(AsElement(inner->members.next))->ref(), (Point{10, 10}));
    EXPECT_EQ(AsDrawn(AsElement(g->members.next->next))->ref(), (Point{12, 11}));
    // A temporary name that was already there is renewed and the angle goes back to 0.
    g->type = Intern("tmp000000000000");
    g->ext->angle = 1;
    now.tm_sec = 8;
    ApplyPastedPartRule(b, l, {20, 20}, now);
    EXPECT_EQ(View(g->type), "tmp261208090508");
    EXPECT_EQ(g->ext->angle, 0);
    EXPECT_EQ(g->ext->pt, (Point{20, 20}));
    // A second origin land elsewhere at the same level: no origin, nothing moves.
    b.AppendElement(inner, b.CreateLand(20, 18, false, {0, 0}));
    ApplyPastedPartRule(b, l, {30, 30}, now);
    EXPECT_EQ(g->ext->pt, (Point{20, 20}));
    // Not a single part (a blank type word, or two items): left alone.
    g->type = Intern(" LINES");
    const Point before = g->ext->pt;
    ApplyPastedPartRule(b, l, {40, 40}, now);
    EXPECT_EQ(g->ext->pt, before);
    g->recycle(b);
}

}  // namespace
}  // namespace zevo
