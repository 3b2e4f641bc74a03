#include "protocol/Cp210xProtocol.h"


namespace orx::cp210x {

namespace {

constexpr uint8_t kPing = 0xD4;
constexpr uint8_t kPingAnswer = 0xD5;
constexpr uint8_t kIdentify = 0xD7;
constexpr uint8_t kBootRequest = 0xD6;
constexpr uint8_t kBootAnswer = 0xD7;
constexpr uint8_t kDump = 0x02;
constexpr uint8_t kDefaults = 0xDE;
constexpr uint8_t kReadProtections = 0xD8;
constexpr uint8_t kClearProtections = 0xD9;
constexpr int kValueAckMs = 500;

// Receives one byte at a time until the line stays silent for `silenceMs`.
std::vector<uint8_t> collectUntilSilence(EscLinks& links, int silenceMs, int pauseMs, const ByteProgress& onByte) {
  std::vector<uint8_t> bytes;
  while (bytes.size() < kMaxCollected && links.ReceiveReply(1, silenceMs) != ReceiveResult::Failed) {
    bytes.push_back(links.ReplyBuffer[0]);
    if (onByte) onByte(bytes.size() - 1, bytes.back());
    links.cp210x.BusyWait(pauseMs);
  }
  return bytes;
}

ProtectionsResult protectionsCommand(EscLinks& links, uint8_t command, const ByteProgress& onByte) {
  ProtectionsResult result;
  links.cp210x.BusyWait(50);
  const PingResult ping = Ping(links, kPingMs);
  if (ping == PingResult::NoReply || ping == PingResult::LinkLost) return result;
  result.answered = true;
  links.SendCommand(command);
  links.cp210x.BusyWait(100);
  result.bytes = collectUntilSilence(links, 200, 10, onByte);
  return result;
}

}  // namespace

PingResult Ping(EscLinks& links, int ms) {
  if (!links.SendCommand(kPing)) return PingResult::LinkLost;
  if (!Received(links.ReceiveReply(2, ms))) return PingResult::NoReply;
  return links.ReplyBuffer[0] == kPingAnswer ? PingResult::Answered : PingResult::OtherReply;
}

Cp210xIdentity Identify(EscLinks& links) {
  Cp210xIdentity id;
  for (int attempt = 0; attempt < kIdentifyAttempts; ++attempt) {
    if (!links.SendCommand(kIdentify)) break;
    if (links.ReceiveReply(7, 1000) != ReceiveResult::Complete) continue;
    std::copy_n(links.ReplyBuffer.begin(), 7, id.raw);
    id.answered = true;
    id.hardwareCode = Cp210xHardwareCode(id.raw[2]);
    id.versionText = Cp210xVersionText(id.raw);
    break;
  }
  return id;
}

BootResult BootRequest(EscLinks& links) {
  if (!links.SendCommand(kBootRequest)) return BootResult::LinkLost;
  if (!Received(links.ReceiveReply(1, 300))) return BootResult::NoByte;
  return links.ReplyBuffer[0] == kBootAnswer ? BootResult::BootLoader : BootResult::OtherByte;
}

DumpResult DumpSettings(EscLinks& links, const ByteProgress& onByte) {
  DumpResult result;
  const PingResult ping = Ping(links, kPingMs);
  if (ping == PingResult::NoReply || ping == PingResult::LinkLost) return result;
  result.answered = true;
  links.SendCommand(kDump);
  links.cp210x.BusyWait(500);
  result.bytes = collectUntilSilence(links, 50, 0, onByte);
  return result;
}

bool SetValue(EscLinks& links, uint8_t code) {
  links.forgetReplyByte();
  if (!links.SendCommand(code)) return false;
  links.ReceiveReply(1, kValueAckMs);
  return links.ReplyBuffer[0] == 1;
}

bool SetValuePair(EscLinks& links, uint8_t prefix, uint8_t value) {
  links.forgetReplyByte();
  const uint8_t frame[] = {prefix, value};
  links.SendExpectAck(frame);
  if (links.lastWriteFailed()) return false;
  links.ReceiveReply(1, kValueAckMs);
  return links.ReplyBuffer[0] == 1;
}

bool RestoreDefaults(EscLinks& links) {
  if (links.ActiveLink != EscLinks::kCp210x) return false;
  links.forgetReplyByte();
  links.cp210x.PurgeAll();
  links.cp210x.CommandExpectAck(kDefaults);
  if (links.cp210x.lastWriteFailed()) return false;
  links.ReceiveReply(1, 1000);
  return links.ReplyBuffer[0] == 1;
}

ProtectionsResult ReadProtections(EscLinks& links, const ByteProgress& onByte) {
  return protectionsCommand(links, kReadProtections, onByte);
}

ProtectionsResult ClearProtections(EscLinks& links, const ByteProgress& onByte) {
  return protectionsCommand(links, kClearProtections, onByte);
}

}  // namespace orx::cp210x
