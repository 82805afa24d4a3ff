// zevo-cli gerber, drill, zevonc and import on the example board, as scripts run them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::ScratchDir;
namespace fs = std::filesystem;

int RunCli(const std::string& args, const ScratchDir& dir) {
    const std::string cmd = std::string(ZEVO_CLI_PATH) + " " + args + " >" +
                            (dir / "stdout").string() + " 2>" + (dir / "stderr").string();
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliOutput, GerberDrillZevoNcAndImport) {
    ScratchDir dir;
    RunCli("--help", dir);
    if (dir.Get("stdout").find("zevonc") == std::string::npos)
        GTEST_SKIP() << "this zevo-cli does not register the output commands";
    const std::string board = std::string(ZEVO_EXAMPLES) + "/example.pcb";
    const fs::path out = dir / "out";
    fs::create_directories(out);
    dir.Put("out/old.gbr", "x");
    EXPECT_EQ(RunCli("gerber " + board + " --out " + out.string() + " --layers 1,2,4", dir), 0);
    EXPECT_NE(dir.Get("stdout").find("deleted: " + (out / "old.gbr").string()), std::string::npos);
    EXPECT_TRUE(dir.Get("out/layer1.grb").starts_with("G71*G90*G75*D02*\r\n%ASAXBY"));
    EXPECT_NE(dir.Get("stderr").find("レイヤー 4 : layer4"), std::string::npos);
    EXPECT_EQ(
        RunCli("gerber " + board + " --out " + out.string() + " --layers 1 --plain --decimals 4",
               dir),
        0);
    EXPECT_EQ(dir.Get("out/layer1.grb").find('\n'), std::string::npos);

    EXPECT_EQ(RunCli("drill " + board + " --out " + out.string() + " --layers 8 --auto-t", dir), 0);
    EXPECT_TRUE(dir.Get("out/layer8.hol").starts_with("M48\r\nM71\r\n"));
    EXPECT_EQ(RunCli("drill " + board + " --out " + out.string() + " --layers 8", dir), 0);
    EXPECT_TRUE(dir.Get("out/layer8.hol").starts_with("%\r\nG90\r\nX0Y0\r\n"));

    dir.Put("nc/keep.txt", "x");
    EXPECT_EQ(RunCli("zevonc " + board + " --dir " + (dir / "nc").string(), dir), 0);
    EXPECT_TRUE(fs::exists(dir / "nc" / "keep.txt"));
    EXPECT_TRUE(fs::exists(dir / "nc" / "ZevoNC" / "PatternA"));
    EXPECT_TRUE(fs::exists(dir / "nc" / "ZevoNC" / "DrillNC"));

    EXPECT_EQ(RunCli("import " + board + " --gerber " + (out / "layer1.grb").string() +
                         " --layer 12 -o " + (dir / "imported.pcb").string(),
                     dir),
              0);
    EXPECT_TRUE(fs::exists(dir / "imported.pcb"));
    EXPECT_EQ(RunCli("gerber " + (dir / "missing.pcb").string(), dir), 2);
}

TEST(CliOutput, ZevoNcTakesItsFolderAsAnArgumentAndErrorsShowTheUsage) {
    ScratchDir dir;
    const std::string board = std::string(ZEVO_EXAMPLES) + "/example.pcb";
    // "into DIR/ZevoNC", as the help says: DIR may follow the board.
    fs::create_directories(dir / "nc");
    EXPECT_EQ(RunCli("zevonc " + board + " " + (dir / "nc").string(), dir), 0) << dir.Get("stderr");
    EXPECT_TRUE(fs::exists(dir / "nc" / "ZevoNC" / "PatternA"));
    EXPECT_NE(
        RunCli("zevonc " + board + " " + (dir / "a").string() + " --dir " + (dir / "b").string(),
               dir),
        0);
    EXPECT_FALSE(fs::exists(dir / "a" / "ZevoNC"));
    EXPECT_FALSE(fs::exists(dir / "b" / "ZevoNC"));

    // A wrong call names the problem and shows what the subcommand expects.
    EXPECT_NE(RunCli("import " + board + " --layer 1", dir), 0);
    std::string err = dir.Get("stderr");
    EXPECT_NE(err.find("zevo-cli import: "), std::string::npos) << err;
    EXPECT_NE(err.find("--gerber"), std::string::npos) << err;  // the usage lists the options
    EXPECT_NE(err.find("Gerber or drill file"), std::string::npos) << err;
    EXPECT_NE(RunCli("gerber " + board + " extra", dir), 0);
    err = dir.Get("stderr");
    EXPECT_NE(err.find("zevo-cli gerber: "), std::string::npos) << err;
    EXPECT_NE(err.find("--layers"), std::string::npos) << err;
    EXPECT_NE(RunCli("", dir), 0);  // no subcommand: the list of them
    err = dir.Get("stderr");
    EXPECT_NE(err.find("zevonc"), std::string::npos) << err;
    // The help names what each value is.
    EXPECT_EQ(RunCli("zevonc --help", dir), 0);
    EXPECT_NE(dir.Get("stdout").find("zevonc [OPTIONS] BOARD [DIR]"), std::string::npos);
    EXPECT_NE(dir.Get("stdout").find("--dir DIR"), std::string::npos) << dir.Get("stdout");
    EXPECT_EQ(RunCli("text --help", dir), 0);
    EXPECT_NE(dir.Get("stdout").find("--at X,Y"), std::string::npos) << dir.Get("stdout");
    EXPECT_EQ(RunCli("render --help", dir), 0);
    EXPECT_NE(dir.Get("stdout").find("-o,--output FILE"), std::string::npos) << dir.Get("stdout");
}

}  // namespace
}  // namespace zevo
