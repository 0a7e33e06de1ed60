#pragma once
// Request flags and workers of the main window's operations that are served
// by the service loop but whose behaviour is still to come: the channel
// buttons and the band buttons. Their buttons raise the flags; the workers only clear them, so
// the dispatch order is already the final one.
#include <array>

namespace zr {

class Panel;

class PendingOperations {
 public:
  explicit PendingOperations(Panel& panel);  // registers the buttons

  // In dispatch order of the band buttons: 160, 75, 60, 40, 30, 20, 17, 15,
  // 12, 10 m, WWV, MARS.
  static constexpr std::array<const char*, 12> kBandButtons = {
      "cmd160M", "cmd75M", "cmd60M", "cmd40M", "cmd30M", "cmd20M",
      "cmd17M",  "cmd15M", "cmd12M", "cmd10M", "cmdWWV", "cmdMARS"};

  void bandCmd(int band) { bandPending[band] = false; }
  void m2vCmd() { m2vPending = false; }
  void v2mCmd() { v2mPending = false; }

  std::array<bool, 12> bandPending{};
  bool m2vPending = false;
  bool v2mPending = false;

 private:
  Panel& p_;
};

}  // namespace zr
