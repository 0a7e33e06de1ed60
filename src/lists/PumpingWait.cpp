#include "lists/PumpingWait.h"

#include <algorithm>

#include "core/Clock.h"
#include "core/Engine.h"
#include "core/SerialPort.h"

namespace zr {

namespace {
// Input wakes a blocked pump at once; the cap only bounds how stale the
// published models can get between events.
constexpr double kMaxBlock = 0.1;
// Longest stretch a reply wait goes without letting the windows run.
constexpr double kSlice = 0.05;
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

bool pumpUntilInput(Engine& engine, Clock& clock, SerialPort& port, double start, double seconds,
                    const std::function<bool()>& stop) {
  const auto stopped = [&] { return stop && stop(); };
  const auto waiting = [&] { return port.isOpen() && port.inBufferCount() > 0; };
  for (;;) {
    // Pump even when the reply is already there: a Stop clicked during the
    // send must be seen before the caller sends anything more.
    engine.pump();
    if (stopped()) return false;
    if (waiting()) return true;
    const double left = seconds - secondsSince(start, clock.now());
    if (left <= 0) return false;
    // The engine's wait wakes at the first byte and serves the CAT port.
    if (port.isOpen())
      engine.wait(std::min(left, kSlice), waiting);
    else
      engine.pump(std::min(left, kSlice));
  }
}

}  // namespace zr
