#pragma once
// The whole program in virtual time with the simulated transceiver, for the
// scanners: scripted clicks and typing at given times, and what the
// transceiver received, with its times.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {

class ScanFixture : public ::testing::Test {
 protected:
  // Startup has heard the transceiver and enabled the scan menu well before.
  static constexpr double kOpenAt = 10;

  ScanFixture() {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    h.attachSimulator(2);
  }

  void click(double at, const std::string& window, const std::string& control, int index = -1) {
    InputEvent e;
    e.window = window;
    e.control = control;
    e.index = index;
    h.inputAt(at, e);
  }
  void tick(double at, const std::string& window, const std::string& control, int index, bool on = true) {
    InputEvent e;
    e.window = window;
    e.control = control;
    e.index = index;
    e.value = on ? 1 : 0;
    h.inputAt(at, e);
  }
  void type(double at, const std::string& window, const std::string& control, const std::string& text,
            int index = -1) {
    InputEvent e;
    e.window = window;
    e.control = control;
    e.index = index;
    e.kind = EventKind::Change;
    e.text = text;
    h.inputAt(at, e);
  }
  void closeAt(double at, const std::string& window) {
    InputEvent e;
    e.window = window;
    e.kind = EventKind::Close;
    h.inputAt(at, e);
  }
  void at(double t, std::function<void()> f) { h.clock.scheduleAt(t, std::move(f)); }
  // The first time, looked at every 10 ms from `from` to `to`, that `ready`
  // holds; -1 until then. Read it after the run.
  std::shared_ptr<double> firstTime(double from, double to, std::function<bool()> ready) {
    auto found = std::make_shared<double>(-1);
    for (double t = from; t < to; t += 0.01)
      at(t, [found, ready, t] {
        if (*found < 0 && ready()) *found = t;
      });
    return found;
  }

  // Runs the program; it ends at `end` however far it got, as a forced stop
  // does (which still unkeys and sends "G00").
  void runUntil(double end) {
    at(end, [this] { h.panel.engine.requestQuit(); });
    h.panel.run();
  }

  struct Sent {
    double time;
    std::string text;
  };
  // Commands the transceiver received from `from` on, optionally only those
  // starting with `prefix`.
  std::vector<Sent> sent(double from = 0, const std::string& prefix = {}) {
    std::vector<Sent> out;
    for (const auto& c : h.simulator().commands())
      if (c.time >= from && c.text.rfind(prefix, 0) == 0) out.push_back({c.time, c.text});
    return out;
  }
  static std::vector<std::string> texts(const std::vector<Sent>& s) {
    std::vector<std::string> out;
    for (const auto& x : s) out.push_back(x.text);
    return out;
  }

  sim::TransceiverState& radio() { return h.simulator().model().state(); }
  MainWindowModel& frm() { return h.panel.frm; }

  TempWorkDir dir;
  EngineHarness h;
};

}  // namespace zr::test
