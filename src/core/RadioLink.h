#pragma once
// The only path to the transceiver: opens the radio port, writes commands,
// waits, and collects replies for the status decoder.
#include <string>

namespace zr {

class Panel;

class RadioLink {
 public:
  explicit RadioLink(Panel& panel) : p_(panel) {}

  // How long a read waits for a reply to begin.
  static constexpr double kReplyTimeout = 0.8;

  // (Re)configure and open the radio port from the radio port settings.
  // Errors raised by the port are passed on.
  bool SetUpRadioPort();
  // Probe: true when port n exists and can be opened now.
  bool gGetCommPorts(int portNumber);
  // A fixed delay; no handler runs meanwhile (the CAT port is still served).
  void gDelay(double seconds);
  // Write `text` (and a line feed), then wait `delay` seconds. Errors are ignored.
  void gSendCommand(const std::string& text, bool lineFeed, double delay);
  // Collect a reply into gResponse and decode it.
  void gReadResponse();
  // Decode whatever waits now, without the reply wait.
  void gDrainInput();
  // Line events of the radio port.
  void MSComm1_OnComm(int code);
  // Write composed text straight to the port: no send-buffer wait, no indicator.
  void writeDirect(const std::string& text);

 private:
  Panel& p_;
};

}  // namespace zr
