// Every document written reads back as the same document, and writing it again gives the same
// bytes: on generated boards with every kind of element, and with bad lines mixed in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_compare.h"
#include "board/file/document.h"
#include "board_generator.h"

namespace zevo {
namespace {

using testing::FirstDifference;

std::unique_ptr<Board> Generated(size_t elements, uint64_t seed) {
    auto b = std::make_unique<Board>();
    ResetToBuiltInDefaults(*b);
    GenerateBoard(*b, {elements, seed});
    return b;
}

std::unique_ptr<Board> Read(std::string_view text, ReadResult* result = nullptr) {
    auto b = std::make_unique<Board>();
    ResetToBuiltInDefaults(*b);
    ReadResult r = ReadDocumentText(text, *b);
    if (result) *result = r;
    return b;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) out.push_back(l + "\n");
    return out;
}

// Two writes of the same document may differ only in the last digits of arc angles written one
// turn lower (an angle kept in [0, 2pi) cannot hold -1 degree to fourteen digits); every other
// byte is the same.
void ExpectSameExceptArcDigits(const std::string& first, const std::string& second) {
    const std::vector<std::string> a = Lines(first), b = Lines(second);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        ASSERT_EQ(a[i].rfind("ARC:", 0), 0u) << a[i] << b[i];
        const char* p = a[i].c_str();
        const char* q = b[i].c_str();
        while (*p && *q) {
            if (*p == *q && !(*p >= '0' && *p <= '9')) {
                ++p, ++q;
                continue;
            }
            char* pe;
            char* qe;
            const double x = std::strtod(p, &pe), y = std::strtod(q, &qe);
            ASSERT_NEAR(x, y, 1e-12) << a[i] << b[i];
            p = pe, q = qe;
        }
    }
}

TEST(RoundTrip, GeneratedBoardsReadBackEqualAndWriteTheSameBytes) {
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        auto a = Generated(3000, seed);
        const std::string first = WriteDocument(*a);
        ReadResult r;
        auto b = Read(first, &r);
        EXPECT_FALSE(r.error);
        EXPECT_TRUE(r.issues.empty());
        EXPECT_EQ(FirstDifference(*a, *b), "");
        const std::string second = WriteDocument(*b);
        ExpectSameExceptArcDigits(first, second);
        // Everything but the arcs written one turn lower reads back to the last bit; those are
        // written in degrees less 360, which need not read back exactly.
        auto c = Read(second);
        EXPECT_EQ(FirstDifference(*b, *c, {.tolerance = 0, .arcTolerance = 1e-12}), "");
        ExpectSameExceptArcDigits(second, WriteDocument(*c));
    }
}

