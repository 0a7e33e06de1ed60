#include "netctl/RigBackend.h"

namespace zr {

bool RigTicket::take() {
  int expected = Pending;
  return state_.compare_exchange_strong(expected, Taken);
}

void RigTicket::finish(int code) {
  // The first result counts.
  if (state_.load() == Done) return;
  code_.store(code);
  state_.store(Done);
  if (notify_) notify_();
}

bool RigTicket::withdraw() {
  int expected = Pending;
  return state_.compare_exchange_strong(expected, Withdrawn);
}

std::optional<int> RigTicket::result() const {
  if (state_.load() != Done) return std::nullopt;
  return code_.load();
}

}  // namespace zr
