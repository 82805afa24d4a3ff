#include "board/file/document.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "text/language.h"
#include "text/strings.h"

namespace zevo {

namespace {

// Texts shown by the document commands.
constexpr std::string_view kCannotWriteText = "ファイルの書込みができません。";
constexpr std::string_view kAskSaveText = "変更されましたセーブしますか？";
constexpr std::string_view kOldFormatText =
    "旧形式で保存したファイルは 円弧 四角形 文字列 などの編集ができません";
FileFilter PcbFilter() {
    return {Tr("PCBファイル"), "*.pcb"};
}

}  // namespace

// ---------------------------------------------------------------- files

namespace {

bool SyncToDisk(std::FILE* f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(fileno(f)) == 0;
#endif
}

}  // namespace

bool WriteFileSafely(const fs::path& path, const std::function<bool(TextOut&)>& body,
                     std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    std::error_code ec;
    // Saving through a symbolic link replaces the file it points to, not the link.
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    fs::path tmp;
    std::FILE* f = CreateTemporaryFor(target, tmp).release();
    if (!f) return fail("cannot create the file");
    bool ok;
    {
        TextOut out(f);
        ok = body(out);
        ok = out.flush() && ok;
    }
    ok = std::fflush(f) == 0 && ok;
    ok = SyncToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        fs::remove(tmp, ec);
        return fail("writing the file failed");
    }
    // The new file keeps the permissions of the one it replaces.
    const auto old = fs::status(target, ec);
    if (!ec && fs::exists(old)) fs::permissions(tmp, old.permissions(), ec);
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return fail("the written file could not replace the old one");
    }
    // What saves of this file killed half-way left beside it goes now.
    RemoveStaleTemporaries(target);
    return true;
}

// ---------------------------------------------------------------- reading

ReadResult ReadDocumentText(std::string_view data, Board& board) {
    ReadResult r = ReadSections(data, board);
    r.fileVersion = board.version;
    FinishDocumentRead(board, !r.error, &r.offBoard);
    return r;
}

ReadResult ReadDocument(std::FILE* file, Board& board) {
    ReadResult r = ReadSections(file, board);
    r.fileVersion = board.version;
    FinishDocumentRead(board, !r.error, &r.offBoard);
    return r;
}

namespace {
// A folder opens like a file on some systems and then fails to read: it counts as unreadable.
std::FILE* OpenForReading(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return nullptr;
    return OpenFile(path, "rb").release();
}
}  // namespace

ReadResult ReadDocument(const fs::path& path, Board& board) {
    std::FILE* f = OpenForReading(path);
    if (!f) {
        ReadResult r;
        r.opened = false;
        r.error = true;
        return r;
    }
    ReadResult r = ReadDocument(f, board);
    std::fclose(f);
    return r;
}

namespace {

void ClearScratch(const ListNode& list) {
    for (container* c : Items(list)) {
        c->scratchA = c->scratchB = 0;
        if (c->kind == kGroup) ClearScratch(AsGroup(c)->members);
    }
}

// Full circles lying directly in a filled area become its outline and holes.
void WrapCircles(Board& b, group* painted) {
    const ReservedWords& r = Reserved();
    std::vector<arc*> circles;
    bool hasLoop = false;
    for (container* c : Items(painted->members)) {
        if (c->kind == kArc && static_cast<arc*>(c)->fullCircle())
            circles.push_back(static_cast<arc*>(c));
        if (c->kind == kGroup && AsGroup(c)->type == r.loop) hasLoop = true;
    }
    if (circles.empty()) return;
    arc* outline = nullptr;
    if (!hasLoop) {
        outline = circles.front();
        for (arc* a : circles)
            if (a->r > outline->r) outline = a;
    }
    for (arc* a : circles) {
        group* g = b.CreateGroup(a == outline ? r.loop : r.window);
        a->unlink(b.changes);
        b.AppendElement(g, a);
        b.AppendElement(painted, g);
    }
}

// A part with exactly one round land on an origin layer among its direct members takes that land's
// centre as its origin.
void TakeOriginLand(const Board& b, group* part) {
    const land* found = nullptr;
    int count = 0;
    for (container* c : Items(part->members)) {
        if (c->kind != kLand) continue;
        const land* l = static_cast<const land*>(c);
        if (!l->square() && b.HasRole(l->layer, kRoleOrigin)) {
            found = l;
            ++count;
        }
    }
    if (count == 1) part->ext->pt = found->ref();
}

bool LeavesBoard(const Board& b, const Box& box) {
    return box.minX < 0 || box.minY < 0 || box.maxX > b.sizeX || box.maxY > b.sizeY;
}

const drawn* FirstDrawn(const ListNode& list) {
    for (container* c : Items(list)) {
        if (IsDrawn(c)) return AsDrawn(c);
        if (c->kind == kGroup)
            if (const drawn* d = FirstDrawn(AsGroup(c)->members)) return d;
    }
    return nullptr;
}

OffBoardElement DescribeRemoved(const container* c, const Box& box) {
    OffBoardElement e;
    e.kind = c->kind;
    if (IsDrawn(c)) {
        const drawn* d = AsDrawn(c);
        e.square = c->kind == kLand && d->square();
        e.layer = d->layer;
        e.at = d->ref();
    } else {
        const group* g = AsGroup(c);
        if (const drawn* d = FirstDrawn(g->members)) e.layer = d->layer;
        e.at = g->ext ? g->ext->pt : Point{box.minX, box.minY};
    }
    return e;
}

}  // namespace

