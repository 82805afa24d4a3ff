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
    EXPECT_EQ(RunCli("gerber " + board + " --out " + out.string() + " --layers 1 --plain --decimals 4",
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

}  // namespace
}  // namespace zevo
