// A file chooser that records every request and answers with `path`
// (nullopt = Cancel).
#pragma once

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
    return path;
  }

  std::optional<std::string> path;
  std::vector<FileDialogRequest> requests;
  std::mutex mutex;
};

}  // namespace orx::test
