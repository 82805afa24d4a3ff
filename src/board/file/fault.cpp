#include "board/file/fault.h"

#include <csignal>
#include <cstdlib>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#define ZEVO_POSIX_SIGNALS 1
#endif

namespace zevo {

namespace {

FaultWriter gWriter = nullptr;
void* gContext = nullptr;
volatile std::sig_atomic_t gWritten = 0;
constexpr int kSignals[] = {SIGSEGV, SIGFPE, SIGILL,
#ifdef SIGBUS
                            SIGBUS
#endif
};

void OnFault(int sig) {
    if (!gWritten && gWriter) {
        gWritten = 1;
        gWriter(gContext);
    }
    // The handler was installed to run once: the signal now takes its default action.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

void InstallFaultHandlers(FaultWriter writer, void* context) {
    gWriter = writer;
    gContext = context;
    gWritten = 0;
#ifdef ZEVO_POSIX_SIGNALS
    static std::vector<char> altStack(1 << 16);
    stack_t ss{};
    ss.ss_sp = altStack.data();
    ss.ss_size = altStack.size();
    sigaltstack(&ss, nullptr);
    struct sigaction sa {};
    sa.sa_handler = OnFault;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_ONSTACK | SA_RESETHAND;
    for (int s : kSignals) sigaction(s, &sa, nullptr);
#else
    // Windows: the C signals only (mingw's start-up code turns an access violation or a
    // floating-point fault into SIGSEGV / SIGFPE); no alternate stack.
    for (int s : kSignals) std::signal(s, OnFault);
#endif
}

void RemoveFaultHandlers() {
    for (int s : kSignals) std::signal(s, SIG_DFL);
    gWriter = nullptr;
    gContext = nullptr;
}

}  // namespace zevo
