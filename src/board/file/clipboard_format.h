// The clipboard format "ZevoClip_t02": items copied in one editor and pasted in another, also in
// another running copy. A packed little-endian sequence of records (land, line, arc, rectangle,
// group with its placement and members), coordinates relative to a reference point, ended by a
// record of size and type 0; eight zero bytes follow the block.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "board/model/board.h"

namespace zevo {

inline constexpr char kClipboardFormatName[] = "ZevoClip_t02";

// The block for the items of `items` (a list of top-level items, groups with their members),
// every coordinate taken relative to `ref`. Empty groups are left out.
std::string WriteClipboard(const ListNode& items, Point ref);

// Reads a block: the items go to the end of `out` (top-level items without parent), placed
// relative to `at`. Bytes that do not make a whole, consistent block (cut short, sizes that do not
// add up, numbers out of range, groups nested too deep) give false and add nothing.
bool ReadClipboard(std::string_view bytes, Board& board, Point at, ListNode& out);

// What a paste does with a single part: when `items` holds exactly one group whose type word does
// not begin with a blank, a group without a name gets the temporary name "tmp" and the time stamp
// of `now`, a group without a part placement gets one at `at` (angle 0), and when the part's
// origin land (the only round land on an origin-role layer among its members, else among the
// members one group level deeper, and so on) is not at `at`, the part is moved there.
void ApplyPastedPartRule(Board& board, ListNode& items, Point at, const std::tm& now);
// "tmp" and "%02d%02d%02d%02d%02d%02d" of the year (two digits), month, day, hour, minute, second.
std::string TemporaryPartName(const std::tm& now);

}  // namespace zevo
