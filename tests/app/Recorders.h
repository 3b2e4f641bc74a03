// Stand-ins that record what the window asked for.
#pragma once

#include <string>
#include <vector>

#include "device/MainWindowCommands.h"
#include "tests/support/RecordingPrompter.h"

namespace orx::test {

struct RecordingCommands : MainWindowCommands {
  std::vector<std::string> calls;
  void readSettings() override { calls.push_back("readSettings"); }
  void sendSettings() override { calls.push_back("sendSettings"); }
  void defaultSettings() override { calls.push_back("defaultSettings"); }
  void repairModeClicked() override { calls.push_back("repairModeClicked"); }
  void updateFirmware() override { calls.push_back("updateFirmware"); }
  void saveAdvancedSettings() override { calls.push_back("saveAdvancedSettings"); }
  void loadAdvancedSettings() override { calls.push_back("loadAdvancedSettings"); }
  void openDataLog() override { calls.push_back("openDataLog"); }
  void useTime() override { calls.push_back("useTime"); }
  void protections() override { calls.push_back("protections"); }
  void help() override { calls.push_back("help"); }
  void version() override { calls.push_back("version"); }
};

}  // namespace orx::test
