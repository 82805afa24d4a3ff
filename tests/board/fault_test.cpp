#include "board/file/fault.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zevo {
namespace {

void WriteMarker(void* ctx) {
    const char* path = static_cast<const char*>(ctx);
    if (FILE* f = std::fopen(path, "ab")) {
        std::fputs("recovered\n", f);
        std::fclose(f);
    }
}

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

#if defined(_WIN32)
// The C runtime's default action for these signals ends the process with status 3.
testing::ExitedWithCode EndedBy(int) {
    return testing::ExitedWithCode(3);
}
#else
testing::KilledBySignal EndedBy(int sig) {
    return testing::KilledBySignal(sig);
}
#endif

TEST(FaultHandlersDeathTest, WriteTheRecoveryOnceAndStillEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto dir = std::filesystem::temp_directory_path() / "zevo_fault_test";
    std::filesystem::create_directories(dir);
    for (int sig : {SIGFPE, SIGSEGV}) {
        const auto marker = dir / ("marker" + std::to_string(sig));
        std::filesystem::remove(marker);
        static std::string path;
        path = marker.string();
        EXPECT_EXIT(
            {
                InstallFaultHandlers(WriteMarker, path.data());
                std::raise(sig);
            },
            EndedBy(sig), "");
        EXPECT_EQ(ReadAll(marker), "recovered\n") << "signal " << sig;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zevo
