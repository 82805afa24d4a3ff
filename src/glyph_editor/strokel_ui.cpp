#include "glyph_editor/strokel_ui.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "text/language.h"

namespace zevo {

bool TraceSwitchGiven(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 0x20) ++i;
    if (i + 1 >= line.size()) return false;
    return (line[i] == '-' || line[i] == '/') && (line[i + 1] == 'T' || line[i + 1] == 't');
}

std::string CoordinateText(GridCell c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "X:%2d  Y:%d", c.x, c.y);
    return buf;
}

std::vector<StrokelMenuLine> StrokelContextMenu(const GlyphEditor& editor, bool traceShown) {
    const bool idle = editor.state() == GlyphEditor::State::kIdle;
    std::vector<StrokelMenuLine> menu;
    menu.push_back({StrokelCommand::kUndo, Tr("元に戻す"), idle && editor.canUndo()});
    menu.push_back({StrokelCommand::kNone, {}, false});
    if (traceShown) {
        menu.push_back({StrokelCommand::kFontChoice, Tr("フォント選択"), idle});
        menu.push_back({StrokelCommand::kMagnification, Tr("倍率"), idle});
        menu.push_back({StrokelCommand::kNone, {}, false});
    }
    menu.push_back({StrokelCommand::kExit, Tr("終了"), idle});
    return menu;
}

TraceMagnificationModel::TraceMagnificationModel(int traceHeight) : height_(traceHeight) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", traceHeight / 128.0);
    text_ = buf;
}

bool TraceMagnificationModel::pressSet() {
    const char* b = text_.data();
    const char* e = b + text_.size();
    while (b < e && (*b == ' ' || *b == '\t')) ++b;
    while (e > b && (e[-1] == ' ' || e[-1] == '\t')) --e;
    double v = 0;
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e || !(v >= 0.5 && v <= 2.0)) return false;
    height_ = int(std::lround(v * 128));
    return true;
}

}  // namespace zevo
