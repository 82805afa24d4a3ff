// The estimate program's dialog without its window, and the whole way from the editor's menu
// item through the channel to the archive beside the board.
#include "estimate/estimate_session.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "output/output_fixture.h"
#include "paths/scratch_dir.h"
#include "shell/estimate_link.h"
#include "shell/scripted_host.h"
#include "text/strings.h"

namespace zevo {
namespace {

using testing::ScratchDir;
namespace fs = std::filesystem;

// The names of an archive's central directory, in order.
std::vector<std::string> ZipNames(const std::string& zip) {
    auto u16 = [&](size_t at) {
        return uint32_t(uint8_t(zip[at])) | uint32_t(uint8_t(zip[at + 1])) << 8;
    };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    std::vector<std::string> names;
    if (zip.size() < 22) return names;
    const size_t end = zip.size() - 26;
    size_t at = u32(end + 16);
    for (uint32_t i = 0; i < u16(end + 10) && at + 46 <= zip.size(); ++i) {
        const size_t n = u16(at + 28);
        names.push_back(zip.substr(at + 46, n));
        at += 46 + n;
    }
    return names;
}

// The program's platform side for the tests: the editor's end of the channel is an editor
// object in the same process; its reply waits until the test delivers it, as a posted message
// waits for the message loop.
class LoopbackHost : public EstimateHost {
  public:
    Editor* editor = nullptr;  // nothing: the editor is gone
    fs::path temp;
    std::optional<std::string> pendingReply;
    std::vector<std::string> messages, urls;
    std::optional<std::string> clipboard;
    std::vector<int> closes;

    void message(std::string_view t) override { messages.emplace_back(t); }
    bool requestData() override {
        if (!editor) return false;
        pendingReply = editor->estimateLine(std::string(kEstimateRequestLine) + "\n", temp);
        return pendingReply.has_value();
    }
    bool editorAlive() override { return editor != nullptr; }
    void setClipboardText(std::string_view t) override { clipboard = std::string(t); }
    bool openUrl(std::string_view u) override {
        urls.emplace_back(u);
        return true;
    }
    void close(int delay) override { closes.push_back(delay); }
    // The message loop delivers the editor's reply.
    void deliver(EstimateSession& s) {
        ASSERT_TRUE(pendingReply);
        const auto ok = ParseEstimateReply(*pendingReply);
        ASSERT_TRUE(ok);
        pendingReply.reset();
        s.reply(*ok);
    }
};

class EstimateFlow : public ::testing::Test {
  protected:
    ScratchDir dir;
    test::ScriptedHost editorHost;
    Editor editor{editorHost, test::ScratchPaths(dir)};
    LoopbackHost host;
    std::unique_ptr<EstimateSession> session;

