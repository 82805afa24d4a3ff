// The fill tool (mode 11): a closed outline of lines and arcs becomes a filled area of
// horizontal strokes; Shift (or the option) turns a filled area back into its outline; Ctrl (or
// the option) cuts a window, a closed outline or the edge of a land, into a filled area.
#pragma once

#include "tools/dialog.h"
#include "tools/fill_hatch.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts the fill tool's states into a mode table.
void InstallFillTool(ModeTable& table);

// "塗潰し／解除／窓抜き 設定": "塗潰し(キーを押しながら解除/窓抜き)", "塗潰し解除", "窓抜き": what
// a plain click does.
class FillSettingsModel : public DialogModel {
  public:
    enum class Click { kFill, kUnfill, kWindow };
    explicit FillSettingsModel(const DrawingSettings& s);
    Click click;
    void store(DrawingSettings& s) const;
};

// The outline elements of a filled area (its " LOOP" and " WINDOW" members, in order).
std::vector<const drawn*> AreaOutlines(const group* painted);

// The window that follows the edge of a land: a circle around a round land, four lines around a
// square one, drawn with the area's pen and standing one pen width off the land's edge so that
// the area's copper keeps clear of it.
std::vector<drawn*> LandWindow(Board& b, const land* l, int layer, int aperture);

}  // namespace zevo
