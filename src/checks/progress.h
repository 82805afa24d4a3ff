// The progress interface of the long checks (net building, the design rule check, the netlist
// comparison). The editor answers it with its progress window and pumps input through it; the
// batch program draws a bar on a terminal; tests count the calls or abort on purpose.
#pragma once

#include <cstddef>

namespace zevo {

// Work between two reports: nets built, pairs tested.
inline constexpr size_t kProgressStep = 10000;

class ProgressMonitor {
  public:
    virtual ~ProgressMonitor() = default;
    // Called once per kProgressStep units of work with the units done so far and an estimate of
    // the whole (0 when unknown). Returns false when the user asked to stop (Escape).
    virtual bool pump(size_t done, size_t total) = 0;
};

}  // namespace zevo
