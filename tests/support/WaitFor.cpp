#include "tests/support/WaitFor.h"

#include <thread>

namespace orx::test {

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return done();
}

}  // namespace orx::test
