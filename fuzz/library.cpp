// The part library reader on any bytes: listing, loading every listed part and the rewrite that
// registering and deleting use. Nothing may crash, leak or hang, and a rewrite keeps the header.
#include "board/file/library.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "board/file/board_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zevo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto board = std::make_unique<Board>();
    const auto entries = ListPartsIn(text);
    ListNode list;
    list.initHead();
    if (entries) {
        for (const std::string& entry : *entries) {
            const PartKey key = SplitPartEntry(entry);
            LoadPartFrom(text, *board, key.name, key.attribute, list);
        }
    }
    for (container* e : Items(list)) {
        TextOut out;
        WritePartMembers(out, AsGroup(e)->members, {1.5, -2});
        e->unlink(board->changes);
        e->recycle(*board);
    }
    const std::string part = "GROUP:N\r\nENDGR:\r\n";
    bool found = false;
    const std::string rewritten = RewriteLibrary(text, "R", "", &part, &found);
    if (!ListPartsIn(rewritten)) std::abort();  // the rewrite is always a library
    RewriteLibrary(text, "R", "1/4W", nullptr, &found);
    return 0;
}
