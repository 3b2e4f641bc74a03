#include <gtest/gtest.h>

#include "FakeBootLoader.h"
#include "firmware/SerialTransfer.h"

using namespace orx;
using test::FakeBootLoader;
using test::LinkCall;

namespace {

FirmwareImage ImageOf(const std::vector<uint8_t>& bytes) {
  FirmwareImage image;
  EXPECT_EQ(image.decode(test::OrxText(bytes)), ImageLoadResult::Ok);
  return image;
}

struct TransferRun {
  TransferOutcome outcome;
  std::vector<int> percents;
};

TransferRun Transfer(FakeBootLoader& link, const FirmwareImage& image) {
  TransferRun run;
  run.outcome = TransferFirmware(link, image, [&run](int p) { run.percents.push_back(p); });
  return run;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, size_t from, size_t n) {
  return {v.begin() + from, v.begin() + from + n};
}

}  // namespace

// --- Handshake ---

TEST(BootLoaderHandshake, AnsweringBootLoaderTakesTheShortestPath) {
  FakeBootLoader link;
  EXPECT_EQ(RunBootLoaderHandshake(link), TransferOutcome::Success);
  EXPECT_EQ(link.bytesSent(), (std::vector<int>{0xD6, 0xD6, 0xD6, 0xD7, 0xD6}));
  EXPECT_EQ(link.receiveWaits(), (std::vector<int>{500, 500, 500, 500, 1500}));
}

TEST(BootLoaderHandshake, SilentInStageBIsComLossAfterSixRetries) {
  FakeBootLoader link;
  link.silentSyncs = FakeBootLoader::kNever;
  EXPECT_EQ(RunBootLoaderHandshake(link), TransferOutcome::ComLoss);
  EXPECT_EQ(link.bytesSent(), (std::vector<int>{0xD6, 0xD6, 0xD6, 0xD7, 0xD7, 0xD7, 0xD7, 0xD7, 0xD7, 0xD7}));
  EXPECT_EQ(link.receiveWaits(), (std::vector<int>{500, 500, 500, 500, 1500, 2000, 500, 2000, 500, 500}));
}

TEST(BootLoaderHandshake, SilentInStageCIsComLossAfterSixRetries) {
  FakeBootLoader link;
  link.silentWakes = FakeBootLoader::kNever;
  EXPECT_EQ(RunBootLoaderHandshake(link), TransferOutcome::ComLoss);
  EXPECT_EQ(link.bytesSent(), (std::vector<int>{0xD6, 0xD6, 0xD6, 0xD7, 0xD6, 0xD6, 0xD6, 0xD6, 0xD6, 0xD6, 0xD6}));
  EXPECT_EQ(link.receiveWaits(), (std::vector<int>{500, 500, 500, 500, 1500, 1500, 2000, 500, 2000, 500, 500}));
}

TEST(BootLoaderHandshake, LateAnswersInEitherStageAreTaken) {
  FakeBootLoader link;
  link.silentSyncs = 6;  // answers the very last retry of stage B
  link.silentWakes = 3;  // answers the third retry of stage C (first of pass 1)
  EXPECT_EQ(RunBootLoaderHandshake(link), TransferOutcome::Success);
  EXPECT_EQ(link.receiveWaits(), (std::vector<int>{500, 500, 500, 500, 1500, 2000, 500, 2000, 500, 500,  //
                                                   1500, 1500, 2000, 500}));
}

TEST(BootLoaderHandshake, FailedCommandWritesAreTimeout) {
  // Every write of the stages' first bytes counts: 3 wake requests, the sync, the wake of stage C.
  for (int failing : {0, 2, 3, 4}) {
    FakeBootLoader link;
    link.failSendAt = failing;
    EXPECT_EQ(RunBootLoaderHandshake(link), TransferOutcome::Timeout) << failing;
    EXPECT_EQ(static_cast<int>(link.bytesSent().size()), failing + 1);
  }
  // A failed write during the retries is only silence: the next retry goes on.
  FakeBootLoader link;
  link.silentSyncs = 1;
  link.failSendAt = 4;  // first retry of stage B
  EXPECT_EQ(RunBootLoaderHandshake(link), TransferOutcome::Success);
}

