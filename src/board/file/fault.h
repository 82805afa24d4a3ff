// Last-chance handling of a floating-point fault or an invalid memory access: the current
// document is written to the recovery file once, then the program ends as it would have.
#pragma once

namespace zevo {

using FaultWriter = void (*)(void* context);

// Installs the handlers (SIGSEGV, SIGBUS, SIGFPE, SIGILL) on an alternate stack, so that even
// a stack overflow reaches the writer. The writer runs at most once; a fault inside it is not
// handled a second time.
void InstallFaultHandlers(FaultWriter writer, void* context);
// Back to the default actions (tests, shutdown).
void RemoveFaultHandlers();

}  // namespace zevo
