#include "cli/TerminalFrontEnd.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "base/ControlIds.h"
#include "base/Cp1252.h"

namespace orx::cli {

std::string terminalText(const std::string& cp1252) {
  std::string out;
  for (char c : cp1252ToUtf8(cp1252))
    if (c != '\r') out += c;
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out + "\n";
}

TerminalFrontEnd::TerminalFrontEnd(bool yes)
    : yes_(yes), terminal_(isatty(STDERR_FILENO) != 0), interactive_(isatty(STDIN_FILENO) != 0) {}

MsgAnswer TerminalFrontEnd::ask(const Message& m) {
  const MsgAnswer go = m.buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : MsgAnswer::Yes;
  const MsgAnswer stay = m.buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel : MsgAnswer::No;
  std::lock_guard lock(mutex_);
  if (barOpen_) std::fputc('\n', stderr), barOpen_ = false;
  std::fputs(terminalText(m.text).c_str(), stderr);
  if (m.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  // A confirmation goes on with --yes; a Yes/No question overrides a failed
  // check, so only a person at the terminal may say yes to it.
  if (yes_ && m.buttons == MsgButtons::OkCancel) return go;
  if (!interactive_) return stay;
  std::fputs("[y/N] ", stderr);
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return stay;
  return answer == "y" || answer == "Y" || answer == "yes" ? go : stay;
}

std::optional<std::string> TerminalFrontEnd::askLine(const std::string& prompt) {
  if (!interactive_) return std::nullopt;
  std::lock_guard lock(mutex_);
  std::fputs(prompt.c_str(), stderr);
  std::fflush(stderr);
  std::string line;
  if (!std::getline(std::cin, line) || line.empty()) return std::nullopt;
  return line;
}

std::optional<std::string> TerminalFrontEnd::choose(const FileDialogRequest& request) {
  if (file_) return file_;
  return askLine("File (" + request.filter.substr(0, request.filter.find('|')) + "): ");
}

void TerminalFrontEnd::watch(SharedControls& controls) {
  controls.setChangeListener([this, &controls] { echo(controls); });
}

void TerminalFrontEnd::echo(SharedControls& controls) {
  const auto [status, progress] = controls.read(
      [](const DialogState& s) { return std::pair{s.text(ctl::StatusLine), s.value(ctl::Progress)}; });
  std::lock_guard lock(mutex_);
  if (progress == progress_ && status == status_) return;
  if (terminal_) {
    // One line redrawn in place: the bar, then the status line's text.
    progress_ = progress;
    status_ = status;
    const int filled = std::clamp(progress, 0, 100) / 5;
    std::string line = terminalText(status);
    line.pop_back();
    std::fprintf(stderr, "\r\033[K[%s%s] %3d%% %s", std::string(filled, '#').c_str(),
                 std::string(20 - filled, ' ').c_str(), progress, line.c_str());
    barOpen_ = true;
    std::fflush(stderr);
    return;
  }
  if (progress != progress_) {
    progress_ = progress;
    std::fprintf(stderr, "%d%%\n", progress);
  }
  if (status != status_) {
    status_ = status;
    if (status.find_first_not_of(' ') == std::string::npos) return;
    std::fputs(terminalText(status).c_str(), stderr);
  }
  std::fflush(stderr);
}

void TerminalFrontEnd::finishProgress() {
  std::lock_guard lock(mutex_);
  if (barOpen_) std::fputc('\n', stderr), barOpen_ = false;
}

void TerminalFrontEnd::note(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (barOpen_) std::fputc('\n', stderr), barOpen_ = false;
  std::fputs((text + "\n").c_str(), stderr);
}

std::string TerminalFrontEnd::lastStatus() const {
  std::lock_guard lock(mutex_);
  return status_;
}

}  // namespace orx::cli
