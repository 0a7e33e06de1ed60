#pragma once
// A panel stand-in for the server's tests: a view set by the test, the
// settings handed over, and the clients reported gone.
#include <mutex>
#include <vector>

#include "netctl/RigBackend.h"

namespace zr::test {

class FakeRigBackend : public RigBackend {
 public:
  struct Submitted {
    RigSetting setting;
    int client;
    std::shared_ptr<RigTicket> ticket;
  };

  RigStateSnapshot view() const override {
    std::lock_guard lock(mutex_);
    return view_;
  }
  std::shared_ptr<RigTicket> submit(const RigSetting& s, int client, std::function<void()> notify) override {
    auto ticket = std::make_shared<RigTicket>(std::move(notify));
    std::lock_guard lock(mutex_);
    submitted_.push_back({s, client, ticket});
    if (autoResult_) {
      ticket->take();
      ticket->finish(*autoResult_);
    }
    return ticket;
  }
  void clientGone(int client) override {
    std::lock_guard lock(mutex_);
    gone_.push_back(client);
  }

  void setView(const RigStateSnapshot& v) {
    std::lock_guard lock(mutex_);
    view_ = v;
  }
  // Settings are taken at once with this result.
  void answerAtOnce(int code) {
    std::lock_guard lock(mutex_);
    autoResult_ = code;
  }
  std::vector<Submitted> submitted() const {
    std::lock_guard lock(mutex_);
    return submitted_;
  }
  std::vector<int> gone() const {
    std::lock_guard lock(mutex_);
    return gone_;
  }

  static RigStateSnapshot tunedView() {
    RigStateSnapshot v;
    v.freqCmd = "F1425000";
    v.freqValid = true;
    v.mode = "M1";
    v.keyCmd = "U";
    v.vfoBFreqCmd = "F0707400";
    v.vfoBMode = "LSB";
    v.takesSettings = true;
    v.takesKeyDown = true;
    return v;
  }

 private:
  mutable std::mutex mutex_;
  RigStateSnapshot view_ = tunedView();
  std::optional<int> autoResult_;
  std::vector<Submitted> submitted_;
  std::vector<int> gone_;
};

}  // namespace zr::test