    void SetUp() override {
        editor.startUp({});
        fs::create_directories(dir / "boards");
        fs::create_directories(dir / "tmp");
        editor.doc.path = dir / "boards" / "amp.pcb";
        host.editor = &editor;
        host.temp = dir / "tmp";
    }
    // Menu item 453, then the program starts with what the editor gave it.
    void start(std::string url = "https://fab.example/order") {
        ASSERT_TRUE(editor.command(Cmd::Estimate));
        ASSERT_EQ(editorHost.estimateStarts.size(), 1u);
        const ParsedArguments p = ParseEstimateArguments(editorHost.estimateStarts[0]);
        ASSERT_EQ(p.error, ArgumentsError::kNone);
        EXPECT_EQ(p.args.channel, editorHost.channel);
        session =
            std::make_unique<EstimateSession>(p.args, MakerTable({"fab", url}), host.temp, host);
    }
    void make() {
        session->makeData();
        EXPECT_FALSE(session->enabled(EstimateButton::kMake));
        host.deliver(*session);
    }
    std::string archive() const { return dir.Get("boards/amp_zevo.zip"); }
};

TEST_F(EstimateFlow, FromTheMenuItemThroughTheChannelToTheArchive) {
    testing::MakeFeatureBoard(editor.doc.board);
    start();
    // The board's facts as the command line carried them.
    EXPECT_EQ(session->arguments().sizeX, 70u);
    EXPECT_EQ(session->arguments().sizeY, 50u);
    EXPECT_EQ(session->arguments().innerLayers, 1);
    EXPECT_EQ(session->arguments().layerMask, 0xF7u);  // layer 4 holds nothing
    EXPECT_EQ(session->sizeX, "70");
    EXPECT_EQ(session->selections, (std::vector<int>{2, 1, 0, 3}));  // ４層, silk A only, 1.6mm
    EXPECT_FALSE(session->enabled(EstimateButton::kOrder));

    make();
    EXPECT_TRUE(session->enabled(EstimateButton::kMake));
    EXPECT_TRUE(session->enabled(EstimateButton::kCheck));
    EXPECT_TRUE(session->enabled(EstimateButton::kOrder));
    const std::string archivePath = (dir / "boards" / "amp_zevo.zip").string();
    // The editor shows the messages of its output; the program its own.
    EXPECT_EQ(editorHost.messages, std::vector<std::string>{std::string(TableText(kMsgNotHoles))});
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"ガーバーファイルを作製／圧縮しました。\n" + archivePath});
    EXPECT_EQ(host.clipboard, archivePath);
    EXPECT_EQ(ZipNames(archive()),
              (std::vector<std::string>{"ptn_top.grb", "ptn_btm.grb", "slk_top.grb", "res_top.grb",
                                        "res_btm.grb", "outline.grb", "dri.grb", "npth.grb",
                                        "ptn_sec.grb"}));
    EXPECT_EQ(session->renamed().present, 0b11'1111'0111u);
    // Nothing half-made beside the board, and the packed copy left the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "boards"), fs::directory_iterator()), 1);
    EXPECT_FALSE(fs::exists(dir / "tmp" / "ZevoNC" / "ZevoNC.zip"));

    session->order();
    ASSERT_EQ(host.urls.size(), 1u);
    EXPECT_TRUE(host.urls[0].starts_with(
        "https://fab.example/order?cad=zevo&x_size=70&y_size=50&units=4&layers=4&silk_layer=0"
        "&sm_layers=1&substrate=3&gb_file_dir="));
    EXPECT_TRUE(host.urls[0].ends_with("&gb_file_name=amp_zevo.zip"));
    EXPECT_EQ(host.closes, std::vector<int>{500});

    // A reply that answers no request changes nothing.
    const size_t shown = host.messages.size();
    session->reply(true);
    session->reply(false);
    EXPECT_EQ(host.messages.size(), shown);
}

TEST_F(EstimateFlow, GenericNamesForThePlatedAndNonPlatedDrills) {
    testing::MakeFeatureBoard(editor.doc.board);
    start("");
    session->selectEntry(2);
    EXPECT_FALSE(session->sizesEnabled());
    EXPECT_FALSE(session->quantityEnabled());
    EXPECT_TRUE(session->selections.empty());
    make();
    EXPECT_EQ(ZipNames(archive()),
              (std::vector<std::string>{"amp.GTL", "amp.GBL", "amp.GTO", "amp.GTS", "amp.GBS",
                                        "amp.GML", "amp.TXT", "amp-NPTH.TXT", "amp.GL2"}));
    EXPECT_TRUE(session->enabled(EstimateButton::kCheck));
    EXPECT_FALSE(session->enabled(EstimateButton::kOrder));  // no order form
    // Another entry: its data are not made yet.
    session->selectEntry(0);
    EXPECT_FALSE(session->enabled(EstimateButton::kCheck));
    EXPECT_FALSE(session->enabled(EstimateButton::kOrder));
    session->order();
    EXPECT_TRUE(host.urls.empty());
}

TEST_F(EstimateFlow, SideBAndMirroring) {
    auto& b = editor.doc.board;
    b.AppendElement(nullptr, b.CreateLand(1, 0, false, {53.21, 10}));
    b.AppendElement(nullptr, b.CreateLine(7, 0, false, {0, 0}, {40, 0}));
    start();
    session->setSideB(true);
    session->mirror = true;
    make();
    ASSERT_EQ(session->renamed().files.size(), 2u);
    EXPECT_EQ(session->renamed().files[0].name, "ptn_btm.grb");  // PatternA seen from side B
    // The largest X is 53 210: the axis is 60 000.
    const std::string top = dir.Get("tmp/ZevoNC/ptn_btm.grb");
    EXPECT_NE(top.find("X6790Y10000D03*"), std::string::npos) << top;
}

