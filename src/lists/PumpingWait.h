#pragma once
// What the long runs of the list windows (scans, channel loads) are built
// from: a wait that keeps every window live and ends early when the operator
// stops the run, and end steps that run however the run ends.
#include <functional>
#include <utility>

namespace zr {

class Engine;
class Clock;
class SerialPort;

// Lets the engine deliver input, line events and timer ticks for `seconds`
// of the time of day (midnight corrected), blocking between them, never
// spinning. Returns false as soon as `stop` returns true (checked before the
// first pump and after every one), true when the time has passed.
// ProgramEnd passes through.
bool pumpFor(Engine& engine, Clock& clock, double seconds, const std::function<bool()>& stop);

// Waits for a reply with the windows live (they run at least every 50 ms):
// true as soon as bytes wait on `port`, false once `seconds` have passed
// since `start` (time of day) or `stop` returns true. Pending input is
// delivered first, then bytes already waiting are taken at once (no block).
// ProgramEnd passes through.
bool pumpUntilInput(Engine& engine, Clock& clock, SerialPort& port, double start, double seconds,
                    const std::function<bool()>& stop);

// Runs `f` when the scope ends, by return, error or program end.
template <class F>
class OnScopeExit {
 public:
  explicit OnScopeExit(F f) : f_(std::move(f)) {}
  ~OnScopeExit() { f_(); }
  OnScopeExit(const OnScopeExit&) = delete;
  OnScopeExit& operator=(const OnScopeExit&) = delete;

 private:
  F f_;
};

}  // namespace zr
