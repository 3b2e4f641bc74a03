#include "tests/support/RecordingPrompter.h"

#include <algorithm>

namespace orx::test {

MsgAnswer agreeing(const Message& message) {
  switch (message.buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::Yes;
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
  }
  return MsgAnswer::Ok;
}

MsgAnswer RecordingPrompter::ask(const Message& message) {
  std::lock_guard<std::mutex> lock(mutex);
  shown.push_back(message);
  if (events) events->push_back("box");
  if (message.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (!answers.empty()) {
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  return rule ? rule(message) : answer;
}

std::vector<Message> RecordingPrompter::copy() const {
  std::lock_guard<std::mutex> lock(mutex);
  return shown;
}

size_t RecordingPrompter::count() const {
  std::lock_guard<std::mutex> lock(mutex);
  return shown.size();
}

bool RecordingPrompter::saw(const std::string& text) const {
  std::lock_guard<std::mutex> lock(mutex);
  return std::any_of(shown.begin(), shown.end(), [&](const Message& m) { return m.text == text; });
}

}  // namespace orx::test
