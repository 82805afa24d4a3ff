// The zevo-cli commands; main.cpp wires them to the command line.
#pragma once

#include <filesystem>

namespace zevo::cli {

int CmdInfo(const std::filesystem::path& file);
int CmdConvert(const std::filesystem::path& in, const std::filesystem::path& out, bool oldFormat);

}  // namespace zevo::cli
