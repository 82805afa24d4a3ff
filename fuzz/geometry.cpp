// Arc normal form and the arc-against-box test must terminate and stay finite on any doubles.
#include "geometry/geometry.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double v[8] = {};
    std::memcpy(v, data, size < sizeof v ? size : sizeof v);
    double st = v[0], end = v[1];
    zevo::NormaliseArc(st, end);
    zevo::ArcTouchesBox({v[2], v[3]}, v[4], st, end, v[5], v[6], v[7], v[2]);
    return 0;
}
