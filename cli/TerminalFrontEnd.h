// orx-esc's answers to the engine: boxes go to stderr, questions are answered
// by --yes or on the terminal, the file is the one named on the command line,
// and the status line and progress bar are echoed to stderr.
//
// Threading: ask() and choose() come from the link worker (or the main thread
// for the settings file flows); watch()'s listener runs on whichever thread
// changed the controls. Output is serialised by one mutex.
#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "base/SharedControls.h"

namespace orx::cli {

class TerminalFrontEnd : public Prompter, public FileChooser {
 public:
  explicit TerminalFrontEnd(bool yes);

  MsgAnswer ask(const Message& message) override;
  // The file named on the command line; without one, asked on a terminal.
  std::optional<std::string> choose(const FileDialogRequest& request) override;
  void setFile(std::optional<std::string> path) { file_ = std::move(path); }

  // Echoes status line changes and the progress bar of `controls` to stderr.
  void watch(SharedControls& controls);
  // Ends a progress bar drawn on a terminal with its line feed.
  void finishProgress();
  // A line of our own on stderr (UTF-8).
  void note(const std::string& text);
  // The last status line text echoed (Windows-1252).
  std::string lastStatus() const;

 private:
  void echo(SharedControls& controls);
  std::optional<std::string> askLine(const std::string& prompt);

  bool yes_;
  bool terminal_;  // stderr is a terminal: one redrawn line of bar and status
  bool interactive_;  // stdin is a terminal: questions can be asked
  std::optional<std::string> file_;
  mutable std::mutex mutex_;
  std::string status_;
  int progress_ = 0;
  bool barOpen_ = false;
};

// Windows-1252 box or status text as UTF-8 lines ending in "\n".
std::string terminalText(const std::string& cp1252);

}  // namespace orx::cli
