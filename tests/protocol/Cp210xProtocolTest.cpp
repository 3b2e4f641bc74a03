// The older ESCs' dialect against a scripted ESC behind an echoing line.
#include <gtest/gtest.h>

#include <map>

#include "../link/PtyPeer.h"
#include "link/UsbIds.h"
#include "protocol/Cp210xProtocol.h"

namespace orx {
namespace {

using test::Bytes;
using test::elapsedMs;
using test::PeerReply;
using test::PtyPeer;

// Answers single command bytes by table (a list of replies is served in turn,
// the last one repeating); frames of two bytes starting 0xF3-0xF9 are answered
// under their first byte once complete.
class ScriptedEsc {
 public:
  std::map<uint8_t, std::vector<PeerReply>> replies;
  std::map<uint8_t, size_t> served;

  PtyPeer::Handler handler() {
    return [this](Bytes& pending) -> std::optional<PeerReply> {
      const uint8_t command = pending[0];
      if (command >= 0xF3 && command <= 0xF9 && pending.size() < 2) return std::nullopt;
      const auto it = replies.find(command);
      if (it == replies.end() || it->second.empty()) {
        pending.clear();
        return std::nullopt;
      }
      size_t& n = served[command];
      const PeerReply reply = it->second[std::min(n, it->second.size() - 1)];
      ++n;
      return reply;
    };
  }
};

struct Line {
  // Before the peer: the peer's thread calls the scripted ESC until the peer
  // is destroyed, so the ESC must outlive it.
  ScriptedEsc esc;
  PtyPeer peer;
  EscLinks links{fixedPathOpener(peer.slavePath()), fixedPathOpener(peer.slavePath())};
  Line() {
    links.ActiveLink = EscLinks::kCp210x;
    links.cp210x.OpenLink(kCp210xId);
  }
  void start() { peer.serve(true, esc.handler()); }
  size_t count(uint8_t b) {
    const Bytes r = peer.received();
    return static_cast<size_t>(std::count(r.begin(), r.end(), b));
  }
};

const PeerReply kPingAnswer{{0xD5, 0x00}, 5};

TEST(Cp210xPing, D5AnswersOtherBytesDoNotAndSilenceIsNoReply) {
  Line l;
  l.esc.replies[0xD4] = {kPingAnswer, {{0x12, 0x00}, 5}};
  l.start();
  EXPECT_EQ(cp210x::Ping(l.links, cp210x::kMonitorPingMs), cp210x::PingResult::Answered);
  EXPECT_EQ(cp210x::Ping(l.links, cp210x::kMonitorPingMs), cp210x::PingResult::OtherReply);
  l.esc.replies.clear();
  cp210x::PingResult r = cp210x::PingResult::Answered;
  const long long ms = elapsedMs([&] { r = cp210x::Ping(l.links, cp210x::kMonitorPingMs); });
  EXPECT_EQ(r, cp210x::PingResult::NoReply);
  EXPECT_LT(ms, 450);  // the echo came, so only the 50 ms reply limit is spent
  l.peer.unplug();
  EXPECT_EQ(cp210x::Ping(l.links, cp210x::kPingMs), cp210x::PingResult::LinkLost);
}

TEST(Cp210xIdentify, IncompleteRepliesAreAskedAgain) {
  Line l;
  l.esc.replies[0xD7] = {{{0x00, 0x01, 0x0B}, 5}, {{0x00, 0x01, 0x0B, 0x01, 0x02, 12, 0x00}, 5}};
  l.start();
  const Cp210xIdentity id = cp210x::Identify(l.links);
  EXPECT_TRUE(id.answered);
  EXPECT_EQ(id.hardwareCode, 11);
  EXPECT_EQ(id.versionText, "B.01.02.12");
  EXPECT_EQ(l.count(0xD7), 2u);
}

TEST(Cp210xIdentify, SilentEscIsAskedElevenTimes) {
  Line l;
  l.start();  // echo only
  Cp210xIdentity id;
  const long long ms = elapsedMs([&] { id = cp210x::Identify(l.links); });
  EXPECT_FALSE(id.answered);
  EXPECT_TRUE(id.versionText.empty());
  EXPECT_EQ(l.count(0xD7), 11u);
  EXPECT_GE(ms, 11 * 1000 - 5);
}

TEST(Cp210xIdentify, ALostLinkStopsTheAttempts) {
  Line l;
  l.peer.unplug();
  Cp210xIdentity id;
  const long long ms = elapsedMs([&] { id = cp210x::Identify(l.links); });
  EXPECT_FALSE(id.answered);
  EXPECT_LT(ms, 500);
}

TEST(Cp210xDump, EndsFiftyMillisecondsAfterTheLastByte) {
  Line l;
  l.esc.replies[0xD4] = {kPingAnswer};
  l.esc.replies[0x02] = {{{0xA1, 0xB0}, 50}};
  l.start();
  // More bytes, but only after a pause well beyond 50 ms.
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(900));
    l.peer.send({0x99, 0x98});
  });
  const cp210x::DumpResult r = cp210x::DumpSettings(l.links);
  late.join();
  EXPECT_EQ(r.bytes, (Bytes{0xA1, 0xB0}));
}

