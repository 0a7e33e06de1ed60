#pragma once
// Watches a port's descriptor from a thread of its own and calls a function
// each time new bytes (or a hang-up) arrive, so an engine that blocks on its
// clock wakes at once rather than at its next timeout. It reads nothing: the
// port is still read on the engine thread. Edge-triggered, so bytes nobody
// has read yet do not make it spin.
#include <functional>
#include <thread>

namespace zr {

class InputWatcher {
 public:
  // Starts watching; `notify` runs on the watcher's thread and must only
  // wake someone. Throws RuntimeError when the watch cannot be set up.
  InputWatcher(int fd, std::function<void()> notify);
  // Returns once the thread has ended, so the descriptor may then be closed.
  ~InputWatcher();
  InputWatcher(const InputWatcher&) = delete;
  InputWatcher& operator=(const InputWatcher&) = delete;

 private:
  void run();

  int fd_;
  int epoll_ = -1;
  int stop_ = -1;
  std::function<void()> notify_;
  std::thread thread_;
};

}  // namespace zr
