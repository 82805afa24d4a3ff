// The editor's manufacturing and check commands through its command input with a scripted host:
// the same files as the batch commands, the progress window, Escape, and the undo history.
#include <gtest/gtest.h>

#include <cstdlib>

#include "board/file/settings.h"
#include "checks/netlist.h"
#include "output/zevonc.h"
#include "scripted_host.h"
#include "text/strings.h"
#include "tools/view_tools.h"
#include "view/board_renderer.h"

namespace zevo::test {
namespace {

using zevo::testing::ScratchDir;

class EditorChecks : public ::testing::Test {
  protected:
    ScratchDir dir;
    ScriptedHost host;
    Editor editor{host, ScratchPaths(dir)};
    // A small board with one part whose pins stay apart, so that the parts added here make the
    // only pin nets.
    fs::path example = fs::path(ZEVO_TEST_DATA) / "boards" / "small-sample.pcb";

    void SetUp() override {
        const std::vector<std::string> args = {example.string()};
        editor.startUp(args);
        editor.finishStartUp();
    }
    Board& board() { return editor.doc.board; }
    // Two parts wired crosswise: nets {Q1.2, Q2.1} and {Q1.1, Q2.2}.
    void addParts(bool interchangeable = false) {
        Board& b = board();
        auto part = [&](const char* ref, double y) {
            group* g = b.CreateGroup(Intern("R"));
            g->reference = Intern(ref);
            g->ext = b.CreatePartPlacement({100, y}, 0);
            for (int pin = 1; pin <= 2; ++pin) {
                land* l = b.CreateLand(1, 18, false, {90.0 + 10 * pin, y});
                // Negative numbers mark pins that may be exchanged (Q1's, when asked).
                l->pinNo = int16_t(interchangeable && ref[1] == '1' ? -pin : pin);
                b.AppendElement(g, l);
            }
            b.AppendElement(nullptr, g);
        };
        part("Q1", 100);
        part("Q2", 130);
        b.AppendElement(nullptr, b.CreateLine(1, 10, false, {110, 100}, {100, 130}));
        b.AppendElement(nullptr, b.CreateLine(1, 10, false, {100, 100}, {100, 115}));
        b.AppendElement(nullptr, b.CreateLine(1, 10, false, {100, 115}, {110, 130}));
    }
    size_t marks() {
        size_t n = 0;
        for (container* c : Items(board().items))
            if (c->kind == kGroup && AsGroup(c)->type == Reserved().drc) ++n;
        return n;
    }
    // Two lands of different nets 0.1 mm apart on layer 1: one gap below the sample rules.
    void addViolation() {
        board().AppendElement(nullptr, board().CreateLand(1, 18, false, {200, 150}));
        const double d = 2 * board().roundHalf(18) + 0.1;
        board().AppendElement(nullptr, board().CreateLand(1, 18, false, {200 + d, 150}));
    }
};

TEST_F(EditorChecks, NetlistOutputWritesTheExportText) {
    addParts();
    const fs::path out = dir / "board.net";
    host.files = {out};
    ASSERT_TRUE(editor.command(Cmd::NetlistOut));
    ASSERT_TRUE(fs::exists(out));
    EXPECT_EQ(dir.Get("board.net"), ExportNetlist(board()).text);
    EXPECT_NE(dir.Get("board.net").find("Q1.2 Q2.1"), std::string::npos);
    // The check ran with the progress window up, and input came back afterwards.
    EXPECT_EQ(host.progressTexts, std::vector<std::string>{"チェック中"});
    EXPECT_EQ(host.progressOpen, 0);
    EXPECT_TRUE(editor.ready());
}

TEST_F(EditorChecks, ComparisonAgainstTheOwnExportFindsNoDifference) {
    addParts();
    const fs::path net = dir / "ref.net";
    host.files = {net};
    editor.command(Cmd::NetlistOut);
    host.files = {net};
    editor.command(Cmd::NetlistCompare);
    EXPECT_EQ(host.messages.back(), TableText(kMsgNoNetDifference));
    EXPECT_TRUE(host.opened.empty());

    // A reference with a net the board lacks: the report is written and opened.
    std::string text = dir.Get("ref.net");
    ASSERT_NE(text.find("$END"), std::string::npos);
    const auto crlfOnly = [](const std::string& t) {  // text files: CR LF on disk
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i] == '\n' && (i == 0 || t[i - 1] != '\r')) return false;
        return t.find('\n') != std::string::npos;
    };
    EXPECT_TRUE(crlfOnly(text));
    text.insert(text.find("$END"), "NZZZZ; Q99.1 Q99.2\n");
    dir.Put("ref2.net", text);
    host.files = {dir / "ref2.net"};
    editor.command(Cmd::NetlistCompare);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].filename(), "NetListErr.txt");
    EXPECT_NE(dir.Get("NetListErr.txt"), "<missing>");
    EXPECT_TRUE(crlfOnly(dir.Get("NetListErr.txt")));

    // An unreadable reference.
    dir.Put("bad.net", "");
    host.files = {dir / "bad.net"};
    editor.command(Cmd::NetlistCompare);
    EXPECT_EQ(host.messages.back(), TableText(kMsgCannotReadNetlist));
}

