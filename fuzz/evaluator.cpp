// Any field text must evaluate or fail without crashing, overflowing the stack or giving a
// non-finite value.
#include "board/eval/evaluator.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto v = zevo::EvaluateField(std::string_view(reinterpret_cast<const char*>(data), size));
    if (v && !std::isfinite(*v)) std::abort();
    return 0;
}
