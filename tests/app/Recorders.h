// Stand-ins that record what the window asked for.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/MainWindowCommands.h"
#include "base/Messages.h"

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

struct RecordingPrompter : Prompter {
  std::mutex mutex;
  std::vector<Message> shown;
  MsgAnswer answer = MsgAnswer::Ok;
  MsgAnswer ask(const Message& m) override {
    std::lock_guard<std::mutex> lock(mutex);
    shown.push_back(m);
    return answer;
  }
};

}  // namespace orx::test