TEST_F(EditorChecks, DesignRuleCheckMarksAreOneUndoStepAndTheRemovalAnother) {
    addViolation();
    host.files = {fs::path(ZEVO_RESOURCES) / "Zevo.drc"};
    ASSERT_TRUE(editor.command(Cmd::Drc));
    EXPECT_EQ(marks(), 1u);
    EXPECT_EQ(host.messages.back(), TableText(kMsgDrcFound));
    EXPECT_TRUE(board().layerFlags[12] & kDisp);
    EXPECT_TRUE(editor.doc.modified);

    // A second check replaces the marks; undo brings back the first marks, not none.
    host.files = {fs::path(ZEVO_RESOURCES) / "Zevo.drc"};
    editor.command(Cmd::Drc);
    EXPECT_EQ(marks(), 1u);
    const container* second = AsElement(board().items.prev);
    editor.character(26, true);  // Ctrl+Z
    EXPECT_EQ(marks(), 1u);
    EXPECT_NE(AsElement(board().items.prev), second);

    editor.command(Cmd::DrcErase);
    EXPECT_EQ(marks(), 0u);
    editor.character(26, true);
    EXPECT_EQ(marks(), 1u);
    editor.character(25, true);  // Ctrl+Y
    EXPECT_EQ(marks(), 0u);

    // A cancelled rule file checks nothing.
    host.files = {fs::path()};
    editor.command(Cmd::Drc);
    EXPECT_EQ(marks(), 0u);
}

TEST_F(EditorChecks, ARuleFileThatChecksNothingLeavesTheOldMarks) {
    addViolation();
    host.files = {fs::path(ZEVO_RESOURCES) / "Zevo.drc"};
    editor.command(Cmd::Drc);
    ASSERT_EQ(marks(), 1u);
    editor.doc.modified = false;
    editor.history.ClearHistory();
    const size_t messages = host.messages.size();
    const std::string good = "[DrcDatas]\nOutputLayer:12\nSpace:LE1=1,L-L=0.25\n";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"nosection.drc", "OutputLayer:12\nSpace:LE1=1,L-L=0.25\n"},
        {"norule.drc", "[DrcDatas]\nOutputLayer:12\n"},
        {"layer.drc", "[DrcDatas]\nOutputLayer:256\nSpace:LE1=1,L-L=0.25\n"},
        {"bad.drc", good + "Space:LE1=1,P-P=12\n"},
    };
    for (const auto& [name, text] : files) {
        host.files = {dir.Put(name, text)};
        editor.command(Cmd::Drc);
        EXPECT_EQ(marks(), 1u) << name;
        EXPECT_FALSE(editor.doc.modified) << name;
        EXPECT_FALSE(editor.history.CanUndo()) << name;
    }
    host.files = {dir / "missing.drc"};
    editor.command(Cmd::Drc);
    EXPECT_EQ(marks(), 1u);
    // Only the bad rule says so.
    ASSERT_EQ(host.messages.size(), messages + 1);
    EXPECT_EQ(host.messages.back(), TableText(kMsgDrcBadRules));
}

