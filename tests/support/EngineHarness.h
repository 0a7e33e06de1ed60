#pragma once
// Runs the real panel logic on the test thread in virtual time: a FakeClock,
// fake radio and CAT ports, optionally the in-process simulator on the radio
// port, and scripted operator input at given virtual times.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "core/Panel.h"
#include "sim/VirtualTransceiver.h"
#include "support/RecordingHost.h"

namespace zr::test {

class FakePortProbe : public PortProbe {
 public:
  bool exists(int n) override {
    ++probes;
    return present.count(n) > 0;
  }
  std::set<int> present{1, 2};
  int probes = 0;
};

class EngineHarness {
 public:
  // `timeOfDay`: the clock's time of day at virtual time 0.
  explicit EngineHarness(double timeOfDay = 12 * 3600.0);

  // Opens the radio port the way startup would (port 1, 9600,N,8,1); the
  // wire log starts after the opening "U".
  void openRadioPort(const std::string& settings = "9600,N,8,1");
  // The simulated transceiver on the radio port.
  sim::VirtualTransceiver& attachSimulator(int firmware);
  sim::VirtualTransceiver& simulator() { return *sim_; }
  // The simulator of `firmware` on the opened radio port, its type known to
  // the panel as startup would have detected it.
  sim::VirtualTransceiver& connect(int firmware);
  // The full status query as the program makes it, decoded and shown; the
  // wire log is cleared afterwards. False when the report was incomplete.
  bool queryReport();

  // Runs the whole program (startup, service loop) until its main window is
  // closed at virtual time `end`.
  void runUntilClosed(double end);

  // Queue operator input for virtual time `at` (seconds from the start).
  void inputAt(double at, InputEvent event);
  void clickAt(double at, const std::string& control, int index = -1, const std::string& window = "frmZR3817");
  // The operator closes the main window at `at`.
  void closeAt(double at);
  // The whole program (startup, service loop) until the main window is
  // closed at `end`.
  void runUntilClosedAt(double end);

  // Bytes the peer delivers to the radio port at virtual time `at`.
  void replyAt(double at, const std::string& bytes);

  // What the program wrote to the radio port, concatenated.
  std::string written() const { return radio.written(); }
  // Writes to the radio port with their virtual times.
  std::vector<WireEntry> writes() const;

  double now() const { return clock.elapsed(); }

  // The key commands ("K", "U") the simulator received from `from` on, in
  // order, and when the last "U" came (-1: none).
  struct Keys {
    std::string keys;
    double lastUnkey = -1;
  };
  Keys keysFrom(double from);

  // Clicks `menu` and, half a second later, `dialog`'s Cancel: true when the
  // dialog was up then with the main window disabled, and both were back
  // as before once it closed.
  bool opensModallyAndCloses(const std::string& menu, const WindowModel& dialog);

  FakeClock clock;
  RecordingHost host;
  FakeSerialPort radio{clock};
  FakeSerialPort cat{clock};
  FakePortProbe probe;
  Panel panel{clock, host, radio, cat, probe};

 private:
  std::unique_ptr<sim::VirtualTransceiver> sim_;
};

}  // namespace zr::test
