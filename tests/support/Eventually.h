#pragma once
// Real-time waits of the tests that run real processes: poll until done, with
// patience for a loaded machine.
#include <chrono>
#include <functional>
#include <thread>

namespace zr {

inline bool eventually(const std::function<bool()>& done, double patienceSeconds = 60.0) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(patienceSeconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace zr
