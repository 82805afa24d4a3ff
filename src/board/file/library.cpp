#include "board/file/library.h"

#include <cstdio>
#include <system_error>

#include "board/file/board_reader.h"
#include "board/file/board_writer.h"
#include "board/file/file_text.h"
#include "board/file/line_reader.h"
#include "board/model/intern.h"
#include "paths/file_io.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "Libraries";

bool StartsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}

// Moves `in` past the "[Libraries]" header; false when there is none.
bool FindHeader(LineReader& in) {
    std::string_view header;
    while (in.takeHeader(header))
        if (StartsWith(header.substr(1), kHeader)) return true;
    return false;
}

bool IsGroupLine(std::string_view line) {
    return ItemReader::Classify(line) == ItemReader::kGroupWord;
}
bool IsEndLine(std::string_view line) {
    return ItemReader::Classify(line) == ItemReader::kEndGroupWord;
}

// The entry of a part's GROUP line: the text after "GROUP:" up to the second comma.
std::string_view EntryOf(std::string_view groupLine) {
    std::string_view rest = groupLine.substr(6);
    const size_t first = rest.find(',');
    if (first == std::string_view::npos) return rest;
    const size_t second = rest.find(',', first + 1);
    return second == std::string_view::npos ? rest : rest.substr(0, second);
}

// Skips the body of the group whose GROUP line was just read.
void SkipGroup(LineReader& in) {
    int level = 1;
    std::string_view line;
    while (level > 0 && in.next(line) == LineReader::kTextLine) {
        if (IsGroupLine(line)) ++level;
        if (IsEndLine(line)) --level;
    }
}

std::string_view DropLeadingBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

bool HasControl(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    return false;
}

// A physical line of the file with its line end.
struct RawLine {
    std::string_view text;  // without the line end
    std::string_view whole;
};

std::vector<RawLine> SplitLines(std::string_view s) {
    std::vector<RawLine> out;
    size_t p = 0;
    while (p < s.size()) {
        size_t e = s.find('\n', p);
        const size_t next = e == std::string_view::npos ? s.size() : e + 1;
        std::string_view text = s.substr(p, (e == std::string_view::npos ? s.size() : e) - p);
        while (!text.empty() && static_cast<unsigned char>(text.back()) < 0x20)
            text.remove_suffix(1);
        out.push_back({text, s.substr(p, next - p)});
        p = next;
    }
    return out;
}

bool HasLibraryHeader(std::string_view text) {
    LineReader in(text);
    return FindHeader(in);
}

