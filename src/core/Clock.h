#pragma once
// Time of day and waiting. The program measures every interval on the time of
// day in seconds since midnight (with its own midnight corrections), and every
// wait blocks rather than spins.
#include <condition_variable>
#include <mutex>

namespace zr {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since local midnight, with fractions.
  virtual double now() const = 0;
  // Block for the given time (a fixed delay: nothing is pumped meanwhile).
  virtual void sleepFor(double seconds) = 0;
  // Block until wake() is called or the timeout passes; true when woken.
  virtual bool waitForWake(double timeoutSeconds) = 0;
  // May be called from any thread.
  virtual void wake() = 0;
};

// Seconds from `start` (a time of day) to `now`, correcting once for a
// midnight passed in between.
inline double secondsSince(double start, double now) {
  return now < start ? now + 86400.0 - start : now - start;
}

class SystemClock final : public Clock {
 public:
  double now() const override;
  void sleepFor(double seconds) override;
  bool waitForWake(double timeoutSeconds) override;
  void wake() override;

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool woken_ = false;
};

}  // namespace zr
