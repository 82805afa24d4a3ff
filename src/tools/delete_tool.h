// The delete tool (mode 7): a click takes the unit under the cursor (the whole part, or with Ctrl
// the element inside it), a drag takes what a rectangle holds; a second click (or 決定) deletes
// what was taken as one undo step, Esc and Backspace put it back. With "クリックで削除" the
// click deletes at once.
#pragma once

#include "tools/dialog.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts the delete tool's states into a mode table.
void InstallDeleteTool(ModeTable& table);

// "削除設定": the one switch of the tool, "クリックで削除".
class DeleteSettingsModel : public DialogModel {
  public:
    explicit DeleteSettingsModel(bool deleteOnClick) : deleteOnClick(deleteOnClick) {}
    bool deleteOnClick;
};

}  // namespace zevo
