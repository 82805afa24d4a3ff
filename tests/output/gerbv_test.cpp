// Our Gerber and drill files read by a reader nobody here wrote: Debian's gerbv, run headless.
// gerbv exits 0 even when it complains, so a run fails on a non-zero exit or on any "CRITICAL"
// or "WARNING" line on its standard error. The one expected line is its notice on the "G81"
// (canned drill cycle) of drill programs, which it does not need to place the hits.
//
// gerbv's RS-274X re-export is in inches with renumbered D codes and extra moves, so the check
// compares the flashes and draws themselves: every one at the same place within 0.001 mm, with
// an aperture of the same size within gerbv's 0.0001-inch rounding, none missing, none extra.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board/file/document.h"
#include "output/gerber_compare.h"
#include "output/gerber_output.h"
#include "output/hole_output.h"
#include "output/output_fixture.h"
#include "output/zevonc.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::MakeFeatureBoard;
using testing::PlotObject;
using testing::ScratchDir;
namespace fs = std::filesystem;

constexpr double kPosTol = 0.001;
constexpr double kSizeTol = 0.0001 * 25.4;

std::string Gerbv() {
    if (const char* e = std::getenv("ZEVO_GERBV")) return e;
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && fs::exists(fs::path(dir) / "gerbv"))
            return (fs::path(dir) / "gerbv").string();
    return {};
}

#define REQUIRE_GERBV()                \
    const std::string gerbv = Gerbv(); \
    if (gerbv.empty())                 \
        GTEST_SKIP() << "gerbv is not installed (make test installs it; apt-get install gerbv)";

std::string Quote(const fs::path& p) {
    std::string s = "'";
    for (char c : p.string()) s += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return s + "'";
}

struct GerbvRun {
    int exitCode = -1;
    std::vector<std::string> complaints;  // CRITICAL / WARNING lines, the expected one left out
    std::string exported;
};

GerbvRun RunGerbv(const std::string& gerbv, const fs::path& in, const fs::path& work,
                  const char* format, bool drill) {
    const fs::path out = work / (in.filename().string() + "." + format);
    const fs::path err = work / (in.filename().string() + ".err");
    std::string cmd = Quote(gerbv) + " -x " + format;
    if (std::string(format) == "png") cmd += " -D 300";
    cmd += " -o " + Quote(out) + " " + Quote(in) + " >/dev/null 2>" + Quote(err);
    GerbvRun r;
    const int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(ReadWholeFile(err).value_or(""));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("CRITICAL") == std::string::npos && line.find("WARNING") == std::string::npos)
            continue;
        if (drill && line.find("Unsupported G81") != std::string::npos) continue;
        r.complaints.push_back(line);
    }
    r.exported = ReadWholeFile(out).value_or("");
    return r;
}

// Runs both exports of one file and compares the RS-274X one with what we meant.
void CheckWithGerbv(const std::string& gerbv, const fs::path& file, const fs::path& work,
                    const std::vector<PlotObject>& ours, bool drill) {
    SCOPED_TRACE(file.string());
    const GerbvRun rs = RunGerbv(gerbv, file, work, "rs274x", drill);
    EXPECT_EQ(rs.exitCode, 0);
    EXPECT_TRUE(rs.complaints.empty()) << rs.complaints.front();
    ASSERT_FALSE(rs.exported.empty());
    const std::vector<PlotObject> theirs = testing::ReadPlot(rs.exported);
    ASSERT_FALSE(ours.empty());
    const std::vector<std::string> diff = testing::Unmatched(ours, theirs, kPosTol, kSizeTol);
    EXPECT_TRUE(diff.empty()) << diff.size() << " differences, first: " << diff.front();

    const GerbvRun png = RunGerbv(gerbv, file, work, "png", drill);
    EXPECT_EQ(png.exitCode, 0);
    EXPECT_TRUE(png.complaints.empty()) << png.complaints.front();
    EXPECT_TRUE(png.exported.starts_with("\x89PNG")) << "no image from gerbv";
}

TEST(Gerbv, ReadsEveryExtendedLayerOfTheFeatureBoard) {
    REQUIRE_GERBV();
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    GerberOutputChoices c;
    for (int layer : {1, 2, 3, 5, 6, 7, 8, 12}) {
        c.files.name[layer] = "L" + std::to_string(layer) + ".gbr";
        c.files.selected[layer] = true;
    }
    for (int decimals : {3, 5}) {
        c.decimals = decimals;
        WriteGerberFiles(b, c, dir.path());
        for (int layer : {1, 2, 3, 5, 6, 7, 8, 12}) {
            const fs::path f = dir / ("L" + std::to_string(layer) + ".gbr");
            CheckWithGerbv(gerbv, f, dir.path(), testing::ReadPlot(*ReadWholeFile(f)), false);
        }
    }
}

TEST(Gerbv, ReadsTheToolTableDrillPrograms) {
    REQUIRE_GERBV();
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    HoleOutputChoices c;
    c.autoT = true;
    c.files.name[8] = "plated.drl";
    c.files.selected[8] = true;
    c.files.name[42] = "nth.drl";
    c.files.selected[42] = true;
    WriteHoleFiles(b, c, dir.path());
    c.single = true;
    c.singleFile = dir / "all.drl";
    WriteHoleFiles(b, c, dir.path());
    for (const char* name : {"plated.drl", "nth.drl", "all.drl"}) {
        const fs::path f = dir / name;
        CheckWithGerbv(gerbv, f, dir.path(), testing::ReadDrill(*ReadWholeFile(f), 3), true);
    }
}

void CheckZevoNcSet(const std::string& gerbv, const Board& b, int expectedFiles) {
    ScratchDir dir;
    DCodeTables codes = DCodeTables::Defaults();
    OutputReport r;
    ASSERT_TRUE(WriteZevoNcSet(b, dir.path(), codes, r));
    const fs::path work = dir / "work";
    fs::create_directories(work);
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir / "ZevoNC")) {
        const std::string name = e.path().filename().string();
        const std::string text = *ReadWholeFile(e.path());
        const bool drill = name.starts_with("DrillNC");
        CheckWithGerbv(gerbv, e.path(), work,
                       drill ? testing::ReadDrill(text, 3) : testing::ReadPlot(text), drill);
        ++files;
    }
    EXPECT_EQ(files, expectedFiles);
}

TEST(Gerbv, ReadsTheZevoNcSetOfTheFeatureBoard) {
    REQUIRE_GERBV();
    Board b;
    MakeFeatureBoard(b);
    CheckZevoNcSet(gerbv, b, 12);
}

TEST(Gerbv, ReadsTheZevoNcSetOfTheExampleBoard) {
    REQUIRE_GERBV();
    auto b = std::make_unique<Board>();
    ASSERT_TRUE(ReadDocument(fs::path(ZEVO_EXAMPLES) / "example.pcb", *b).opened);
    // PatternA, PatternB, SilkA, Board, Drill, DrillNTH (the mounting holes), DrillNC1,
    // DrillNC2 and DrillNC.
    CheckZevoNcSet(gerbv, *b, 9);
}

}  // namespace
}  // namespace zevo
