#include "settingsfile/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdio.h>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "base/Format.h"
#include "base/RegularFile.h"
#include "settingsfile/SaveTemporaries.h"

namespace orx::cfg {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now, so a failing close (delayed write errors) can be seen.
  int release() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The folder of a path, open, and the last name in it. Every later step works
// relative to the open folder, so a folder swapped meanwhile cannot redirect it.
struct Place {
  int folder = -1;
  std::string name;
};

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

FileWriteStatus failed(int error) { return {FileResult::Failed, error != 0 ? error : EIO}; }

// The kernel's protected-symlinks rule, applied even where the sysctl is off:
// in a sticky world-writable folder a link is followed only when it belongs to
// us or to the folder's owner.
bool mayFollow(int folder, const struct stat& link) {
  struct stat dir {};
  if (::fstat(folder, &dir) != 0) return false;
  const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
  return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

// The path of the file a link names, as the kernel resolved it when opening
// the link (so its own checks applied), not as a string walk would find it.
std::string followedPath(const Place& at, int& error) {
  const int fd = ::openat(at.folder, at.name.c_str(), O_PATH | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return {};
  }
  char buf[PATH_MAX];
  const ssize_t n = ::readlink(strprintf("/proc/self/fd/%d", fd).c_str(), buf, sizeof buf - 1);
  error = n < 0 ? errno : 0;
  ::close(fd);
  return n < 0 ? std::string() : std::string(buf, static_cast<size_t>(n));
}

// Renames the finished temporary to the target; CreateOnly never replaces.
int publish(const Place& at, const std::string& temp, WriteMode mode) {
  if (mode == WriteMode::Replace)
    return ::renameat(at.folder, temp.c_str(), at.folder, at.name.c_str()) == 0 ? 0 : errno;
  if (::renameat2(at.folder, temp.c_str(), at.folder, at.name.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without no-replace renames: a hard link fails just as well on a taken name.
  if (::linkat(at.folder, temp.c_str(), at.folder, at.name.c_str(), 0) != 0) return errno;
  ::unlinkat(at.folder, temp.c_str(), 0);
  return 0;
}

FileWriteStatus writeInFolder(const Place& at, std::string_view bytes, WriteMode mode, const struct stat* old) {
  RemoveStaleTemporaries(at.folder);
  std::string temp;
  int raw = -1;
  for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
    temp = NewTemporaryName();
    raw = ::openat(at.folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) return failed(errno);
  }
  if (raw < 0) return failed(errno);
  Fd fd(raw);

  auto abandon = [&](int error) {
    ::unlinkat(at.folder, temp.c_str(), 0);
    return FileWriteStatus{error == EEXIST ? FileResult::Exists : FileResult::Failed, error != 0 ? error : EIO};
  };
  // Keep the permissions of the file being replaced; a new file gets the usual
  // 0666 less the umask. Best effort: a foreign owner may refuse.
  if (old) (void)::fchmod(fd.get(), old->st_mode & 07777);
  if (!writeAll(fd.get(), bytes)) return abandon(errno);
  if (::fsync(fd.get()) != 0) return abandon(errno);
  if (fd.release() != 0) return abandon(errno);
  if (const int error = publish(at, temp, mode); error != 0) return abandon(error);
  (void)::fsync(at.folder);  // makes the rename itself durable; the data is safe either way
  return {};
}

FileWriteStatus writeAt(const std::string& path, std::string_view bytes, WriteMode mode, int linksLeft) {
  const size_t slash = path.rfind('/');
  Place at;
  at.name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (at.name.empty() || at.name == "." || at.name == "..") return failed(EISDIR);
  const int folder = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return failed(errno);
  Fd folderFd(folder);
  at.folder = folder;

  struct stat st {};
  if (::fstatat(folder, at.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) return failed(errno);
    return writeInFolder(at, bytes, mode, nullptr);
  }
  if (mode == WriteMode::CreateOnly) return {FileResult::Exists, EEXIST};
  if (S_ISDIR(st.st_mode)) return failed(EISDIR);
  if (!S_ISLNK(st.st_mode)) return writeInFolder(at, bytes, mode, &st);

  if (!mayFollow(folder, st)) return failed(EACCES);
  int error = 0;
  const std::string target = followedPath(at, error);
  if (error == ENOENT) return writeInFolder(at, bytes, mode, nullptr);  // dangling: replace the link itself
  if (target.empty()) return failed(error);
  if (linksLeft == 0) return failed(ELOOP);
  return writeAt(target, bytes, mode, linksLeft - 1);
}

}  // namespace

FileWriteStatus WriteFileAtomically(const std::string& path, std::string_view bytes, WriteMode mode) {
  return writeAt(path, bytes, mode, 1);
}

FileReadStatus ReadWholeFile(const std::string& path, std::size_t maxSize) {
  FileReadStatus out;
  // A fifo or a device could block or never end: refused before it is opened.
  const int raw = OpenRegularFile(path, &out.error);
  if (raw < 0) {
    out.result = out.error == ENOENT ? FileResult::NotFound : FileResult::Failed;
    return out;
  }
  Fd fd(raw);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return {FileResult::Failed, errno, {}};
  if (static_cast<std::size_t>(st.st_size) > maxSize) return {FileResult::TooLarge, EFBIG, {}};

  // Read up to one byte past the limit: the file may grow while we read.
  std::string bytes;
  // Room for the whole file at once: growing in steps would copy it again
  // and again.
  bytes.reserve(static_cast<std::size_t>(st.st_size) + 1);
  char buf[16384];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {FileResult::Failed, errno, {}};
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
    if (bytes.size() > maxSize) return {FileResult::TooLarge, EFBIG, {}};
  }
  out.bytes = std::move(bytes);
  return out;
}

}  // namespace orx::cfg
