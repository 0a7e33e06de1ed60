#pragma once
// The linear amplifier behind the transceiver: power, operate/standby and
// its automatic tune cycle, which needs the transmitter keyed while it runs.
// A press shows an arrow until the next status report shows the real state.
#include <string>

namespace zr {

class Panel;

class Amplifier {
 public:
  explicit Amplifier(Panel& panel);  // registers the buttons

  void ampPwrCmd();
  void ampOprCmd();
  void AmpTuneCmd();

  bool ampPwrPending = false;
  bool ampOprPending = false;
  bool ampTunePending = false;

 private:
  void send(const std::string& command, bool lineFeed);

  Panel& p_;
};

}  // namespace zr
