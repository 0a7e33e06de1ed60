#pragma once
// The sync exchange: the panel tells the transceiver over and over whether it
// should transmit ("K") or receive ("U"); the echo proves the link is alive.
#include <functional>
#include <string>

namespace zr {

class Panel;

class SyncPoller {
 public:
  explicit SyncPoller(Panel& panel) : p_(panel) {}

  static constexpr double kInterval = 2.0;
  static constexpr double kBlankAfter = 1.0;
  static constexpr int kMaxMissed = 5;

  // `sent` runs once the key has been written (or nothing was due), before
  // the pause that follows it.
  void gSendSync(const std::string& key, const std::function<void()>& sent = {});
  // Seconds until gSendSync has something to do while the key stays: blank
  // the sync character, or send the next one.
  double secondsUntilDue() const;
  void pollTxState();

 private:
  Panel& p_;
};

}  // namespace zr
