// Opening a document (the steps after reading, the old filled areas), saving it safely, and the
// document commands with their questions.
#include "board/file/document.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <deque>
#include <fstream>
#include <sstream>

#include "board/board_compare.h"

#ifdef __linux__
#include <sys/resource.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

namespace zevo {
namespace {

using testing::First;
using testing::NewBoard;

std::unique_ptr<Board> Open(std::string_view text, ReadResult* result = nullptr) {
    auto b = NewBoard();
    ReadResult r = ReadDocumentText(text, *b);
    if (result) *result = r;
    return b;
}

std::vector<Istr> TypeWords(const ListNode& list) {
    std::vector<Istr> t;
    for (container* c : Items(list)) t.push_back(c->kind == kGroup ? AsGroup(c)->type : nullptr);
    return t;
}

TEST(AfterReading, CirclesInAFilledAreaBecomeItsOutlineAndHoles) {
    const char* text =
        "[DrawItems]\n"
        "GROUP: "
        "PAINTED\nARC:X=50,Y=50,R=5,ST=0,END=360,LE=1,AP=0\nARC:X=50,Y=50,R=20,ST=0,END=360,LE=1,"
        "AP=0\n"
        "ARC:X=50,Y=50,R=20,ST=90,END=450,LE=1,AP=0\nARC:X=50,Y=50,R=30,ST=0,END=90,LE=1,AP=0\n"
        "GROUP: LINES\nLINE:XS=40,YS=50,XE=60,YE=50,LE=1,AP=0\nENDGR:\nENDGR:\n"
        "GROUP: PAINTED\nGROUP: LOOP\nLINE:XS=10,YS=10,XE=20,YE=10,LE=1,AP=0\nENDGR:\n"
        "ARC:X=15,Y=15,R=2,ST=0,END=360,LE=1,AP=0\nGROUP: "
        "LINES\nLINE:XS=10,YS=12,XE=20,YE=12,LE=1,AP=0\nENDGR:\nENDGR:\n";
    auto b = Open(text);
    const ReservedWords& r = Reserved();
    const group* first = AsGroup(First(*b));
    // The largest circle (the first of two equal ones) is the outline; the arc that is no full
    // circle stays where it was.
    EXPECT_EQ(TypeWords(first->members),
              (std::vector<Istr>{nullptr, r.lines, r.window, r.loop, r.window}));
    const group* loop = AsGroup(AsElement(first->members.prev->prev));
    EXPECT_EQ(static_cast<const arc*>(AsElement(loop->members.next))->r, 20);
    EXPECT_NEAR(ToDegrees(static_cast<const arc*>(AsElement(loop->members.next))->st), 0, 1e-9);
    const group* second = AsGroup(AsElement(b->items.prev));
    EXPECT_EQ(TypeWords(second->members), (std::vector<Istr>{r.loop, r.lines, r.window}));
    // A file with errors skips this step.
    std::string bad = std::string(text) + "BAD\n";
    b = Open(bad);
    EXPECT_EQ(TypeWords(AsGroup(First(*b))->members),
              (std::vector<Istr>{nullptr, nullptr, nullptr, nullptr, r.lines}));
}

TEST(AfterReading, APartTakesItsOnlyOriginLandAsItsOrigin) {
    const char* text =
        "[LayerDef]\n9:NAME=ORIGIN\n[DrawItems]\n"
        "GROUP:P1,,,X=1,Y=1,ANG=0\nLAND:X=20,Y=30,LE=9,AP=0\nFLSH:X=25,Y=35,LE=9,AP=0\n"
        "GROUP:\nLAND:X=26,Y=36,LE=9,AP=0\nENDGR:\nENDGR:\n"
        "GROUP:P2,,,X=1,Y=1,ANG=0\nLAND:X=20,Y=30,LE=9,AP=0\nLAND:X=21,Y=30,LE=9,AP=0\nENDGR:\n"
        "GROUP:P3\nLAND:X=20,Y=30,LE=9,AP=0\nENDGR:\n";
    auto b = Open(text);
    std::vector<const group*> g;
    for (container* c : Items(b->items)) g.push_back(AsGroup(c));
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0]->ext->pt, (Point{20, 30}));  // square and nested lands do not count
    EXPECT_EQ(g[1]->ext->pt, (Point{1, 1}));    // two candidates: no change
    EXPECT_EQ(g[2]->ext, nullptr);
}

