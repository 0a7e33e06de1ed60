#include "core/FakeClock.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace zr {

double FakeClock::now() const { return std::fmod(start_ + elapsed_, 86400.0); }

void FakeClock::scheduleAt(double elapsed, std::function<void()> f) {
  if (elapsed < elapsed_) elapsed = elapsed_;
  events_.emplace(std::make_pair(elapsed, sequence_++), std::move(f));
}

void FakeClock::advanceTo(double target) {
  while (!events_.empty() && events_.begin()->first.first <= target) {
    auto node = events_.extract(events_.begin());
    if (node.key().first > elapsed_) elapsed_ = node.key().first;
    if (elapsed_ > limit_) throw VirtualTimeLimit{"virtual time limit reached at " + std::to_string(elapsed_) + " s"};
    node.mapped()();
  }
  if (target > elapsed_) elapsed_ = target;
  if (elapsed_ > limit_) throw VirtualTimeLimit{"virtual time limit reached at " + std::to_string(elapsed_) + " s"};
}

bool FakeClock::advanceUntil(const std::function<bool()>& ready, double timeout) {
  // A wait always lets some time pass: far into a run a tiny timeout added
  // to the elapsed time rounds to nothing, and a loop that waits for what
  // is left of an interval would wait for ever. The least step is a few
  // units of the time of day's last place, far below any interval we use.
  const double least = (start_ + elapsed_) * 4 * std::numeric_limits<double>::epsilon();
  const double deadline = timeout > 0 ? elapsed_ + std::max(timeout, least) : elapsed_;
  while (!ready()) {
    const double next = nextEventAt();
    if (next < 0 || next > deadline) {
      advanceTo(deadline);
      return ready();
    }
    advanceTo(next);
  }
  return true;
}

bool FakeClock::waitForWake(double timeoutSeconds) {
  advanceUntil([this] { return woken_.load(); }, timeoutSeconds);
  return woken_.exchange(false);
}

}  // namespace zr
