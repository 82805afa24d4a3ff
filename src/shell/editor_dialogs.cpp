#include "shell/editor.h"

namespace zevo {

void Editor::runDefinitionDialog(int id) { host.beep(); }

}  // namespace zevo
