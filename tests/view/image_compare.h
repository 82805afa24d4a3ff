// Comparing a rendered buffer with a reviewed picture in tests/data/view.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "view/framebuffer.h"
#include "view/png_file.h"

namespace zevo::test {

// With ZEVO_UPDATE_IMAGES set the picture is (re)written instead, to be reviewed by eye before it
// is committed; a mismatch leaves the actual picture beside the build for the same review.
inline void ExpectImage(const Framebuffer& fb, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path expected = fs::path(ZEVO_TEST_DATA) / "view" / name;
    if (std::getenv("ZEVO_UPDATE_IMAGES")) {
        ASSERT_TRUE(WritePng(expected, fb));
        return;
    }
    Framebuffer want;
    ASSERT_TRUE(ReadPng(expected, want)) << expected;
    ASSERT_EQ(want.width(), fb.width());
    ASSERT_EQ(want.height(), fb.height());
    int diff = 0;
    for (int y = 0; y < fb.height(); ++y)
        for (int x = 0; x < fb.width(); ++x) diff += want.at(x, y) != fb.at(x, y);
    if (diff) WritePng(fs::current_path() / ("actual-" + name), fb);
    EXPECT_EQ(diff, 0) << name << " differs in " << diff << " pixels";
}

}  // namespace zevo::test