// With the current-format choice the editor writes the set in that format; the program packs
// it as written (no mirroring, no merged drill Gerber), greys 半田面視 and says the board was
// not mirrored when that was asked for.
TEST_F(EstimateFlow, ACurrentFormatSetIsPackedAsWritten) {
    testing::MakeFeatureBoard(editor.doc.board);
    editor.options.modernOutput = true;
    start("");
    session->selectEntry(3);  // the drill as Gerber
    session->mirror = true;
    EXPECT_TRUE(session->mirrorEnabled());
    make();
    EXPECT_TRUE(session->modernSet());
    EXPECT_FALSE(session->mirrorEnabled());
    EXPECT_EQ(ZipNames(archive()),
              (std::vector<std::string>{"amp.GTL", "amp.GBL", "amp.GTO", "amp.GTS", "amp.GBS",
                                        "amp.GML", "amp.TXT", "amp-NPTH.TXT", "amp.GL2"}));
    const std::string top = dir.Get("tmp/ZevoNC/amp.GTL");
    EXPECT_TRUE(top.starts_with("G04 #@! TF.GenerationSoftware,"));
    EXPECT_NE(top.find("X15000000Y15000000D03*"), std::string::npos);  // not mirrored
    EXPECT_NE(dir.Get("tmp/ZevoNC/amp-NPTH.TXT").find("NonPlated"), std::string::npos);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], TableText(kMsgEstimateModernNotMirrored));
    EXPECT_TRUE(host.messages[1].starts_with("ガーバーファイルを作製／圧縮しました。"));
    EXPECT_TRUE(session->enabled(EstimateButton::kCheck));

    // Back to the usual formats: the box comes back and mirroring works again.
    editor.options.modernOutput = false;
    make();
    EXPECT_FALSE(session->modernSet());
    EXPECT_TRUE(session->mirrorEnabled());
    EXPECT_EQ(ZipNames(archive()).size(), 8u);  // one merged drill Gerber
    EXPECT_EQ(dir.Get("tmp/ZevoNC/amp.GTL").find("X15000Y15000D03*"), std::string::npos);
}

TEST_F(EstimateFlow, FailuresAndTheirMessages) {
    // Nothing on the board's output layers: the editor says so and starts nothing.
    ASSERT_TRUE(editor.command(Cmd::Estimate));
    EXPECT_EQ(editorHost.messages, std::vector<std::string>{"出力する要素がありません"});
    EXPECT_TRUE(editorHost.estimateStarts.empty());
    // A copy that runs already: nothing at all.
    editorHost.estimateRuns = true;
    editor.doc.board.AppendElement(nullptr, editor.doc.board.CreateLand(42, 0, false, {1, 1}));
    ASSERT_TRUE(editor.command(Cmd::Estimate));
    EXPECT_TRUE(editorHost.estimateStarts.empty());
    editorHost.estimateRuns = false;
    start();

    // The editor could not prepare the folder: a file where the temporary folder should be.
    host.temp = dir / "blocked" / "x";
    dir.Put("blocked", "a file");
    session->makeData();
    host.deliver(*session);
    EXPECT_EQ(host.messages.back(), "データ作成失敗");
    EXPECT_TRUE(session->enabled(EstimateButton::kMake));
    EXPECT_FALSE(session->enabled(EstimateButton::kCheck));

    // The editor is gone: the request fails at once.
    host.editor = nullptr;
    session->makeData();
    EXPECT_EQ(host.messages.back(), "データ作成失敗");
    EXPECT_TRUE(session->enabled(EstimateButton::kMake));
    // ... and the timer closes the program on its second tick.
    session->timerTick();
    EXPECT_TRUE(host.closes.empty());
    session->timerTick();
    EXPECT_EQ(host.closes, std::vector<int>{0});
    EXPECT_FALSE(fs::exists(dir / "boards" / "amp_zevo.zip"));
}

