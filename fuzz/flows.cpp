// Whole flows against a port that answers from the input on a virtual clock:
// the settings read of either dialect, then a send, the defaults, a log
// download or clear, the use time or the protections.
//
// The port's answers: each read takes one control byte. 0xFF: the device
// vanished; 0xFE: silence for the whole time limit; any other k: the next
// min(k, asked) input bytes arrive (fewer when the input ends: a short read).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "VirtualClock.h"
#include "datalog/LogDecode.h"
#include "datalog/LogDownload.h"
#include "link/SerialPort.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/DeviceSession.h"
#include "protocol/ProtectionsFlow.h"
#include "protocol/ReadSettingsFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "protocol/UseTimeFlow.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/StartControls.h"

using namespace orx;

namespace {

class InputPort : public SerialPort {
 public:
  explicit InputPort(std::span<const uint8_t>& input) : input_(input) {}

  PortRead read(std::span<uint8_t> into, int timeoutMs) override {
    if (input_.empty() || input_[0] == 0xFE) {
      if (!input_.empty()) input_ = input_.subspan(1);
      fuzz::AdvanceClock(timeoutMs);
      return {ReadStatus::TimedOut, 0};
    }
    const uint8_t control = input_[0];
    input_ = input_.subspan(1);
    if (control == 0xFF) return {ReadStatus::Failed, 0};
    const size_t n = std::min({into.size(), size_t{control}, input_.size()});
    std::copy_n(input_.begin(), n, into.begin());
    input_ = input_.subspan(n);
    fuzz::AdvanceClock(1);
    if (n == into.size()) return {ReadStatus::Complete, n};
    fuzz::AdvanceClock(timeoutMs);
    return {n > 0 ? ReadStatus::Short : ReadStatus::TimedOut, n};
  }
  bool write(std::span<const uint8_t>) override { return true; }
  bool purge(PurgeWhat) override { return true; }
  bool configure(int) override { return true; }

 private:
  std::span<const uint8_t>& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t choice = data[0];
  std::span<const uint8_t> input(data + 1, size - 1);
  auto opener = [&input](const std::string&) -> std::unique_ptr<SerialPort> {
    return std::make_unique<InputPort>(input);
  };
  DeviceSession session(opener, opener);
  test::RecordingHost host;
  test::fillStartLists(host.shared);

  const bool nvq = choice & 1;
  SerialLink& link = nvq ? static_cast<SerialLink&>(session.links.stm32) : session.links.cp210x;
  if (nvq) session.links.stm32.OpenLink("fuzz");
  else session.links.cp210x.OpenLink("fuzz");
  link.AdapterState = 2;
  link.DeviceState = 2;
  session.links.ActiveLink = nvq ? EscLinks::kStm32 : EscLinks::kCp210x;

  runSettingsRead(session, host);
  std::string useTime;
  switch ((choice >> 1) % 6) {
    case 0:
      runSendSettings(session, host);
      break;
    case 1:
      runDefaultSettings(session, host);
      break;
    case 2: {
      datalog::DownloadHooks hooks;
      hooks.deliver = [](std::span<const uint8_t> log, datalog::DownloadEnd) { (void)datalog::decodeLog(log); };
      datalog::runLogDownload(session, host, hooks);
      break;
    }
    case 3:
      datalog::runClearLog(session, host);
      break;
    case 4:
      runQueryUseTime(session, host, useTime);
      runClearUseTime(session, host);
      break;
    case 5:
      runReadProtections(session, host);
      runClearProtections(session, host);
      break;
  }
  return 0;
}
