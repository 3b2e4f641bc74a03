#include "link/Win32SerialPort.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "link/Deadline.h"

namespace orx {

namespace {

using Clock = std::chrono::steady_clock;

// A read that returns at once with whatever has arrived, or waits up to `ms`
// for the first byte when nothing has: the one mode in which the driver
// itself tells "something came" from "the time is up".
COMMTIMEOUTS readTimeouts(int ms) {
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = MAXDWORD;
  t.ReadTotalTimeoutMultiplier = MAXDWORD;
  t.ReadTotalTimeoutConstant = static_cast<DWORD>(std::max(ms, 1));
  return t;
}

// The errno value the program reports for an error of CreateFile.
int errnoFromWin32(DWORD win32Error) {
  switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
      return ENOENT;
    // A COM port has no owner rights to refuse: denied means another program holds it.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
      return EBUSY;
    default:
      return EIO;
  }
}

}  // namespace

std::unique_ptr<Win32SerialPort> Win32SerialPort::open(const std::string& path, int* error) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* no sharing */, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = errnoFromWin32(GetLastError());
    return nullptr;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(h, &dcb)) {  // a file or a pipe, not a serial port
    CloseHandle(h);
    if (error != nullptr) *error = ENOTTY;
    return nullptr;
  }
  std::unique_ptr<Win32SerialPort> port(new Win32SerialPort(h));
  port->baud_ = static_cast<int>(dcb.BaudRate);
  return port;
}

Win32SerialPort::~Win32SerialPort() { CloseHandle(handle_); }

PortRead Win32SerialPort::read(std::span<uint8_t> into, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  size_t count = 0;
  auto partial = [&](ReadStatus none) { return PortRead{count > 0 ? ReadStatus::Short : none, count}; };
  while (count < into.size()) {
    const int left = remainingMs(deadline);
    if (left == 0) return partial(ReadStatus::TimedOut);
    COMMTIMEOUTS t = readTimeouts(left);
    if (!SetCommTimeouts(handle_, &t)) return partial(ReadStatus::Failed);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(into.size() - count);
    if (!ReadFile(handle_, into.data() + count, want, &got, nullptr)) return partial(ReadStatus::Failed);
    count += got;
  }
  return {ReadStatus::Complete, count};
}

bool Win32SerialPort::write(std::span<const uint8_t> bytes) {
  // Each call may take as long as the line needs for what is left, plus the
  // stall allowance; a call that takes nothing at all ends the write.
  const DWORD msPerByte = static_cast<DWORD>(10000 / std::max(baud_, 1) + 1);
  size_t done = 0;
  while (done < bytes.size()) {
    COMMTIMEOUTS t{};
    t.WriteTotalTimeoutMultiplier = msPerByte;
    t.WriteTotalTimeoutConstant = kWriteStallMs;
    if (!SetCommTimeouts(handle_, &t)) return false;
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(bytes.size() - done);
    if (!WriteFile(handle_, bytes.data() + done, want, &put, nullptr)) return false;  // vanished
    if (put == 0) return false;  // stuck: nothing taken within the allowance
    done += put;
  }
  return true;
}

bool Win32SerialPort::purge(PurgeWhat what) {
  DWORD flags = 0;
  switch (what) {
    case PurgeWhat::Receive: flags = PURGE_RXABORT | PURGE_RXCLEAR; break;
    case PurgeWhat::Transmit: flags = PURGE_TXABORT | PURGE_TXCLEAR; break;
    case PurgeWhat::Both: flags = PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR; break;
  }
  return PurgeComm(handle_, flags) != 0;
}

bool Win32SerialPort::configure(int baud) {
  if (baud <= 0) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle_, &dcb)) return false;
  dcb.BaudRate = static_cast<DWORD>(baud);  // the driver takes any rate it can make
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  // Raw line: no flow control, no character substitution, errors don't stop I/O.
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  if (!SetCommState(handle_, &dcb)) return false;
  baud_ = baud;
  return true;
}

}  // namespace orx
