#include "protocol/Stm32Protocol.h"

#include <algorithm>

#include "protocol/BlockFrame.h"

namespace orx::stm32 {

namespace {

template <size_t N>
bool frame(ST32UsbUart& link, const uint8_t (&bytes)[N], size_t replyLength) {
  return link.ExchangeFrame(std::span<const uint8_t>(bytes, N), replyLength);
}

}  // namespace

PingResult Ping(ST32UsbUart& link) {
  link.clearReceiveBuffer();
  if (!link.Exchange(0xD4, 2)) return PingResult::LinkLost;
  const auto rx = link.receiveBuffer();
  return rx[0] == 'S' && rx[1] == 'T' ? PingResult::Answered : PingResult::Silent;
}

Stm32Identity Identify(ST32UsbUart& link) {
  Stm32Identity id;
  link.clearReceiveBuffer();
  if (!link.Exchange(0xD7, 4)) return id;
  const auto rx = link.receiveBuffer();
  if (rx[0] != kNvqHardwareCode) return id;
  id.answered = true;
  std::copy_n(rx.begin() + 1, 3, id.versionBytes);
  id.hardwareCode = kNvqHardwareCode;
  id.versionText = Stm32VersionText(rx.first(4));
  id.LayoutFlag = LayoutFlagFor(rx[2], rx[3]);
  return id;
}

std::optional<std::string> ReadMcuId(ST32UsbUart& link) {
  link.clearReceiveBuffer();
  const uint8_t command[] = {0xDA, 0xD2};
  if (!frame(link, command, 10)) return std::nullopt;
  const auto rx = link.receiveBuffer();
  if (rx[9] == 0) return std::nullopt;
  return McuIdText(rx.first(10));
}

int BlockLength(ST32UsbUart& link, bool layoutFlag) {
  link.clearReceiveBuffer();
  if (!link.Exchange(0xDF, 1)) return DefaultBlockLength(layoutFlag);
  const uint8_t length = link.receiveBuffer()[0];
  return length != 0 ? length : DefaultBlockLength(layoutFlag);
}

BlockRead ReadBlock(ST32UsbUart& link, int length) {
  BlockRead read;
  link.clearReceiveBuffer();
  const size_t n = static_cast<size_t>(std::clamp(length, 0, static_cast<int>(ST32UsbUart::kReceiveSize)));
  read.written = link.Exchange(0xD0, n);
  const auto rx = link.receiveBuffer();
  read.reply.assign(rx.begin(), rx.end());
  return read;
}

WriteBlockResult WriteBlock(ST32UsbUart& link, const std::vector<uint8_t>& frameBytes, bool extended) {
  if (frameBytes.empty()) return WriteBlockResult::NothingToSend;
  link.clearReceiveBuffer();
  if (!link.ExchangeFrame(frameBytes, 1)) return WriteBlockResult::WriteFailed;
  // A silent ESC leaves a zero, which must not pass for a sum of zero.
  if (link.bytesRead() == 0) return WriteBlockResult::Refused;
  return link.receiveBuffer()[0] == ExpectedWriteAck(frameBytes, extended) ? WriteBlockResult::Acknowledged
                                                                            : WriteBlockResult::Refused;
}

bool RestoreDefaults(ST32UsbUart& link) {
  link.clearReceiveBuffer();
  return link.Exchange(0xDE, 1) && link.receiveBuffer()[0] == 1;
}

bool EnterBootLoader(ST32UsbUart& link) {
  const uint8_t command[] = {0xD6, 0xD7};
  return frame(link, command, 0);
}

bool ReadUseTime(ST32UsbUart& link) {
  const uint8_t command[] = {0xDA, 0xD3};
  return frame(link, command, 3);
}

bool ResetUseTime(ST32UsbUart& link) {
  const uint8_t command[] = {0xDA, 0xC1, 0xD1, 0xE1};
  bool allWritten = true;
  for (int i = 0; i < 3; ++i) {
    allWritten = frame(link, command, 1) && allWritten;
    link.BusyWait(50);
  }
  return allWritten;
}

bool LogFirstPage(ST32UsbUart& link) {
  const uint8_t command[] = {0xEA, 0xF0};
  return frame(link, command, 257);
}

bool LogNextPage(ST32UsbUart& link) {
  const uint8_t command[] = {0xEA, 0xF1};
  return frame(link, command, 256);
}

bool LogRepeatPage(ST32UsbUart& link) {
  const uint8_t command[] = {0xEA, 0xF2};
  return frame(link, command, 256);
}

bool LogEndTransfer(ST32UsbUart& link) {
  const uint8_t command[] = {0xEA, 0xF3};
  return frame(link, command, 1);
}

bool ClearLog(ST32UsbUart& link) {
  const uint8_t command[] = {0xDA, 0xD1};
  return frame(link, command, 1);
}

}  // namespace orx::stm32
