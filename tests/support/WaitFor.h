// Polls from the test thread while the link worker does the work.
#pragma once

#include <chrono>
#include <functional>

namespace orx::test {

// Checks `done` every 20 ms until it holds or `limit` passes; returns `done()`.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace orx::test
