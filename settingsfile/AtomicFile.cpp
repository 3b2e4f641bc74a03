#include "settingsfile/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "base/Format.h"

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

// Writes to the file a symbolic link names rather than over the link.
std::string resolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;  // dangling link: replace the link itself
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A short hidden name in the target's folder: the rename must not cross file
// systems, and a long target name must not push it past the name limit.
std::string tempNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 rng{std::random_device{}()};
  return directoryOf(target) + strprintf("/.orx-save-%d-%u-%08x.tmp", static_cast<int>(::getpid()),
                                         counter.fetch_add(1), static_cast<unsigned>(rng()));
}

FileWriteStatus failed() { return {FileResult::Failed, errno != 0 ? errno : EIO}; }

}  // namespace

FileWriteStatus WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = resolveTarget(path);

  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask through open().
  struct stat old {};
  const bool hadOld = ::stat(target.c_str(), &old) == 0;
  if (hadOld && S_ISDIR(old.st_mode)) return {FileResult::Failed, EISDIR};

  std::string temp;
  int raw = -1;
  for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
    temp = tempNameFor(target);
    raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) return failed();
  }
  if (raw < 0) return failed();
  Fd fd(raw);

  auto abandon = [&temp](int error) {
    ::unlink(temp.c_str());
    return FileWriteStatus{FileResult::Failed, error != 0 ? error : EIO};
  };
  if (hadOld) (void)::fchmod(fd.get(), old.st_mode & 07777);  // best effort: a foreign owner may refuse
  if (!writeAll(fd.get(), bytes)) return abandon(errno);
  if (::fsync(fd.get()) != 0) return abandon(errno);
  if (fd.release() != 0) return abandon(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return abandon(errno);

  // Make the rename itself durable; the data is already safe either way.
  const int dir = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return {};
}

NewFile CreateNewFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? NewFile::Exists : NewFile::Failed;
  ::close(fd);
  return NewFile::Created;
}

FileReadStatus ReadWholeFile(const std::string& path, std::size_t maxSize) {
  FileReadStatus out;
  const int raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (raw < 0) {
    out.error = errno;
    out.result = errno == ENOENT ? FileResult::NotFound : FileResult::Failed;
    return out;
  }
  Fd fd(raw);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return {FileResult::Failed, errno, {}};
  // A fifo or a device could block or never end.
  if (!S_ISREG(st.st_mode)) return {FileResult::Failed, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, {}};
  if (static_cast<std::size_t>(st.st_size) > maxSize) return {FileResult::TooLarge, EFBIG, {}};

  // Read up to one byte past the limit: the file may grow while we read.
  std::string bytes;
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
