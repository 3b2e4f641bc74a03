// The serial firmware update against the paced simulated ESC at three bauds,
// beside the time its bytes alone take on the wire.
#include "Bench.h"
#include "FakeBootLoader.h"
#include "firmware/SerialTransfer.h"
#include "firmware/UsbUartBootLoaderLink.h"
#include "link/EscLinks.h"
#include "link/UsbIds.h"
#include "tools/SimulatedEsc.h"

namespace orx::bench {
namespace {

struct Transfer {
  double seconds = 0;
  double wireSeconds = 0;
  bool ok = false;
};

// An image of `imageBytes` in blocks of 256 payload bytes, sent at `baud`.
Transfer transfer(unsigned baud, size_t imageBytes) {
  std::vector<size_t> payloads;
  size_t total = 0;
  while (total + 258 <= imageBytes) {
    payloads.push_back(256);
    total += 258;
  }
  if (imageBytes - total > 2) payloads.push_back(imageBytes - total - 2);
  const std::vector<uint8_t> bytes = test::MakeImageBytes(payloads);
  FirmwareImage image;
  Transfer out;
  if (image.decode(test::OrxText(bytes)) != ImageLoadResult::Ok) return out;

  sim::Cp210xConfig config;
  config.baud = baud;
  sim::SimulatedEsc esc(config);
  esc.setLinePacing(true);
  if (!esc.start()) return out;
  EscLinks links(fixedPathOpener(esc.path()), fixedPathOpener(esc.path()));
  links.cp210x.setBaud(static_cast<int>(baud));
  if (links.cp210x.OpenLink(kCp210xId) != 0) return out;
  UsbUartBootLoaderLink link(links);
  if (RunBootLoaderHandshake(link) != TransferOutcome::Success) return out;
  const auto start = Clock::now();
  const TransferOutcome outcome = SendImageBlocks(link, image, {});
  out.seconds = msSince(start) / 1000;
  out.ok = outcome == TransferOutcome::Success &&
           esc.withCp210x([](sim::Cp210xEsc& e) { return e.bootLoaderReceived(); }) == bytes;
  // Single-wire line: the echo is the same bits, so the wire carries each
  // image byte once plus one acknowledgement per block, 10 bits a byte.
  out.wireSeconds = static_cast<double>(bytes.size() + payloads.size()) * 10.0 / baud;
  return out;
}

}  // namespace

bool serialBench(size_t imageBytes) {
  std::printf("serial update: %zu-byte image in 256-byte blocks to the paced simulated ESC\n", imageBytes);
  bool met = true;
  for (unsigned baud : {9600u, 19200u, 115200u}) {
    const Transfer t = transfer(baud, imageBytes);
    if (!t.ok) std::printf("  transfer at %u baud FAILED\n", baud);
    const std::string label = "update / wire time at " + std::to_string(baud);
    met = report(label.c_str(), t.seconds / t.wireSeconds, "x", 1.05,
                 fmt("update %.3f s, wire time %.3f s", t.seconds, t.wireSeconds)) && t.ok && met;
  }
  return met;
}

}  // namespace orx::bench