TEST(Cp210xDump, ZeroBytesIsStillACompletedRead) {
  Line l;
  l.esc.replies[0xD4] = {kPingAnswer};
  l.start();
  const cp210x::DumpResult r = cp210x::DumpSettings(l.links);
  EXPECT_TRUE(r.answered);
  EXPECT_TRUE(r.bytes.empty());
  EXPECT_EQ(l.count(0x02), 1u);
}

TEST(Cp210xDump, NoPingReplyMeansNoDumpCommand) {
  Line l;
  l.start();
  const cp210x::DumpResult r = cp210x::DumpSettings(l.links);
  EXPECT_FALSE(r.answered);
  EXPECT_EQ(l.count(0x02), 0u);
}

TEST(Cp210xDump, AnEscThatNeverStopsCannotHoldTheLinkForGood) {
  Line l;
  l.esc.replies[0xD4] = {kPingAnswer};
  l.esc.replies[0x02] = {{Bytes(1000, 0x33), 5}};
  l.start();
  const cp210x::DumpResult r = cp210x::DumpSettings(l.links);
  EXPECT_EQ(r.bytes.size(), cp210x::kMaxCollected);
}

TEST(Cp210xSetValue, OnlyTheByteOneAccepts) {
  Line l;
  l.esc.replies[0xA0] = {{{0x01}, 5}};
  l.esc.replies[0xA1] = {{{0x00}, 5}};
  l.start();
  EXPECT_TRUE(cp210x::SetValue(l.links, 0xA0));
  EXPECT_FALSE(cp210x::SetValue(l.links, 0xA1));
  EXPECT_FALSE(cp210x::SetValue(l.links, 0x41));  // silent: the echo is what the buffer holds
}

TEST(Cp210xSetValue, TwoByteAckIsReadTwiceAndTheBufferJudged) {
  Line l;
  l.esc.replies[0xF3] = {{{0x01}, 5}};  // one acknowledgement only: the second read times out
  l.start();
  EXPECT_TRUE(cp210x::SetValuePair(l.links, 0xF3, 0x20));

  // A late refusal read by the second receive overrides the first acknowledgement.
  l.esc.replies[0xF4] = {{{0x01, 0x00}, 5}};
  EXPECT_FALSE(cp210x::SetValuePair(l.links, 0xF4, 0x01));

  // An acknowledgement that only arrives after the first 2000 ms still counts.
  l.esc.replies[0xF5] = {{{0x01}, 2100}};
  EXPECT_TRUE(cp210x::SetValuePair(l.links, 0xF5, 0x01));
}

TEST(Cp210xSetValue, SilentEscIsNotAcceptedAfterAnEarlierAck) {
  Line l;
  l.esc.replies[0xA0] = {{{0x01}, 5}};
  l.start();
  ASSERT_TRUE(cp210x::SetValue(l.links, 0xA0));
  l.peer.stop();  // the adapter goes quiet: no echo, no ack
  EXPECT_FALSE(cp210x::SetValuePair(l.links, 0xF6, 0x05));
}

TEST(Cp210xDefaults, ConfirmedByOneEvenWhenTheSecondReadIsSilent) {
  Line l;
  l.esc.replies[0xDE] = {{{0x01}, 5}};
  l.start();
  EXPECT_TRUE(cp210x::RestoreDefaults(l.links));
  l.esc.replies[0xDE] = {{{0x03}, 5}};
  EXPECT_FALSE(cp210x::RestoreDefaults(l.links));
  l.links.ActiveLink = EscLinks::kStm32;
  EXPECT_FALSE(cp210x::RestoreDefaults(l.links));
}

TEST(Cp210xProtections, NoPingReplyEndsBeforeTheCommand) {
  Line l;
  l.start();
  const cp210x::ProtectionsResult r = cp210x::ReadProtections(l.links);
  EXPECT_FALSE(r.answered);
  EXPECT_FALSE(cp210x::ProtectionsCleared(r));
  EXPECT_EQ(l.count(0xD8), 0u);
}

TEST(Cp210xBoot, BootLoaderAnswersD7) {
  Line l;
  l.esc.replies[0xD6] = {{{0xD7}, 5}, {{0x00}, 5}};
  l.start();
  EXPECT_EQ(cp210x::BootRequest(l.links), cp210x::BootResult::BootLoader);
  EXPECT_EQ(cp210x::BootRequest(l.links), cp210x::BootResult::OtherByte);
  l.esc.replies.clear();
  cp210x::BootResult r = cp210x::BootResult::BootLoader;
  const long long ms = elapsedMs([&] { r = cp210x::BootRequest(l.links); });
  EXPECT_EQ(r, cp210x::BootResult::NoByte);
  EXPECT_GE(ms, 295);
  EXPECT_LT(ms, 800);
}

}  // namespace
}  // namespace orx
