#include "cli/Options.h"

#include <algorithm>
#include <array>

namespace orx::cli {
namespace {

struct CommandSpec {
  const char* name;
  const char* usage;     // after "orx-esc "
  const char* summary;
  bool file;             // takes a file argument (required unless optional)
  bool fileOptional;
  std::vector<std::string> flags;  // beyond the common ones
};

const std::vector<CommandSpec>& commands() {
  static const std::vector<CommandSpec> table{
      {"list", "list", "every adapter and ESC found, without changing anything", false, false, {}},
      {"read", "read [--out FILE.cfg]", "read the settings; print them as a .cfg (or JSON), or write FILE.cfg",
       false, false, {"--out"}},
      {"write", "write FILE.cfg", "load FILE.cfg as Load Advanced Settings does, send it, read back, print changes",
       true, false, {}},
      {"defaults", "defaults", "restore the ESC's default settings", false, false, {}},
      {"repair", "repair [FILE.orx|FILE.dfu]",
       "REPAIR MODE: send the ESC to its boot loader (or find it waiting there), then update it with the file",
       true, true, {}},
      {"flash", "flash FILE.orx|FILE.dfu", "update the firmware", true, false, {}},
      {"log", "log [--out FILE.csv] [--notes TEXT] | log --clear",
       "download the flight log as CSV (stdout or FILE.csv); --clear erases it", false, false,
       {"--out", "--notes", "--clear"}},
      {"use-time", "use-time [--reset]", "the ESC's use time; --reset sets it to zero", false, false, {"--reset"}},
      {"protections", "protections [--clear]", "the protection records of an older ESC; --clear clears them",
       false, false, {"--clear"}},
  };
  return table;
}

const CommandSpec* find(const std::string& name) {
  for (const auto& command : commands())
    if (name == command.name) return &command;
  return nullptr;
}

constexpr const char* kCommon =
    "Common options:\n"
    "  --port PATH   the adapter to use when several are plugged in\n"
    "  --json        machine-readable output on stdout\n"
    "  --yes         answer confirmations with \"go on\" (never the override of a\n"
    "                failed firmware check: that one is asked on a terminal only)\n"
    "  --help        this text\n"
    "Exit status: 0 done, 1 the ESC or transfer failed, 2 bad usage or a bad file,\n"
    "3 no adapter or ESC found.\n";

}  // namespace

bool parseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::optional<std::string>& into) {
      if (i + 1 >= args.size()) return (error = arg + " needs a value", false);
      into = args[++i];
      return true;
    };
    bool ok = true;
    if (arg == "--help" || arg == "-h") o.help = true;
    else if (arg == "--json") o.json = true;
    else if (arg == "--yes" || arg == "-y") o.yes = true;
    else if (arg == "--clear") o.clear = true;
    else if (arg == "--reset") o.reset = true;
    else if (arg == "--port") ok = value(o.port);
    else if (arg == "--out") ok = value(o.out);
    else if (arg == "--notes") ok = value(o.notes);
    else if (arg.size() > 1 && arg[0] == '-') return (error = "unknown option " + arg, false);
    else positional.push_back(arg);
    if (!ok) return false;
  }
  if (positional.empty()) {
    if (o.help) return true;
    return (error = "no command given (see --help)", false);
  }
  o.command = positional[0];
  const CommandSpec* command = find(o.command);
  if (command == nullptr) return (error = "unknown command " + o.command + " (see --help)", false);
  if (o.help) return true;
  if (positional.size() > 2 || (positional.size() == 2 && !command->file))
    return (error = "too many arguments for " + o.command, false);
  if (positional.size() == 2) o.file = positional[1];
  if (command->file && !command->fileOptional && !o.file) return (error = o.command + " needs a file", false);
  auto allowed = [&](const char* flag) {
    return std::find(command->flags.begin(), command->flags.end(), flag) != command->flags.end();
  };
  const std::array<std::pair<const char*, bool>, 4> given{
      {{"--out", o.out.has_value()}, {"--notes", o.notes.has_value()}, {"--clear", o.clear}, {"--reset", o.reset}}};
  for (const auto& [flag, set] : given)
    if (set && !allowed(flag)) return (error = o.command + " does not take " + flag, false);
  if (o.clear && (o.out || o.notes)) return (error = "log --clear takes no --out or --notes", false);
  return true;
}

std::string helpText(const std::string& command) {
  if (const CommandSpec* entry = find(command))
    return std::string("Usage: orx-esc ") + entry->usage + " [--port PATH] [--json] [--yes]\n\n" + entry->summary +
           ".\n\n" + kCommon;
  std::string text = "Usage: orx-esc COMMAND [options]\n\nThe ORX Device Manager from a terminal.\n\nCommands:\n";
  for (const auto& command : commands()) {
    std::string line = std::string("  ") + command.name;
    line.resize(16, ' ');
    text += line + command.summary + "\n";
  }
  return text + "\n" + kCommon + "\"orx-esc COMMAND --help\" tells more of one command.\n";
}

}  // namespace orx::cli
