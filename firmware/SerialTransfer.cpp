#include "firmware/SerialTransfer.h"

#include <array>

namespace orx {

const char* TransferFailureText(TransferOutcome outcome) {
  switch (outcome) {
    case TransferOutcome::Success: return "";
    case TransferOutcome::Timeout:
      return "Update Error: Data Transfer Timeout - \nPlease Reconnect and Power Cycle Device.";
    case TransferOutcome::ComLoss:
      return "Update Error: Data Transfer COM Loss - \nPlease Reconnect and Power Cycle Device.";
    case TransferOutcome::Fail:
      return "Update Error: Data Transfer Fail - \nPlease Reconnect and Power Cycle Device.";
    case TransferOutcome::CrcChecksum:
      return "Update Error: Data Transfer CRC Checksum - \nPlease Reconnect and Power Cycle Device.";
    case TransferOutcome::RepeatTimeout:
      return "Update Error: Data Transfer Repeat Timeout - \nPlease Reconnect and Power Cycle Device.";
    case TransferOutcome::ValidationCheck:
      return "Update Error: Data Transfer Validation Check - \nPlease Reconnect and Power Cycle Device.";
  }
  return "";
}

namespace {

// Retry waits; pass r takes them from position r on, so the boot loader gets
// 1500, 2000, 500, 2000, 500, 500 ms in turn.
constexpr std::array<int, 3> kRetryWaitsMs = {1500, 2000, 500};
constexpr int kWakeRepeats = 3;
constexpr int kWakeWaitMs = 500;
constexpr int kFirstSyncWaitMs = 500;
constexpr int kFirstWakeWaitMs = 1500;
constexpr int kAckWaitMs = 2000;
// A block goes out at most this many times more without any answer.
constexpr int kMaxSilentResends = 5;
// The fourth refusal of one block in a row ends the transfer.
constexpr int kMaxRefusals = 4;

// A stale byte left in the buffer by a failed read must never count as the answer.
bool Answered(BootLoaderLink& link, int waitMs, uint8_t expected) {
  return link.receiveReply(1, waitMs) == ReplyResult::Complete && link.replyByte() == expected;
}

// Sends `request` until the boot loader answers `expected`, over the three passes.
bool RetryUntilAnswered(BootLoaderLink& link, uint8_t request, uint8_t expected) {
  for (size_t pass = 0; pass < kRetryWaitsMs.size(); ++pass) {
    for (size_t i = pass; i < kRetryWaitsMs.size(); ++i) {
      link.sendByte(request);  // a failed write shows as silence here
      if (Answered(link, kRetryWaitsMs[i], expected)) return true;
    }
  }
  return false;
}

}  // namespace

TransferOutcome RunBootLoaderHandshake(BootLoaderLink& link) {
  using namespace bootloader;
  // The pending failure: each step sets what applies if it goes wrong.
  TransferOutcome slot = TransferOutcome::Timeout;

  // Stage A: wake requests; whatever comes back is ignored.
  for (int i = 0; i < kWakeRepeats; ++i) {
    slot = TransferOutcome::Timeout;
    if (!link.sendByte(kWake)) return slot;
    link.receiveReply(1, kWakeWaitMs);
  }

  // Stage B: synchronise until the boot loader answers 0xD8.
  slot = TransferOutcome::Timeout;
  if (!link.sendByte(kSync)) return slot;
  bool synced = Answered(link, kFirstSyncWaitMs, kSyncAnswer);
  slot = TransferOutcome::ComLoss;
  if (!synced && !RetryUntilAnswered(link, kSync, kSyncAnswer)) return slot;

  // Stage C: wake again until it answers 0xD7.
  slot = TransferOutcome::Timeout;
  if (!link.sendByte(kWake)) return slot;
  bool awake = Answered(link, kFirstWakeWaitMs, kWakeAnswer);
  slot = TransferOutcome::ComLoss;
  if (!awake && !RetryUntilAnswered(link, kWake, kWakeAnswer)) return slot;

  return TransferOutcome::Success;
}

TransferOutcome SendImageBlocks(BootLoaderLink& link, const FirmwareImage& image, const TransferProgress& progress) {
  using namespace bootloader;
  const size_t size = image.size();
  size_t pos = 0;
  size_t acknowledged = 0;
  int refusals = 0;
  TransferOutcome slot = TransferOutcome::Success;

  while (pos < size) {
    // Stopped between blocks: the last one went out whole, no new one starts.
    if (link.stopRequested()) return TransferOutcome::ComLoss;
    // Declared wire length; 0 when even the length bytes are cut off.
    const size_t length = image.blockLengthAt(pos);
    if (progress) progress(static_cast<int>(acknowledged * 100 / size));

    // A block that runs past the image is not sent at all: its bytes do not
    // exist, and the image cannot add up any more.
    if (length == 0 || length > size - pos) {
      slot = TransferOutcome::ValidationCheck;
      return slot;
    }

    int silentSends = 0;
    for (;;) {
      link.purge();
      slot = TransferOutcome::Fail;
      if (!link.writeEchoed(image.data() + pos, length)) return slot;
      slot = TransferOutcome::ComLoss;
      if (link.receiveReply(1, kAckWaitMs) == ReplyResult::Complete) break;
      if (silentSends >= kMaxSilentResends || link.stopRequested()) return slot;
      ++silentSends;
    }

    const uint8_t answer = link.replyByte();
    if (answer == kBlockAccepted) {
      acknowledged += length;
      refusals = 0;
      pos += length;
    } else if (answer == kBlockChecksumError) {
      slot = TransferOutcome::CrcChecksum;
      return slot;
    } else if (++refusals >= kMaxRefusals) {
      slot = TransferOutcome::RepeatTimeout;
      return slot;
    }
  }

  if (acknowledged != size) {
    slot = TransferOutcome::ValidationCheck;
    return slot;
  }
  return TransferOutcome::Success;
}

TransferOutcome TransferFirmware(BootLoaderLink& link, const FirmwareImage& image, const TransferProgress& progress) {
  const TransferOutcome handshake = RunBootLoaderHandshake(link);
  if (handshake != TransferOutcome::Success) return handshake;
  return SendImageBlocks(link, image, progress);
}

}  // namespace orx
