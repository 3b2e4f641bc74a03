// The main window's answers to the user, without any widget.
//
// The window turns each user action (never a change made from code) into one
// call here. The call first writes what the user did into the shared controls,
// then runs the handler of that control: list, radio and edit rules on the
// controls model, message boxes through the Prompter, and everything that talks
// to the ESC or opens a window through MainWindowCommands.
//
// Threading: call on the window's thread only. The controls are touched only
// inside SharedControls::update, and boxes are asked outside it, so the link
// worker is never held up by a box.
#pragma once

#include <functional>
#include <string>

#include "device/MainWindowCommands.h"
#include "base/Messages.h"
#include "base/SharedControls.h"
#include "protocol/EscSettings.h"

namespace orx {

// What the handlers need to know from the link side. Until the link worker
// provides them: no settings read yet, no NVQ series ESC answering.
struct SettingsContext {
  std::function<EscSettings()> keptSettings;  // the block of the last NVQ read
  std::function<bool()> nvqAnswering;         // active link is STM32 and its ESC answers
};

enum class AfterCommand { Stay, EndDialog };

class MainWindowController {
 public:
  MainWindowController(SharedControls& controls, Prompter& prompter, MainWindowCommands& commands);

  void setContext(SettingsContext context) { context_ = std::move(context); }
  void setCommands(MainWindowCommands& commands) { commands_ = &commands; }

  // Writes the start-up state: every control's text, every list filled without
  // a selection, range and throttle-response edits disabled, empty status.
  void initialise();

  // The user picked entry `index` of a drop list.
  void selectionChanged(int id, int index);
  // The user clicked a button, radio button or check box; `checked` is the
  // check box's new state (ignored for the others).
  void clicked(int id, bool checked = false);
  // The user typed into an edit; `text` is Windows-1252.
  void textEdited(int id, const std::string& text);
  // An edit lost the focus. Returns the control to move the focus to, 0 for none.
  int focusLost(int id);
  // A menu command. Exit ends the dialog; the others go to the commands.
  AfterCommand command(int commandId);

 private:
  EscSettings kept() const;
  bool nvqAnswering() const;
  void show(const Message& message);

  SharedControls& controls_;
  Prompter& prompter_;
  MainWindowCommands* commands_;
  SettingsContext context_;
};

}  // namespace orx
