#pragma once
// The band list window driven in virtual time: the simulated transceiver on
// the radio port, a scratch working folder for the list files, and operator
// input scripted relative to the moment the window opens.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "lists/BandSelect.h"
#include "panel/Channels.h"
#include "support/EngineHarness.h"
#include "support/ListRowPrinter.h"
#include "support/TempWorkDir.h"

namespace zr::test {

class BandSelectHarness {
 public:
  // The transceiver at `freq` (10 Hz units) in mode M`mode`, reported and shown.
  bool connect(int firmware = 2, int freq = 1425000, int mode = 1) {
    h.connect(firmware);
    h.simulator().model().state().frequency = freq;
    h.simulator().model().state().mode = mode;
    return h.queryReport();
  }

  // Input for the band window `at` seconds after it opens.
  void clickAt(double at, const std::string& control, int index = -1) { inputAt(at, control, index, EventKind::Click); }
  void typeAt(double at, const std::string& control, int index, const std::string& text) {
    inputAt(at, control, index, EventKind::Change, text);
  }
  // `check` runs `at` seconds after the window opens, while it is open.
  void duringAt(double at, std::function<void()> check) { script_.push_back({at, std::move(check)}); }

  // Opens the band of `bandKey` from its button, closes it with Exit after
  // `exitAt` seconds and returns when it has closed.
  void open(const std::string& bandKey, double exitAt) {
    clickAt(exitAt, "cmdExit");
    run(bandKey);
  }
  // Opens the band; whatever was scripted must close it.
  void run(const std::string& bandKey) {
    const double start = h.now();
    for (auto& [at, f] : script_) h.clock.scheduleAt(start + at, std::move(f));
    script_.clear();
    for (std::size_t i = 0; i < Channels::kBandKeys.size(); ++i)
      if (bandKey == Channels::kBandKeys[i]) h.panel.channels().bandCmd(static_cast<int>(i));
  }

  BandSelectWindowModel& m() { return h.panel.channels().bandSelect().model(); }
  MainWindowModel& frm() { return h.panel.frm; }
  std::string vfoA() const {
    std::string s;
    for (const auto& d : h.panel.frm.cmdF) s += d.caption;
    return s;
  }

  TempWorkDir dir;
  EngineHarness h;

 private:
  void inputAt(double at, const std::string& control, int index, EventKind kind, std::string text = {}) {
    InputEvent e;
    e.window = BandSelectWindowModel::kName;
    e.control = control;
    e.index = index;
    e.kind = kind;
    if (kind == EventKind::Change) e.text = std::move(text);
    duringAt(at, [this, e] { h.panel.engine.post(e); });
  }

  std::vector<std::pair<double, std::function<void()>>> script_;
};

}  // namespace zr::test
