// Logical lines: trimming, comments, continuation, the 1023-byte limit, headers, NUL bytes,
// and the same lines whether the text comes from memory or from a file in pieces.
#include "board/file/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace zevo {
namespace {

struct Line {
    int number;
    std::string text;
    friend bool operator==(const Line&, const Line&) = default;
    friend std::ostream& operator<<(std::ostream& o, const Line& l) {
        return o << l.number << ":" << l.text;
    }
};

// Every line and header, headers marked with a leading "@".
std::vector<Line> All(LineReader& in) {
    std::vector<Line> out;
    std::string_view l;
    for (;;) {
        const LineReader::Result r = in.next(l);
        if (r == LineReader::kTextLine) {
            out.push_back({in.lineNumber(), std::string(l)});
        } else if (r == LineReader::kHeader && in.takeHeader(l)) {
            out.push_back({in.lineNumber(), "@" + std::string(l)});
        } else {
            return out;
        }
    }
}

std::vector<Line> All(std::string_view text) {
    LineReader in(text);
    return All(in);
}

TEST(LineReading, TrimsSkipsEmptyLinesAndPassesCommentsAsTheyStand) {
    EXPECT_EQ(All("a \t\r\n\r\n\n   \nb\x01\x1f\n;c \r\n#d\nx"),
              (std::vector<Line>{
                  {1, "a "}, {4, "   "}, {5, "b"}, {6, ";c \r\n"}, {7, "#d\n"}, {8, "x"}}));
}

TEST(LineReading, ContinuationLinesAreJoinedUpTo1023Bytes) {
    EXPECT_EQ(All("LAND:X=1\r\n,Y=2 \r\n,LE=1\nnext\n,\n"),
              (std::vector<Line>{{1, "LAND:X=1,Y=2 ,LE=1"}, {4, "next,"}}));
    const std::string a(1000, 'a');
    EXPECT_EQ(
        All(a + "\n," + std::string(100, 'b') + "\n,c\n"),
        (std::vector<Line>{{1, a + "," + std::string(22, 'b')}, {2, std::string(78, 'b') + ",c"}}));
}

TEST(LineReading, LongLinesAreCutAndTheRestReadAsTheNextLine) {
    const std::string longLine(1500, 'x');
    EXPECT_EQ(
        All(longLine + "\r\nz\n"),
        (std::vector<Line>{{1, std::string(1023, 'x')}, {1, std::string(477, 'x')}, {2, "z"}}));
}

TEST(LineReading, HeadersEndSectionsAndNulEndsALine) {
    LineReader in(std::string_view("before\n[A]x\r\nin a\n[B\n", 21));
    std::string_view l;
    ASSERT_TRUE(in.takeHeader(l));
    EXPECT_EQ(l, "[A]x");
    EXPECT_EQ(in.lineNumber(), 2);
    EXPECT_EQ(in.next(l), LineReader::kTextLine);
    EXPECT_EQ(l, "in a");
    EXPECT_EQ(in.next(l), LineReader::kHeader);
    EXPECT_EQ(in.next(l), LineReader::kHeader);  // stays until taken
    EXPECT_TRUE(in.takeHeader(l));
    EXPECT_EQ(in.next(l), LineReader::kEnd);
    EXPECT_FALSE(in.takeHeader(l));
    EXPECT_EQ(All(std::string_view("ab\0cd\n\0\nef", 10)),
              (std::vector<Line>{{1, "ab"}, {3, "ef"}}));
}

TEST(LineReading, AFileReadInPiecesGivesTheSameLinesAsMemory) {
    std::mt19937 rnd(5);
    std::string text;
    const char* pieces[] = {"LAND:X=1", "\r\n", "\n", ",Y=2", "[Sec]", ";c", "#d", "  ", "\x01"};
    while (text.size() < 3 * 1024 * 1024) {
        if (rnd() % 50 == 0) text += std::string(rnd() % 3000, 'L');
        const char* p = pieces[rnd() % 9];
        text += p;
        if (rnd() % 200 == 0) text += '\0';
    }
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), f), text.size());
    std::rewind(f);
    LineReader fromFile(f);
    const std::vector<Line> a = All(fromFile), b = All(text);
    std::fclose(f);
    EXPECT_FALSE(fromFile.readFailed());
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(a == b);
}

TEST(LineReading, TableSectionsDropBlanksAndUpperCaseSingleBytes) {
    char out[64];
    EXPECT_EQ(SqueezeUpper(" layer 1 :\t2\r", out), "LAYER1:2");
    // The second byte of a Shift-JIS pair is kept as it is, even a lower-case letter or a blank.
    EXPECT_EQ(SqueezeUpper("a\x83"
                           "a\x82 b\x81",
                           out),
              "A\x83"
              "a\x82 B\x81");
}

}  // namespace
}  // namespace zevo
