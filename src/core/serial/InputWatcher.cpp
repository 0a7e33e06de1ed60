#include "core/serial/InputWatcher.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "core/Errors.h"

namespace zr {

InputWatcher::InputWatcher(int fd, std::function<void()> notify) : fd_(fd), notify_(std::move(notify)) {
  epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
  stop_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  epoll_event onInput{};
  onInput.events = EPOLLIN | EPOLLET;
  onInput.data.fd = fd_;
  epoll_event onStop{};
  onStop.events = EPOLLIN;
  onStop.data.fd = stop_;
  const bool failed = epoll_ < 0 || stop_ < 0 || ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd_, &onInput) != 0 ||
                     ::epoll_ctl(epoll_, EPOLL_CTL_ADD, stop_, &onStop) != 0;
  if (failed) {
    const int e = errno;
    if (epoll_ >= 0) ::close(epoll_);
    if (stop_ >= 0) ::close(stop_);
    throw osError(e, "Cannot watch the port for input");
  }
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error& e) {
    ::close(epoll_);
    ::close(stop_);
    throw osError(e.code().value(), "Cannot watch the port for input");
  }
}

InputWatcher::~InputWatcher() {
  const std::uint64_t one = 1;
  while (::write(stop_, &one, sizeof one) < 0 && errno == EINTR) {
  }
  thread_.join();
  ::close(epoll_);
  ::close(stop_);
}

void InputWatcher::run() {
  for (;;) {
    epoll_event events[2];
    const int n = ::epoll_wait(epoll_, events, 2, -1);
    if (n < 0 && errno != EINTR) return;
    for (int i = 0; i < n; ++i) {
      if (events[i].data.fd == stop_) return;
      notify_();
      // A line that hung up or failed has nothing more to announce; the
      // engine finds out when it next reads.
      if (events[i].events & (EPOLLHUP | EPOLLERR)) ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd_, nullptr);
    }
  }
}

}  // namespace zr
