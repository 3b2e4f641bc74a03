// The serial firmware transfer: wake the boot loader with the 0xD6/0xD7
// handshake, then send the image block by block, each acknowledged by one byte.
//
// Runs on the link worker thread; the progress callback runs there too, before
// every block send (a block sent again reports the same percentage again).
#pragma once

#include <functional>

#include "firmware/BootLoaderLink.h"
#include "firmware/FirmwareImage.h"

namespace orx {

enum class TransferOutcome {
  Success,
  Timeout,          // writing a handshake byte failed
  ComLoss,          // the boot loader did not answer the handshake, or a block six times
  Fail,             // writing a block failed
  CrcChecksum,      // the boot loader answered a block with 0x12
  RepeatTimeout,    // four refusals of one block in a row
  ValidationCheck,  // acknowledged bytes differ from the image size
};

// The message box text for a failed transfer; "" for Success.
const char* TransferFailureText(TransferOutcome outcome);

namespace bootloader {
inline constexpr uint8_t kWake = 0xD6;
inline constexpr uint8_t kSync = 0xD7;
inline constexpr uint8_t kSyncAnswer = 0xD8;
inline constexpr uint8_t kWakeAnswer = 0xD7;
inline constexpr uint8_t kBlockAccepted = 0x11;
inline constexpr uint8_t kBlockChecksumError = 0x12;
}  // namespace bootloader

// Percentage of the image acknowledged so far, before the next block.
using TransferProgress = std::function<void(int percent)>;

// Stages A, B and C of the handshake.
TransferOutcome RunBootLoaderHandshake(BootLoaderLink& link);
// The block transfer alone (the boot loader must already be awake).
TransferOutcome SendImageBlocks(BootLoaderLink& link, const FirmwareImage& image, const TransferProgress& progress);
// Handshake, then blocks.
TransferOutcome TransferFirmware(BootLoaderLink& link, const FirmwareImage& image, const TransferProgress& progress);

}  // namespace orx