// Writes `bytes` to "<library>.tmp", then swaps: "<library>.bak" goes, the library becomes the
// ".bak", the temporary file becomes the library.
bool SwapIn(const fs::path& library, std::string_view bytes) {
    fs::path tmp = library, bak = library;
    tmp.replace_extension(".tmp");
    bak.replace_extension(".bak");
    {
        FilePtr f = OpenFile(tmp, "wb");
        if (!f) return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
        const bool flushed = std::fflush(f.get()) == 0;
        if (!written || !flushed) {
            f.reset();
            std::error_code ec;
            fs::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    if (fs::exists(library, ec)) {
        fs::remove(bak, ec);
        fs::rename(library, bak, ec);
        if (ec) {
            fs::remove(tmp, ec);
            return false;
        }
    }
    fs::rename(tmp, library, ec);
    if (ec) {
        // Put the old library back under its name rather than leave the user without it.
        std::error_code ignored;
        if (fs::exists(bak, ignored)) fs::rename(bak, library, ignored);
        fs::remove(tmp, ignored);
        return false;
    }
    return true;
}

LibraryResult Rewrite(const fs::path& libraryEntry, std::string_view attribute,
                      std::string_view name, const ListNode* elements, Point origin,
                      const std::function<bool()>* askReplace) {
    name = DropLeadingBlanks(name);
    attribute = DropLeadingBlanks(attribute);
    if (name.empty() || HasControl(name) || HasControl(attribute)) return LibraryResult::kBadName;
    const fs::path library = LibraryWriteName(libraryEntry);
    std::string text;
    std::error_code ec;
    if (fs::exists(library, ec)) {
        std::optional<std::string> old = ReadWholeFile(library);
        if (!old) return LibraryResult::kCannotWrite;
        text = std::move(*old);
    } else if (!elements) {
        return LibraryResult::kNotFound;
    }
    std::string part;
    if (elements && !elements->emptyList()) {
        TextOut out;
        out.put("GROUP:");
        out.put(name);
        if (!attribute.empty()) {
            out.put(',');
            out.put(attribute);
        }
        out.newline();
        WritePartMembers(out, *elements, origin);
        out.put("ENDGR:");
        out.newline();
        part = std::move(out.text());
    }
    bool found = false;
    const std::string rewritten =
        RewriteLibrary(text, name, attribute, elements ? &part : nullptr, &found);
    if (!elements && !found) return LibraryResult::kNotFound;
    if (elements && found && askReplace && *askReplace && !(*askReplace)())
        return LibraryResult::kNotReplaced;
    return SwapIn(library, rewritten) ? LibraryResult::kDone : LibraryResult::kCannotWrite;
}

void CollectMembers(const group* g, std::vector<container*>& out) {
    for (container* m : Items(g->members)) out.push_back(m);
}

// A list that is one group stands for that group's members, repeatedly.
std::vector<container*> Unwrap(std::vector<container*> list) {
    for (int depth = 0; list.size() == 1 && list[0]->kind == kGroup && depth <= kMaxGroupDepth;
         ++depth) {
        const group* g = AsGroup(list[0]);
        list.clear();
        CollectMembers(g, list);
    }
    return list;
}

std::optional<Point> OnlyOriginLand(const Board& b, const std::vector<container*>& list) {
    std::optional<Point> found;
    int count = 0;
    for (const container* e : list) {
        if (e->kind != kLand) continue;
        const drawn* d = AsDrawn(e);
        if (d->square() || !b.HasRole(d->layer, kRoleOrigin)) continue;
        ++count;
        found = d->ref();
    }
    return count == 1 ? found : std::nullopt;
}

}  // namespace

std::vector<std::string> LibrariesInUse(const Board& board) {
    std::vector<std::string> libraries = board.libraryFiles;
    if (libraries.empty()) libraries.emplace_back(kDefaultLibrary);
    return libraries;
}

std::optional<std::vector<std::string>> ListPartsIn(std::string_view text) {
    LineReader in(text);
    if (!FindHeader(in)) return std::nullopt;
    std::vector<std::string> entries;
    std::string_view line;
    while (in.next(line) == LineReader::kTextLine) {
        if (!IsGroupLine(line)) continue;
        entries.emplace_back(EntryOf(line).substr(0, kMaxPartEntry));
        SkipGroup(in);
    }
    return entries;
}

std::optional<std::vector<std::string>> ListParts(const fs::path& library) {
    std::optional<std::string> text = ReadWholeFile(library);
    if (!text) return std::nullopt;
    return ListPartsIn(*text);
}

PartKey SplitPartEntry(std::string_view entry) {
    const size_t c = entry.find(',');
    if (c == std::string_view::npos) return {std::string(entry), {}};
    return {std::string(entry.substr(0, c)), std::string(entry.substr(c + 1))};
}

bool LoadPartFrom(std::string_view text, Board& board, std::string_view name,
                  std::string_view attribute, ListNode& list) {
    LineReader in(text);
    if (!FindHeader(in)) return false;
    std::string_view line;
    while (in.next(line) == LineReader::kTextLine) {
        if (!IsGroupLine(line)) continue;
        const PartKey key = SplitPartEntry(EntryOf(line));
        if (key.name != name || (!attribute.empty() && key.attribute != attribute)) {
            SkipGroup(in);
            continue;
        }
        std::vector<ReadIssue> issues;
        ItemReader reader(board, issues);
        group* g = reader.readGroup(in, line, 1);
        if (!g) return false;
        if (!issues.empty()) {
            // A member was bad: the part is not used at all.
            g->recycle(board);
            return false;
        }
        g->insertBefore(&list, board.changes);
        g->parent = nullptr;
        return true;
    }
    return false;
}

bool LoadPart(const fs::path& library, Board& board, std::string_view name,
              std::string_view attribute, ListNode& list) {
    std::optional<std::string> text = ReadWholeFile(library);
    return text && LoadPartFrom(*text, board, name, attribute, list);
}

fs::path LibraryWriteName(fs::path library) {
    if (!library.has_extension()) library += ".lib";
    return library;
}

std::string RewriteLibrary(std::string_view text, std::string_view name, std::string_view attribute,
                           const std::string* part, bool* found) {
    if (found) *found = false;
    std::string out;
    out.reserve(text.size() + (part ? part->size() : 0) + 16);
    if (!HasLibraryHeader(text)) {
        // No library: what the file held stays in the ".bak" copy; the new file is a library.
        out = "[Libraries]\r\n";
        if (part) out += *part;
        return out;
    }
    // Parts are looked at only in the library section; a header ends whatever was open.
    // A new part goes at the end of the first library section, where the readers find it.
    int level = 0;
    bool skipping = false, inLibrary = false;
    size_t insertAt = std::string::npos;
    for (const RawLine& l : SplitLines(text)) {
        if (!l.text.empty() && l.text.front() == '[') {
            if (inLibrary && insertAt == std::string::npos) insertAt = out.size();
            inLibrary = StartsWith(l.text.substr(1), kHeader);
            level = 0;
            skipping = false;
            out += l.whole;
            continue;
        }
        const bool opens = inLibrary && IsGroupLine(l.text);
        const bool closes = inLibrary && IsEndLine(l.text);
        if (inLibrary && level == 0 && closes) continue;  // nothing to close
        if (level == 0 && opens) {
            const PartKey key = SplitPartEntry(EntryOf(l.text));
            skipping = key.name == name && key.attribute == attribute;
            if (skipping && found) *found = true;
        }
        if (opens) ++level;
        if (closes) --level;
        if (!skipping) out += l.whole;
        if (level == 0) skipping = false;
    }
    if (insertAt == std::string::npos) insertAt = out.size();
    if (part) {
        std::string add = *part;
        if (insertAt > 0 && out[insertAt - 1] != '\n') add.insert(0, "\r\n");
        out.insert(insertAt, add);
    }
    return out;
}

LibraryResult RegisterPart(const fs::path& library, std::string_view attribute,
                           std::string_view name, const ListNode& elements, Point origin,
                           const std::function<bool()>& askReplace) {
    return Rewrite(library, attribute, name, &elements, origin, &askReplace);
}

LibraryResult DeletePart(const fs::path& library, std::string_view attribute,
                         std::string_view name) {
    return Rewrite(library, attribute, name, nullptr, {}, nullptr);
}

std::optional<Point> PartOrigin(const Board& b, std::span<container* const> selected) {
    std::vector<container*> list(selected.begin(), selected.end());
    if (list.size() == 1 && list[0]->kind == kGroup) {
        const group* g = AsGroup(list[0]);
        if (g->ext) return g->ext->pt;
        list.clear();
        CollectMembers(g, list);
    }
    list = Unwrap(std::move(list));
    if (auto p = OnlyOriginLand(b, list)) return p;
    for (const container* e : list) {
        if (e->kind != kGroup) continue;
        std::vector<container*> members;
        CollectMembers(AsGroup(e), members);
        if (auto p = OnlyOriginLand(b, Unwrap(std::move(members)))) return p;
    }
    return std::nullopt;
}

}  // namespace zevo
