// The one bounded wait of the C++ tests: the window tests turn the event loop between checks,
// the tests of separate processes sleep.
#pragma once

#include <chrono>
#include <functional>

namespace talvo::testing {

// Checks `condition`, then runs `turn` and checks again, until it holds (true) or `timeout_ms`
// has passed (false).
inline bool WaitUntil(const std::function<bool()>& condition, int timeout_ms,
                      const std::function<void()>& turn) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    turn();
  }
  return true;
}

}  // namespace talvo::testing
