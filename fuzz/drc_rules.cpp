// Any rule file must read without crashing, and the rules read must be usable: every rule names
// layers in range, gaps in range or unset, and a check with them on a small board runs through.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "board/model/board.h"
#include "checks/drc.h"

namespace {

zevo::Board& SmallBoard() {
    static zevo::Board* b = [] {
        auto* board = new zevo::Board;
        board->SetLayerName(1, "pattern");
        board->SetLayerName(2, "pattern");
        board->SetLayerName(8, "hole");
        board->SetLayerName(30, "cut");
        return board;
    }();
    return *b;
}

void Populate(zevo::Board& b) {
    b.ClearBoard();
    b.SetLayerName(1, "pattern");
    b.SetLayerName(2, "pattern");
    b.SetLayerName(8, "hole");
    b.SetLayerName(30, "cut");
    for (int i = 0; i < 6; ++i) {
        b.AppendElement(nullptr, b.CreateLand(1 + i % 2, 10, i % 3 == 0, {i * 0.7, 0}));
        b.AppendElement(nullptr,
                        b.CreateLine(i % 2 ? 8 : 1, 5, false, {i * 0.7, 1}, {i * 0.7 + 1, -1}));
        b.AppendElement(nullptr, b.CreateLand(30, 20, false, {i * 0.7, 0}));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zevo::Board& b = SmallBoard();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zevo::DrcRules r = zevo::ReadDrcRules(text, b);
    if (r.rules.size() > zevo::kMaxDrcRules) std::abort();
    for (const zevo::DrcRule& rule : r.rules) {
        if (rule.le1 < 0 || rule.le1 > 255 || rule.le2 < 0 || rule.le2 > 255) std::abort();
        for (double g : {rule.pp, rule.pl, rule.ll})
            if (g != zevo::kNeverGap && (g < 0.00999 || g > 10)) std::abort();
    }
    if (r.status == zevo::DrcRulesStatus::kOk) {
        Populate(b);
        const zevo::DrcReport report = zevo::DrcCommand(b, r);
        if (report.result < 0) std::abort();
        if (zevo::EraseDrcMarks(b) != static_cast<size_t>(report.result)) std::abort();
    }
    return 0;
}
