// Reading the section files: the board document, the settings file (same sections) and, through
// ItemReader, the parts of a library.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "board/file/line_reader.h"
#include "board/model/board.h"

namespace zevo {

// Why a line was skipped (or a group dropped).
enum class ReadIssueKind : uint8_t {
    kNoKnownSection,       // the file holds none of the known sections
    kBadVersion,           // a Version section without a valid "ZEVO:" line
    kBadLayerDef,          // LayerDef: unknown key, or a switch other than ON/OFF
    kBadPadDef,            // PadDef: malformed line or pair, or a number out of range
    kBadApertureDef,       // FlshDef/LineDef: malformed line, index or diameter out of range
    kBadSwapLayer,         // SwapLayer: malformed line or a pairing refused
    kBadLibraryFile,       // LibraryFiles: a line other than "FileName:"
    kUnknownItem,          // DrawItems: the line is none of the item words
    kMissingLayer,         // no LE=
    kMissingAperture,      // no AP= (or SQ=)
    kLayerOutOfRange,      // LE below 0 or 256 and above
    kApertureOutOfRange,   // aperture below 0 or 256 and above
    kArcTooSmall,          // R below 0.001
    kArcTooShort,          // |END - ST| below 0.001 degrees
    kRectSizeOutOfRange,   // DX or DY outside 0.02..500
    kRectSquareKey,        // SQ= on a rectangle
    kRectNarrowerThanPen,  // the rectangle is not wider than its pen
    kGroupMemberFailed,    // a member line failed: the whole group is dropped
    kGroupEmpty,           // the group holds no land, line, arc or rectangle
    kGroupTooDeep,         // groups nested deeper than kMaxGroupDepth: dropped with their contents
    kReadFailed,           // the file could not be read to its end
};
const char* Describe(ReadIssueKind kind);

struct ReadIssue {
    int line = 0;  // physical line number (from 1); 0 for the file as a whole
    ReadIssueKind kind{};
    friend bool operator==(const ReadIssue&, const ReadIssue&) = default;
};

// A top-level element that opening the document removed because it leaves the board.
struct OffBoardElement {
    int kind = 0;         // ElementKind
    bool square = false;  // a square land (FLSH)
    int layer = -1;       // its layer; for a group the layer of its first drawn member, -1 if none
    Point at;  // the centre of a land, arc or rectangle, a line's start, a group's placement
               // point (or the lower-left corner of its bounds when it has no placement)
    friend bool operator==(const OffBoardElement&, const OffBoardElement&) = default;
};
// "LINE layer 1 at (12.5, -0.3)": the item word of the file, the layer and the position.
std::string Describe(const OffBoardElement& e);

struct ReadResult {
    bool opened = true;  // false when the file could not be read (then nothing was changed)
    bool error = false;  // some line was skipped, or no known section was found
    std::vector<ReadIssue> issues;
    // The version the file declared (before an opened document takes the program's own).
    uint32_t fileVersion = 0;
    // What the cleanup after opening removed, in document order (not a reading error).
    std::vector<OffBoardElement> offBoard;
    // The data held none of the known sections: it is no board or settings file.
    bool noKnownSection() const {
        for (const ReadIssue& i : issues)
            if (i.kind == ReadIssueKind::kNoKnownSection) return true;
        return false;
    }
};

// Whether the data hold at least one header of a known section (only the headers are looked at,
// up to the first known one). A file that fails this is not read as a board at all.
bool HasKnownSection(std::string_view data);
// The same from an open file, read from where it stands (the caller rewinds it).
bool HasKnownSection(std::FILE* file);

struct ReadOptions {
    // False for the settings file: its DrawItems are read into a scratch list and thrown away.
    bool keepItems = true;
    // False for the settings file: its Version section does not change the document version.
    bool applyVersion = true;
};

// Reads every known section of a board or settings file into the board. Bad lines are skipped and
// noted; reading never stops early.
ReadResult ReadSections(std::string_view data, Board& board, const ReadOptions& options = {});
// The same from an open file (read in pieces, never held whole).
ReadResult ReadSections(std::FILE* file, Board& board, const ReadOptions& options = {});

// The reading of item lines (DrawItems, and the parts of a library).
class ItemReader {
  public:
    ItemReader(Board& board, std::vector<ReadIssue>& issues) : b_(board), issues_(issues) {}

    // Reads item lines up to the end of the section into `list` (top-level elements get no
    // parent). False when any line failed.
    bool readSection(LineReader& in, ListNode& list);
    // Reads the group whose GROUP line `groupLine` was just taken from `in`, with its members up to
    // the matching ENDGR line (or the end of the section). Returns it unlinked, or nullptr when it
    // failed (the failure is noted). `depth` is 1 for a group at the top of a list.
    group* readGroup(LineReader& in, std::string_view groupLine, int depth);

    enum ItemWord {
        kNotItem,
        kLandWord,
        kFlshWord,
        kLineWord,
        kArcWord,
        kRectWord,
        kGroupWord,
        kEndGroupWord
    };
    // Which item word the line begins with (the word must be followed directly by ":").
    static ItemWord Classify(std::string_view line);

  private:
    drawn* readElement(std::string_view line, ItemWord word, ReadIssueKind& why);
    void note(int line, ReadIssueKind kind) { issues_.push_back({line, kind}); }

    Board& b_;
    std::vector<ReadIssue>& issues_;
    std::string scratch_;
};

}  // namespace zevo
