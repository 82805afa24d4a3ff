#include "hershey.h"

#include <fstream>

namespace fontgen {

std::vector<HGlyph> ReadHersheyFile(const std::string& path) {
    std::vector<HGlyph> out;
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.size() < 10) continue;
        HGlyph g;
        g.number = std::stoi(text.substr(0, 5));
        const int pairs = std::stoi(text.substr(5, 3));
        const std::string data = text.substr(8);
        if (data.size() < 2 * std::size_t(pairs)) continue;
        g.left = data[0] - 'R';
        g.right = data[1] - 'R';
        std::vector<HPoint> stroke;
        for (int i = 1; i < pairs; ++i) {
            const char a = data[2 * i], b = data[2 * i + 1];
            if (a == ' ' && b == 'R') {
                if (!stroke.empty()) g.strokes.push_back(std::move(stroke));
                stroke.clear();
                continue;
            }
            stroke.push_back({a - 'R', b - 'R'});
        }
        if (!stroke.empty()) g.strokes.push_back(std::move(stroke));
        out.push_back(std::move(g));
    }
    return out;
}

}  // namespace fontgen
