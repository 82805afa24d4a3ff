#include "paths/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "paths/file_io.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

// A program folder "bin", a per-user folder "user" and two shipped folders.
struct Layout {
    ScratchDir root;
    Folders Make(bool programWritable) const {
        Folders f;
        f.program = root / "bin";
        f.userData = root / "user" / "zevo";
        f.shipped = {root / "bin" / "share", root / "usr" / "share" / "zevo"};
        f.programWritable = programWritable;
        fs::create_directories(f.program);
        return f;
    }
};

TEST(SettingsFileName, ExtensionReplacedOrAppended) {
    EXPECT_EQ(SettingsFileOf("/opt/zevo/zevo"), fs::path("/opt/zevo/zevo.ini"));
    EXPECT_EQ(SettingsFileOf("C:/Zevo/zevo.exe"), fs::path("C:/Zevo/zevo.ini"));
    EXPECT_EQ(SettingsFileOf("/a/zevo.1.exe"), fs::path("/a/zevo.1.ini"));  // the last one only
    EXPECT_EQ(SettingsFileOf("/opt/zevo.d/zevo"), fs::path("/opt/zevo.d/zevo.ini"));
}

TEST(Paths, PortableFolderKeepsEverythingBesideTheProgram) {
    Layout l;
    const Paths p(l.Make(true));
    EXPECT_TRUE(p.portable());
    EXPECT_EQ(p.writableDir(), l.root / "bin");
    // Every program of the set, the batch program too, uses the editor's settings file.
    EXPECT_EQ(p.settingsFile(), l.root / "bin" / "zevo.ini");
    EXPECT_EQ(p.recoveryFile(), l.root / "bin" / "Recovery.pcb");
    EXPECT_EQ(p.libraryDir(), l.root / "bin");
    EXPECT_EQ(p.WriteTarget(kCompareReportFileName), l.root / "bin" / "NetListErr.txt");
}

TEST(Paths, InstalledProgramWritesToThePerUserFolder) {
    Layout l;
    const Paths p(l.Make(false));
    EXPECT_FALSE(p.portable());
    EXPECT_EQ(p.settingsFile(), l.root / "user" / "zevo" / "zevo.ini");
    EXPECT_EQ(p.recoveryFile(), l.root / "user" / "zevo" / "Recovery.pcb");
    EXPECT_FALSE(fs::exists(l.root / "user" / "zevo"));
    EXPECT_TRUE(p.PrepareWritableDir());
    EXPECT_TRUE(fs::is_directory(l.root / "user" / "zevo"));
}

TEST(Paths, WritabilityIsProbed) {
    Layout l;
    Folders f = l.Make(true);
    f.programWritable.reset();
    EXPECT_TRUE(Paths(f).portable());
    EXPECT_TRUE(fs::is_empty(f.program)) << "the probe file must not stay";
    f.program = l.root / "no" / "such" / "folder";
    EXPECT_FALSE(Paths(f).portable());
}

TEST(Paths, UsersFilesWinOverShippedDefaults) {
    Layout l;
    const Paths p(l.Make(false));
    // Nowhere: the place where it would be written.
    EXPECT_EQ(p.fontFile(), l.root / "user" / "zevo" / "zevofont.dat");
    // Shipped folders in order.
    l.root.Put("usr/share/zevo/zevofont.dat", "second");
    EXPECT_EQ(p.fontFile(), l.root / "usr" / "share" / "zevo" / "zevofont.dat");
    l.root.Put("bin/share/zevofont.dat", "first");
    EXPECT_EQ(p.fontFile(), l.root / "bin" / "share" / "zevofont.dat");
    // A file in the program's folder is the user's too...
    l.root.Put("bin/zevofont.dat", "program");
    EXPECT_EQ(p.fontFile(), l.root / "bin" / "zevofont.dat");
    // ...but the folder the program writes to comes first.
    l.root.Put("user/zevo/zevofont.dat", "user");
    EXPECT_EQ(p.fontFile(), l.root / "user" / "zevo" / "zevofont.dat");
    EXPECT_EQ(*p.Shipped(kFontFileName), l.root / "bin" / "share" / "zevofont.dat");
    EXPECT_FALSE(p.Shipped(kRuleFileName).has_value());
}

TEST(Paths, SettingsFileIsCopiedIntoPlaceOnFirstUse) {
    Layout l;
    const Paths p(l.Make(false));
    l.root.Put("usr/share/zevo/zevo.ini", "[Setting]\r\nUndoneMax:20\r\n");
    const auto file = p.EnsureSettingsFile();
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(*file, p.settingsFile());
    EXPECT_EQ(l.root.Get("user/zevo/zevo.ini"), "[Setting]\r\nUndoneMax:20\r\n");
    // Once in place, the user's file is kept.
    l.root.Put("user/zevo/zevo.ini", "[Setting]\r\nUndoneMax:3\r\n");
    EXPECT_EQ(*p.EnsureSettingsFile(), p.settingsFile());
    EXPECT_EQ(l.root.Get("user/zevo/zevo.ini"), "[Setting]\r\nUndoneMax:3\r\n");
}

