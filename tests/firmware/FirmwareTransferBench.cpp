// Times the serial transfer of a 64 KB image to the simulated ESC, which
// paces echo and answers at the line's baud, and prints it next to the time
// the bytes alone need on the wire. Not a CTest test: at 9600 baud it runs
// for over a minute.
//
//   firmware_transfer_bench [baud] [payload bytes per block]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "FakeBootLoader.h"
#include "firmware/SerialTransfer.h"
#include "firmware/UsbUartBootLoaderLink.h"
#include "link/EscLinks.h"
#include "link/UsbIds.h"
#include "tools/SimulatedEsc.h"

using namespace orx;

int main(int argc, char** argv) {
  const int baud = argc > 1 ? std::atoi(argv[1]) : 9600;
  const size_t payload = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) : 256;
  if (baud <= 0 || payload == 0 || payload > 0x7FFF) {
    std::fprintf(stderr, "usage: %s [baud] [payload 1..32767]\n", argv[0]);
    return 2;
  }

  // Blocks of `payload` bytes, the last one trimmed so the image is 64 KB.
  constexpr size_t kImageSize = 65536;
  std::vector<size_t> payloads;
  size_t total = 0;
  while (total + payload + 2 <= kImageSize) {
    payloads.push_back(payload);
    total += payload + 2;
  }
  if (kImageSize - total >= 2) payloads.push_back(kImageSize - total - 2);
  const std::vector<uint8_t> bytes = test::MakeImageBytes(payloads);
  FirmwareImage image;
  if (image.decode(test::OrxText(bytes)) != ImageLoadResult::Ok) return 1;

  sim::Cp210xConfig config;
  config.baud = static_cast<unsigned>(baud);
  sim::SimulatedEsc esc(config);
  esc.setLinePacing(true);
  if (!esc.start()) {
    std::fprintf(stderr, "simulated ESC: %s\n", esc.error().c_str());
    return 1;
  }
  EscLinks links(fixedPathOpener(esc.path()), fixedPathOpener(esc.path()));
  links.cp210x.setBaud(baud);
  if (links.cp210x.OpenLink(kCp210xId) != 0) {
    std::fprintf(stderr, "cannot open %s\n", esc.path().c_str());
    return 1;
  }
  UsbUartBootLoaderLink link(links);

  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  if (RunBootLoaderHandshake(link) != TransferOutcome::Success) {
    std::fprintf(stderr, "handshake failed\n");
    return 1;
  }
  const auto t1 = Clock::now();
  const TransferOutcome outcome = SendImageBlocks(link, image, {});
  const auto t2 = Clock::now();
  const bool intact = esc.withCp210x([](sim::Cp210xEsc& e) { return e.bootLoaderReceived(); }) == bytes;
  esc.stop();

  const double handshake = std::chrono::duration<double>(t1 - t0).count();
  const double blocks = std::chrono::duration<double>(t2 - t1).count();
  // Single-wire line: the echo is the same bits, so the wire carries each
  // image byte once plus one acknowledgement per block, 10 bits a byte.
  const double floor = static_cast<double>(bytes.size() + payloads.size()) * 10.0 / baud;
  std::printf("image %zu bytes in %zu blocks of %zu payload bytes at %d baud\n", bytes.size(), payloads.size(),
              payload, baud);
  std::printf("handshake      %8.3f s\n", handshake);
  std::printf("blocks         %8.3f s  (%s, ESC holds %s)\n", blocks,
              outcome == TransferOutcome::Success ? "ok" : TransferFailureText(outcome),
              intact ? "the image" : "SOMETHING ELSE");
  std::printf("wire floor     %8.3f s\n", floor);
  std::printf("blocks / floor %8.3f\n", blocks / floor);
  return outcome == TransferOutcome::Success && intact ? 0 : 1;
}
