// A device session plugged straight into a simulated ESC, without the
// monitor: the link is opened and marked answering as the monitor would leave
// it, and a host records boxes and monitor restarts.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ControlIds.h"
#include "link/UsbIds.h"
#include "protocol/DeviceSession.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/RecordingHost.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {

template <class Config>
struct EscRig {
  explicit EscRig(const Config& config) : esc(config) {
    EXPECT_TRUE(esc.start()) << esc.error();
    const bool nvq = esc.kind() == sim::EscKind::Nvq;
    session = std::make_unique<DeviceSession>(onlyFor(kCp210xId, nvq ? "" : esc.path()),
                                              onlyFor(kStm32Id, nvq ? esc.path() : ""));
    SerialLink& link = nvq ? static_cast<SerialLink&>(session->links.stm32) : session->links.cp210x;
    const int opened = nvq ? session->links.stm32.OpenLink(kStm32Id) : session->links.cp210x.OpenLink(kCp210xId);
    EXPECT_EQ(opened, 0);
    link.AdapterState = 2;
    link.DeviceState = 2;
    session->links.ActiveLink = nvq ? EscLinks::kStm32 : EscLinks::kCp210x;
  }

  // How often `frame` went to the ESC since the last clear.
  size_t framesSeen(const std::vector<uint8_t>& frame) {
    const sim::Bytes got = esc.received();
    size_t n = 0;
    for (auto it = got.begin(); (it = std::search(it, got.end(), frame.begin(), frame.end())) != got.end(); ++it) ++n;
    return n;
  }

  sim::SimulatedEsc esc;
  std::unique_ptr<DeviceSession> session;
  RecordingHost host;
};

}  // namespace orx::test
