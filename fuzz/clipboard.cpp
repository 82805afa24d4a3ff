// The clipboard block reader on any bytes. A block that reads is written again and read back:
// the second reading gives the same block (read and written at the origin, so that no rounding
// of the moves comes in). Bad blocks read nothing and leave no node behind.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "board/file/clipboard_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zevo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto board = std::make_unique<Board>();
    ListNode list;
    list.initHead();
    const PoolCounts before = board->liveCounts();
    if (ReadClipboard(bytes, *board, {0, 0}, list)) {
        const std::string again = WriteClipboard(list, {0, 0});
        ListNode second;
        second.initHead();
        if (!ReadClipboard(again, *board, {0, 0}, second)) std::abort();
        const std::string third = WriteClipboard(second, {0, 0});
        if (third != again) {
            size_t i = 0;
            while (i < third.size() && i < again.size() && third[i] == again[i]) ++i;
            std::fprintf(stderr, "DIFF at %zu of %zu/%zu\n", i, again.size(), third.size());
            std::abort();
        }
        while (!second.emptyList()) AsElement(second.next)->recycle(*board);
        while (!list.emptyList()) AsElement(list.next)->recycle(*board);
    } else {
        const PoolCounts after = board->liveCounts();
        if (!list.emptyList() || after.lands != before.lands || after.groups != before.groups ||
            after.lines != before.lines)
            std::abort();
    }
    return 0;
}
