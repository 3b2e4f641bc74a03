// Helpers of orx-bench: a stopwatch, medians and percentiles, and one line of
// output per figure with its reference and target beside it.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace orx::bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The value below which `p` (0..1) of the samples lie (nearest rank).
inline double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t rank = static_cast<size_t>(std::max(0.0, p * static_cast<double>(v.size()) - 0.5));
  return v[std::min(rank, v.size() - 1)];
}
inline double median(std::vector<double> v) { return percentile(std::move(v), 0.5); }

// Milliseconds of CPU the calling thread has used: unlike the wall clock, not
// stretched when other programs hold the cores.
inline double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Runs each job `rounds` times, taking turns, so that machine noise falls on
// all alike; returns the milliseconds of every run of each job, of the
// thread's CPU time when `cpu`, else of the wall clock.
inline std::vector<std::vector<double>> interleaved(const std::vector<std::function<void()>>& jobs, int rounds,
                                                    bool cpu = true) {
  std::vector<std::vector<double>> times(jobs.size());
  for (int r = 0; r < rounds; ++r)
    for (size_t j = 0; j < jobs.size(); ++j) {
      const auto start = Clock::now();
      const double cpuStart = threadCpuMs();
      jobs[j]();
      times[j].push_back(cpu ? threadCpuMs() - cpuStart : msSince(start));
    }
  return times;
}

// printf into a std::string.
template <class... A>
std::string fmt(const char* format, A... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

// "  label      1.234 ms   target <= 3 ms  met   (ref: what it stands beside)"
inline bool report(const char* label, double value, const char* unit, double target, const std::string& reference) {
  const bool met = value <= target;
  std::printf("  %-30s %8.3f %-2s  target <= %-6.3g %-6s  ref: %s\n", label, value, unit, target, met ? "met" : "MISSED",
              reference.c_str());
  std::fflush(stdout);
  return met;
}

// The sections; each prints its lines and returns whether every target was met.
bool chartBench(int rounds);
bool cursorBench(int moves);
bool fileBench(int rounds);
bool plugBench(int trials);
bool serialBench(size_t imageBytes);
bool stallBench();

}  // namespace orx::bench
