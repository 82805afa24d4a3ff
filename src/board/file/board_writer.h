// Writing the section files: the board document in the current and in the old format, the item
// lines of a library part, and the board sections the settings file shares with the document.
// Every line ends with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "board/file/file_text.h"
#include "board/model/board.h"

namespace zevo {

// "0.63.9", or "0.63" when the patch number is 0.
std::string VersionText(uint32_t version);

// "[name]"; every section but the first is preceded by an empty line.
void WriteSectionHeader(TextOut& out, std::string_view name, bool first = false);
// The sections in the document's order.
void WriteVersionSection(TextOut& out, std::string_view versionText, bool first = true);
void WriteBoardSizeSection(TextOut& out, const Board& b);
void WriteLayerDefSection(TextOut& out, const Board& b);
void WritePadDefSection(TextOut& out, const Board& b);
// FlshDef then LineDef: the apertures whose diameter differs from the default.
void WriteApertureSections(TextOut& out, const Board& b);

// Item lines for the elements of `list`, groups with their members. With an origin every
// coordinate is written relative to it (library parts).
void WriteItems(TextOut& out, const ListNode& list, const Point* origin = nullptr);
// The same for the elements that become the members of a library part: loose elements keep their
// pin names and numbers, as the part's members do.
void WritePartMembers(TextOut& out, const ListNode& list, Point origin);

// The whole document.
void WriteDocument(TextOut& out, const Board& b);
std::string WriteDocument(const Board& b);
// The old format, for readers that know only lands and lines.
void WriteOldFormat(TextOut& out, const Board& b);
std::string WriteOldFormat(const Board& b);

}  // namespace zevo
