// Line settings of a tty by file descriptor, through the termios2 ioctls so
// that any baud rate (256000, or anything else) can be set and read back. Kept
// apart from <termios.h>, whose definitions clash with the kernel's.
#pragma once

namespace orx {

// Raw mode, 8N1, no flow control, receiver on, modem lines ignored, at `baud`.
// Other fields stay as the tty had them. False when the tty refuses.
bool setRawLine(int fd, int baud);

// The output baud rate the tty is set to, or -1. On a pty master this is the
// slave's setting, which is how a simulated device sees the rate in use.
int lineBaud(int fd);

// Raw mode without touching the rate (for a pty master that plays the device).
bool setRawKeepBaud(int fd);

}  // namespace orx