TEST(AfterReading, WhatLeavesTheBoardIsDroppedAndTheVersionAndLayerOneAreSet) {
    ReadResult r;
    auto b = Open(
        "[Version]\nZEVO:Version "
        "0.60\n[LayerDef]\n1:DISP=OFF\n[BoardSize]\nX:100\nY:100\n[DrawItems]\n"
        "LAND:X=0.05,Y=50,LE=1,AP=0\nLAND:X=0.04,Y=50,LE=1,AP=0\nLINE:XS=50,YS=50,XE=50,YE=100.1,"
        "LE=1,AP=0\n"
        "GROUP:\nLAND:X=50,Y=50,LE=1,AP=0\nGROUP:\nLAND:X=50,Y=99.96,LE=1,AP=0\nENDGR:\nENDGR:\n"
        "ARC:X=50,Y=50,R=49,ST=170,END=190,LE=1,AP=0\nARC:X=50,Y=50,R=49.96,ST=170,END=190,LE=1,AP="
        "0\n",
        &r);
    EXPECT_FALSE(r.error);
    std::vector<double> kept;
    for (container* c : Items(b->items))
        kept.push_back(c->kind == kArc ? static_cast<arc*>(c)->r : AsDrawn(c)->x);
    EXPECT_EQ(kept, (std::vector<double>{0.05, 49}));  // the land touching x = 0 stays
    EXPECT_EQ(b->version, kProgramVersion);
    EXPECT_EQ(b->currentLayer, 1);
    EXPECT_EQ(b->layerFlags[1] & (kDisp | kActiv), kDisp | kActiv);
}

TEST(AfterReading, WhatLeavesTheBoardIsListedWithItsKindLayerAndPosition) {
    ReadResult r;
    auto b = Open(
        "[BoardSize]\nX:100\nY:100\n[DrawItems]\n"
        "FLSH:X=-1,Y=5,LE=3,AP=1\n"
        "LAND:X=50,Y=50,LE=1,AP=0\n"
        "GROUP:R1,,U1,X=99,Y=10,ANG=0\nLAND:X=99.99,Y=10,LE=2,AP=0\nENDGR:\n"
        "LINE:XS=20,YS=30,XE=20,YE=130,LE=4,AP=0\n"
        "GROUP:\nGROUP:\nARC:X=70,Y=-3,R=1,ST=0,END=90,LE=5,AP=0\nENDGR:\nENDGR:\n",
        &r);
    EXPECT_FALSE(r.error);  // the cleanup is no reading error
    EXPECT_EQ(b->liveCounts().lands, 1u);
    ASSERT_EQ(r.offBoard.size(), 4u);
    EXPECT_EQ(r.offBoard[0], (OffBoardElement{kLand, true, 3, {-1, 5}}));
    EXPECT_EQ(r.offBoard[1], (OffBoardElement{kGroup, false, 2, {99, 10}}));  // its placement
    EXPECT_EQ(r.offBoard[2], (OffBoardElement{kLine, false, 4, {20, 30}}));
    EXPECT_EQ(r.offBoard[3].kind, kGroup);  // no placement: its lower-left corner
    EXPECT_EQ(r.offBoard[3].layer, 5);      // the layer of its first drawn member
    EXPECT_LT(r.offBoard[3].at.y, -3);
    EXPECT_EQ(Describe(r.offBoard[0]), "FLSH layer 3 at (-1, 5)");
    EXPECT_EQ(Describe(r.offBoard[2]), "LINE layer 4 at (20, 30)");
}

