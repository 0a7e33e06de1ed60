#pragma once
// What both scanners say to the transceiver while the service loop is held
// up behind them: set a frequency and see the transceiver confirm it, and
// keep the link alive with the receive sync. Every wait keeps the windows
// live and gives up as soon as the scan is told to stop.
#include <functional>
#include <string>

namespace zr {

class Panel;

class ScanRadio {
 public:
  explicit ScanRadio(Panel& panel) : p_(panel) {}

  // How long the transceiver has to report the new frequency, and how often
  // a frequency it answers differently is sent again before the scan moves on.
  static constexpr double kConfirmTimeout = 1.5;
  static constexpr int kMaxResends = 3;

  enum class Outcome { Confirmed, Unconfirmed, Stopped };

  // Sends `command` ("F" + seven digits) and waits for the frequency report;
  // no report at all gets a status query. `sending` runs before each send.
  Outcome setFrequency(const std::string& command, const std::function<bool()>& stop,
                       const std::function<void()>& sending = {});

  // The receive sync when it is due, and whatever has arrived read: a read
  // that expects no reply must neither wait for one nor report "No Com".
  void keepAlive();

  // Seconds until the next sync is due (never below a millisecond).
  double untilSyncDue() const;

 private:
  // True once bytes are waiting; false at `deadline` or when stopped.
  bool waitForReply(double start, const std::function<bool()>& stop);
  bool bytesWaiting();

  Panel& p_;
};

}  // namespace zr
