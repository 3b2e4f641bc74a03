// A fresh directory per use, removed with everything in it, and whole-file reads.
#pragma once

#include <string>
#include <vector>

namespace orx::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }
  // The names in the directory, in no particular order.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
};

// The bytes of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

}  // namespace orx::test