TEST_F(EditorChecks, EscapeDuringNetBuildingChangesNothingAndInputIsDroppedMeanwhile) {
    // More than 10 000 nets, so the window is pumped while they are built.
    for (int i = 0; i < 10500; ++i)
        board().AppendElement(
            nullptr,
            board().CreateLand(1, 18, false, {2.0 + 2.0 * (i % 140), 2.0 + 2.0 * (i / 140)}));
    int dropped = 0;
    host.duringProgress = [&] {
        if (!editor.command(Cmd::ZoomOut)) ++dropped;
        editor.keyDown(EditorKey::kPageDown);
    };
    // The mark of an earlier check.
    group* old = board().CreateGroup(Reserved().drc);
    board().AppendElement(old, board().CreateLine(250, 18, false, {1, 1}, {2, 2}));
    board().AppendElement(nullptr, old);
    editor.doc.modified = false;
    const double scale = editor.view.scale;
    host.escapeAtPump = 1;
    host.files = {fs::path(ZEVO_RESOURCES) / "Zevo.drc"};
    editor.command(Cmd::Drc);
    EXPECT_EQ(dropped, 1);
    EXPECT_EQ(editor.view.scale, scale);
    // Stopped before any pair was tested: the old mark is still there, nothing changed.
    EXPECT_EQ(marks(), 1u);
    EXPECT_EQ(AsElement(board().items.prev), old);
    EXPECT_FALSE(editor.doc.modified);
    EXPECT_EQ(editor.history.doneCount(), 0u);
    EXPECT_TRUE(editor.ready());
    // Nothing was found or reported after the abort.
    EXPECT_TRUE(host.messages.empty() || host.messages.back() != TableText(kMsgDrcClean));
}

TEST_F(EditorChecks, EscapeDuringThePairTestsKeepsTheMarksFoundSoFar) {
    // Lands of different nets 0.1 mm apart in a block: many near pairs, many violations.
    const double pitch = 2 * board().roundHalf(18) + 0.1;
    for (int i = 0; i < 2500; ++i)
        board().AppendElement(
            nullptr,
            board().CreateLand(1, 18, false, {5 + pitch * (i % 50), 5 + pitch * (i / 50)}));
    host.escapeAtPump = 1;  // at the first 10 000 pairs
    host.files = {fs::path(ZEVO_RESOURCES) / "Zevo.drc"};
    editor.command(Cmd::Drc);
    const size_t kept = marks();
    EXPECT_GT(kept, 0u);
    EXPECT_TRUE(host.messages.empty());  // no result message after an abort
    // The marks kept are one undo step like a finished check's.
    editor.character(26, true);
    EXPECT_EQ(marks(), 0u);
    // Without Escape the check finds more.
    host.escapeAtPump = 0;
    host.files = {fs::path(ZEVO_RESOURCES) / "Zevo.drc"};
    editor.command(Cmd::Drc);
    EXPECT_GT(marks(), kept);
}

TEST_F(EditorChecks, EscapeDuringTheComparisonStopsWithoutAReportAndKeepsTheExchange) {
    addParts(true);
    // The reference wires Q1's pins the other way round: the first round differs, Q1's two
    // interchangeable pins are exchanged, and Escape stops the second round.
    dir.Put("ref.net",
            "$PACKAGES\n! R; Q1\n! R; Q2\n$NETS\nN0001; Q1.1 Q2.1\nN0002; Q1.2 Q2.2\n$END\n");
    editor.doc.modified = false;
    host.files = {dir / "ref.net"};
    host.escapeAtPump = 1;
    editor.command(Cmd::NetlistCompare);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(editor.ready());
    EXPECT_TRUE(editor.doc.modified);  // the exchange stays
    // Compared again without Escape, the board now agrees.
    host.escapeAtPump = 0;
    host.files = {dir / "ref.net"};
    editor.command(Cmd::NetlistCompare);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), TableText(kMsgNoNetDifference));
}

