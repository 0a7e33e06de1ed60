#include "support/EngineHarness.h"

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"

namespace zr::test {

EngineHarness::EngineHarness(double timeOfDay) : clock(timeOfDay) {
  // Code waiting for something that never comes fails the test instead of
  // hanging it.
  clock.setLimit(3600);
}

void EngineHarness::openRadioPort(const std::string& settings) {
  panel.settings.gRadioPort = "1";
  panel.settings.gRadioSettings = settings;
  panel.settings.gRadioHandshake = "comNone";
  panel.form.radioPortOpen = panel.link().SetUpRadioPort();
  // The unkey every open starts with has tests of its own.
  radio.clearLog();
}

sim::VirtualTransceiver& EngineHarness::attachSimulator(int firmware) {
  sim_ = std::make_unique<sim::VirtualTransceiver>(radio, clock, firmware);
  return *sim_;
}

sim::VirtualTransceiver& EngineHarness::connect(int firmware) {
  attachSimulator(firmware);
  openRadioPort();
  panel.st.gFwType = firmware;
  return *sim_;
}

bool EngineHarness::queryReport() {
  panel.link().gSendCommand("?", true, 0.6);
  panel.link().gReadResponse();
  // Showing it may talk to the transceiver (the band check), which replaces
  // the last reply: take its completeness first.
  const bool complete = panel.st.gResponseComplete;
  panel.display().gUpdateDisplay();
  radio.clearLog();
  return complete;
}

void EngineHarness::runUntilClosed(double end) {
  InputEvent close;
  close.window = panel.frm.name();
  close.kind = EventKind::Close;
  inputAt(end, close);
  panel.run();
}

void EngineHarness::inputAt(double at, InputEvent event) {
  clock.scheduleAt(at, [this, event = std::move(event)]() mutable { panel.engine.post(std::move(event)); });
}

void EngineHarness::clickAt(double at, const std::string& control, int index, const std::string& window) {
  InputEvent e;
  e.window = window;
  e.control = control;
  e.index = index;
  e.kind = EventKind::Click;
  inputAt(at, std::move(e));
}

void EngineHarness::closeAt(double at) {
  InputEvent close;
  close.window = panel.frm.name();
  close.kind = EventKind::Close;
  inputAt(at, std::move(close));
}

void EngineHarness::runUntilClosedAt(double end) {
  closeAt(end);
  panel.run();
}

void EngineHarness::replyAt(double at, const std::string& bytes) {
  clock.scheduleAt(at, [this, bytes] { radio.deliver(bytes); });
}

std::vector<WireEntry> EngineHarness::writes() const {
  std::vector<WireEntry> out;
  for (const auto& e : radio.wireLog())
    if (e.toRadio) out.push_back(e);
  return out;
}

EngineHarness::Keys EngineHarness::keysFrom(double from) {
  Keys k;
  for (const auto& c : simulator().commands()) {
    if (c.time < from || (c.text != "K" && c.text != "U")) continue;
    k.keys += c.text;
    if (c.text == "U") k.lastUnkey = c.time;
  }
  return k;
}

bool EngineHarness::opensModallyAndCloses(const std::string& menu, const WindowModel& dialog) {
  const double start = now();
  clickAt(start + 0.1, menu);
  bool shownModally = false;
  clock.scheduleAt(start + 0.5, [&] {
    shownModally = dialog.window.visible && !panel.frm.window.enabled;
    InputEvent close;
    close.window = dialog.name();
    close.control = "cmdCancel";
    panel.engine.post(close);
  });
  while (now() < start + 1.0) panel.engine.pump(0.02);
  return shownModally && !dialog.window.visible && panel.frm.window.enabled;
}

}  // namespace zr::test
