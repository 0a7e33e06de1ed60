#include "LastResort.h"

#include <signal.h>

#include <cstdlib>

#include "core/KeyLatch.h"

namespace zr::app {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

extern "C" void onFatalSignal(int sig) {
  lastResortUnkey();
  // The handler was reset to the default on entry: raising the signal again
  // ends the program as it would have ended (core dump included) once this
  // handler returns.
  ::raise(sig);
}

extern "C" void onExit() { lastResortUnkey(); }

}  // namespace

void installLastResortUnkey() {
  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_ONSTACK;
  for (int sig : kFatalSignals) ::sigaction(sig, &action, nullptr);
  std::atexit(onExit);
}

void giveThreadASignalStack() {
  static thread_local char stack[64 * 1024];
  stack_t ss{};
  ss.ss_sp = stack;
  ss.ss_size = sizeof stack;
  ::sigaltstack(&ss, nullptr);
}

}  // namespace zr::app
