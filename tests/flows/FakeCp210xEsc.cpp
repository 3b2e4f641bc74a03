#include "FakeCp210xEsc.h"

namespace orx::test {

namespace {

bool isPairPrefix(uint8_t b) { return (b >= 0xF3 && b <= 0xF7) || b == 0xF9; }

bool isSettingCode(uint8_t b) {
  return (b >= 0x10 && b <= 0x19) || (b >= 0x37 && b <= 0x3D) || b == 0x41 || b == 0x42 ||
         (b >= 0x61 && b <= 0x63) || (b >= 0x70 && b <= 0x72) || b == 0x80 || b == 0x81 || b == 0xA0 ||
         b == 0xA1 || (b >= 0xB0 && b <= 0xB3) || b == 0xC0 || b == 0xC1 || (b >= 0xE0 && b <= 0xE2) ||
         (b >= 0xE5 && b <= 0xE7) || (b >= 0xF0 && b <= 0xF2);
}

}  // namespace

FakeCp210xEsc::FakeCp210xEsc() {
  peer_.serve(true, [this](Bytes& pending) { return handle(pending); });
}

FakeCp210xEsc::~FakeCp210xEsc() { peer_.stop(); }

void FakeCp210xEsc::setAnswering(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  answering_ = on;
}

void FakeCp210xEsc::setBootLoader(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  bootLoader_ = on;
}

void FakeCp210xEsc::setHardwareByte(uint8_t raw) {
  std::lock_guard<std::mutex> lock(mutex_);
  identify_[2] = raw;
}

void FakeCp210xEsc::setDump(Bytes dump) {
  std::lock_guard<std::mutex> lock(mutex_);
  dump_ = std::move(dump);
}

void FakeCp210xEsc::refuse(uint8_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  refused_.insert(code);
}

std::vector<Bytes> FakeCp210xEsc::applied() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return applied_;
}

int FakeCp210xEsc::defaultsRestored() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return defaults_;
}

std::optional<PeerReply> FakeCp210xEsc::handle(Bytes& pending) {
  std::lock_guard<std::mutex> lock(mutex_);
  const uint8_t b = pending[0];
  if (!answering_) return PeerReply{};
  if (isPairPrefix(b)) {
    if (pending.size() < 2) return std::nullopt;
    if (refused_.count(b)) return PeerReply{};
    applied_.push_back({b, pending[1]});
    return PeerReply{{1}};
  }
  switch (b) {
    case 0xD4: return PeerReply{{0xD5, 0x00}};
    case 0xD7: return PeerReply{identify_};
    case 0xD6: return bootLoader_ ? PeerReply{{0xD7}} : PeerReply{};
    case 0x02: return PeerReply{dump_, 20};
    case 0xDE:
      if (refused_.count(b)) return PeerReply{};
      ++defaults_;
      return PeerReply{{1}};
    default: break;
  }
  if (!isSettingCode(b) || refused_.count(b)) return PeerReply{};
  applied_.push_back({b});
  return PeerReply{{1}};
}

Bytes sampleCp210xDump() {
  Bytes d(31, 0);
  d[0] = 0xA1;   // propeller hold enabled
  d[2] = 0x17;   // MOTOR-01
  d[24] = 0x03;  // acceleration rate entry 2
  d[7] = 0x70;   // BALANCED
  d[10] = 0xC1;  // HIGH (HARD)
  d[3] = 0x3B;   // 3.4 V/CELL
  d[4] = 0x41;   // cutoff ON
  d[6] = 0x63;   // PRECISION timing
  d[8] = 0x81;   // REVERSE
  d[11] = 0xB2;  // S.R. enabled, braking entry 1
  d[12] = 0xE1;  // ARM ONLY
  d[13] = 0xF0;  // DYNAMIC calibration
  d[25] = 0xF8;  // overload marker
  d[26] = 5;
  d[27] = 0xF9;
  d[28] = 117;   // STANDARD
  d[29] = 124;   // stall ENABLED
  d[30] = 0xE6;  // TRIPLE
  return d;
}

}  // namespace orx::test