// --- Blocks ---

TEST(BlockTransfer, FullImageArrivesExactlyWithProgressBeforeEachBlock) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({100, 0, 297, 1});
  FakeBootLoader link;
  const TransferRun run = Transfer(link, ImageOf(bytes));
  EXPECT_EQ(run.outcome, TransferOutcome::Success);
  EXPECT_EQ(link.accepted, bytes);
  ASSERT_EQ(link.writes.size(), 4u);
  EXPECT_EQ(link.writes[1], Slice(bytes, 102, 2));  // an empty block still goes out with its length
  // 0, 102*100/405, 104*100/405, 402*100/405: never 100 while blocks remain.
  EXPECT_EQ(run.percents, (std::vector<int>{0, 25, 25, 99}));
  // Every block write comes straight after a purge and is followed by a 2000 ms wait.
  for (size_t i = 0; i < link.calls.size(); ++i) {
    if (link.calls[i].kind != LinkCall::Kind::Write) continue;
    ASSERT_GT(i, 0u);
    EXPECT_EQ(link.calls[i - 1].kind, LinkCall::Kind::Purge);
    ASSERT_LT(i + 1, link.calls.size());
    EXPECT_EQ(link.calls[i + 1].kind, LinkCall::Kind::Receive);
    EXPECT_EQ(link.calls[i + 1].value, 2000);
  }
}

TEST(BlockTransfer, EmptyImageSucceedsAfterTheHandshakeWithoutBlocks) {
  FakeBootLoader link;
  const TransferRun run = Transfer(link, ImageOf(std::vector<uint8_t>{}));
  EXPECT_EQ(run.outcome, TransferOutcome::Success);
  EXPECT_TRUE(link.writes.empty());
  EXPECT_TRUE(run.percents.empty());
  EXPECT_EQ(link.bytesSent().size(), 5u);
}

TEST(BlockTransfer, ChecksumErrorStopsAtOnce) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({10, 10, 10});
  FakeBootLoader link;
  link.blockAnswers = {0x11, 0x12};
  EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::CrcChecksum);
  EXPECT_EQ(link.writes.size(), 2u);
  EXPECT_EQ(link.accepted, Slice(bytes, 0, 12));
}

TEST(BlockTransfer, AStopEndsTheTransferWithWholeBlocksAndNoneSentAgain) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({10, 10, 10});
  FakeBootLoader link;
  link.blockAnswers = {0x11, std::nullopt};  // a stopped read gets no answer
  link.onWrite = [&] { link.stopped = link.writes.size() == 2; };
  EXPECT_NE(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::Success);
  EXPECT_EQ(link.writes.size(), 2u);

  // Stopped while an accepted block was in flight: the next one never starts.
  FakeBootLoader accepting;
  accepting.onWrite = [&] { accepting.stopped = true; };
  EXPECT_NE(Transfer(accepting, ImageOf(bytes)).outcome, TransferOutcome::Success);
  EXPECT_EQ(accepting.writes.size(), 1u);
}

TEST(BlockTransfer, ThreeRefusalsThenAcceptDeliversTheBlockAFourthFails) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({20, 20});
  {
    FakeBootLoader link;
    link.blockAnswers = {0x55, 0x00, 0xD8, 0x11};
    const TransferRun run = Transfer(link, ImageOf(bytes));
    EXPECT_EQ(run.outcome, TransferOutcome::Success);
    EXPECT_EQ(link.accepted, bytes);
    EXPECT_EQ(link.writes.size(), 5u);
    // A block sent again shows the same percentage again.
    EXPECT_EQ(run.percents, (std::vector<int>{0, 0, 0, 0, 50}));
  }
  {
    FakeBootLoader link;
    link.blockAnswers = {0x11, 0x55, 0x55, 0x55, 0x55};
    EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::RepeatTimeout);
    EXPECT_EQ(link.writes.size(), 5u);
    EXPECT_EQ(link.accepted, Slice(bytes, 0, 22));
  }
}

