// .dfu test files, built with the program's own DfuSe writer.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "firmware/DfuFile.h"
#include "tests/support/TempDir.h"

namespace orx::test {

// Files go to a folder of this test process, removed when it ends.
inline std::string writeDfu(const std::string& name, const DfuFile& file) {
  static const TempDir folder;
  const std::string path = folder.file(name);
  const std::vector<uint8_t> bytes = BuildDfuFile(file);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

}  // namespace orx::test
