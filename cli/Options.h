// The command line of orx-esc: one command, its file, and the common options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orx::cli {

// Exit statuses.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;      // the ESC or a transfer failed
inline constexpr int kBadUsage = 2;    // bad usage or a bad file
inline constexpr int kNotFound = 3;    // no adapter or ESC found

struct Options {
  std::string command;              // list, read, write, defaults, repair, flash, log, use-time, protections
  std::optional<std::string> file;  // write's .cfg, flash's and repair's firmware
  std::optional<std::string> out;   // --out
  std::optional<std::string> notes; // --notes
  std::optional<std::string> port;  // --port
  bool json = false;
  bool yes = false;
  bool help = false;
  bool clear = false;  // log --clear, protections --clear
  bool reset = false;  // use-time --reset
};

// False with `error` for anything the command does not take.
bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// The --help text of a command, or the overview for an empty or unknown one.
std::string helpText(const std::string& command);

}  // namespace orx::cli
