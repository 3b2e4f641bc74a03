// The program's socket DFU bus against the simulated boot loader, and against
// a peer that answers badly.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "firmware/DfuSeProtocol.h"
#include "firmware/SocketDfuBus.h"
#include "tests/support/TempDir.h"
#include "tools/SimulatedDfu.h"

using namespace orx;

TEST(VirtualDfu, TheBusReachesTheBootLoaderOnlyWhilePlugged) {
  sim::SimulatedDfu dfu;
  ASSERT_TRUE(dfu.start()) << dfu.error();
  SocketDfuBus bus(dfu.socketPath());
  EXPECT_TRUE(bus.listDfuDevices().empty());
  ASSERT_TRUE(dfu.plug());
  const auto listed = bus.listDfuDevices();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].path, bus.devicePath());
  EXPECT_EQ(listed[0].description, "STM32  BOOTLOADER");
  EXPECT_EQ(listed[0].vendorId, 0x0483);
  EXPECT_EQ(listed[0].productId, 0xDF11);
  EXPECT_EQ(listed[0].transferSize, 1024);

  UsbResult opened = UsbResult::Error;
  auto handle = bus.open(listed[0].path, opened);
  ASSERT_TRUE(handle);
  EXPECT_EQ(handle->alternateNames(), std::vector<std::string>{sim::kEscDfuMap});
  EXPECT_EQ(handle->setAlternate(1), UsbResult::Stall);
  // A fault on the second erase: its status comes back spoiled, then all is well.
  dfu.addFault({sim::Command::DfuErase, sim::FaultKind::WrongReply, 1, 0, 1});
  DfuSeProtocol protocol(*handle);
  EXPECT_EQ(protocol.erasePage(sim::DfuSeDevice::kBase), DfuStep::Ok);
  EXPECT_EQ(protocol.erasePage(sim::DfuSeDevice::kBase), DfuStep::DeviceError);
  EXPECT_EQ(protocol.erasePage(sim::DfuSeDevice::kBase), DfuStep::Ok);

  dfu.unplug();
  EXPECT_EQ(protocol.abort(), DfuStep::Usb);
  EXPECT_TRUE(bus.listDfuDevices().empty());
}

TEST(VirtualDfu, BadRepliesAreErrorsWithNothingReadPastThem) {
  test::TempDir dir;
  const std::string path = dir.file("peer");
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  // One connection per reply: open, a status request, this answer, hang up.
  const std::vector<std::vector<uint8_t>> replies{
      {0x40, 6, 0, 0, 0, 0, 0, 2, 0},  // no such result
      {0, 200, 0},                      // more than was asked for
      {0, 6, 0, 0, 0},                  // cut off
      {},                               // no answer at all
  };
  std::thread peer([&] {
    for (const auto& reply : replies) {
      const int fd = ::accept(listener, nullptr, nullptr);
      uint8_t request[64];
      [[maybe_unused]] const ssize_t n = ::recv(fd, request, sizeof request, 0);
      if (!reply.empty()) [[maybe_unused]] const ssize_t sent = ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
      if (reply.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(300));
      ::close(fd);
    }
  });
  SocketDfuBus bus(path);
  for (const UsbResult expected : {UsbResult::Error, UsbResult::Error, UsbResult::Gone, UsbResult::Timeout}) {
    UsbResult opened = UsbResult::Error;
    auto handle = bus.open(bus.devicePath(), opened);
    ASSERT_TRUE(handle);
    std::array<uint8_t, 8> buffer{};
    buffer.fill(0xEE);
    size_t received = 99;
    EXPECT_EQ(handle->controlIn(DfuRequest::GetStatus, 0, std::span(buffer).first(6), received, 100), expected);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(buffer[6], 0xEE);
  }
  peer.join();
  ::close(listener);
}
