#pragma once
// The only path to the transceiver: opens the radio port, writes commands,
// waits, and collects replies for the status decoder. Every byte for the
// radio goes through here, so the link's key latch knows whether the
// transmitter was last told to key, and every way the port is let go
// unkeys it first.
#include <functional>
#include <string>
#include <string_view>

#include "core/KeyLatch.h"

namespace zr {

class Panel;

class RadioLink {
 public:
  explicit RadioLink(Panel& panel) : p_(panel) {}
  // Lets go of the port the safe way if nobody did.
  ~RadioLink();
  RadioLink(const RadioLink&) = delete;
  RadioLink& operator=(const RadioLink&) = delete;

  // How long a read waits for a reply to begin.
  static constexpr double kReplyTimeout = 0.8;

  // Which device the port number leads to: as the operator chose it now
  // (Apply, the start), or the one already chosen (a recovery).
  enum class Device { AsChosen, Same };
  // (Re)configure and open the radio port from the radio port settings.
  // The first command on a newly opened port is "U": whatever keyed the
  // transmitter before (this run, or a run that was killed) is undone.
  // Errors raised by the port are passed on.
  bool SetUpRadioPort(Device device = Device::AsChosen);
  // Probe: true when port n exists and can be opened now.
  bool gGetCommPorts(int portNumber);
  // A fixed delay; no handler runs meanwhile (the CAT port is still served).
  void gDelay(double seconds);
  // Write `text` (and a line feed), then wait `delay` seconds. Errors are
  // ignored. `sent` runs once the write is done (or dropped), before the wait.
  void gSendCommand(const std::string& text, bool lineFeed, double delay, const std::function<void()>& sent = {});
  // Collect a reply into gResponse and decode it.
  void gReadResponse();
  // Decode whatever waits now, without the reply wait.
  void gDrainInput();
  // Line events of the radio port.
  void MSComm1_OnComm(int code);
  // Write composed text straight to the port: no send-buffer wait, no indicator.
  void writeDirect(const std::string& text);

  // True when the last key command written was "K" (asked by every way out).
  bool keyed() const { return latch_.keyed(); }
  // Time of day of the key that began the present keyed run (while keyed()).
  double keyedSince() const { return keyedSince_; }
  // Lets go of the port: "U" first when keyed, then closed. Never throws.
  void closePort();
  // The end of the program: "U" when keyed, "G00", a short wait for the
  // transceiver, then the port closed. Never throws.
  void shutdownPort();
  // Keeps the key and the port's descriptor where a fatal-signal handler
  // can unkey (lastResortUnkey). For the program, not for tests.
  void armLastResort() { latch_.mirrorForLastResort(); }

 private:
  void write(std::string_view text);

  Panel& p_;
  KeyLatch latch_;
  double keyedSince_ = 0;
};

}  // namespace zr