TEST_F(EditorChecks, EquipotentialHighlightsTheNetUntilTheNextRepaint) {
    Net net;
    // A conductor of the example: its first land on layer 1.
    container* start = nullptr;
    ForEachDrawn(board().items, [&](drawn* d) {
        if (!start && d->kind == kLand && d->layer == 1) start = d;
    });
    ASSERT_NE(start, nullptr);
    const Box& box = AsDrawn(start)->bounds;
    // The outline is what a click hits.
    const Point at{box.maxX, (box.minY + box.maxY) / 2};
    const Point px = editor.view.WorldToScreen(at);
    ASSERT_TRUE(editor.command(Cmd::Equipotential));
    EXPECT_EQ(editor.tools->modes.mode(), kModeEquipotential);
    EXPECT_FALSE(editor.menuState(Cmd::LayerItem).enabled);
    const Framebuffer before = editor.screen();
    editor.leftDown(int(px.x), int(px.y), kMkLeft);
    editor.leftUp(int(px.x), int(px.y), 0);
    size_t grey = 0;
    for (Pixel p : editor.screen().pixels()) grey += p == kGreyPen;
    EXPECT_GT(grey, 0u);
    EXPECT_NE(editor.screen().pixels()[0], kGreyPen);
    // Escape leaves the tool and the highlight goes.
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    // Back at the tool: its buttons and the definition items are as before.
    EXPECT_TRUE(editor.toolBarState(Cmd::Line) & kTbEnabled);
    EXPECT_TRUE(editor.toolBarState(Cmd::LayerSelect) & kTbEnabled);
    EXPECT_TRUE(editor.menuState(Cmd::LayerItem).enabled);
    size_t after = 0;
    for (Pixel p : editor.screen().pixels()) after += p == kGreyPen;
    EXPECT_EQ(after, 0u);
    (void)before;
}

// Runs the batch program; its exit status.
int Cli(const std::string& args) {
    return std::system((std::string(ZEVO_CLI_PATH) + " " + args + " >/dev/null 2>&1").c_str());
}

TEST_F(EditorChecks, OutputsWriteWhatTheBatchProgramWrites) {
    // The board is saved into the scratch folder first: outputs go beside the board file.
    const fs::path boardFile = dir / "board.pcb";
    host.files = {boardFile};
    editor.command(Cmd::SaveAs);
    ASSERT_TRUE(fs::exists(boardFile));

    host.on<GerberOutputDialogModel>([](GerberOutputDialogModel& dialog) {
        auto& c = dialog.target();
        for (int layer : {1, 2}) {
            c.files.name[size_t(layer)] = "layer" + std::to_string(layer);
            c.files.selected[size_t(layer)] = true;
        }
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::GerberOut));
    EXPECT_EQ(host.progressTexts.back(), "出力中");
    EXPECT_EQ(host.progressOpen, 0);
    host.on<HoleOutputDialogModel>([](HoleOutputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[8] = "layer8";
        c.files.selected[8] = true;
        c.autoT = true;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::HoleOut));
    host.on<PartCoordsDialogModel>([&](PartCoordsDialogModel& dialog) {
        auto& s = dialog.target();
        s.file = dir / "board.pos";
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::PartCoords));

    ScratchDir batch;
    const std::string b = boardFile.string(), out = batch.path().string();
    ASSERT_EQ(Cli("gerber " + b + " --out " + out + " --layers 1,2"), 0);
    ASSERT_EQ(Cli("drill " + b + " --out " + out + " --layers 8 --auto-t"), 0);
    ASSERT_EQ(Cli("coords " + b + " -o " + out + "/board.pos"), 0);
    for (const char* f :
         {"layer1.grb", "layer2.grb", "gout.lst", "layer8.hol", "hout.lst", "board.pos"}) {
        EXPECT_NE(dir.Get(f), "<missing>") << f;
        EXPECT_EQ(dir.Get(f), batch.Get(f)) << f;
    }
    // A cancelled dialog writes nothing and shows no progress.
    const size_t shown = host.progressTexts.size();
    host.off<GerberOutputDialogModel>();
    fs::remove(dir / "gout.lst");
    editor.command(Cmd::GerberOut);
    EXPECT_FALSE(fs::exists(dir / "gout.lst"));
    EXPECT_EQ(host.progressTexts.size(), shown);
}

