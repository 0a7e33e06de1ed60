#pragma once
// A radio port that hung up or failed, or would not open: the operator is
// told at once, transmitting stops, and the service loop opens the same port
// again on a back-off (1, 2, 4, 8, then every 10 s), for as long as it takes.
// Always the same device: a port reached through a COMn link is only ever
// reopened through that link. While waiting, the device is looked for a few
// times a second, and tried at once when it comes back.
#include <string>

namespace zr {

class Panel;

class PortRecovery {
 public:
  explicit PortRecovery(Panel& panel) : p_(panel) {}

  static constexpr double kFirstTry = 1.0;
  static constexpr double kLongestWait = 10.0;
  // How often a missing device is looked for while waiting.
  static constexpr double kLookInterval = 0.25;

  // The open port failed (a line event): it is let go and shown as lost.
  void portLost(const std::string& reason);
  // Opening the port failed: shown the same way, and retried.
  void openFailed(const std::string& reason);
  // The chosen port is not there when it is chosen (a dangling COMn link, a
  // missing device): `message` stays on show while it is retried.
  void unavailable(const std::string& message);
  // The port is open again, by a retry or by the operator's settings.
  void portOpened();

  bool down() const { return down_; }
  // Seconds until the next attempt is due (0 when due now).
  double secondsToNextTry() const;
  // Looks whether the device has come back since the last look (at most
  // every kLookInterval); if so the next attempt is due now, and the
  // back-off starts over.
  void watchDevice();
  // Tries to open the port again; true when it opened. On failure the wait
  // before the next try doubles, up to kLongestWait.
  bool tryReopen();

 private:
  void goDown(const std::string& what, const std::string& status);
  void show(const std::string& detail);

  Panel& p_;
  bool down_ = false;
  std::string what_;  // "Radio port lost: <port>: <reason>"
  double wait_ = kFirstTry;
  double lastTry_ = 0;  // time of day of the loss or the last attempt
  double lastLook_ = 0;
  bool deviceWasReady_ = true;
};

}  // namespace zr
