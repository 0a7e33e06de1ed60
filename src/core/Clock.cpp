#include "core/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace zr {

double SystemClock::now() const {
  using namespace std::chrono;
  const auto t = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(t);
  std::tm local{};
  localtime_r(&secs, &local);
  const double frac = duration<double>(t - system_clock::from_time_t(secs)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + frac;
}

void SystemClock::sleepFor(double seconds) {
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool SystemClock::waitForWake(double timeoutSeconds) {
  std::unique_lock lock(mutex_);
  if (!woken_ && timeoutSeconds > 0)
    cv_.wait_for(lock, std::chrono::duration<double>(timeoutSeconds), [this] { return woken_; });
  const bool woken = woken_;
  woken_ = false;
  return woken;
}

void SystemClock::wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  cv_.notify_all();
}

}  // namespace zr
