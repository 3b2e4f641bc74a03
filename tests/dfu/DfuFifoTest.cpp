// POSIX only: a FIFO and a device node as a chosen .dfu file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "firmware/DfuFile.h"

namespace orx {
namespace {

TEST(DfuFileReader, AFifoOrADeviceIsRefusedBeforeItIsOpened) {
  // Opening a FIFO for reading waits for a writer: it would park the link worker.
  const std::string fifo = testing::TempDir() + "/D_fifo.dfu";
  std::remove(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadDfuFile(fifo).error, DfuFileError::CannotOpen);
  std::remove(fifo.c_str());
  EXPECT_EQ(ReadDfuFile("/dev/null").error, DfuFileError::CannotOpen);
  EXPECT_EQ(ReadDfuFile(testing::TempDir()).error, DfuFileError::CannotOpen);
}

}  // namespace
}  // namespace orx
