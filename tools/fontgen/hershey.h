// Reading Hershey stroke data in the ".jhf" text form: one glyph per line, a 5-column glyph
// number, a 3-column count of coordinate pairs, then the pairs as two characters each, 'R'
// meaning 0. The first pair holds the left and right margins; " R" lifts the pen. Hershey y grows
// downwards.
#pragma once

#include <string>
#include <vector>

namespace fontgen {

struct HPoint {
    int x = 0, y = 0;
};

struct HGlyph {
    int number = 0;
    int left = 0, right = 0;
    std::vector<std::vector<HPoint>> strokes;
};

// Every glyph of a file in file order; an empty list when the file cannot be read.
std::vector<HGlyph> ReadHersheyFile(const std::string& path);

}  // namespace fontgen
