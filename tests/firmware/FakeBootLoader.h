// A scripted CP210x boot loader for the transfer tests: echoes what is sent
// into the receive buffer like the single-wire line does, answers the
// handshake after a chosen number of silent requests, and answers blocks from
// a script. Records every call so tests can check bytes and time limits.
#pragma once

#include <climits>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "firmware/BootLoaderLink.h"

namespace orx::test {

struct LinkCall {
  enum class Kind { Send, Receive, Write, Purge, Wait };
  Kind kind;
  int value = 0;  // byte sent, wait in ms, or block length
};

class FakeBootLoader : public BootLoaderLink {
 public:
  static constexpr int kNever = INT_MAX;

  // 0xD7 requests left unanswered before the first 0xD8.
  int silentSyncs = 0;
  // 0xD6 requests after the 0xD8 left unanswered before the first 0xD7.
  int silentWakes = 0;
  // Answers to blocks in order; nullopt is silence. When empty, blocks are accepted.
  std::deque<std::optional<uint8_t>> blockAnswers;
  // Index (0-based, per kind) of the sendByte / writeEchoed call whose write fails.
  int failSendAt = -1;
  int failWriteAt = -1;
  // Runs inside every writeEchoed, before the answer is decided.
  std::function<void()> onWrite;
  // What stopRequested() answers: the link worker was asked to stop.
  bool stopped = false;

  std::vector<LinkCall> calls;
  std::vector<std::vector<uint8_t>> writes;  // every block written, resends included
  std::vector<uint8_t> accepted;             // payload of every block answered 0x11, in order

  bool sendByte(uint8_t b) override {
    calls.push_back({LinkCall::Kind::Send, b});
    if (sendCount_++ == failSendAt) return false;
    buffer0_ = b;  // the echo
    pending_.reset();
    if (b == 0xD7) {
      if (silentSyncs > 0) {
        if (silentSyncs != kNever) --silentSyncs;
      } else {
        synced_ = true;
        pending_ = 0xD8;
      }
    } else if (b == 0xD6 && synced_) {
      if (silentWakes > 0) {
        if (silentWakes != kNever) --silentWakes;
      } else {
        pending_ = 0xD7;
      }
    }
    return true;
  }

  ReplyResult receiveReply(int n, int ms) override {
    calls.push_back({LinkCall::Kind::Receive, ms});
    if (n != 1 || !pending_) return ReplyResult::Failed;
    buffer0_ = *pending_;
    pending_.reset();
    return ReplyResult::Complete;
  }

  uint8_t replyByte() const override { return buffer0_; }

  bool writeEchoed(const uint8_t* data, size_t n) override {
    calls.push_back({LinkCall::Kind::Write, static_cast<int>(n)});
    if (writeCount_++ == failWriteAt) return false;
    std::vector<uint8_t> block(data, data + n);
    writes.push_back(block);
    if (n > 0) buffer0_ = data[0];  // the echo
    if (onWrite) onWrite();
    std::optional<uint8_t> answer = 0x11;
    if (!blockAnswers.empty()) {
      answer = blockAnswers.front();
      blockAnswers.pop_front();
    }
    pending_ = answer;
    if (answer == 0x11) accepted.insert(accepted.end(), block.begin(), block.end());
    return true;
  }

  void purge() override {
    calls.push_back({LinkCall::Kind::Purge, 0});
    pending_.reset();
  }

  void busyWait(int ms) override { calls.push_back({LinkCall::Kind::Wait, ms}); }
  bool stopRequested() const override { return stopped; }

  // Waits of every receive, in order.
  std::vector<int> receiveWaits() const {
    std::vector<int> out;
    for (const LinkCall& c : calls)
      if (c.kind == LinkCall::Kind::Receive) out.push_back(c.value);
    return out;
  }
  std::vector<int> bytesSent() const {
    std::vector<int> out;
    for (const LinkCall& c : calls)
      if (c.kind == LinkCall::Kind::Send) out.push_back(c.value);
    return out;
  }

 private:
  int sendCount_ = 0;
  int writeCount_ = 0;
  bool synced_ = false;
  uint8_t buffer0_ = 0;
  std::optional<uint8_t> pending_;
};

// An image made of blocks with the given payload sizes; payload bytes count up.
inline std::vector<uint8_t> MakeImageBytes(const std::vector<size_t>& payloads) {
  std::vector<uint8_t> out;
  uint8_t next = 1;
  for (size_t n : payloads) {
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(n & 0xFF));
    for (size_t i = 0; i < n; ++i) out.push_back(next++);
  }
  return out;
}

// The .orx text of some bytes: upper-case hex pairs, nothing else.
inline std::string OrxText(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

}  // namespace orx::test
