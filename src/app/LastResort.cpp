#include "LastResort.h"

#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>

#include "core/KeyLatch.h"

namespace zr::app {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t kSignalStackSize = 64 * 1024;

// write(2) only: these run where nothing else is safe.
void say(const char* text) {
  std::size_t n = 0;
  while (text[n] != '\0') ++n;
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, n);
}

extern "C" void onFatalSignal(int sig) {
  if (lastResortUnkey()) say("zr3817: ending on a fatal signal; the transmitter was unkeyed\n");
  // The handler was reset to the default on entry: raising the signal again
  // ends the program as it would have ended (core dump included) once this
  // handler returns.
  ::raise(sig);
}

extern "C" void onExit() {
  if (lastResortUnkey()) say("zr3817: ending without the orderly close; the transmitter was unkeyed\n");
}

}  // namespace

void installLastResortUnkey() {
  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_ONSTACK;
  for (int sig : kFatalSignals) ::sigaction(sig, &action, nullptr);
  // A write to a vanished peer (the X server's socket) must fail as an
  // error: by default it would end the program before the exit hook runs.
  ::signal(SIGPIPE, SIG_IGN);
  std::atexit(onExit);
}

ThreadSignalStack::ThreadSignalStack() : stack_(new char[kSignalStackSize]) {
  stack_t ss{};
  ss.ss_sp = stack_.get();
  ss.ss_size = kSignalStackSize;
  installed_ = ::sigaltstack(&ss, &previous_) == 0;
}

ThreadSignalStack::~ThreadSignalStack() {
  if (!installed_) return;
  stack_t back = previous_;
  if (back.ss_flags & SS_DISABLE) {
    back.ss_sp = nullptr;
    back.ss_size = 0;
    back.ss_flags = SS_DISABLE;
  } else {
    back.ss_flags = 0;  // SS_ONSTACK was a report, not a setting
  }
  ::sigaltstack(&back, nullptr);
}

}  // namespace zr::app
