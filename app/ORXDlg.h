// The main window: a mirror of the shared controls plus the user's way in.
//
// Changes made from code (by the link worker, a file load, a handler) go into
// SharedControls from any thread; its change listener posts one "sync" to this
// window's thread, which shows each changed control with its signals blocked.
// Changes made by the user go the other way: the window's user-only signals
// (activated, clicked, textEdited, focus-out) call the MainWindowController,
// which writes the change into SharedControls first and then runs the handler.
#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "MainWindowController.h"
#include "QtFileChooser.h"
#include "QtPrompter.h"

class QAction;

namespace orx {

class CORXDlg : public QDialog {
  Q_OBJECT
 public:
  // `controls` and `commands` outlive the window.
  CORXDlg(SharedControls& controls, MainWindowCommands& commands, QWidget* parent = nullptr);
  ~CORXDlg() override;

  // The widget of a control id, or nullptr.
  QWidget* control(int id) const;
  // The menu action of a command id, or nullptr.
  QAction* action(int commandId) const;

  MainWindowController& controller() { return controller_; }
  QtPrompter& prompter() { return prompter_; }
  QtFileChooser& fileChooser() { return fileChooser_; }
  void setCommands(MainWindowCommands& commands) { controller_.setCommands(commands); }
  void setContext(SettingsContext context) { controller_.setContext(std::move(context)); }

  // The adapter and device squares and the help text. Any thread.
  void setStatusDisplay(bool adapterGreen, bool deviceGreen);

  // At shutdown, before joining a thread that may be waiting for a box or a
  // file dialog: releases it with the answer that goes no further.
  void releaseWaitingThreads();

 public slots:
  // Restore when minimised, raise and activate: a second start asks for this.
  void bringToFront();
  // Shows every control changed since the last sync. The listener posts it; call
  // it directly to show changes at once.
  void syncFromShared();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Relay;
  void connectControls();
  void afterUserAction(int id);
  void onFocusLost(int id);
  void onCommand(int commandId);

  SharedControls& controls_;
  QtPrompter prompter_;
  QtFileChooser fileChooser_;
  MainWindowController controller_;
  std::map<int, QWidget*> widgets_;
  std::map<int, QAction*> actions_;
  std::shared_ptr<Relay> relay_;
  bool inFocusHandler_ = false;
};

}  // namespace orx