void FinishDocumentRead(Board& b, bool readWithoutError, std::vector<OffBoardElement>* removed) {
    // The first step (groups only) and the cleanup of what leaves the board both look at one
    // top-level element at a time, so one walk does both, element by element.
    const Istr painted = Reserved().painted;
    for (ListNode* n = b.items.next; n != &b.items;) {
        container* c = AsElement(n);
        n = n->next;
        Box box;
        if (IsDrawn(c)) {
            box = AsDrawn(c)->bounds;
        } else if (c->kind == kGroup) {
            group* g = AsGroup(c);
            if (readWithoutError) {
                if (g->type == painted) WrapCircles(b, g);
                if (g->members.emptyList()) {
                    g->recycle(b);
                    continue;
                }
                if (g->ext && g->ext->kind == 2) TakeOriginLand(b, g);
            }
            if (!Board::GroupBounds(g, box)) continue;
        } else {
            continue;
        }
        if (!LeavesBoard(b, box)) continue;
        if (removed) removed->push_back(DescribeRemoved(c, box));
        c->recycle(b);
    }
    if ((b.version >> 24) == 0 && ((b.version >> 12) & 0xFFF) < 50) {
        ClearScratch(b.items);
        ConvertLegacyPaint(b);
    }
    b.version = kProgramVersion;
    b.currentLayer = 1;
    b.SetLayerSwitch(1, kActiv | kDisp);
}

namespace {

// Closed chains among the lines of one group: lines joined end to start (node points within
// 0.0015 mm), each walk starting from the next unlabelled line in order. Returns the chain
// number of each line (0: none) and the number of chains.
class ChainLabeller {
  public:
    explicit ChainLabeller(const std::vector<line*>& lines)
        : lines_(lines), label_(lines.size(), 0) {
        for (size_t i = 0; i < lines.size(); ++i)
            cells_[Key(lines[i]->start())].push_back(static_cast<int>(i));
    }

    int run() {
        int chains = 0;
        std::vector<int> walk;
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (label_[i] != 0) continue;
            walk.assign(1, static_cast<int>(i));
            label_[i] = -1;
            int cur = static_cast<int>(i);
            for (;;) {
                const Point end = lines_[cur]->end();
                if (SamePoint(end, lines_[i]->start())) {
                    ++chains;
                    for (int k : walk) label_[k] = chains;
                    break;
                }
                const int next = firstStartingAt(end);
                if (next < 0) {
                    for (int k : walk) label_[k] = 0;
                    break;
                }
                label_[next] = -1;
                walk.push_back(next);
                cur = next;
            }
        }
        return chains;
    }
    const std::vector<int>& labels() const { return label_; }

  private:
    static constexpr double kCell = 0.0015;
    static int64_t Cell(double v) {
        const double c = std::floor(v / kCell);
        return c < -1e15 ? int64_t(-1e15) : c > 1e15 ? int64_t(1e15) : static_cast<int64_t>(c);
    }
    static uint64_t Key(int64_t cx, int64_t cy) {
        return static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(cy);
    }
    static uint64_t Key(Point p) { return Key(Cell(p.x), Cell(p.y)); }

    // The first unlabelled line (in group order) that starts at p.
    int firstStartingAt(Point p) const {
        int best = -1;
        const int64_t cx = Cell(p.x), cy = Cell(p.y);
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const auto it = cells_.find(Key(cx + dx, cy + dy));
                if (it == cells_.end()) continue;
                for (int j : it->second) {
                    if (best >= 0 && j >= best) break;
                    if (label_[j] == 0 && SamePoint(lines_[j]->start(), p)) best = j;
                }
            }
        return best;
    }

    const std::vector<line*>& lines_;
    std::vector<int> label_;
    std::unordered_map<uint64_t, std::vector<int>> cells_;
};

