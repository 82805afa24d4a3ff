// Both conversions take any bytes. CP932 -> UTF-8 must give well-formed UTF-8 that converts back
// without loss when nothing was replaced; UTF-8 -> CP932 must keep every ASCII byte of valid input.
#include "text/cp932.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    std::size_t bad = 0;
    const std::string utf8 = zevo::Cp932ToUtf8(in, &bad);
    std::size_t badBack = 0;
    const std::string sjis = zevo::Utf8ToCp932(utf8, &badBack);
    // Every character that decoded encodes again (U+FFFD itself has no CP932 code).
    if (badBack != bad) std::abort();
    if (bad == 0 && zevo::Cp932ToUtf8(sjis) != utf8) std::abort();
    zevo::Utf8ToCp932(in);
    return 0;
}
