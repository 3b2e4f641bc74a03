// Stand-ins for the window and the monitor, for the update flow tests.
#pragma once

#include <string>
#include <vector>

#include "firmware/SerialFirmwareUpdate.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/RecordingPrompter.h"

namespace orx::test {

class RecordingHooks : public SerialUpdateHooks {
 public:
  bool ready = true;
  std::vector<std::string> events;

  bool deviceReady() override { return ready; }
  void setSkipAutoRead() override { events.push_back("skipAutoRead"); }
  void closeSerialLink() override { events.push_back("close"); }
  void defaultsAfterUpdate() override { events.push_back("defaults"); }
  void restartMonitor(int ms) override { events.push_back("monitor " + std::to_string(ms)); }
};

}  // namespace orx::test
