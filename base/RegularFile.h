// Opening a file the user chose, for reading. Only a regular file is opened:
// a FIFO would block the open (and the link worker with it) until someone
// writes to it, and opening a device can act on the device. Both are refused
// before any open. No Qt. RegularFile.cpp is the POSIX variant,
// RegularFileWin32.cpp the Windows one.
#pragma once

#include <string>

namespace orx {

// A descriptor open for reading, or -1 with the reason in `error` (errno;
// EISDIR for a directory, EINVAL for anything else that is not a regular file).
int OpenRegularFile(const std::string& path, int* error = nullptr);

}  // namespace orx
