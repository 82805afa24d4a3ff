// Any bytes as the estimate program's command line: the parser must neither crash nor accept a
// path the rules refuse, and what it accepts must name an archive beside the board.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "estimate/command_line.h"
#include "estimate/order_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zevo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedArguments p = ParseEstimateArguments(text);
    if (p.error != ArgumentsError::kNone) return 0;
    const EstimateArguments& a = p.args;
    if (a.channel == 0 || a.innerLayers < 0 || !IsFullBoardPath(a.boardPath)) std::abort();
    if (!a.archivePath.ends_with("_zevo.zip") || a.boardName.empty()) std::abort();
    if (FolderOf(a.archivePath) != FolderOf(a.boardPath)) std::abort();
    // The encoded archive name carries nothing that could end or split the query.
    const std::string e = EncodeQueryValue(a.archivePath);
    if (e.find_first_of("&=?# ") != std::string::npos) std::abort();
    return 0;
}
