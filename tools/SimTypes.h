// Names shared by both simulated ESC kinds: the commands a fault can be
// attached to, and the faults themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orx::sim {

using Bytes = std::vector<std::uint8_t>;

enum class EscKind { Nvq, Cp210x };

// USB id the program looks the kind up by, e.g. "VID_0483&PID_5740".
std::string_view usbIdOf(EscKind kind);

enum class Command {
  // both kinds
  Ping,
  Identify,
  RestoreDefaults,
  // NVQ series (STM32 link)
  ReadMcuId,
  BlockLength,
  ReadBlock,
  WriteBlock,
  EnterBootLoader,
  ReadUseTime,
  ResetUseTime,
  LogFirstPage,
  LogNextPage,
  LogRepeatPage,
  LogEnd,
  ClearLog,
  // older ESC behind the CP210x adapter
  BootRequest,
  DumpSettings,
  SetValue,      // one-byte setting command
  SetValuePair,  // 0xF3-0xF7, 0xF9 + value
  ReadProtections,
  ClearProtections,
  BootSync,   // boot loader answering 0xD7 with 0xD8
  BootStart,  // boot loader answering 0xD6 with 0xD7
  // the NVQ ESC's USB DFU boot loader: the status that ends a page erase or a
  // firmware block
  DfuErase,
  DfuDownload,
};

std::string_view nameOf(Command command);
// Accepts the names nameOf() gives; false when unknown.
bool commandFromName(std::string_view name, Command& out);

enum class FaultKind {
  Silence,     // no reply at all
  WrongReply,  // a reply of the right length with a wrong first byte (log pages: wrong page number)
  ShortReply,  // only the first half of the reply
  Vanish,      // the device disappears after `vanishAfterBytes` bytes of the reply
};

struct Fault {
  Command command = Command::Ping;
  FaultKind kind = FaultKind::Silence;
  int times = -1;                    // how many replies it spoils; -1 = every one
  std::size_t vanishAfterBytes = 0;  // Vanish only
  int after = 0;                     // replies that go out unspoiled before it strikes
};

}  // namespace orx::sim
