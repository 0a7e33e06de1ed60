#pragma once
// Virtual time for tests and the in-process simulator. Waiting advances time
// at once to the next scheduled event, so a 20 s timeout costs microseconds.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "core/Clock.h"

namespace zr {

// Thrown when virtual time passes the limit a test set: code that waits for
// something that never comes ends the test instead of hanging it.
// Deliberately not a std::exception, so the program's own error handling
// (which reports and carries on) never swallows it.
struct VirtualTimeLimit {
  std::string message;
};

class FakeClock final : public Clock {
 public:
  // `startTimeOfDay`: the time of day at virtual time 0.
  explicit FakeClock(double startTimeOfDay = 12 * 3600.0) : start_(startTimeOfDay) {}

  double now() const override;
  void sleepFor(double seconds) override { advanceTo(elapsed_ + seconds); }
  bool waitForWake(double timeoutSeconds) override;
  // Safe from any thread (a real port's input watcher in a mixed test).
  void wake() override { woken_ = true; }

  // Seconds of virtual time since the clock was made (never wraps).
  double elapsed() const { return elapsed_; }

  // Run `f` when virtual time reaches `elapsed` (events at the same time run
  // in the order they were scheduled).
  void scheduleAt(double elapsed, std::function<void()> f);
  void scheduleIn(double delay, std::function<void()> f) { scheduleAt(elapsed_ + delay, std::move(f)); }
  // Virtual time of the next scheduled event, or a negative number for none.
  double nextEventAt() const { return events_.empty() ? -1.0 : events_.begin()->first.first; }
  std::size_t pendingEvents() const { return events_.size(); }

  // Move time forward to `elapsed`, running every event due on the way.
  void advanceTo(double elapsed);
  // Run events until `ready()` holds or `timeout` passes; true when ready.
  bool advanceUntil(const std::function<bool()>& ready, double timeout);

  void setLimit(double elapsed) { limit_ = elapsed; }

 private:
  double start_;
  double elapsed_ = 0;
  double limit_ = 1e9;
  std::atomic<bool> woken_{false};
  std::uint64_t sequence_ = 0;
  std::map<std::pair<double, std::uint64_t>, std::function<void()>> events_;
};

}  // namespace zr
