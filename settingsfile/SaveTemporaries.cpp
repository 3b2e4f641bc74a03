#include "settingsfile/SaveTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <random>
#include <string_view>

#include "base/Format.h"

namespace orx::cfg {
namespace {

constexpr std::string_view kPrefix = ".orx-save-";
constexpr std::string_view kSuffix = ".tmp";
constexpr time_t kOldAfterSeconds = 24 * 60 * 60;

// Reads the decimal number at the front of `s` up to `stop`; -1 when there is none.
long takeNumber(std::string_view& s, char stop, int base) {
  const size_t end = s.find(stop);
  if (end == 0 || end == std::string_view::npos || end > 10) return -1;
  long n = 0;
  for (char c : s.substr(0, end)) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
    if (digit < 0) return -1;
    n = n * base + digit;
  }
  s.remove_prefix(end + 1);
  return n;
}

// The process id in a name of our pattern, or -1 for any other name.
long ownerPid(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return -1;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size() - 1);  // keep the '.' as the last stop
  const long pid = takeNumber(name, '-', 10);
  if (pid <= 0 || takeNumber(name, '-', 10) < 0 || takeNumber(name, '.', 16) < 0 || !name.empty()) return -1;
  return pid;
}

// A process of another user under that id (EPERM) cannot be our save either.
bool processGone(long pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && (errno == ESRCH || errno == EPERM); }

}  // namespace

std::string NewTemporaryName() {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 rng{std::random_device{}()};
  return strprintf(".orx-save-%d-%u-%08x.tmp", static_cast<int>(::getpid()), counter.fetch_add(1),
                   static_cast<unsigned>(rng()));
}

void RemoveStaleTemporaries(int folderFd) {
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return;
  DIR* list = ::fdopendir(listFd);
  if (!list) {
    ::close(listFd);
    return;
  }
  const time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(list)) {
    const long pid = ownerPid(entry->d_name);
    if (pid < 0 || pid == ::getpid()) continue;
    struct stat st {};
    if (::fstatat(folderFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (processGone(pid) || now - st.st_mtime > kOldAfterSeconds) ::unlinkat(folderFd, entry->d_name, 0);
  }
  ::closedir(list);
}

}  // namespace orx::cfg