void ConvertGroup(Board& b, group* g) {
    std::vector<line*> lines;
    int layer = -1;
    for (container* c : Items(g->members)) {
        if (c->kind != kLine) return;
        line* l = static_cast<line*>(c);
        if (l->square() || (layer >= 0 && l->layer != layer)) return;
        layer = l->layer;
        lines.push_back(l);
    }
    if (lines.empty()) return;

    ChainLabeller chains(lines);
    const int count = chains.run();
    if (count == 0) return;
    const std::vector<int>& label = chains.labels();
    int outline = 1;
    if (count > 1) {
        size_t top = lines.size();
        for (size_t i = 0; i < lines.size(); ++i)
            if (label[i] > 0 &&
                (top == lines.size() || lines[i]->bounds.maxY > lines[top]->bounds.maxY))
                top = i;
        outline = label[top];
    }
    Box box;
    bool first = true, others = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (label[i] != outline) {
            others = true;
            continue;
        }
        if (first)
            box = lines[i]->bounds;
        else
            box.grow(lines[i]->bounds);
        first = false;
    }
    if (!others) return;
    auto inside = [&](Point p) {
        return p.x >= box.minX && p.x <= box.maxX && p.y >= box.minY && p.y <= box.maxY;
    };
    for (size_t i = 0; i < lines.size(); ++i)
        if (label[i] != outline && !(inside(lines[i]->start()) && inside(lines[i]->end()))) return;

    const ReservedWords& r = Reserved();
    group* painted = b.CreateGroup(r.painted);
    auto moveInto = [&](group* sub, auto pick) {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!pick(label[i])) continue;
            lines[i]->unlink(b.changes);
            b.AppendElement(sub, lines[i]);
        }
        if (sub->members.emptyList())
            sub->recycle(b);
        else
            b.AppendElement(painted, sub);
    };
    moveInto(b.CreateGroup(r.loop), [&](int l) { return l == outline; });
    for (int k = 1; k <= count; ++k)
        if (k != outline) moveInto(b.CreateGroup(r.window), [&](int l) { return l == k; });
    moveInto(b.CreateGroup(r.lines), [](int l) { return l == 0; });
    b.AppendElement(nullptr, painted);
    // The old group is empty now; empty groups are never kept.
    g->recycle(b);
}

}  // namespace

void ConvertLegacyPaint(Board& b) {
    // Only the groups that were there before: the new filled areas go to the end of the list.
    std::vector<group*> groups;
    for (container* c : Items(b.items))
        if (c->kind == kGroup) groups.push_back(AsGroup(c));
    for (group* g : groups) ConvertGroup(b, g);
}

void ResetToBuiltInDefaults(Board& b) {
    b.ResetApertures();
    b.padDefs.clear();
    b.ResetSwapTable();
    b.libraryFiles.clear();
    b.SetBoardSize(300, 210);
    b.SetGrid(10, 1);
    b.gridOrigin = {0, 0};
    b.ClearBoard();
    b.version = kProgramVersion;
}

// ---------------------------------------------------------------- writing

bool WriteDocumentFile(const fs::path& path, const Board& board, std::string* error) {
    return WriteFileSafely(
        path,
        [&](TextOut& out) {
            WriteDocument(out, board);
            return true;
        },
        error);
}

bool WriteOldFormatFile(const fs::path& path, const Board& board, std::string* error) {
    return WriteFileSafely(
        path,
        [&](TextOut& out) {
            WriteOldFormat(out, board);
            return true;
        },
        error);
}

// ---------------------------------------------------------------- commands

std::string OffBoardMessage(size_t removed) {
    std::string s(TableText(kMsgOffBoardRemoved));
    s += Tr("（");
    s += std::to_string(removed);
    s += Tr(" 個）");
    return s;
}

namespace {

fs::path Folder(const Document& doc) {
    return doc.path.parent_path();
}

fs::path WithPcbExtension(fs::path p) {
    if (!p.has_extension()) p += ".pcb";
    return p;
}

void StartAsNewDocument(Board& b) {
    b.version = kProgramVersion;
    b.currentLayer = 1;
    b.SetLayerSwitch(1, kActiv | kDisp);
}

}  // namespace