TEST(BlockTransfer, RefusalCountStartsAgainAfterAnAcceptedBlock) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({5, 5});
  FakeBootLoader link;
  link.blockAnswers = {0x01, 0x01, 0x01, 0x11, 0x01, 0x01, 0x01, 0x11};
  EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::Success);
  EXPECT_EQ(link.accepted, bytes);
}

TEST(BlockTransfer, SilenceDoesNotClearTheRefusalCount) {
  FakeBootLoader link;
  link.blockAnswers = {0x01, std::nullopt, 0x01, 0x01, std::nullopt, 0x01};
  EXPECT_EQ(Transfer(link, ImageOf(test::MakeImageBytes({5}))).outcome, TransferOutcome::RepeatTimeout);
  EXPECT_EQ(link.writes.size(), 6u);
}

TEST(BlockTransfer, SixUnansweredSendsOfOneBlockAreComLoss) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({8});
  FakeBootLoader link;
  link.blockAnswers.assign(6, std::nullopt);
  link.blockAnswers.push_back(0x11);  // would come too late
  EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::ComLoss);
  EXPECT_EQ(link.writes.size(), 6u);
  EXPECT_TRUE(link.accepted.empty());
}

TEST(BlockTransfer, SilenceCountIsPerBlockAndFiveSilencesAreSurvived) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({8, 8});
  FakeBootLoader link;
  for (int block = 0; block < 2; ++block) {
    for (int i = 0; i < 5; ++i) link.blockAnswers.push_back(std::nullopt);
    link.blockAnswers.push_back(0x11);
  }
  EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::Success);
  EXPECT_EQ(link.writes.size(), 12u);
  EXPECT_EQ(link.accepted, bytes);
}

TEST(BlockTransfer, EchoedLengthByteIsNotTakenForAnAcknowledgement) {
  // Block length 0x11xx: its echo leaves 0x11 first in the receive buffer.
  const std::vector<uint8_t> bytes = test::MakeImageBytes({0x1100});
  FakeBootLoader link;
  link.blockAnswers.assign(6, std::nullopt);
  EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::ComLoss);
}

TEST(BlockTransfer, BlockRunningPastTheImageEndIsValidationCheckAndNotSent) {
  std::vector<uint8_t> bytes = test::MakeImageBytes({4});
  const std::vector<uint8_t> good = bytes;
  bytes.insert(bytes.end(), {0x00, 0x10, 1, 2, 3});  // declares 16 payload bytes, has 3
  FakeBootLoader link;
  const TransferRun run = Transfer(link, ImageOf(bytes));
  EXPECT_EQ(run.outcome, TransferOutcome::ValidationCheck);
  ASSERT_EQ(link.writes.size(), 1u);
  EXPECT_EQ(link.accepted, good);
  EXPECT_EQ(run.percents, (std::vector<int>{0, 54}));  // 6*100/11
}

TEST(BlockTransfer, LengthBytesAtTheVeryEndOfAFullBufferAreNotOverread) {
  // Fill the buffer exactly, leaving one length byte as the last byte.
  std::vector<uint8_t> bytes = test::MakeImageBytes({65535, 65532});
  bytes.push_back(0xFF);
  ASSERT_EQ(bytes.size(), FirmwareImage::kCapacity);
  FakeBootLoader link;
  EXPECT_EQ(Transfer(link, ImageOf(bytes)).outcome, TransferOutcome::ValidationCheck);
  EXPECT_EQ(link.writes.size(), 2u);
  EXPECT_EQ(link.accepted.size(), FirmwareImage::kCapacity - 1);
}

TEST(BlockTransfer, FailedBlockWriteIsFail) {
  FakeBootLoader link;
  link.failWriteAt = 1;  // the second block's write
  EXPECT_EQ(Transfer(link, ImageOf(test::MakeImageBytes({3, 3}))).outcome, TransferOutcome::Fail);
}

