#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orx {

namespace {

int notRegular(const struct stat& st) { return S_ISDIR(st.st_mode) ? EISDIR : EINVAL; }

}  // namespace

int OpenRegularFile(const std::string& path, int* error) {
  auto fail = [error](int reason) {
    if (error != nullptr) *error = reason;
    return -1;
  };
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return fail(errno);
  if (!S_ISREG(st.st_mode)) return fail(notRegular(st));
  // Non-blocking, should the path have been swapped for a FIFO since the check.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(errno);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int reason = S_ISREG(st.st_mode) ? errno : notRegular(st);
    ::close(fd);
    return fail(reason);
  }
  return fd;
}

}  // namespace orx
