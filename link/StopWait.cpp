#include "link/StopWait.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orx {

bool SleepUnlessStopped(const std::stop_token& stop, std::chrono::milliseconds ms) {
  if (ms <= std::chrono::milliseconds::zero()) return !stop.stop_requested();
  const auto deadline = std::chrono::steady_clock::now() + ms;
  if (!stop.stop_possible()) {
    // Nobody can ask this wait to end: a plain sleep, with no condition variable.
    while (std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_until(deadline);
    return true;
  }
  {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock<std::mutex> lock(mutex);
    // Nothing notifies `wake` but the stop request itself.
    wake.wait_until(lock, stop, deadline, [] { return false; });
  }
  return !stop.stop_requested();
}

}  // namespace orx
