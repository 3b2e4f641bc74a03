// A prompter that records every box and answers by a rule. Safe to ask from
// the link worker while the test thread reads through copy()/count()/saw().
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/Messages.h"

namespace orx::test {

// The agreeing answer for each set of buttons: OK, or Yes to a question.
MsgAnswer agreeing(const Message& message);

class RecordingPrompter : public Prompter {
 public:
  // A plain OK box gets Ok. A question takes the front of `answers`, then
  // `rule` when set, then `answer`.
  MsgAnswer ask(const Message& message) override;

  std::vector<Message> copy() const;
  size_t count() const;
  // True when a box with exactly this text was shown.
  bool saw(const std::string& text) const;

  std::vector<Message> shown;  // read directly only once no other thread asks
  std::deque<MsgAnswer> answers;
  std::function<MsgAnswer(const Message&)> rule;
  MsgAnswer answer = MsgAnswer::Ok;
  std::vector<std::string>* events = nullptr;  // gets "box" for every box
  mutable std::mutex mutex;
};

}  // namespace orx::test