TEST_F(EditorChecks, OutputsOfABoardNeverSavedGoToTheProgramsFolder) {
    // The last document lies in a project folder with artwork of its own.
    ScratchDir work;
    host.files = {work / "board.pcb"};
    editor.command(Cmd::SaveAs);
    work.Put("keep.grb", "other artwork");
    work.Put("layer1.grb", "G04 other layer 1*\r\nM02*\r\n");
    editor.command(Cmd::New);  // "untitled.pcb" in that folder, never saved
    ASSERT_EQ(editor.doc.path, work / "untitled.pcb");
    board().AppendElement(nullptr, board().CreateLand(1, 18, false, {50, 50}));
    board().AppendElement(nullptr, board().CreateLand(8, 18, false, {60, 50}));
    host.on<GerberOutputDialogModel>([](GerberOutputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[1] = "layer1";
        c.files.selected[1] = true;
        return true;
    });
    editor.command(Cmd::GerberOut);
    host.on<HoleOutputDialogModel>([](HoleOutputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[8] = "layer8";
        c.files.selected[8] = true;
        return true;
    });
    editor.command(Cmd::HoleOut);
    EXPECT_EQ(work.Get("keep.grb"), "other artwork");
    EXPECT_EQ(work.Get("layer1.grb"), "G04 other layer 1*\r\nM02*\r\n");
    EXPECT_EQ(work.Get("layer8.hol"), "<missing>");
    EXPECT_NE(dir.Get("layer1.grb"), "<missing>");
    EXPECT_NE(dir.Get("layer8.hol"), "<missing>");
    // The Gerber input takes a bare name from the same folder: the board's own output.
    host.on<GerberInputDialogModel>([](GerberInputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[3] = "layer1.grb";
        c.files.selected[3] = true;
        return true;
    });
    editor.command(Cmd::GerberIn);
    size_t onThree = 0;
    ForEachDrawn(board().items, [&](drawn* d) { onThree += d->layer == 3; });
    EXPECT_EQ(onThree, 1u);
}

TEST_F(EditorChecks, GerberInputAddsTheFileAsOneUndoStepAndShowsItAll) {
    const fs::path boardFile = dir / "board.pcb";
    host.files = {boardFile};
    editor.command(Cmd::SaveAs);
    ASSERT_EQ(Cli("gerber " + boardFile.string() + " --out " + dir.path().string() + " --layers 1"),
              0);
    editor.doc.modified = false;
    size_t before = 0;
    ForEachDrawn(board().items, [&](drawn*) { ++before; });
    host.on<GerberInputDialogModel>([&](GerberInputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[3] = (dir / "layer1.grb").string();
        c.files.selected[3] = true;
        return true;
    });
    ASSERT_TRUE(editor.command(Cmd::GerberIn));
    EXPECT_EQ(host.progressTexts.back(), "入力中");
    size_t after = 0, onThree = 0;
    ForEachDrawn(board().items, [&](drawn* d) {
        ++after;
        onThree += d->layer == 3;
    });
    EXPECT_GT(onThree, 0u);
    EXPECT_TRUE(editor.doc.modified);
    editor.character(26, true);  // one undo takes the whole input back
    size_t undone = 0;
    ForEachDrawn(board().items, [&](drawn*) { ++undone; });
    EXPECT_EQ(undone, before);
    EXPECT_GT(after, before);
}

TEST_F(EditorChecks, GerberInputTellsHowManyCommandsItSkipped) {
    dir.Put("in.gbr",
            "%FSLAX33Y33*%%MOMM*%%ADD10C,0.2*%%ADD13Unknown,1.0*%\n"
            "D10*X10000Y10000D03*\nD13*X20000D03*\nX30000D03*\n");
    host.on<GerberInputDialogModel>([&](GerberInputDialogModel& dialog) {
        auto& c = dialog.target();
        c.files.name[3] = (dir / "in.gbr").string();
        c.files.selected[3] = true;
        return true;
    });
    const size_t shown = host.messages.size();
    ASSERT_TRUE(editor.command(Cmd::GerberIn));
    ASSERT_EQ(host.messages.size(), shown + 1);
    EXPECT_EQ(host.messages.back(), "アパーチャーが使えないコマンドを読み飛ばしました : 2 個");
    // Nothing skipped: nothing said.
    dir.Put("in.gbr", "%FSLAX33Y33*%%MOMM*%%ADD10C,0.2*%D10*X10000Y20000D03*\n");
    ASSERT_TRUE(editor.command(Cmd::GerberIn));
    EXPECT_EQ(host.messages.size(), shown + 1);
}

