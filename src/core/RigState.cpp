#include "core/RigState.h"

namespace zr {

void RigStatePublisher::publish(const RigStateSnapshot& state) {
  // Only the engine thread replaces the value, so comparing outside the
  // lock is safe; readers hold their own reference.
  if (*latest() == state) return;
  auto next = std::make_shared<const RigStateSnapshot>(state);
  std::lock_guard lock(mutex_);
  latest_ = std::move(next);
}

std::shared_ptr<const RigStateSnapshot> RigStatePublisher::latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

}  // namespace zr
