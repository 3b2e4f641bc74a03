// The byte format between the program's virtual DFU bus and a simulated DFU
// boot loader on a local socket: one request, one reply, in turn.
//
//   request: op, bRequest, wValue (LE 16), length (LE 16), then `length` bytes
//            for Out; for In `length` is the most the caller takes
//   reply:   UsbResult, length (LE 16), then `length` bytes
//
// Describe answers idVendor, idProduct, wTransferSize (LE 16 each) and the
// product string; Names answers every alternate's name, each ended by a NUL.
// Pure bytes, no I/O: both ends check what they read with these functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "firmware/UsbTransport.h"

namespace orx::vdfu {

enum class Op : uint8_t { Describe = 'D', SetAlternate = 'A', Names = 'N', Out = 'O', In = 'I' };

inline constexpr size_t kRequestHeader = 6;
inline constexpr size_t kReplyHeader = 3;

struct Request {
  Op op = Op::Describe;
  uint8_t request = 0;
  uint16_t value = 0;
  uint16_t length = 0;
  std::vector<uint8_t> data;  // Out only
};

std::vector<uint8_t> encodeRequest(const Request& request);
// The header of a request; nullopt for an unknown op. `data` is left to fill.
std::optional<Request> decodeRequestHeader(std::span<const uint8_t, kRequestHeader> bytes);
// How many bytes follow this header on the wire.
inline size_t payloadLength(const Request& r) { return r.op == Op::Out ? r.length : 0; }

std::vector<uint8_t> encodeReply(UsbResult result, std::span<const uint8_t> payload = {});
struct ReplyHeader {
  UsbResult result = UsbResult::Error;
  uint16_t length = 0;
};
// Nullopt for a result byte that names no UsbResult.
std::optional<ReplyHeader> decodeReplyHeader(std::span<const uint8_t, kReplyHeader> bytes);

struct Description {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t transferSize = 0;
  std::string product;
};
std::vector<uint8_t> encodeDescription(const Description& d);
// Nullopt when shorter than its three numbers.
std::optional<Description> decodeDescription(std::span<const uint8_t> bytes);

std::vector<uint8_t> encodeNames(const std::vector<std::string>& names);
// A last name without its NUL is cut off: nothing half-sent counts.
std::vector<std::string> decodeNames(std::span<const uint8_t> bytes);

}  // namespace orx::vdfu
