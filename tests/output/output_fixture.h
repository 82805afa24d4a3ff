// Boards for the output tests, built with the model's own constructors, and the comparison with
// the reviewed files in tests/data/output.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "board/model/board.h"
#include "paths/file_io.h"
#include "text/cp932.h"

namespace zevo::testing {

inline void NameLayer(Board& b, int layer, std::string_view utf8) {
    b.SetLayerName(layer, Utf8ToCp932(utf8));
}

// The shipped layer set (pattern, silk, mask, outline, holes) and one inner pattern layer.
inline void NameShippedLayers(Board& b) {
    NameLayer(b, 1, "パターン表");
    NameLayer(b, 2, "パターン裏");
    NameLayer(b, 3, "シルク表");
    NameLayer(b, 4, "シルク裏");
    NameLayer(b, 5, "レジスト表");
    NameLayer(b, 6, "レジスト裏");
    NameLayer(b, 7, "外形");
    NameLayer(b, 8, "穴スルーホール");
    NameLayer(b, 9, "基準点");
    NameLayer(b, 12, "内層1");
    NameLayer(b, 42, "穴ノンスルー");
}

// One of everything the writers turn into commands: lands (round and square, repeated at one
// point), lines (round and square pens, zero length), arcs (part, half, full), rectangles
// (straight, turned), parts and pads, holes (with a duplicate and a square land on a hole
// layer), an inner layer and a layer without elements (4).
inline void MakeFeatureBoard(Board& b) {
    NameShippedLayers(b);
    auto top = [&](container* e) { b.AppendElement(nullptr, e); };
    // Outline.
    top(b.CreateLine(7, 0, false, {5, 5}, {75, 5}));
    top(b.CreateLine(7, 0, false, {75, 5}, {75, 55}));
    top(b.CreateLine(7, 0, false, {75, 55}, {5, 55}));
    top(b.CreateLine(7, 0, false, {5, 55}, {5, 5}));
    // Top copper.
    top(b.CreateLand(1, 28, false, {15, 15}));
    top(b.CreateLand(1, 28, false, {15, 15}));
    top(b.CreateLand(1, 26, true, {15, 45}));
    top(b.CreateLine(1, 9, false, {15, 15}, {30, 15}));
    top(b.CreateLine(1, 9, false, {30, 15}, {35, 20}));
    top(b.CreateLine(1, 9, false, {35, 20}, {40.64, 20}));
    top(b.CreateLine(1, 12, true, {20, 30}, {20, 40}));
    top(b.CreateLine(1, 9, false, {25, 25}, {25, 25}));
    top(b.CreateRect(1, 0, {65, 15}, 6, 3, 0));
    top(b.CreateRect(1, 4, {60, 40}, 4, 2, kPi / 6));
    top(b.CreateArc(1, 9, {50, 25}, 3, kPi / 4, 3 * kPi / 4));
    // Bottom copper: half circle, full circle, a line joining the half circle.
    top(b.CreateArc(2, 9, {50, 40}, 5, 0, kPi));
    top(b.CreateLine(2, 9, false, {55, 40}, {55, 30}));
    top(b.CreateArc(2, 20, {30, 45}, 4, 0, 2 * kPi));
    // A part with a pad.
    group* part = b.CreateGroup(Intern("R1"));
    group* pad = b.CreateGroup(Reserved().pad);
    b.AppendElement(pad, b.CreateLand(1, 24, false, {40.64, 20}));
    b.AppendElement(pad, b.CreateLand(2, 24, false, {40.64, 20}));
    b.AppendElement(pad, b.CreateLand(8, 14, false, {40.64, 20}));
    b.AppendElement(part, pad);
    b.AppendElement(part, b.CreateLine(3, 2, false, {38, 22}, {43.28, 22}));
    b.AppendElement(part, b.CreateLand(5, 30, false, {40.64, 20}));
    b.AppendElement(part, b.CreateLand(6, 30, false, {40.64, 20}));
    top(part);
    // Holes: a duplicate, two sizes, and a square land that cannot be drilled.
    top(b.CreateLand(8, 18, false, {15, 15}));
    top(b.CreateLand(8, 18, false, {15, 15}));
    top(b.CreateLand(8, 14, false, {60, 10}));
    top(b.CreateLand(8, 14, true, {70, 50}));
    top(b.CreateLand(42, 40, false, {10, 50}));
    top(b.CreateLand(42, 40, false, {70, 10}));
    // Inner layer and origin mark.
    top(b.CreateLine(12, 9, false, {10, 30}, {60, 30}));
    top(b.CreateLand(12, 50, false, {10, 30}));
    top(b.CreateLand(9, 3, false, {5, 5}));
}

// Compares `actual` with tests/data/output/<name>. With ZEVO_UPDATE_EXPECTED=1 the file is
// (re)written instead; a new file must be reviewed line by line before it is committed.
inline void ExpectSameAsFile(const std::string& actual, const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(ZEVO_TEST_DATA) / "output" / name;
    if (const char* u = std::getenv("ZEVO_UPDATE_EXPECTED"); u && std::string(u) == "1") {
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(WriteFileAtomically(path, actual));
        return;
    }
    const auto expected = ReadWholeFile(path);
    ASSERT_TRUE(expected) << "missing " << path;
    EXPECT_EQ(actual, *expected) << "differs from " << path;
}

}  // namespace zevo::testing