// The current-format box of either output dialog is one choice: kept for the other dialog and
// for the estimate program's set, saved in the settings only while it is on.
TEST_F(EditorChecks, TheCurrentFormatChoiceIsSharedAndKept) {
    const fs::path boardFile = dir / "board.pcb";
    host.files = {boardFile};
    editor.command(Cmd::SaveAs);
    bool holeDialogSawModern = false;
    host.on<GerberOutputDialogModel>([](GerberOutputDialogModel& dialog) {
        EXPECT_FALSE(dialog.modern());
        dialog.setModern(true);
        EXPECT_FALSE(dialog.dcodeEnabled());
        EXPECT_FALSE(dialog.extendedEnabled());
        EXPECT_FALSE(dialog.decimalsEnabled());
        dialog.editDecimals("x");  // greyed: not read
        dialog.table().editFile(1, "top");
        dialog.table().setSelected(1, true);
        return dialog.pressOutput().stored();
    });
    ASSERT_TRUE(editor.command(Cmd::GerberOut));
    EXPECT_TRUE(dir.Get("top.grb").starts_with("G04 #@! TF.GenerationSoftware,"));
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "ModernOutput", "<none>"), "Yes");

    host.on<HoleOutputDialogModel>([&](HoleOutputDialogModel& dialog) {
        holeDialogSawModern = dialog.modern();
        EXPECT_FALSE(dialog.decimalsEnabled());
        dialog.chooseLayer(8);
        dialog.editFile("drill");
        dialog.pressAdd();
        return dialog.pressOutput().stored();
    });
    ASSERT_TRUE(editor.command(Cmd::HoleOut));
    EXPECT_TRUE(holeDialogSawModern);
    EXPECT_TRUE(dir.Get("drill.hol").starts_with("M48\r\n; #@! TF."));
    ASSERT_TRUE(editor.answerEstimateRequest(dir.path()));
    EXPECT_TRUE(dir.Get("ZevoNC/PatternA").starts_with("G04 #@! TF."));

    // Cleared in the hole dialog: the key goes, and the Gerber dialog opens without it.
    host.on<HoleOutputDialogModel>([](HoleOutputDialogModel& dialog) {
        dialog.setModern(false);
        return dialog.pressOutput().stored();
    });
    ASSERT_TRUE(editor.command(Cmd::HoleOut));
    EXPECT_EQ(ReadSetting(editor.paths.settingsFile(), "Setting", "ModernOutput", "<none>"),
              "<none>");
    host.on<GerberOutputDialogModel>([](GerberOutputDialogModel& dialog) {
        EXPECT_FALSE(dialog.modern());
        return dialog.pressOutput().stored();
    });
    ASSERT_TRUE(editor.command(Cmd::GerberOut));
    EXPECT_TRUE(dir.Get("top.grb").starts_with("G71*"));
}

TEST_F(EditorChecks, EstimateRequestWritesTheFabricationSet) {
    ASSERT_TRUE(editor.answerEstimateRequest(dir.path()));
    const fs::path set = dir / "ZevoNC";
    EXPECT_TRUE(fs::exists(set / "PatternA"));
    EXPECT_TRUE(fs::exists(set / "DrillNC"));
    // The same bytes as the batch program's set of the same board.
    Board copy;
    ResetToBuiltInDefaults(copy);
    ReadDocument(example, copy);
    ScratchDir other;
    DCodeTables codes = DCodeTables::Defaults();
    OutputReport report;
    ASSERT_TRUE(WriteZevoNcSet(copy, other.path(), codes, report));
    EXPECT_EQ(dir.Get("ZevoNC/PatternA"), other.Get("ZevoNC/PatternA"));
    // A folder that cannot be made: failure is the answer.
    dir.Put("plain-file", "x");
    EXPECT_FALSE(editor.answerEstimateRequest(dir / "plain-file"));
}

}  // namespace
}  // namespace zevo::test
