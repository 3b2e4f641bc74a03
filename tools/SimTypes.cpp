#include "tools/SimTypes.h"

#include <array>
#include <utility>

namespace orx::sim {

std::string_view usbIdOf(EscKind kind) {
  switch (kind) {
    case EscKind::Nvq:
      return "VID_0483&PID_5740";
    case EscKind::Cp210x:
      return "VID_10C4&PID_EA60";
  }
  return "";
}

namespace {

constexpr std::array<std::pair<Command, std::string_view>, 25> kNames{{
    {Command::Ping, "ping"},
    {Command::Identify, "identify"},
    {Command::RestoreDefaults, "defaults"},
    {Command::ReadMcuId, "mcu-id"},
    {Command::BlockLength, "block-length"},
    {Command::ReadBlock, "read-block"},
    {Command::WriteBlock, "write-block"},
    {Command::EnterBootLoader, "enter-boot-loader"},
    {Command::ReadUseTime, "use-time"},
    {Command::ResetUseTime, "reset-use-time"},
    {Command::LogFirstPage, "log-first"},
    {Command::LogNextPage, "log-next"},
    {Command::LogRepeatPage, "log-repeat"},
    {Command::LogEnd, "log-end"},
    {Command::ClearLog, "clear-log"},
    {Command::BootRequest, "boot-request"},
    {Command::DumpSettings, "dump"},
    {Command::SetValue, "set-value"},
    {Command::SetValuePair, "set-value-pair"},
    {Command::ReadProtections, "protections"},
    {Command::ClearProtections, "clear-protections"},
    {Command::BootSync, "boot-sync"},
    {Command::BootStart, "boot-start"},
    {Command::DfuErase, "dfu-erase"},
    {Command::DfuDownload, "dfu-download"},
}};

}  // namespace

std::string_view nameOf(Command command) {
  for (const auto& [c, name] : kNames) {
    if (c == command) return name;
  }
  return "?";
}

bool commandFromName(std::string_view name, Command& out) {
  for (const auto& [c, n] : kNames) {
    if (n == name) {
      out = c;
      return true;
    }
  }
  return false;
}

}  // namespace orx::sim
