// A one-page PDF that shows a print bitmap stretched over the page, so prints can be kept and
// looked at without a printer. The bitmap goes in as it is (Flate-compressed): one bit per pixel
// as grey, eight bits through its colour table.
#pragma once

#include <filesystem>
#include <string>

#include "view/print.h"

namespace zevo {

// The file's bytes; the page is widthMm x heightMm.
std::string EncodePdfPage(const DibImage& image, double widthMm, double heightMm);
// Written through a temporary file; false when it cannot be written.
bool WritePdfPage(const std::filesystem::path& file, const DibImage& image, double widthMm,
                  double heightMm);

}  // namespace zevo
