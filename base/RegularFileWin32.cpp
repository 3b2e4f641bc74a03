// The Windows variant of RegularFile.cpp: the same refusal of anything that
// is not a regular file, through the C runtime's stat and open.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/RegularFile.h"

namespace orx {

int OpenRegularFile(const std::string& path, int* error) {
  auto fail = [error](int reason) {
    if (error != nullptr) *error = reason;
    return -1;
  };
  struct _stat64 st {};
  if (::_stat64(path.c_str(), &st) != 0) return fail(errno);
  if ((st.st_mode & _S_IFMT) != _S_IFREG) return fail((st.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : EINVAL);
  const int fd = ::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return fail(errno);
  return fd;
}

}  // namespace orx
