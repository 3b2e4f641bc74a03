// Kept apart from the other pty code: the kernel's termbits header (needed for
// TCGETS2 and arbitrary rates such as 256000) clashes with <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <array>
#include <utility>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace orx::sim {

unsigned ptySlaveBaud(int masterFd) {
  if (masterFd < 0) return 0;
  struct termios2 tio {};
  // On a pty master the kernel answers with the slave's settings, which is
  // what the program on the other end has chosen.
  if (ioctl(masterFd, TCGETS2, &tio) != 0) return 0;
  const unsigned code = tio.c_cflag & CBAUD;
  if (code == BOTHER) return tio.c_ospeed;
  static constexpr std::array<std::pair<unsigned, unsigned>, 19> kRates{{
      {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
      {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
      {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
      {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800},
  }};
  for (const auto& [c, rate] : kRates) {
    if (c == code) return rate;
  }
  return tio.c_ospeed;
}

}  // namespace orx::sim