TEST_F(EstimateFlow, NothingPresentIsAFailure) {
    editor.doc.board.AppendElement(nullptr, editor.doc.board.CreateLand(42, 0, false, {1, 1}));
    start();
    // The editor's files vanish before the program gets to them.
    session->makeData();
    fs::remove_all(dir / "tmp" / "ZevoNC");
    fs::create_directories(dir / "tmp" / "ZevoNC");
    host.deliver(*session);
    EXPECT_EQ(host.messages.back(), "ファイル圧縮エラー");
    EXPECT_FALSE(fs::exists(dir / "boards" / "amp_zevo.zip"));
    EXPECT_FALSE(session->enabled(EstimateButton::kCheck));
}

TEST_F(EstimateFlow, AFileThatDoesNotCompressIsLeftOut) {
    editor.doc.board.AppendElement(nullptr, editor.doc.board.CreateLand(1, 0, false, {10, 10}));
    editor.doc.board.AppendElement(nullptr, editor.doc.board.CreateLand(2, 0, false, {10, 10}));
    start();
    session->selectEntry(1);
    session->makeData();
    // What the editor wrote for layer 1 is replaced by bytes that do not shrink.
    std::mt19937 rng(3);
    std::string noise(20000, '\0');
    for (char& c : noise) c = char(rng());
    dir.Put("tmp/ZevoNC/PatternA", noise);
    host.deliver(*session);
    ASSERT_GE(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[host.messages.size() - 2], "圧縮エラー ファイル amp.GTL");
    EXPECT_TRUE(host.messages.back().starts_with("ガーバーファイルを作製／圧縮しました。"));
    EXPECT_EQ(ZipNames(archive()), std::vector<std::string>{"amp.GBL"});
}

TEST_F(EstimateFlow, AnArchiveThatCannotBeMovedIsAFailure) {
    editor.doc.board.AppendElement(nullptr, editor.doc.board.CreateLand(1, 0, false, {10, 10}));
    start();
    // A folder where the archive goes: it cannot be replaced.
    fs::create_directories(dir / "boards" / "amp_zevo.zip" / "inside");
    make();
    EXPECT_EQ(host.messages.back(), "ファイル移動エラー");
    EXPECT_TRUE(fs::is_directory(dir / "boards" / "amp_zevo.zip" / "inside"));
    // Nothing else beside the board.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "boards"), fs::directory_iterator()), 1);
    EXPECT_FALSE(session->enabled(EstimateButton::kCheck));
}

TEST_F(EstimateFlow, EveryRowOfTheMakerTablePresentGivesThirteenMembersInTableOrder) {
    editor.doc.board.AppendElement(nullptr, editor.doc.board.CreateLand(1, 0, false, {10, 10}));
    start();
    session->makeData();
    // Whatever the editor wrote, the folder now holds a file for every row.
    for (const RenameRow& r : session->entry().rows)
        dir.Put("tmp/ZevoNC/" + std::string(r.zevoNc),
                "G71*G90*G75*D02*\r\n%ADD11C,1.000*%\r\nG54D11*\r\nG01X" +
                    std::to_string(1000 + r.zevoNc.size()) +
                    "Y2000D03*\r\nG01X0Y0D02*\r\nM02*\r\n");
    host.deliver(*session);
    EXPECT_EQ(session->renamed().present, 0x1FFFu);
    EXPECT_EQ(ZipNames(archive()),
              (std::vector<std::string>{"ptn_top.grb", "ptn_btm.grb", "slk_top.grb", "slk_btm.grb",
                                        "res_top.grb", "res_btm.grb", "outline.grb", "dri.grb",
                                        "npth.grb", "ptn_sec.grb", "ptn_thi.grb", "ptn_fou.grb",
                                        "ptn_fiv.grb"}));
}

TEST(EstimateStartup, MessagesOfTheCommandLine) {
    EXPECT_EQ(StartupMessage(ParseEstimateArguments("Z")), "起動できません");
    EXPECT_EQ(StartupMessage(ParseEstimateArguments("ZEVO 1")), "Command error");
    EXPECT_EQ(StartupMessage(ParseEstimateArguments("ZEVO 0000000A X1 Y1 LY0 F0 /a.pcb")), "");
}

}  // namespace
}  // namespace zevo
