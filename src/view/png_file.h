// PNG files of a framebuffer (8-bit RGB), for the render command and the expected images of
// the tests. Through libpng, or through zlib alone where libpng is missing (the Windows build).
#pragma once

#include <filesystem>

#include "view/framebuffer.h"

namespace zevo {

// Writes the buffer as an RGB PNG (through a temporary file renamed over the target).
bool WritePng(const std::filesystem::path& file, const Framebuffer& fb);
// Reads an 8-bit RGB or RGBA PNG (other kinds are converted); false when it cannot be read.
bool ReadPng(const std::filesystem::path& file, Framebuffer& fb);

}  // namespace zevo
