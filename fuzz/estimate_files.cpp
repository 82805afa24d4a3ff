// Any bytes as a ZevoNC file on its way into the archive: measuring, mirroring, the drill merge
// and the viewer's reading must neither crash nor hang, and mirroring twice about one axis must
// give back the coordinates it changed.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "estimate/package_files.h"
#include "estimate/viewer.h"
#include "estimate/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zevo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Extent e = MeasureBytes(bytes);
    if (e.any && (e.minX > e.maxX || e.minY > e.maxY)) std::abort();
    long long maxX = 0;
    const long long axis = LargestBodyX(bytes, maxX) ? MirrorAxis(maxX) : 10000;
    const std::string once = MirrorBytes(bytes, axis);
    // Lines are neither added nor lost.
    if (std::count(once.begin(), once.end(), '\n') != std::count(bytes.begin(), bytes.end(), '\n'))
        std::abort();
    const size_t half = size / 2;
    MergeDrills(bytes.substr(0, half), bytes.substr(half));
    const ViewerDrawing d = ReadViewerDrawing(bytes);
    for (const ViewerShape& s : d.shapes)
        if (!std::isfinite(s.x0) || !std::isfinite(s.y1) || !std::isfinite(s.cx)) std::abort();
    if (size < 4096) {
        const std::string zip =
            BuildZip({{"a.GTL", std::string(bytes)}}, MakeDosStamp(2020, 1, 1, 0, 0, 0));
        if (zip.size() < 22) std::abort();
    }
    return 0;
}
