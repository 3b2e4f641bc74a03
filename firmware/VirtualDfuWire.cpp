#include "firmware/VirtualDfuWire.h"

namespace orx::vdfu {

namespace {

void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

uint16_t get16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }

}  // namespace

std::vector<uint8_t> encodeRequest(const Request& request) {
  std::vector<uint8_t> out{uint8_t(request.op), request.request};
  put16(out, request.value);
  put16(out, request.op == Op::Out ? uint16_t(request.data.size()) : request.length);
  if (request.op == Op::Out) out.insert(out.end(), request.data.begin(), request.data.end());
  return out;
}

std::optional<Request> decodeRequestHeader(std::span<const uint8_t, kRequestHeader> bytes) {
  Request r;
  switch (Op(bytes[0])) {
    case Op::Describe:
    case Op::SetAlternate:
    case Op::Names:
    case Op::Out:
    case Op::In: r.op = Op(bytes[0]); break;
    default: return std::nullopt;
  }
  r.request = bytes[1];
  r.value = get16(&bytes[2]);
  r.length = get16(&bytes[4]);
  return r;
}

std::vector<uint8_t> encodeReply(UsbResult result, std::span<const uint8_t> payload) {
  std::vector<uint8_t> out{uint8_t(result)};
  put16(out, uint16_t(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

std::optional<ReplyHeader> decodeReplyHeader(std::span<const uint8_t, kReplyHeader> bytes) {
  if (bytes[0] > uint8_t(UsbResult::Error)) return std::nullopt;
  return ReplyHeader{UsbResult(bytes[0]), get16(&bytes[1])};
}

std::vector<uint8_t> encodeDescription(const Description& d) {
  std::vector<uint8_t> out;
  put16(out, d.vendorId);
  put16(out, d.productId);
  put16(out, d.transferSize);
  out.insert(out.end(), d.product.begin(), d.product.end());
  return out;
}

std::optional<Description> decodeDescription(std::span<const uint8_t> bytes) {
  if (bytes.size() < 6) return std::nullopt;
  Description d;
  d.vendorId = get16(&bytes[0]);
  d.productId = get16(&bytes[2]);
  d.transferSize = get16(&bytes[4]);
  d.product.assign(bytes.begin() + 6, bytes.end());
  return d;
}

std::vector<uint8_t> encodeNames(const std::vector<std::string>& names) {
  std::vector<uint8_t> out;
  for (const std::string& name : names) {
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
  }
  return out;
}

std::vector<std::string> decodeNames(std::span<const uint8_t> bytes) {
  std::vector<std::string> names;
  std::string name;
  for (const uint8_t b : bytes) {
    if (b == 0) {
      names.push_back(std::move(name));
      name.clear();
    } else {
      name.push_back(char(b));
    }
  }
  return names;
}

}  // namespace orx::vdfu