bool AskToSaveChanges(Document& doc, DocumentUi& ui) {
    if (!doc.modified) return true;
    switch (ui.askYesNoCancel(Tr(kAskSaveText))) {
        case Answer::kYes:
            // A save that did not happen (cancelled or failed) keeps the changes: stop.
            return SaveDocumentAs(doc, ui) == CommandStatus::kDone;
        case Answer::kNo:
            return true;
        case Answer::kCancel:
            break;
    }
    return false;
}

CommandStatus NewDocument(Document& doc, DocumentUi& ui) {
    if (!AskToSaveChanges(doc, ui)) return CommandStatus::kCancelled;
    ui.resetDocument(doc.board);
    StartAsNewDocument(doc.board);
    doc.path = Folder(doc) / fs::path(std::u8string(kUntitledName.begin(), kUntitledName.end()));
    doc.modified = false;
    doc.neverSaved = true;
    ui.requestBoardSize(doc.board);
    return CommandStatus::kDone;
}

OpenOutcome OpenDocumentFile(Document& doc, DocumentUi& ui, const fs::path& path) {
    OpenOutcome o;
    // Opened before anything is cleared: a file that cannot be opened leaves the document as it
    // was.
    std::FILE* f = OpenForReading(path);
    if (!f) {
        o.status = CommandStatus::kFailed;
        o.read.opened = false;
        o.read.error = true;
        return o;
    }
    // A file without any section of a board (a picture, an empty file) is no document: adopting
    // it would let the next save write a board over it.
    const bool board = HasKnownSection(f);
    if (!board || std::fseek(f, 0, SEEK_SET) != 0) {
        std::fclose(f);
        o.status = CommandStatus::kFailed;
        o.read.error = true;
        if (board) {
            o.read.opened = false;
            return o;
        }
        o.read.issues.push_back({0, ReadIssueKind::kNoKnownSection});
        ui.showMessage(TableText(kMsgNotABoard));
        return o;
    }
    ui.resetDocument(doc.board);
    o.read = ReadDocument(f, doc.board);
    std::fclose(f);
    doc.path = path;
    doc.modified = false;
    doc.neverSaved = false;
    ui.documentNamed(path);
    o.status = CommandStatus::kDone;
    // The cleanup of the reading never goes unnoticed: one message for all it removed.
    if (!o.read.offBoard.empty()) ui.showMessage(OffBoardMessage(o.read.offBoard.size()));
    return o;
}

OpenOutcome OpenDocument(Document& doc, DocumentUi& ui) {
    if (!AskToSaveChanges(doc, ui)) return {};
    fs::path chosen;
    if (!ui.chooseFileToOpen(PcbFilter(), Folder(doc), chosen)) return {};
    return OpenDocumentFile(doc, ui, chosen);
}

CommandStatus OpenInNewEditor(Document& doc, DocumentUi& ui) {
    fs::path chosen;
    if (!ui.chooseFileToOpen(PcbFilter(), Folder(doc), chosen)) return CommandStatus::kCancelled;
    return ui.startEditor(chosen) ? CommandStatus::kDone : CommandStatus::kFailed;
}

namespace {

CommandStatus SaveTo(Document& doc, DocumentUi& ui, const fs::path& path) {
    if (!WriteDocumentFile(path, doc.board)) {
        ui.showMessage(Tr(kCannotWriteText));
        return CommandStatus::kFailed;
    }
    doc.path = path;
    doc.modified = false;
    doc.neverSaved = false;
    ui.documentNamed(path);
    return CommandStatus::kDone;
}

}  // namespace

CommandStatus SaveDocumentAs(Document& doc, DocumentUi& ui) {
    fs::path chosen;
    if (!ui.chooseFileToSave(PcbFilter(), doc.path, chosen)) return CommandStatus::kCancelled;
    return SaveTo(doc, ui, WithPcbExtension(chosen));
}

CommandStatus SaveDocument(Document& doc, DocumentUi& ui) {
    // A new document's name is only a proposal: a file of that name in the folder may belong to
    // something else, so the user chooses.
    if (doc.neverSaved || doc.path.empty()) return SaveDocumentAs(doc, ui);
    return SaveTo(doc, ui, doc.path);
}

CommandStatus SaveInOldFormat(Document& doc, DocumentUi& ui) {
    ui.showMessage(Tr(kOldFormatText));
    fs::path chosen;
    if (!ui.chooseFileToSave(PcbFilter(), doc.path, chosen)) return CommandStatus::kCancelled;
    if (!WriteOldFormatFile(WithPcbExtension(chosen), doc.board)) {
        ui.showMessage(Tr(kCannotWriteText));
        return CommandStatus::kFailed;
    }
    return CommandStatus::kDone;
}

}  // namespace zevo
