#pragma once
// Keeps a second panel from running in the same working folder (it would
// fight the first over the ports and the settings files). The lock is an
// flock on a file there, so a crashed run never leaves it stuck: the system
// drops it with the process.
#include <string>

namespace zr {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this is the only instance (or the lock file cannot be made at
  // all, which is no reason to refuse to start).
  bool acquire(const std::string& path = "ZR3817.lock");

 private:
  int fd_ = -1;
};

}  // namespace zr