TEST(AfterReading, OnlyAFileWithAKnownSectionIsABoard) {
    EXPECT_TRUE(HasKnownSection("junk\n[Other]\nX:1\n[DrawItemsX]\n"));
    EXPECT_TRUE(HasKnownSection("[Version]\r\n"));
    for (std::string_view no :
         {std::string_view(""), std::string_view("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
          std::string_view("[Window]\nToolBar:Hide\n"),
          std::string_view("LAND:X=1,Y=1,LE=1,AP=0\n")})
        EXPECT_FALSE(HasKnownSection(no)) << no;
}

// A plain group of lines as files before 0.50 stored a filled area: an outline (square, lines out
// of order), a hole and fill strokes.
const char* kLegacyArea =
    "LINE:XS=10,YS=10,XE=20,YE=10,LE=2,AP=1\nLINE:XS=20,YS=20,XE=10,YE=20,LE=2,AP=1\n"
    "LINE:XS=14,YS=14,XE=16,YE=14,LE=2,AP=1\nLINE:XS=11,YS=12,XE=19,YE=12,LE=2,AP=1\n"
    "LINE:XS=20,YS=10,XE=20,YE=20,LE=2,AP=1\nLINE:XS=16,YS=14,XE=15,YE=16,LE=2,AP=1\n"
    "LINE:XS=10,YS=20,XE=10,YE=10,LE=2,AP=1\nLINE:XS=15,YS=16,XE=14,YE=14,LE=2,AP=1\n";

TEST(LegacyPaint, OldGroupsOfLinesBecomeFilledAreas) {
    auto b = Open(std::string("[Version]\nZEVO:Version 0.49.9\n[DrawItems]\nGROUP:\n") +
                  kLegacyArea + "ENDGR:\n");
    const ReservedWords& r = Reserved();
    ASSERT_EQ(TypeWords(b->items), (std::vector<Istr>{r.painted}));
    const group* painted = AsGroup(First(*b));
    EXPECT_EQ(TypeWords(painted->members), (std::vector<Istr>{r.loop, r.window, r.lines}));
    std::vector<size_t> counts;
    for (container* c : Items(painted->members)) {
        size_t n = 0;
        for (container* m : Items(AsGroup(c)->members)) n += m->kind == kLine;
        counts.push_back(n);
    }
    EXPECT_EQ(counts, (std::vector<size_t>{4, 3, 1}));
    EXPECT_EQ(b->version, kProgramVersion);
}

TEST(LegacyPaint, GroupsThatAreNoFilledAreaStayAsTheyAre) {
    const std::string head = "[Version]\nZEVO:Version 0.48.9\n[DrawItems]\nGROUP:\n";
    const std::string cases[] = {
        std::string(kLegacyArea) + "LAND:X=15,Y=15,LE=2,AP=1\n",                // not only lines
        std::string(kLegacyArea) + "LINE:XS=11,YS=13,XE=19,YE=13,LE=3,AP=1\n",  // two layers
        std::string(kLegacyArea) + "LINE:XS=11,YS=13,XE=19,YE=13,LE=2,SQ=1\n",  // a square pen
        std::string(kLegacyArea) + "LINE:XS=11,YS=13,XE=29,YE=13,LE=2,AP=1\n",  // a stroke outside
        "LINE:XS=10,YS=10,XE=20,YE=10,LE=2,AP=1\nLINE:XS=20,YS=10,XE=10,YE=10,LE=2,AP="
        "1\n",  // one chain only
        "LINE:XS=10,YS=10,XE=20,YE=10,LE=2,AP=1\nLINE:XS=20,YS=10,XE=30,YE=10,LE=2,AP="
        "1\n",  // no chain
    };
    for (const std::string& c : cases) {
        auto b = Open(head + c + "ENDGR:\n");
        EXPECT_EQ(TypeWords(b->items), (std::vector<Istr>{kEmptyText})) << c;
    }
    // From 0.50 on the conversion does not run.
    auto b = Open(std::string("[Version]\nZEVO:Version 0.50\n[DrawItems]\nGROUP:\n") + kLegacyArea +
                  "ENDGR:\n");
    EXPECT_EQ(TypeWords(b->items), (std::vector<Istr>{kEmptyText}));
}

// ---------------------------------------------------------------- saving

class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path() /
               ("zevo_doc_test_" + std::to_string(stamp) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::string Contents(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Put(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    size_t FilesIn() const {
        return std::distance(fs::directory_iterator(dir_), fs::directory_iterator());
    }
    fs::path dir_;
};

TEST_F(Files, SavingReplacesTheOldFileOnlyWhenTheNewOneIsComplete) {
    const fs::path p = dir_ / "a.pcb";
    Put(p, "old");
    auto b = NewBoard();
    b->AppendElement(nullptr, b->CreateLand(1, 0, false, {1, 1}));
#ifndef _WIN32
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    ASSERT_TRUE(WriteDocumentFile(p, *b));
    EXPECT_EQ(Contents(p), WriteDocument(*b));
#ifndef _WIN32
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(FilesIn(), 1u);

    // A writer that fails half-way leaves the old file and no temporary one.
    std::string error;
    EXPECT_FALSE(WriteFileSafely(
        p,
        [](TextOut& out) {
            out.put("half");
            return false;
        },
        &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Contents(p), WriteDocument(*b));
    EXPECT_EQ(FilesIn(), 1u);
    // A folder that does not exist.
    EXPECT_FALSE(WriteDocumentFile(dir_ / "no" / "a.pcb", *b));

#ifndef _WIN32
    // Saving through a link replaces the file it points to.
    const fs::path link = dir_ / "link.pcb";
    fs::create_symlink(p, link);
    auto empty = NewBoard();
    ASSERT_TRUE(WriteDocumentFile(link, *empty));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(p), WriteDocument(*empty));
#endif
}

#ifdef __linux__
TEST_F(Files, AFullDiskDuringSavingLeavesTheOldFileIntact) {
    const fs::path p = dir_ / "big.pcb";
    Put(p, "the board as it was");
    auto b = NewBoard();
    for (int i = 0; i < 20000; ++i)
        b->AppendElement(nullptr, b->CreateLand(1, 0, false, {1 + i * 0.001, 1}));
    // The file size limit plays the full disk: writes beyond it fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool ok = WriteDocumentFile(p, *b, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Contents(p), "the board as it was");
    EXPECT_EQ(FilesIn(), 1u);
}
#endif

TEST_F(Files, ReadingAFileThatCannotBeOpenedChangesNothing) {
    auto b = NewBoard();
    b->AppendElement(nullptr, b->CreateLand(1, 0, false, {1, 1}));
    EXPECT_FALSE(ReadDocument(dir_ / "missing.pcb", *b).opened);
    EXPECT_FALSE(ReadDocument(dir_, *b).opened);
    EXPECT_EQ(b->liveCounts().lands, 1u);
    Put(dir_ / "ok.pcb", "[DrawItems]\r\nLAND:X=2,Y=2,LE=1,AP=0\r\n");
    const ReadResult r = ReadDocument(dir_ / "ok.pcb", *b);
    EXPECT_TRUE(r.opened);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->liveCounts().lands, 2u);
}

// ---------------------------------------------------------------- commands

// Answers from queues and remembers what it was asked.
class ScriptedUi : public DocumentUi {
  public:
    void showMessage(std::string_view text) override {
        log.push_back("message:" + std::string(text));
    }
    Answer askYesNoCancel(std::string_view text) override {
        log.push_back("ask:" + std::string(text));
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool chooseFileToOpen(const FileFilter& f, const fs::path& start, fs::path& chosen) override {
        return choose("open", f, start, chosen);
    }
    bool chooseFileToSave(const FileFilter& f, const fs::path& start, fs::path& chosen) override {
        return choose("save", f, start, chosen);
    }
    void requestBoardSize(Board&) override { log.push_back("board size"); }
    void documentNamed(const fs::path& p) override {
        log.push_back("named:" + p.filename().string());
    }
    bool startEditor(const fs::path& p) override {
        log.push_back("start:" + p.filename().string());
        return true;
    }

    fs::path base;  // choosers log their start relative to this
    std::deque<Answer> answers;
    std::deque<fs::path> files;  // an empty path cancels the chooser
    std::vector<std::string> log;

  private:
    bool choose(const char* what, const FileFilter& f, const fs::path& start, fs::path& chosen) {
        log.push_back(std::string(what) + ":" + std::string(f.description) + " " +
                      std::string(f.pattern) + " " + start.lexically_relative(base).string());
        chosen = files.front();
        files.pop_front();
        return !chosen.empty();
    }
};

using Log = std::vector<std::string>;
const std::string kAsk = "ask:変更されましたセーブしますか？";
const std::string kCannotWrite = "message:ファイルの書込みができません。";

TEST_F(Files, NewAndOpenAskToSaveAModifiedDocumentFirst) {
    Document doc;
    ResetToBuiltInDefaults(doc.board);
    doc.path = dir_ / "old.pcb";
    ScriptedUi ui;
    ui.base = dir_;
    EXPECT_EQ(NewDocument(doc, ui), CommandStatus::kDone);  // not modified: no question
    EXPECT_EQ(doc.path, dir_ / "untitled.pcb");
    EXPECT_EQ(ui.log, (Log{"board size"}));

    // Cancel, or a cancelled save dialog, stops the command; Yes saves under a chosen name.
    doc.modified = true;
    ui.log.clear();
    ui.answers = {Answer::kCancel, Answer::kYes, Answer::kYes};
    ui.files = {fs::path(), dir_ / "saved", fs::path()};
    EXPECT_EQ(NewDocument(doc, ui), CommandStatus::kCancelled);
    EXPECT_EQ(NewDocument(doc, ui), CommandStatus::kCancelled);
    EXPECT_EQ(OpenDocument(doc, ui).status,
              CommandStatus::kCancelled);  // saved, then the open dialog is cancelled
    EXPECT_EQ(ui.log, (Log{kAsk, kAsk, "save:PCBファイル *.pcb untitled.pcb", kAsk,
                           "save:PCBファイル *.pcb untitled.pcb", "named:saved.pcb",
                           "open:PCBファイル *.pcb ."}));
    EXPECT_TRUE(fs::exists(dir_ / "saved.pcb"));
    EXPECT_FALSE(doc.modified);

    // Opening: No discards the changes; the file's read result comes back.
    Put(dir_ / "in.pcb", "[DrawItems]\nLAND:X=2,Y=2,LE=1,AP=0\nBAD\n");
    doc.modified = true;
    ui.log.clear();
    ui.answers = {Answer::kNo};
    ui.files = {dir_ / "in.pcb"};
    const OpenOutcome o = OpenDocument(doc, ui);
    EXPECT_EQ(o.status, CommandStatus::kDone);
    EXPECT_TRUE(o.read.error);
    EXPECT_EQ(o.read.issues.size(), 1u);
    EXPECT_EQ(doc.path, dir_ / "in.pcb");
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.board.liveCounts().lands, 1u);
    EXPECT_EQ(ui.log, (Log{kAsk, "open:PCBファイル *.pcb .", "named:in.pcb"}));

    // A file that cannot be opened leaves the document as it was.
    doc.modified = true;
    ui.answers = {Answer::kNo};
    ui.files = {dir_ / "gone.pcb"};
    const OpenOutcome gone = OpenDocument(doc, ui);
    EXPECT_EQ(gone.status, CommandStatus::kFailed);
    EXPECT_FALSE(gone.read.opened);
    EXPECT_EQ(doc.path, dir_ / "in.pcb");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.board.liveCounts().lands, 1u);
}

TEST_F(Files, SaveSaveAsAndTheOldFormat) {
    Document doc;
    ResetToBuiltInDefaults(doc.board);
    doc.board.AppendElement(nullptr, doc.board.CreateArc(1, 0, {50, 50}, 5, 0, 1));
    doc.modified = true;
    ScriptedUi ui;
    ui.base = dir_;
    ui.files = {dir_ / "first"};
    EXPECT_EQ(SaveDocument(doc, ui), CommandStatus::kDone);  // no name yet: the dialog
    EXPECT_EQ(doc.path, dir_ / "first.pcb");
    doc.modified = true;
    EXPECT_EQ(SaveDocument(doc, ui), CommandStatus::kDone);  // named: no dialog
    EXPECT_FALSE(doc.modified);
    ui.files = {dir_ / "second.txt"};
    EXPECT_EQ(SaveDocumentAs(doc, ui), CommandStatus::kDone);
    EXPECT_EQ(doc.path, dir_ / "second.txt");  // an extension of its own is kept

    doc.modified = true;
    ui.log.clear();
    ui.files = {dir_ / "old"};
    EXPECT_EQ(SaveInOldFormat(doc, ui), CommandStatus::kDone);
    EXPECT_EQ(ui.log,
              (Log{"message:旧形式で保存したファイルは 円弧 四角形 文字列 などの編集ができません",
                   "save:PCBファイル *.pcb second.txt"}));
    EXPECT_EQ(Contents(dir_ / "old.pcb"), WriteOldFormat(doc.board));
    EXPECT_EQ(doc.path, dir_ / "second.txt");
    EXPECT_TRUE(doc.modified);

    // A file that cannot be written says so and keeps the document modified.
    ui.log.clear();
    doc.path = dir_ / "no" / "such.pcb";
    EXPECT_EQ(SaveDocument(doc, ui), CommandStatus::kFailed);
    EXPECT_EQ(ui.log, (Log{kCannotWrite}));
    EXPECT_TRUE(doc.modified);
    // ... and a failed save in the save question stops the command.
    ui.answers = {Answer::kYes};
    ui.files = {dir_ / "no" / "x.pcb"};
    EXPECT_EQ(NewDocument(doc, ui), CommandStatus::kCancelled);
    EXPECT_EQ(doc.board.liveCounts().arcs, 1u);

    ui.log.clear();
    ui.files = {dir_ / "other.pcb"};
    EXPECT_EQ(OpenInNewEditor(doc, ui), CommandStatus::kDone);
    EXPECT_EQ(ui.log.back(), "start:other.pcb");
}

TEST_F(Files, AFileThatIsNoBoardIsRefusedAndTheDocumentStaysAsItWas) {
    Document doc;
    ResetToBuiltInDefaults(doc.board);
    doc.board.AppendElement(nullptr, doc.board.CreateLand(1, 0, false, {5, 5}));
    doc.path = dir_ / "mine.pcb";
    doc.neverSaved = false;
    doc.modified = true;
    ScriptedUi ui;
    ui.base = dir_;
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    Put(dir_ / "picture.png", png);
    Put(dir_ / "empty.pcb", "");
    Put(dir_ / "noise.pcb", "LAND:X=1,Y=1,LE=1,AP=0\n\x01\x02\xff garbage\n");
    for (const char* name : {"picture.png", "empty.pcb", "noise.pcb"}) {
        ui.log.clear();
        ui.answers = {Answer::kNo};
        ui.files = {dir_ / name};
        const OpenOutcome o = OpenDocument(doc, ui);
        EXPECT_EQ(o.status, CommandStatus::kFailed) << name;
        EXPECT_TRUE(o.read.noKnownSection()) << name;
        EXPECT_EQ(ui.log,
                  (Log{kAsk, "open:PCBファイル *.pcb .", "message:ボードファイルではありません。"}))
            << name;
        EXPECT_EQ(doc.path, dir_ / "mine.pcb") << name;
        EXPECT_TRUE(doc.modified) << name;
        EXPECT_EQ(doc.board.liveCounts().lands, 1u) << name;
    }
    EXPECT_EQ(Contents(dir_ / "picture.png"), png);
    // Some known section with bad lines is a board all the same.
    Put(dir_ / "rough.pcb", "[DrawItems]\nBOGUS\nLAND:X=2,Y=2,LE=1,AP=0\n");
    ui.answers = {Answer::kNo};
    ui.files = {dir_ / "rough.pcb"};
    const OpenOutcome rough = OpenDocument(doc, ui);
    EXPECT_EQ(rough.status, CommandStatus::kDone);
    EXPECT_EQ(rough.read.issues.size(), 1u);
    EXPECT_EQ(doc.path, dir_ / "rough.pcb");
}

TEST_F(Files, OpeningSaysOnceThatElementsOffTheBoardWereRemoved) {
    Document doc;
    ResetToBuiltInDefaults(doc.board);
    ScriptedUi ui;
    ui.base = dir_;
    Put(dir_ / "edge.pcb",
        "[BoardSize]\r\nX:100\r\nY:100\r\n[DrawItems]\r\nLAND:X=-5,Y=5,LE=1,AP=0\r\n"
        "LINE:XS=1,YS=1,XE=200,YE=1,LE=1,AP=0\r\nLAND:X=50,Y=50,LE=1,AP=0\r\n");
    const OpenOutcome o = OpenDocumentFile(doc, ui, dir_ / "edge.pcb");
    EXPECT_EQ(o.status, CommandStatus::kDone);
    EXPECT_EQ(o.read.offBoard.size(), 2u);
    EXPECT_EQ(ui.log, (Log{"named:edge.pcb", "message:" + OffBoardMessage(2)}));
    EXPECT_EQ(OffBoardMessage(2), "作画範囲の外にあった要素を削除しました（2 個）");
    // Nothing removed, nothing said.
    Put(dir_ / "fine.pcb", "[DrawItems]\r\nLAND:X=50,Y=50,LE=1,AP=0\r\n");
    ui.log.clear();
    OpenDocumentFile(doc, ui, dir_ / "fine.pcb");
    EXPECT_EQ(ui.log, (Log{"named:fine.pcb"}));
}

TEST_F(Files, ANewDocumentIsNeverWrittenUnderItsProposedNameWithoutTheDialog) {
    Document doc;
    ResetToBuiltInDefaults(doc.board);
    doc.path = dir_ / "old.pcb";
    ScriptedUi ui;
    ui.base = dir_;
    NewDocument(doc, ui);
    EXPECT_EQ(doc.path, dir_ / "untitled.pcb");
    Put(dir_ / "untitled.pcb", "someone else's file");
    doc.modified = true;
    // Save (404) asks for the name, proposing "untitled.pcb" in the last folder; cancelled, it
    // writes nothing.
    ui.log.clear();
    ui.files = {fs::path()};
    EXPECT_EQ(SaveDocument(doc, ui), CommandStatus::kCancelled);
    EXPECT_EQ(ui.log, (Log{"save:PCBファイル *.pcb untitled.pcb"}));
    EXPECT_EQ(Contents(dir_ / "untitled.pcb"), "someone else's file");
    EXPECT_TRUE(doc.modified);
    // A chosen name; from then on the document is saved without the dialog.
    ui.files = {dir_ / "mine"};
    EXPECT_EQ(SaveDocument(doc, ui), CommandStatus::kDone);
    EXPECT_EQ(doc.path, dir_ / "mine.pcb");
    doc.modified = true;
    ui.log.clear();
    EXPECT_EQ(SaveDocument(doc, ui), CommandStatus::kDone);
    EXPECT_EQ(ui.log, (Log{"named:mine.pcb"}));
    EXPECT_EQ(Contents(dir_ / "untitled.pcb"), "someone else's file");
}

#ifndef _WIN32
TEST_F(Files, ASaveRemovesTheTemporariesOfWritersThatDiedAndNoOtherFile) {
    const fs::path p = dir_ / "a.pcb";
    // 99999999 is above any process id the system hands out: that writer is gone.
    const std::string dead = "a.pcb.99999999-0.tmp";
    const std::string mine = "a.pcb." + std::to_string(getpid()) + "-77.tmp";
    const std::string parent = "a.pcb." + std::to_string(getppid()) + "-0.tmp";
    const std::vector<std::string> kept = {mine,
                                           parent,
                                           "b.pcb.99999999-0.tmp",
                                           "a.pcb.x-1.tmp",
                                           "a.pcb.99999999-0.tmp.bak",
                                           "a.pcb.99999999.tmp"};
    for (const std::string& name : kept) Put(dir_ / name, "half");
    Put(dir_ / dead, "half a board");
    auto b = NewBoard();
    ASSERT_TRUE(WriteDocumentFile(p, *b));
    EXPECT_FALSE(fs::exists(dir_ / dead));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(dir_ / name)) << name;
    // The settings and output files go through the other safe writer: the same rule.
    Put(dir_ / "GOutIni.dat.99999999-3.tmp", "half");
    Put(dir_ / "GOutIni.dat.99999999-4.tmp", "half");
    ASSERT_TRUE(WriteFileAtomically(dir_ / "GOutIni.dat", "[Output]\r\n"));
    EXPECT_FALSE(fs::exists(dir_ / "GOutIni.dat.99999999-3.tmp"));
    EXPECT_FALSE(fs::exists(dir_ / "GOutIni.dat.99999999-4.tmp"));
    EXPECT_EQ(FilesIn(), kept.size() + 2);
}
#endif

}  // namespace
}  // namespace zevo
