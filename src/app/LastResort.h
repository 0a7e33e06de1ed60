#pragma once
// The ways the program can end without the engine's orderly close: a crash
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) and exit() called from inside a
// library (Qt does that when the display goes away). Each still unkeys the
// transmitter through the radio link's last-resort mirror, with write(2)
// only, before the program goes.
#include <signal.h>

#include <memory>

namespace zr::app {

// Process-wide: the fatal-signal handlers and the exit hook (SIGPIPE is
// ignored so a broken socket cannot end the program around them). Call
// once, early.
void installLastResortUnkey();

// Per thread: a stack of its own for the fatal-signal handler, so even a
// stack overflow can still unkey. Hold one for the whole life of every
// thread that runs our code. Going, it gives the thread back the alternate
// stack it had (or none) before freeing its own: a thread must never end
// with a stack set that is about to be freed, and the sanitizers unmap
// whatever stack is set when a thread ends.
class ThreadSignalStack {
 public:
  ThreadSignalStack();
  ~ThreadSignalStack();
  ThreadSignalStack(const ThreadSignalStack&) = delete;
  ThreadSignalStack& operator=(const ThreadSignalStack&) = delete;

 private:
  std::unique_ptr<char[]> stack_;
  stack_t previous_{};
  bool installed_ = false;
};

}  // namespace zr::app
