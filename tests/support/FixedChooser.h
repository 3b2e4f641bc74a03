// A file chooser that records every request and answers with the front of
// `answers`, then with `path` (nullopt = Cancel).
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/FileChooser.h"

namespace orx::test {

class FixedChooser : public FileChooser {
 public:
  FixedChooser() = default;
  explicit FixedChooser(std::optional<std::string> answer) : path(std::move(answer)) {}

  std::optional<std::string> choose(const FileDialogRequest& request) override {
    std::lock_guard<std::mutex> lock(mutex);
    requests.push_back(request);
    if (answers.empty()) return path;
    std::optional<std::string> a = answers.front();
    answers.pop_front();
    return a;
  }

  std::deque<std::optional<std::string>> answers;
  std::optional<std::string> path;
  std::vector<FileDialogRequest> requests;
  std::mutex mutex;
};

}  // namespace orx::test
