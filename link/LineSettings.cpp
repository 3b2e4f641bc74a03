#include "link/LineSettings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace orx {

namespace {

void makeRaw(struct termios2& t) {
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

}  // namespace

bool setRawLine(int fd, int baud) {
  if (baud <= 0) return false;
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  makeRaw(t);
  t.c_cflag &= ~CBAUD;
  t.c_cflag |= BOTHER;
  t.c_cflag &= ~(CBAUD << IBSHIFT);  // input rate follows the output rate
  t.c_ospeed = static_cast<speed_t>(baud);
  t.c_ispeed = static_cast<speed_t>(baud);
  return ioctl(fd, TCSETS2, &t) == 0;
}

bool setRawKeepBaud(int fd) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  makeRaw(t);
  return ioctl(fd, TCSETS2, &t) == 0;
}

int lineBaud(int fd) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return -1;
  return static_cast<int>(t.c_ospeed);
}

}  // namespace orx
