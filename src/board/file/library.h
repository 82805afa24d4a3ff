// Part libraries: text files (".lib") of reusable parts. After a "[Libraries]" header (anywhere in
// the file) each part is a top-level group, "GROUP:name" with ",attribute" when it has one, its
// elements as item lines relative to the part's origin, and "ENDGR:". Names and attributes are
// file bytes (Shift-JIS), as the board keeps them.
//
// A library is rewritten whole: the new version goes to "<name>.tmp", the old one is kept as
// "<name>.bak" and the new one takes its name only when it is complete.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "board/model/board.h"

namespace zevo {

// The library a settings file without a library list stands for.
inline constexpr std::string_view kDefaultLibrary = "Parts.lib";
// The libraries offered by the library dialogs: the board's library file list, or the default
// library when the list is empty.
std::vector<std::string> LibrariesInUse(const Board& board);

// The longest entry ListParts gives (bytes).
inline constexpr size_t kMaxPartEntry = 127;

// The entries of the parts in the library text, in file order: the text after "GROUP:" up to its
// second comma ("name" or "name,attribute"), cut to kMaxPartEntry bytes. Parts inside parts are
// skipped with their part. Nothing when the text has no "[Libraries]" header.
std::optional<std::vector<std::string>> ListPartsIn(std::string_view text);
// The same from a file; nothing when it cannot be read or is no library.
std::optional<std::vector<std::string>> ListParts(const std::filesystem::path& library);

// An entry of ListParts split at its first comma.
struct PartKey {
    std::string name, attribute;
};
PartKey SplitPartEntry(std::string_view entry);

// Reads the first part named `name` (and, when `attribute` is not empty, with that attribute)
// into `list` as one unlinked-from-the-board top-level group without a placement. False, with
// nothing added, when the text is no library, the part is not there or a line of it is bad.
bool LoadPartFrom(std::string_view text, Board& board, std::string_view name,
                  std::string_view attribute, ListNode& list);
bool LoadPart(const std::filesystem::path& library, Board& board, std::string_view name,
              std::string_view attribute, ListNode& list);

// The file a library entry is written to: ".lib" appended when the name has no extension.
std::filesystem::path LibraryWriteName(std::filesystem::path library);

enum class LibraryResult {
    kDone,
    kBadName,      // empty name, or a byte below 0x20 in the name or the attribute
    kNotReplaced,  // the part was there and the user kept it
    kCannotWrite,  // the library or its temporary file could not be written
    kNotFound,     // DeletePart: no such part (the library is left as it was)
};

// Writes `elements` as the part `name` with `attribute` (the origin subtracted from every
// coordinate) into the library, replacing a part of the same name and attribute after
// `askReplace` (the question "登録されています、上書きしますか？") says yes. Leading blanks of the
// name and the attribute are dropped. A file that is no library is kept as "<name>.bak" and
// becomes a library holding the new part.
LibraryResult RegisterPart(const std::filesystem::path& library, std::string_view attribute,
                           std::string_view name, const ListNode& elements, Point origin,
                           const std::function<bool()>& askReplace);
// Takes the part `name` with `attribute` (empty: the part without one) out of the library.
LibraryResult DeletePart(const std::filesystem::path& library, std::string_view attribute,
                         std::string_view name);

// The library text with the part (name, attribute) left out and, when `part` is given, the new
// part appended; `found` tells whether the part was there. Lines of the file are kept as they
// are; a stray "ENDGR:" outside any part is dropped. A text without the header becomes a library.
std::string RewriteLibrary(std::string_view text, std::string_view name, std::string_view attribute,
                           const std::string* part, bool* found);

// The origin of a part registered from the items `selected` (the members of the one selected
// group when exactly one group is selected): the group's placement point when it has one; else
// the centre of the only round land on an origin-role layer among the direct members of the first
// list that has exactly one (the selection, then each group in it, a list of one group standing
// for that group's members). Nothing when neither applies: the caller takes the centre of the
// bounds as a clicked point.
std::optional<Point> PartOrigin(const Board& board, std::span<container* const> selected);

}  // namespace zevo
