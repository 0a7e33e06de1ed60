#include "SignalBridge.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zr::app {

namespace {

int pipeFds[2] = {-1, -1};

// The terminal closed (SIGHUP), quit from the keyboard (SIGQUIT), asked to
// end (SIGTERM, SIGINT): all end the program the orderly way.
constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

extern "C" void onSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(pipeFds[1], &byte, 1);
  errno = saved;
}

}  // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::drain);
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kTerminationSignals) sigaction(sig, &action, nullptr);
}

SignalBridge::~SignalBridge() {
  for (int sig : kTerminationSignals) std::signal(sig, SIG_DFL);
  if (pipeFds[0] >= 0) ::close(pipeFds[0]);
  if (pipeFds[1] >= 0) ::close(pipeFds[1]);
  pipeFds[0] = pipeFds[1] = -1;
}

void SignalBridge::drain() {
  char bytes[16];
  ssize_t n = 0;
  while ((n = ::read(pipeFds[0], bytes, sizeof bytes)) > 0)
    for (ssize_t i = 0; i < n; ++i) emit terminationRequested();
}

}  // namespace zr::app
