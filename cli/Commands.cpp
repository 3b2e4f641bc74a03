#include "cli/Commands.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "base/ControlIds.h"
#include "base/Cp1252.h"
#include "cli/Connection.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/TerminalFrontEnd.h"
#include "datalog/CsvLogFile.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogDecode.h"
#include "datalog/LogDownload.h"
#include "datalog/LogTexts.h"
#include "device/DfuBusChoice.h"
#include "firmware/DfuUpdate.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/FlowTexts.h"
#include "protocol/ProtectionsFlow.h"
#include "protocol/ReadSettingsFlow.h"
#include "protocol/RepairModeFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "protocol/UseTimeFlow.h"
#include "settingsfile/AdvancedSettingsFlows.h"
#include "settingsfile/SettingsFileLayout.h"
#include "settingsfile/SettingsFileParser.h"
#include "settingsfile/SettingsFileWriter.h"

namespace orx::cli {
namespace {

// How long an ESC may take to start its new firmware after a DFU update.
constexpr std::chrono::seconds kBackAfterDfuLimit{15};

void print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// "STARTUP POWER" for key 1: the .cfg's own label.
std::string keyName(int key) {
  std::string name = cfg::kKeyTexts[static_cast<size_t>(key - 1)];
  return name.substr(0, name.find(':'));
}

// The settings as the .cfg file would hold them, by key.
std::map<int, std::string> settingsValues(SharedControls& controls) {
  const DialogState state = controls.read([](const DialogState& s) { return s; });
  std::map<int, std::string> values;
  for (const auto& v : cfg::ParseSettingsFile(cfg::FormatSettingsFile(state, std::tm{}))) values[v.key] = v.value;
  return values;
}

struct Context {
  const Options& options;
  TerminalFrontEnd& frontEnd;
  Connection& connection;
  bool hasAdapter = true;
  DeviceManager& manager() { return connection.manager(); }
  template <class Flow>
  auto job(Flow flow) {
    return manager().runAndWait(flow);
  }
};

int readCommand(Context& c) {
  if (c.job(runReadSettings) != ReadOutcome::Completed) return kFailed;
  if (c.options.out) {
    c.frontEnd.setFile(c.options.out);
    return SaveAdvancedSettings(c.connection.controls(), c.frontEnd, c.frontEnd) == SettingsSaveOutcome::Saved
               ? kDone
               : kBadUsage;
  }
  const std::optional<std::string> text = AdvancedSettingsText(c.connection.controls(), c.frontEnd);
  if (!text) return kFailed;
  if (!c.options.json) {
    print(*text);
    return kDone;
  }
  std::vector<std::string> settings;
  for (const auto& [key, value] : settingsValues(c.connection.controls()))
    settings.push_back(jsonObject({{"key", std::to_string(key)},
                                   {"name", jsonString(keyName(key))},
                                   {"value", jsonString(cp1252ToUtf8(value))}}));
  print(jsonObject({{"firmware", jsonString(cp1252ToUtf8(c.connection.text(ctl::FirmwareVersion)))},
                    {"settings", jsonArray(settings)}}) +
        "\n");
  return kDone;
}

int writeCommand(Context& c) {
  const auto before = settingsValues(c.connection.controls());
  c.frontEnd.setFile(c.options.file);
  switch (c.manager().loadSettingsFile()) {
    case SettingsLoadOutcome::Loaded: break;
    case SettingsLoadOutcome::NoDevice: return kNotFound;
    case SettingsLoadOutcome::Cancelled:
    case SettingsLoadOutcome::ReadFailed: return kBadUsage;
  }
  switch (c.job(runSendSettings)) {
    case SendOutcome::Updated: break;
    case SendOutcome::RangeIncorrect:
    case SendOutcome::AdcRefused:
    case SendOutcome::Refused: return kBadUsage;  // refused before anything was sent
    case SendOutcome::NotConfirmed:
    case SendOutcome::StepFailed:
    case SendOutcome::ReadBackFailed:
    case SendOutcome::NoBlock: return kFailed;
  }
  if (c.job(runReadSettings) != ReadOutcome::Completed) return kFailed;
  const auto after = settingsValues(c.connection.controls());
  std::vector<std::string> changes;
  for (const auto& [key, value] : after) {
    const auto old = before.find(key);
    const std::string was = old == before.end() ? std::string() : old->second;
    if (was == value) continue;
    if (c.options.json)
      changes.push_back(jsonObject({{"key", std::to_string(key)},
                                    {"name", jsonString(keyName(key))},
                                    {"before", jsonString(cp1252ToUtf8(was))},
                                    {"after", jsonString(cp1252ToUtf8(value))}}));
    else
      print(keyName(key) + ": " + cp1252ToUtf8(was) + " -> " + cp1252ToUtf8(value) + "\n");
  }
  if (c.options.json) print(jsonObject({{"changed", jsonArray(changes)}}) + "\n");
  return kDone;
}

int defaultsCommand(Context& c) {
  switch (c.job(runDefaultSettings)) {
    case ReadOutcome::Completed: return kDone;
    case ReadOutcome::Refused: return kNotFound;
    default: return kFailed;
  }
}

int firmwareStatus(const DeviceManager::FirmwareResult& result) {
  if (const auto* serial = std::get_if<SerialUpdateResult>(&result)) {
    switch (*serial) {
      case SerialUpdateResult::Updated: return kDone;
      case SerialUpdateResult::NotReady: return kNotFound;
      case SerialUpdateResult::Failed: return kFailed;
      default: return kBadUsage;  // a refused file or a question answered "no"
    }
  }
  switch (std::get<DfuUpdateResult>(result)) {
    case DfuUpdateResult::Updated: return kDone;
    case DfuUpdateResult::Cancelled:
    case DfuUpdateResult::WrongFile:
    case DfuUpdateResult::BadFile:
    case DfuUpdateResult::NoImage: return kBadUsage;
    default: return kFailed;
  }
}

DeviceManager::FirmwareResult runFlash(Context& c) {
  c.frontEnd.setFile(c.options.file);
  DeviceManager& m = c.manager();
  const auto result = m.runAndWait([&m](DeviceSession&, FlowHost&) { return m.runFirmwareUpdate(); });
  // An ESC updated over DFU restarts on its serial port: the defaults and
  // settings read that follow an update run once it answers again. Leaving
  // earlier would keep settings that may not fit the new firmware.
  const auto* dfu = std::get_if<DfuUpdateResult>(&result);
  if (dfu != nullptr && *dfu == DfuUpdateResult::Updated && !c.connection.waitForEsc(kBackAfterDfuLimit))
    c.frontEnd.note("the ESC did not answer on its port again; its default settings are restored when it does");
  c.connection.settle();  // the defaults and settings read that follow an update
  return result;
}

int flashCommand(Context& c) { return firmwareStatus(runFlash(c)); }

// With no adapter plugged in, an ESC without firmware can only be waiting in
// its DFU boot loader; not finding it there is "no ESC found".
int repairCommand(Context& c) {
  c.connection.controls().update([](DialogState& s) { s.setChecked(ctl::RepairMode, true); });
  if (c.job([](DeviceSession& s, FlowHost& h) { return runRepairModeClick(s, h); }) == RepairOutcome::NotFound) {
    c.frontEnd.note(cp1252ToUtf8(kDfuNotFoundText));
    return kFailed;
  }
  const DeviceManager::FirmwareResult result = runFlash(c);
  const auto* dfu = std::get_if<DfuUpdateResult>(&result);
  if (!c.hasAdapter && dfu != nullptr && *dfu == DfuUpdateResult::DeviceNotFound) return kNotFound;
  return firmwareStatus(result);
}

// Collects the log's bytes and shows the download's progress as the bar.
class LogBytes : public LogSink {
 public:
  explicit LogBytes(SharedControls& controls) : controls_(controls) {}
  void progress(double percent) override {
    controls_.update([percent](DialogState& s) { s.setValue(ctl::Progress, datalog::progressBarValue(percent)); });
  }
  void deliver(std::span<const std::uint8_t> bytes, datalog::DownloadEnd) override {
    bytes_.assign(bytes.begin(), bytes.end());
  }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  SharedControls& controls_;
  std::vector<std::uint8_t> bytes_;
};

int logCommand(Context& c) {
  DeviceManager& m = c.manager();
  if (!datalog::hasDataLog(m.firmwareVersion())) {
    c.frontEnd.ask(datalog::text::notNvqSeries());
    return kFailed;
  }
  if (c.options.clear) {
    switch (c.job([](DeviceSession& s, FlowHost& h) { return datalog::runClearLog(s, h); })) {
      case datalog::ClearOutcome::Cleared: return kDone;
      case datalog::ClearOutcome::Cancelled: return kBadUsage;
      case datalog::ClearOutcome::Failed: return kFailed;
    }
  }
  LogBytes sink(c.connection.controls());
  const datalog::DownloadResult download =
      m.runAndWait([&m, &sink](DeviceSession&, FlowHost&) { return m.downloadLog(sink); });
  c.frontEnd.finishProgress();
  if (download.end == datalog::DownloadEnd::WriteFailed || download.end == datalog::DownloadEnd::PageRetriesOut)
    return kFailed;
  const std::optional<datalog::LogData> log = datalog::decodeLog(sink.bytes());
  if (!log) {
    c.frontEnd.ask(datalog::text::emptyLog());
    return kFailed;
  }
  const std::string notes = c.options.notes.value_or(datalog::kDefaultNotes);
  std::string csv;
  if (c.options.out) {
    if (datalog::saveLogData(*log, utf8ToCp1252(notes), *c.options.out, c.frontEnd) != datalog::CsvSave::Saved)
      return kBadUsage;
  } else {
    csv = datalog::csvText(*log, utf8ToCp1252(notes), datalog::localTimeNow());
  }
  if (!c.options.json) {
    print(csv);
    return kDone;
  }
  print(jsonObject({{"bytes", std::to_string(sink.bytes().size())},
                    {"samples", std::to_string(log->samples.size())},
                    {c.options.out ? "file" : "csv",
                     jsonString(c.options.out ? *c.options.out : cp1252ToUtf8(csv))}}) +
        "\n");
  return kDone;
}

int useTimeCommand(Context& c) {
  if (c.options.reset && c.job(runClearUseTime) != UseTimeResetOutcome::Sent) return kFailed;
  std::string last;
  const UseTimeResult r = c.job([&last](DeviceSession& s, FlowHost& h) { return runQueryUseTime(s, h, last); });
  if (r.outcome != UseTimeOutcome::Read) {
    if (r.outcome == UseTimeOutcome::NoAnswer) c.frontEnd.note(cp1252ToUtf8(kUseTimeUnknown));
    return kFailed;
  }
  const std::string text = cp1252ToUtf8(r.text);
  print(c.options.json ? jsonObject({{"use_time", jsonString(text)}}) + "\n" : text + "\n");
  return kDone;
}

int protectionsCommand(Context& c) {
  if (!c.manager().protectionsAllowed()) return kFailed;
  const ProtectionsRead r = c.options.clear ? c.job(runClearProtections) : c.job(runReadProtections);
  if (!r.answered) {
    c.frontEnd.note(flowtext::deviceConnectionError().text);
    return kFailed;
  }
  std::vector<std::pair<std::string, std::string>> members;
  for (size_t i = 0; i < kProtectionCount; ++i) {
    const char* state = r.states[i] == ProtectionState::Activated ? "activated"
                        : r.states[i] == ProtectionState::Clear   ? "clear"
                                                                   : "not read";
    if (c.options.json)
      members.emplace_back(kProtectionLabels[i], jsonString(state));
    else
      print(std::string(kProtectionLabels[i]) + ": " + state + "\n");
  }
  if (c.options.json) print(jsonObject(members) + "\n");
  return kDone;
}

int listCommand(const Options& options, TerminalFrontEnd& frontEnd, const std::vector<Adapter>& adapters) {
  std::vector<std::string> rows;
  int answering = 0;
  for (const Adapter& adapter : adapters) {
    Connection connection(adapter, frontEnd);
    const bool found = connection.waitForEsc();
    answering += found ? 1 : 0;
    const std::string fw = found ? cp1252ToUtf8(connection.text(ctl::FirmwareVersion)) : "";
    const std::string mcu = found ? cp1252ToUtf8(connection.text(ctl::McuId)) : "";
    const std::string esc = found ? cp1252ToUtf8(connection.text(ctl::EscId)) : "";
    if (!found) {
      std::string why = terminalText(connection.failure());
      why.pop_back();
      frontEnd.note(adapter.path + ": " + why);
    }
    if (options.json) {
      rows.push_back(jsonObject({{"link", jsonString(kindName(adapter.kind))},
                                 {"port", jsonString(adapter.path)},
                                 {"usb_id", jsonString(adapter.usbId)},
                                 {"esc", found ? "true" : "false"},
                                 {"firmware", jsonString(fw)},
                                 {"mcu_id", jsonString(mcu)},
                                 {"esc_id", jsonString(esc)}}));
    } else {
      print(std::string(kindName(adapter.kind)) + "\t" + adapter.path + "\t" + adapter.usbId + "\t" + fw + "\t" + mcu +
            "\t" + esc + "\n");
    }
  }
  // An ESC waiting in its DFU boot loader has no serial port: it is found on USB.
  int waiting = 0;
  for (const DfuDeviceInfo& info : MakeDfuBus()->listDfuDevices()) {
    ++waiting;
    char usbId[32];
    std::snprintf(usbId, sizeof usbId, "VID_%04X&PID_%04X", info.vendorId, info.productId);
    const std::string where = info.node.empty() ? info.path : info.node;
    frontEnd.note(where + ": " + (info.description.empty() ? std::string("DFU device") : info.description) +
                  (info.openResult == UsbResult::Ok ? "" : std::string(" (") + UsbResultText(info.openResult) + ")"));
    if (options.json)
      rows.push_back(jsonObject({{"link", jsonString("dfu")}, {"port", jsonString(where)}, {"usb_id", jsonString(usbId)},
                                 {"esc", "true"}, {"firmware", jsonString("")}, {"mcu_id", jsonString("")},
                                 {"esc_id", jsonString("")}}));
    else
      print("dfu\t" + where + "\t" + usbId + "\t\t\t\n");
  }
  if (options.json) print(jsonArray(rows) + "\n");
  if (adapters.empty() && waiting == 0) frontEnd.note(terminalText(flowtext::adapterConnectionError().text));
  return answering + waiting > 0 ? kDone : kNotFound;
}

// The adapter to use: --port's, or the only one plugged in.
std::optional<Adapter> chooseAdapter(const Options& options, TerminalFrontEnd& frontEnd,
                                     const std::vector<Adapter>& adapters, int& status) {
  status = kNotFound;
  if (options.port) {
    for (const Adapter& a : adapters)
      if (a.path == *options.port) return a;
    frontEnd.note("no adapter at " + *options.port);
    return std::nullopt;
  }
  if (adapters.empty()) {
    frontEnd.note(terminalText(flowtext::adapterConnectionError().text));
    return std::nullopt;
  }
  if (adapters.size() > 1) {
    std::string text = "several adapters are plugged in; choose one with --port:";
    for (const Adapter& a : adapters) text += "\n  " + a.path + " (" + kindName(a.kind) + ")";
    frontEnd.note(text);
    status = kBadUsage;
    return std::nullopt;
  }
  return adapters.front();
}

}  // namespace

int run(const std::vector<std::string>& args) {
  Options options;
  std::string error;
  if (!parseOptions(args, options, error)) {
    std::fprintf(stderr, "orx-esc: %s\n", error.c_str());
    return kBadUsage;
  }
  if (options.help) {
    print(helpText(options.command));
    return kDone;
  }
  TerminalFrontEnd frontEnd(options.yes);
  const std::vector<Adapter> adapters = findAdapters();
  if (options.command == "list") return listCommand(options, frontEnd, adapters);

  int status = kNotFound;
  // Repair goes on without an adapter: the ESC may be waiting in its boot loader.
  const bool dfuOnly = options.command == "repair" && adapters.empty() && !options.port;
  const std::optional<Adapter> adapter = dfuOnly ? std::nullopt : chooseAdapter(options, frontEnd, adapters, status);
  if (!adapter && !dfuOnly) return status;
  Connection connection(adapter, frontEnd);
  if (!dfuOnly && !connection.waitForEsc()) {
    frontEnd.note(terminalText(connection.failure()));
    return kNotFound;
  }
  Context context{options, frontEnd, connection, !dfuOnly};
  static const std::map<std::string, std::function<int(Context&)>> commands{
      {"read", readCommand},         {"write", writeCommand}, {"defaults", defaultsCommand},
      {"repair", repairCommand},     {"flash", flashCommand}, {"log", logCommand},
      {"use-time", useTimeCommand},  {"protections", protectionsCommand},
  };
  const int result = commands.at(options.command)(context);
  frontEnd.finishProgress();
  // Commands that print nothing else tell a script the status line they ended with.
  if (options.json && (options.command == "defaults" || options.command == "flash" || options.command == "repair")) {
    std::string status = terminalText(frontEnd.lastStatus());
    status.pop_back();
    print(jsonObject({{"status", jsonString(status)}, {"exit", std::to_string(result)}}) + "\n");
  }
  return result;
}

}  // namespace orx::cli
