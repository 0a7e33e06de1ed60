#include "lists/PumpingWait.h"

#include <algorithm>

#include "core/Clock.h"
#include "core/Engine.h"

namespace zr {

namespace {
// Input wakes a blocked pump at once; the cap only bounds how stale the
// published models can get between events.
constexpr double kMaxBlock = 0.1;
}  // namespace

bool pumpFor(Engine& engine, Clock& clock, double seconds, const std::function<bool()>& stop) {
  const double start = clock.now();
  for (;;) {
    if (stop && stop()) return false;
    const double left = seconds - secondsSince(start, clock.now());
    if (left <= 0) return true;
    engine.pump(std::min(left, kMaxBlock));
  }
}

}  // namespace zr
