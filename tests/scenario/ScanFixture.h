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

  // An interruption timed from the program's own traffic: `event` reaches
  // the program `offset` s after its first write of `command` (looked for
  // every 2 ms from `from` for 10 s); from then on `done` is looked at every
  // millisecond for half a second. Read it after the run.
  struct Interruption {
    double at = -1;       // when the event arrived
    double takenAt = -1;  // when `done` first held
  };
  std::shared_ptr<Interruption> interruptAfter(const std::string& command, double from, double offset,
                                               InputEvent event, std::function<bool()> done) {
    auto r = std::make_shared<Interruption>();
    for (double t = from; t < from + 10; t += 0.002)
      at(t, [this, r, command, from, offset, event, done] {
        if (r->at >= 0) return;
        for (const auto& w : h.radio.wireLog()) {
          if (!w.toRadio || w.time < from || w.bytes.rfind(command, 0) != 0) continue;
          r->at = std::max(w.time + offset, h.now());
          h.inputAt(r->at, event);
          for (double u = r->at; u < r->at + 0.5; u += 0.001)
            at(u, [r, done, u] {
              if (r->takenAt < 0 && done()) r->takenAt = u;
            });
          return;
        }
      });
    return r;
  }
  // Frequency commands and status queries the program wrote after `from`.
  std::vector<std::string> frequencyTrafficAfter(double from) {
    std::vector<std::string> out;
    for (const auto& w : h.writes())
      if (w.time > from && (w.bytes.front() == 'F' || w.bytes.front() == '?')) out.push_back(w.bytes);
    return out;
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
