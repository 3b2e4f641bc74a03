// A virtual clock for the flow target: the links wait with the monotonic clock
// and sleeps, which here only move the clock on, so a flow that would spend
// seconds waiting for a silent ESC runs in microseconds. Defined in the
// executable, these calls take the place of the C library's for the whole
// program; the real-time clock stays real, for libFuzzer's own time limits.
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "VirtualClock.h"

namespace {

std::atomic<long long> nowNs{1'000'000'000LL};

bool virtualClock(clockid_t id) {
  return id == CLOCK_MONOTONIC || id == CLOCK_MONOTONIC_RAW || id == CLOCK_MONOTONIC_COARSE || id == CLOCK_BOOTTIME;
}

long long ns(const timespec& t) { return t.tv_sec * 1'000'000'000LL + t.tv_nsec; }

}  // namespace

namespace orx::fuzz {

void AdvanceClock(long long ms) { nowNs += ms * 1'000'000LL; }

}  // namespace orx::fuzz

extern "C" int clock_gettime(clockid_t id, timespec* out) {
  if (!virtualClock(id)) return static_cast<int>(::syscall(SYS_clock_gettime, id, out));
  const long long now = nowNs.load();
  out->tv_sec = now / 1'000'000'000LL;
  out->tv_nsec = now % 1'000'000'000LL;
  return 0;
}

extern "C" int nanosleep(const timespec* request, timespec* remaining) {
  if (request->tv_nsec < 0 || request->tv_nsec >= 1'000'000'000L) {
    errno = EINVAL;
    return -1;
  }
  nowNs += ns(*request);
  if (remaining) *remaining = {};
  return 0;
}

extern "C" int clock_nanosleep(clockid_t id, int flags, const timespec* request, timespec* remaining) {
  if (!virtualClock(id)) return ::syscall(SYS_clock_nanosleep, id, flags, request, remaining) == 0 ? 0 : errno;
  if (flags & TIMER_ABSTIME) {
    if (ns(*request) > nowNs.load()) nowNs = ns(*request);
  } else {
    nowNs += ns(*request);
  }
  if (remaining) *remaining = {};
  return 0;
}
