// A dialog as the core asks for it: a model that holds the fields, the rules and, once the window
// is gone, the answer. The core fills a model and hands it to its host (`Host::run`,
// `ToolHost::Run`); the host finds the window that shows that kind of model, runs it, and says
// whether the dialog took its values (決定, 出力, OK) or was left some other way.
//
// A new dialog is a model deriving from DialogModel (Qt-free, with its tests), a Qt dialog over
// it, and one registration line in the Qt host. The test host answers any model from its queue.
#pragma once

namespace zevo {

class DialogModel {
  public:
    virtual ~DialogModel() = default;
    // The window has closed, however it was closed. Models that keep the page being edited
    // store it here; calling it again does no harm.
    virtual void windowClosed() {}

    // The numeric key pad opens beside a window with numeric fields (the editor's option).
    bool keypad = false;
};

}  // namespace zevo
