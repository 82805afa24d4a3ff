// The checks shared by the fuzz targets of the netlist readers: any input reads without a crash,
// and what comes back is well formed: nets of pins with pooled, trimmed, non-empty references,
// within the capacity, nothing kept on overflow, and the diagnostics within their bound.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "checks/netlist_import.h"

namespace zevo::fuzz {

// Small enough that the fuzzer reaches the overflow too.
inline constexpr size_t kFuzzNetlistCapacity = 512;

inline void CheckNetlistRead(const NetlistRead& r, NetlistFormat format, size_t capacity) {
    if (r.format != format) std::abort();
    if (r.issues.size() > r.skipped || r.issues.size() > kMaxNetlistIssues) std::abort();
    if (r.status != NetlistRead::kOk && !r.nets.empty()) std::abort();
    if (r.status == NetlistRead::kOk && r.nets.empty()) std::abort();
    size_t slots = 0;
    for (const PinNet& n : r.nets) {
        if (n.empty()) std::abort();
        slots += 1 + n.size();
        for (const NetPin& p : n) {
            const std::string_view ref = View(p.ref);
            if (ref.empty() || p.part) std::abort();
            if (static_cast<unsigned char>(ref.front()) <= 32 ||
                static_cast<unsigned char>(ref.back()) <= 32)
                std::abort();
            if (p.ref != Intern(ref)) std::abort();
        }
    }
    if (slots > capacity) std::abort();
}

inline bool SameNets(const PinNets& a, const PinNets& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size()) return false;
        for (size_t j = 0; j < a[i].size(); ++j)
            if (a[i][j].ref != b[i][j].ref || a[i][j].pin != b[i][j].pin) return false;
    }
    return true;
}

template <NetlistRead (*Reader)(std::string_view, size_t)>
int FuzzNetlistReader(const uint8_t* data, size_t size, NetlistFormat format) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const NetlistRead r = Reader(text, kFuzzNetlistCapacity);
    CheckNetlistRead(r, format, kFuzzNetlistCapacity);
    // The recognition reads every input, and a file it gives to this reader reads the same.
    if (RecogniseNetlist(text) == format) {
        const NetlistRead again = ReadReferenceNetlist(text, kFuzzNetlistCapacity);
        if (again.status != r.status || !SameNets(again.nets, r.nets) || again.skipped != r.skipped)
            std::abort();
    }
    return 0;
}

}  // namespace zevo::fuzz