TEST(Paths, MissingSettingsAndOutputSettingsAreMadeEmpty) {
    Layout l;
    const Paths p(l.Make(true));
    ASSERT_TRUE(p.EnsureSettingsFile().has_value());
    EXPECT_EQ(l.root.Get("bin/zevo.ini"), "");
    const auto gout = p.OutputSettingsFile(kGerberOutSettings);
    ASSERT_TRUE(gout.has_value());
    EXPECT_EQ(*gout, l.root / "bin" / "GOutIni.dat");
    EXPECT_TRUE(fs::is_regular_file(*gout));
    // Without createEmpty, nothing to copy means nothing made.
    EXPECT_FALSE(p.Ensure(kRuleFileName, false).has_value());
    EXPECT_FALSE(fs::exists(l.root / "bin" / "Zevo.drc"));
}

TEST(Paths, LibraryEntriesAndFolders) {
    Layout l;
    const Paths p(l.Make(false));
    l.root.Put("bin/share/Sample.lib", "[Libraries]\r\n");
    EXPECT_EQ(p.ResolveLibrary("Sample.lib"), l.root / "bin" / "share" / "Sample.lib");
    EXPECT_EQ(p.ResolveLibrary("Parts.lib"), l.root / "user" / "zevo" / "Parts.lib");
    EXPECT_EQ(p.ResolveLibrary("/home/me/my.lib"), fs::path("/home/me/my.lib"));
    EXPECT_EQ(p.ResolveLibrary("C:\\lib\\my.lib"), fs::path("C:\\lib\\my.lib"));
    const std::vector<fs::path> dirs = p.libraryDirs();
    ASSERT_EQ(dirs.size(), 4u);
    EXPECT_EQ(dirs[0], l.root / "user" / "zevo");
    EXPECT_EQ(dirs[1], l.root / "bin");
    EXPECT_EQ(dirs[2], l.root / "bin" / "share");
}

#if defined(__linux__)
TEST(Paths, RunningProgramFoldersOnLinux) {
    ScratchDir xdg;
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", xdg.path().c_str(), 1);
    const Paths p = Paths::ForRunningProgram();
    if (old) {
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(p.folders().program, exe.parent_path());
    EXPECT_EQ(p.folders().userData, xdg.path() / "zevo");
    ASSERT_GE(p.folders().shipped.size(), 2u);
    EXPECT_EQ(p.folders().shipped[0], exe.parent_path() / "share");
    EXPECT_EQ(p.folders().shipped[1],
              (exe.parent_path() / ".." / "share" / "zevo").lexically_normal());
}
#endif

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporaryFile) {
    ScratchDir d;
    const fs::path f = d.Put("zevo.ini", "old");
    ASSERT_TRUE(WriteFileAtomically(f, "new contents"));
    EXPECT_EQ(d.Get("zevo.ini"), "new contents");
    ASSERT_TRUE(WriteFileAtomically(d / "fresh.dat", ""));
    EXPECT_EQ(d.Get("fresh.dat"), "");
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(d.path())) ++files;
    EXPECT_EQ(files, 2);
}

TEST(AtomicWrite, FollowsASymbolicLink) {
    ScratchDir d;
    const fs::path real = d.Put("dotfiles/zevo.ini", "old");
    std::error_code ec;
    fs::create_symlink(real, d / "zevo.ini", ec);
    if (ec) GTEST_SKIP() << "no symbolic links here";
    ASSERT_TRUE(WriteFileAtomically(d / "zevo.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(d / "zevo.ini"));
    EXPECT_EQ(d.Get("dotfiles/zevo.ini"), "new");
}

TEST(AtomicWrite, FailureLeavesTheOldFile) {
    ScratchDir d;
    EXPECT_FALSE(WriteFileAtomically(d / "missing" / "folder" / "x.ini", "data"));
    // A name so long that no temporary name beside it can be made.
    const std::string longName(250, 'z');
    const fs::path f = d.Put(longName, "old");
    EXPECT_FALSE(WriteFileAtomically(f, "new"));
    EXPECT_EQ(d.Get(longName), "old");
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(d.path())) ++files;
    EXPECT_EQ(files, 1);
}

// Japanese names go through the wide file API on Windows: the name on the disk is the one given,
// the temporary beside it carries it too (so a dead writer's temporary is still recognised) and
// the listing gives it back.
TEST(AtomicWrite, JapaneseNamesKeepTheirCharacters) {
    ScratchDir d;
    const std::string name = "基板テスト.pcb";
    const fs::path target = d.path() / PathFromUtf8(name);
    EXPECT_EQ(PathToUtf8(target.filename()), name);
    ASSERT_TRUE(WriteFileAtomically(target, "first"));
    ASSERT_TRUE(WriteFileAtomically(target, "second"));
    EXPECT_EQ(ReadWholeFile(target).value_or("<missing>"), "second");
    std::vector<std::string> listed;
    for (const auto& e : fs::directory_iterator(d.path()))
        listed.push_back(PathToUtf8(e.path().filename()));
    EXPECT_EQ(listed, std::vector<std::string>{name});

    fs::path tmp;
    FilePtr f = CreateTemporaryFor(target, tmp);
    ASSERT_TRUE(f);
    EXPECT_TRUE(PathToUtf8(tmp.filename()).starts_with(name + "."));
    f.reset();
    // 99999999 is above any process id the system hands out: that writer is gone.
    const fs::path dead = d.path() / PathFromUtf8(name + ".99999999-0.tmp");
    ASSERT_TRUE(OpenFile(dead, "wb"));
    EXPECT_EQ(RemoveStaleTemporaries(target), 1);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(tmp));  // this process's own temporary is left alone
}

}  // namespace
}  // namespace zevo
