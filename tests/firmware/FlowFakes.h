// Stand-ins for the window and the monitor, for the update flow tests.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "firmware/SerialFirmwareUpdate.h"

namespace orx::test {

class RecordingPrompter : public Prompter {
 public:
  std::deque<MsgAnswer> answers;  // for questions; plain boxes get Ok
  std::vector<Message> shown;
  std::vector<std::string>* events = nullptr;

  MsgAnswer ask(const Message& message) override {
    shown.push_back(message);
    if (events) events->push_back("box");
    if (message.buttons == MsgButtons::Ok || answers.empty()) return MsgAnswer::Ok;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
};

class FixedChooser : public FileChooser {
 public:
  std::optional<std::string> path;
  std::vector<FileDialogRequest> requests;

  std::optional<std::string> choose(const FileDialogRequest& request) override {
    requests.push_back(request);
    return path;
  }
};

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
