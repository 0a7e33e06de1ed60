#pragma once
// Raises a busy flag for as long as it lives and clears it however the scope
// is left, so a failure cannot leave a routine locked out for the rest of
// the run.
namespace zr {

class BusyFlag {
 public:
  explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyFlag() { flag_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace zr
