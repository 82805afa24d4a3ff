// zevo-cli in Japanese and in English: the language from the locale or --lang, the messages in
// that language, and every file it writes the same bytes in both.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::ScratchDir;
namespace fs = std::filesystem;

// The tests that expect zevo-cli's Japanese messages run it in a Japanese locale, whatever the
// machine's: set before any test starts.
[[maybe_unused]] const bool kJapaneseLocale = [] {
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    return true;
}();

struct CliRun {
    int status = -1;
    std::string out;  // stdout and stderr
};

CliRun RunCli(const std::string& env, const std::string& args) {
    CliRun r;
    const std::string cmd = env + " " + std::string(ZEVO_CLI_PATH) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An archive without the moments it was made: the time and date of its local and central
// headers blanked (both runs are blanked the same way, so nothing else can hide a difference).
std::string WithoutStamps(std::string zip) {
    for (size_t i = 0; i + 16 <= zip.size(); ++i) {
        if (zip.compare(i, 4, "PK\x03\x04") == 0) zip.replace(i + 10, 4, 4, '\0');
        if (zip.compare(i, 4, "PK\x01\x02") == 0) zip.replace(i + 12, 4, 4, '\0');
    }
    return zip;
}

TEST(CliLanguage, TheLocaleChoosesTheMessagesAndLangOverridesIt) {
    ScratchDir dir;
    const std::string missing = (dir / "missing.net").string();
    const std::string board = std::string(ZEVO_EXAMPLES) + "/example.pcb";
    const std::string compare = "compare " + board + " " + missing;
    const std::string japanese = "ネットリストが読み込めません";
    const std::string english = "The netlist cannot be read";
    EXPECT_NE(RunCli("", compare).out.find(japanese), std::string::npos);
    EXPECT_NE(RunCli("LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8", compare).out.find(english),
              std::string::npos);
    EXPECT_NE(RunCli("LC_ALL= LC_MESSAGES=C LANG=ja_JP.UTF-8", compare).out.find(english),
              std::string::npos);
    EXPECT_NE(RunCli("env -u LC_ALL -u LC_MESSAGES -u LANG", compare).out.find(english),
              std::string::npos);
    EXPECT_NE(RunCli("LC_ALL=en_US.UTF-8", "--lang ja " + compare).out.find(japanese),
              std::string::npos);
    EXPECT_NE(RunCli("", compare + " --lang en").out.find(english), std::string::npos);
    const CliRun bad = RunCli("", "--lang fr info " + board);
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.out.find("--lang"), std::string::npos);
}

TEST(CliLanguage, ATranslationFileBesideTheProgramReplacesTheBuiltInEnglish) {
    ScratchDir dir;
    const fs::path program = dir / "bin" / "zevo-cli";
    fs::create_directories(program.parent_path());
    fs::copy_file(ZEVO_CLI_PATH, program);
    dir.Put("bin/zevo_en.txt", "# mine\n1046\tNo netlist here\nnot an entry\n");
    const std::string args = " compare " + std::string(ZEVO_EXAMPLES) + "/example.pcb " +
                             (dir / "missing.net").string() + " 2>&1";
    auto run = [&](const std::string& lang) {
        std::string out;
        FILE* p = popen((program.string() + " --lang " + lang + args).c_str(), "r");
        if (!p) return out;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
        return out;
    };
    const std::string english = run("en");
    EXPECT_NE(english.find("No netlist here"), std::string::npos) << english;
    EXPECT_NE(english.find("zevo_en.txt: 1 line(s) skipped"), std::string::npos) << english;
    const std::string japanese = run("ja");
    EXPECT_NE(japanese.find("ネットリストが読み込めません"), std::string::npos) << japanese;
}

// Every kind of file zevo-cli writes, written once in each language: the same bytes.
TEST(CliLanguage, EveryFileWrittenIsTheSameInBothLanguages) {
    ScratchDir dir;
    const fs::path example = fs::path(ZEVO_EXAMPLES) / "example.pcb";
    const fs::path reference = fs::path(ZEVO_EXAMPLES) / "example.net";
    const fs::path rules = fs::path(ZEVO_RESOURCES) / "Zevo.drc";
    for (const std::string lang : {"ja", "en"}) {
        const fs::path out = dir / lang;
        fs::create_directories(out / "boards");
        fs::copy_file(example, out / "boards" / "amp.pcb");
        const std::string board = (out / "boards" / "amp.pcb").string();
        const std::string o = out.string();
        const std::vector<std::string> commands = {
            "gerber " + board + " --out " + o + "/gerber --layers 1,2,3,7,8,9",
            "gerber " + board + " --out " + o + "/plain --plain --decimals 4 --layers 1,2,3,7,8,9",
            "gerber " + board + " --out " + o + "/modern --modern --layers 1,2,3,7,8,9",
            "drill " + board + " --out " + o + "/drill --layers 8,9,42",
            "drill " + board + " --out " + o + "/drill-auto --auto-t --layers 8,9,42",
            "drill " + board + " --out " + o + "/single --single " + o +
                "/single/all.hol --layers 8,9,42",
            "drill " + board + " --out " + o + "/drill-modern --modern --layers 8,9,42",
            "zevonc " + board + " --dir " + o + "/nc",
            "zevonc " + board + " --dir " + o + "/nc-modern --modern",
            "coords " + board + " -o " + o + "/amp.pos",
            "netlist " + board + " -o " + o + "/amp.net",
            "compare " + board + " " + reference.string() + " -o " + o + "/same.txt",
            "compare " + board + " " + o + "/other.net -o " + o + "/differ.txt",
            "drc " + board + " --rules " + rules.string() + " -o " + o + "/drc.pcb",
            "convert " + board + " " + o + "/converted.pcb",
            "convert " + board + " " + o + "/old.pcb --old-format",
            "import " + board + " --gerber " + o + "/gerber/layer1.grb --layer 12 -o " + o +
                "/imported.pcb",
            "estimate " + board + " --entry 0 --temp " + o + "/tmp",
            "estimate " + board + " --entry 2 --side-b --temp " + o + "/tmp2",
        };
        for (const char* folder : {"gerber", "plain", "modern", "drill", "drill-auto", "single",
                                   "drill-modern", "nc", "nc-modern", "tmp", "tmp2"})
            fs::create_directories(out / folder);
        // A reference netlist that differs from the board: the two LEDs change places.
        std::string other = Bytes(reference);
        for (auto [from, to] : {std::pair{"(R1,2) (D1,1)", "(R1,2) (D2,1)"},
                                std::pair{"(R4,2) (D2,1)", "(R4,2) (D1,1)"}}) {
            const size_t at = other.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            other.replace(at, std::string_view(from).size(), to);
        }
        std::ofstream(out / "other.net", std::ios::binary) << other;
        for (const std::string& c : commands) {
            const CliRun r = RunCli("", "--lang " + lang + " " + c);
            EXPECT_LE(r.status, 1) << c << "\n" << r.out;  // 1: the check found something
        }
    }
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(dir / "ja"))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), dir / "ja"));
    EXPECT_GT(files.size(), 40u);
    size_t english = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir / "en"))
        english += e.is_regular_file();
    EXPECT_EQ(english, files.size());
    for (const fs::path& f : files) {
        std::string ja = Bytes(dir / "ja" / f);
        std::string en = Bytes(dir / "en" / f);
        if (f.extension() == ".zip") {
            ja = WithoutStamps(ja);
            en = WithoutStamps(en);
        }
        EXPECT_TRUE(ja == en) << f << " differs between the languages";
    }
}

}  // namespace
}  // namespace zevo
