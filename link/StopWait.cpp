#include "link/StopWait.h"

#include <condition_variable>
#include <mutex>

namespace orx {

bool SleepUnlessStopped(const std::stop_token& stop, std::chrono::milliseconds ms) {
  if (ms > std::chrono::milliseconds::zero()) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock<std::mutex> lock(mutex);
    // Nothing notifies `wake` but the stop request itself.
    wake.wait_until(lock, stop, std::chrono::steady_clock::now() + ms, [] { return false; });
  }
  return !stop.stop_requested();
}

}  // namespace orx
