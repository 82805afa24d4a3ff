#include "tools/command_ids.h"

#include <algorithm>
#include <iterator>

#include "text/language.h"

namespace zevo {
namespace {

struct Entry {
    Cmd id;
    std::string_view name;
    std::string_view caption;
};

constexpr Entry kEntries[] = {
#define ZEVO_COMMAND_ENTRY(name, number, caption) {Cmd::name, #name, caption},
    ZEVO_COMMAND_TABLE(ZEVO_COMMAND_ENTRY)
#undef ZEVO_COMMAND_ENTRY
};

constexpr bool Sorted() {
    for (size_t i = 1; i < std::size(kEntries); ++i)
        if (int(kEntries[i - 1].id) >= int(kEntries[i].id)) return false;
    return true;
}
static_assert(Sorted(), "keep the command table in increasing order of numbers");

const Entry* Find(int number) {
    const auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), number,
                                     [](const Entry& e, int v) { return int(e.id) < v; });
    return it != std::end(kEntries) && int(it->id) == number ? it : nullptr;
}

}  // namespace

Cmd CommandFromNumber(int number) {
    const Entry* e = Find(number);
    return e ? e->id : Cmd::None;
}

std::string_view CommandCaption(Cmd c) {
    const Entry* e = Find(int(c));
    return e ? Tr(e->caption) : std::string_view();
}

std::string_view CommandName(Cmd c) {
    const Entry* e = Find(int(c));
    return e ? e->name : std::string_view();
}

}  // namespace zevo