TEST(RoundTrip, GeneratorIsDeterministicAndCoversEveryKind) {
    auto a = Generated(5000, 42);
    auto b = Generated(5000, 42);
    EXPECT_EQ(WriteDocument(*a), WriteDocument(*b));
    const PoolCounts n = a->liveCounts();
    EXPECT_GT(n.lands, 100u);
    EXPECT_GT(n.lines, 100u);
    EXPECT_GT(n.arcs, 50u);
    EXPECT_GT(n.rects, 50u);
    EXPECT_GT(n.groups, 100u);
    EXPECT_GT(n.texts, 50u);
    EXPECT_GT(n.parts, 50u);
    const std::string text = WriteDocument(*a);
    for (const char* word : {"GROUP: PAINTED", "GROUP: LOOP", "GROUP: WINDOW", "GROUP: LINES",
                             "GROUP: PAD", "GROUP: TEXT,", "GROUP: DRC", "GROUP: DOTTEDLINE",
                             "FLSH:", ",SQ=", ",PN=", ",NO=", "\t", "\x93\x64\x8C\xB9"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(RoundTrip, UnroundedNumbersSettleAfterOneWrite) {
    for (uint64_t seed = 11; seed <= 14; ++seed) {
        SCOPED_TRACE(seed);
        auto a = Generated(2000, seed);
        // Move and turn everything by amounts with full double precision.
        int i = 0;
        for (container* c : Items(a->items)) {
            c->translate(*a, 0.12345678901234567 * (i % 7), -0.0987654321098765 * (i % 5));
            if (i % 3 == 0) c->rotate(*a, {a->sizeX / 2, a->sizeY / 2}, 0.001 * (i % 11));
            ++i;
        }
        FinishDocumentRead(*a, false);  // whatever turned off the board is dropped, as on reading
        const std::string first = WriteDocument(*a);
        auto b = Read(first);
        EXPECT_EQ(FirstDifference(*a, *b), "");
        const std::string second = WriteDocument(*b);
        ExpectSameExceptArcDigits(first, second);
        // Everything but the arcs written one turn lower reads back to the last bit; those are
        // written in degrees less 360, which need not read back exactly.
        auto c = Read(second);
        EXPECT_EQ(FirstDifference(*b, *c, {.tolerance = 0, .arcTolerance = 1e-12}), "");
        ExpectSameExceptArcDigits(second, WriteDocument(*c));
    }
}

TEST(RoundTrip, BadLinesAreSkippedAndReportedWithTheirLineNumbers) {
    const std::pair<const char*, ReadIssueKind> bad[] = {
        {"LAND:X=1,Y=2,AP=1", ReadIssueKind::kMissingLayer},
        {"LINE:XS=1,YS=1,XE=2,YE=2,LE=300,AP=1", ReadIssueKind::kLayerOutOfRange},
        {"LAND:X=1,Y=1,LE=-1,AP=0", ReadIssueKind::kLayerOutOfRange},
        {"FLSH:X=1,Y=1,LE=1,AP=-3", ReadIssueKind::kApertureOutOfRange},
        {"ARC:X=1,Y=1,R=0,ST=0,END=90,LE=1,AP=1", ReadIssueKind::kArcTooSmall},
        {"RECT:X=5,Y=5,DX=1,DY=0.01,LE=1,AP=0", ReadIssueKind::kRectSizeOutOfRange},
        {"# a comment is no item", ReadIssueKind::kUnknownItem},
        {"BOGUS:1", ReadIssueKind::kUnknownItem},
    };
    auto a = Generated(1500, 5);
    std::vector<std::string> lines = Lines(WriteDocument(*a));
    // Top-level boundaries: after the DrawItems header and after every line that ends a top-level
    // item.
    size_t items = 0;
    while (lines[items] != "[DrawItems]\r\n") ++items;
    std::vector<size_t> boundaries;
    int depth = 0;
    for (size_t i = items; i < lines.size(); ++i) {
        if (lines[i].rfind("GROUP:", 0) == 0) ++depth;
        if (lines[i].rfind("ENDGR:", 0) == 0) --depth;
        if (depth == 0) boundaries.push_back(i + 1);
    }
    // Insert from the back so that the earlier positions stay valid.
    std::vector<std::pair<size_t, size_t>> inserts;  // position, which bad line
    for (size_t k = 0; k < 40; ++k)
        inserts.push_back({boundaries[(k * 7919) % boundaries.size()], k % std::size(bad)});
    std::sort(inserts.begin(), inserts.end(), [](auto x, auto y) { return x.first > y.first; });
    for (auto [pos, which] : inserts)
        lines.insert(lines.begin() + pos, std::string(bad[which].first) + "\r\n");
    std::string text;
    std::vector<ReadIssue> expected;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        for (const auto& [line, kind] : bad)
            if (lines[i] == std::string(line) + "\r\n")
                expected.push_back({static_cast<int>(i + 1), kind});
    }
    ReadResult r;
    auto b = Read(text, &r);
    EXPECT_TRUE(r.error);
    EXPECT_EQ(r.issues, expected);
    EXPECT_EQ(FirstDifference(*a, *b), "");
}

// The same item line with its keys in another order, some in lower case, and an unknown key: no
// longer in the form the writer gives it.
std::string Reordered(const std::string& line, size_t n) {
    const size_t colon = line.find(':');
    std::vector<std::string> pieces;
    std::string rest = line.substr(colon + 1, line.size() - colon - 3);  // without CR LF
    for (size_t at = 0;;) {
        const size_t comma = rest.find(',', at);
        pieces.push_back(rest.substr(at, comma - at));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    std::reverse(pieces.begin(), pieces.end());
    std::string out = line.substr(0, colon + 1);
    for (size_t i = 0; i < pieces.size(); ++i) {
        std::string p = pieces[i];
        if ((i + n) % 2 == 0)
            for (size_t k = 0; k < p.size() && p[k] != '='; ++k)
                p[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(p[k])));
        out += (i ? "," : "") + p;
    }
    if (n % 3 == 0) out += ",ZZ=1";
    return out + "\r\n";
}

bool IsDrawnItem(const std::string& l) {
    for (const char* w : {"LAND:", "FLSH:", "LINE:", "ARC:", "RECT:"})
        if (l.rfind(w, 0) == 0) return true;
    return false;
}

TEST(RoundTrip, ItemLinesInAnyKeyOrderReadAsTheWrittenOnes) {
    for (uint64_t seed = 21; seed <= 23; ++seed) {
        SCOPED_TRACE(seed);
        const std::string written = WriteDocument(*Generated(3000, seed));
        std::string other;
        size_t n = 0;
        for (const std::string& l : Lines(written)) other += IsDrawnItem(l) ? Reordered(l, n++) : l;
        ASSERT_GT(n, 2000u);
        ReadResult r1, r2;
        auto a = Read(written, &r1);
        auto b = Read(other, &r2);
        EXPECT_TRUE(r1.issues.empty());
        EXPECT_TRUE(r2.issues.empty());
        EXPECT_EQ(FirstDifference(*a, *b, {.tolerance = 0, .arcTolerance = 0}), "");
        EXPECT_EQ(WriteDocument(*a), WriteDocument(*b));
    }
}

TEST(RoundTrip, DamagedItemLinesAreJudgedAlikeInEveryForm) {
    // Lines close to the writer's form: each one read as it stands and with its keys reordered
    // gives the same elements and the same complaints.
    const char* lines[] = {
        "LAND:X=1,Y=2,LE=1,AP=300",
        "LAND:X=1,Y=2,LE=99999999999,AP=3",
        "LAND:X=1,Y=2,LE=-1,AP=3",
        "LAND:X=1,Y=2,AP=3",
        "FLSH:X=1,Y=2,LE=1",
        "ARC:X=1,Y=2,R=0.0009,ST=0,END=90,LE=1,AP=1",
        "ARC:X=1,Y=2,R=3,ST=10,END=10.0005,LE=1,AP=1",
        "RECT:X=5,Y=5,DX=2,DY=1,ANG=0,LE=1,SQ=1",
        "RECT:X=5,Y=5,DX=2,DY=0.01,ANG=0,LE=1,AP=1",
        "RECT:X=5,Y=5,DX=2,DY=0.1,ANG=0,LE=1,AP=0",
        "LINE:XS=1,YS=2,XE=1,YE=2,LE=0,SQ=3",
        "LAND:X=1,Y=2,LE=1,AP=3,NO=5x",
        "LAND:X=1e1,Y=2.5E-1,LE=1,AP=3",
        "LAND:X= 7,Y=+2,LE=1,AP=3",
        "LAND:X=-0,Y=12345678901234567,LE=1,AP=3",
        "LAND:X=0x10,Y=inf,LE=1,AP=3",
        "LAND:X=1,Y=2,LE=1,AP=3,",
        "LINE:XS=1,YS=2,XE=3,YE=4,LE=1,SQ=2,AP=3",
        "ARC:X=1,Y=2,R=3,ST=0,END=90,LE=1,AP=1,PN=x=y,NO=70000",
        "LAND:X=1,Y=2,LE=1,AP=3,NE=,PN=p",
    };
    for (size_t i = 0; i < std::size(lines); ++i) {
        SCOPED_TRACE(lines[i]);
        const std::string line = std::string(lines[i]) + "\r\n";
        ReadResult r1, r2;
        auto a = testing::ReadItems(line, &r1);
        auto b = testing::ReadItems(Reordered(line, i), &r2);
        ASSERT_EQ(r1.issues.size(), r2.issues.size());
        for (size_t k = 0; k < r1.issues.size(); ++k) EXPECT_EQ(r1.issues[k], r2.issues[k]);
        EXPECT_EQ(FirstDifference(*a, *b, {.tolerance = 0}), "");
    }
    // What some of them read as (and a key given twice, the later one counting).
    auto b = testing::ReadItems("LINE:XS=1,YS=2,XE=3,YE=4,LE=1,AP=2,NE=a,NE=b\n");
    EXPECT_STREQ(AsDrawn(testing::First(*b))->netName, "b");  // a later key wins
    b = testing::ReadItems("LINE:XS=1,YS=2,XE=3,YE=4,LE=1,SQ=2,AP=3\n");
    EXPECT_TRUE(AsDrawn(testing::First(*b))->square());
    EXPECT_EQ(AsDrawn(testing::First(*b))->aperture, 2);
    b = testing::ReadItems("LAND:X=1e1,Y=-0,LE=1,AP=3,NO=5x,PN=x=y\n");
    const drawn* d = AsDrawn(testing::First(*b));
    EXPECT_EQ(d->x, 10);
    EXPECT_TRUE(std::signbit(d->y));
    EXPECT_EQ(d->pinNo, 5);
    EXPECT_STREQ(d->pinName, "x=y");
}

TEST(RoundTrip, ABadLineInsideAGroupDropsThatGroupOnly) {
    auto a = Generated(800, 9);
    std::vector<std::string> lines = Lines(WriteDocument(*a));
    // The third top-level group: find its GROUP line and put a bad member right after it.
    size_t i = 0;
    while (lines[i] != "[DrawItems]\r\n") ++i;
    int depth = 0, topGroups = 0, topIndex = -1, top = 0;
    size_t at = 0;
    for (++i; i < lines.size(); ++i) {
        const bool open = lines[i].rfind("GROUP:", 0) == 0;
        if (depth == 0) {
            if (open && ++topGroups == 3) {
                at = i + 1;
                topIndex = top;
                break;
            }
            ++top;
        }
        if (open) ++depth;
        if (lines[i].rfind("ENDGR:", 0) == 0) --depth;
    }
    ASSERT_GT(at, 0u);
    lines.insert(lines.begin() + at, "LINE:XS=1,YS=1,XE=2,YE=2,AP=1\r\n");
    std::string text;
    for (auto& l : lines) text += l;
    ReadResult r;
    auto b = Read(text, &r);
    ASSERT_EQ(r.issues.size(), 2u);
    EXPECT_EQ(r.issues[0], (ReadIssue{static_cast<int>(at + 1), ReadIssueKind::kMissingLayer}));
    EXPECT_EQ(r.issues[1], (ReadIssue{static_cast<int>(at), ReadIssueKind::kGroupMemberFailed}));
    int k = 0;
    for (container* c : Items(a->items))
        if (k++ == topIndex) c->recycle(*a);
    EXPECT_EQ(FirstDifference(*a, *b), "");
}

}  // namespace
}  // namespace zevo
