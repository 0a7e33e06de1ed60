#include "lists/ScanBands.h"

#include <array>

#include "core/Panel.h"
#include "core/StatusDisplay.h"
#include "lists/PumpingWait.h"
#include "lists/ScanFrequency.h"
#include "setup/ModalDialog.h"

namespace zr {

namespace {
constexpr std::array<int, 5> kSteps = {1, 5, 10, 50, 100};  // 10 Hz units
constexpr std::array<double, 2> kDwells = {0.5, 1.5};
}  // namespace

ScanBands::ScanBands(Panel& panel) : p_(panel), radio_(panel) {
  p_.engine.addWindow(model_);
  registerHandlers();
}

void ScanBands::registerHandlers() {
  Engine& e = p_.engine;
  const std::string w = model_.name();
  auto click = [&](const char* control, std::function<void(const InputEvent&)> f) {
    e.on(w, control, EventKind::Click, std::move(f));
  };
  click("cmdScanUp", [this](const InputEvent&) { cmdScanUp_Click(); });
  click("cmdStop", [this](const InputEvent&) { cmdStop_Click(); });
  click("cmdPauseCont", [this](const InputEvent&) { cmdPauseCont_Click(); });
  click("Option1", [this](const InputEvent& ev) { Option1_Click(ev.index); });
  click("Option2", [this](const InputEvent& ev) { Option2_Click(ev.index); });
  const std::array<std::array<const char*, 3>, 9> bands = {{{"cmd160M", "1.800", "2.000"},
                                                            {"cmd75M", "3.500", "4.000"},
                                                            {"cmd40M", "7.000", "7.300"},
                                                            {"cmd30M", "10.100", "10.150"},
                                                            {"cmd20M", "14.00", "14.350"},
                                                            {"cmd17M", "18.068", "18.168"},
                                                            {"cmd15M", "21.000", "21.450"},
                                                            {"cmd12M", "24.890", "24.990"},
                                                            {"cmd10M", "28.000", "29.700"}}};
  for (const auto& [button, low, high] : bands)
    click(button, [this, low = low, high = high](const InputEvent&) { band_Click(low, high); });
  e.on(w, "", EventKind::Close, [this](const InputEvent&) { Form_QueryUnload(); });
}

void ScanBands::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void ScanBands::Form_Load() {
  // Each opening starts from the design values, as a freshly loaded window,
  // and opens beside the main window's band frame.
  model_ = ScanBandsWindowModel{};
  stopScan_ = closing_ = paused_ = false;
  scanStep_ = 10;
  scanDwell_ = kFirstDwell;
  MainWindowModel& frm = p_.frm;
  lblInfoWasVisible_ = frm.lblInfo.visible;
  frm.lblInfo.visible = false;
  infoWasVisible_ = frm.txtInfo.visible;
  frm.txtInfo.visible = true;
  p_.display().gShowBandState(false);
}

void ScanBands::cmdScanUp_Click() {
  stopScan_ = false;
  closing_ = false;
  // However the scan ends (Stop, a bad limit, closing, local control, an
  // error, the program ending), Scan comes back and a closed window stays
  // closed.
  OnScopeExit end([this] {
    model_.cmdScanUp.enabled = true;
    if (closing_) hideScanBands();
  });
  while (scanRange()) {
  }
}

bool ScanBands::scanRange() {
  model_.cmdScanUp.enabled = false;
  model_.txtScanLow.foreColor = colours::Black;
  model_.txtScanHi.foreColor = colours::Black;
  if (controlIsLocal()) return false;
  if (model_.txtScanLow.text.empty()) return false;
  const long low = mhzToDigits(model_.txtScanLow.text);
  const long high = mhzToDigits(model_.txtScanHi.text);
  if (!limitInRange(model_.txtScanLow, low) || !limitInRange(model_.txtScanHi, high)) return false;

  const auto stop = [this] { return stopped(); };
  long current = low;
  for (;;) {
    p_.engine.pump();
    if (stopped() || controlIsLocal()) return false;
    if (paused_ && !whilePaused()) return false;
    if (current > high) {
      p_.engine.beep();
      return pumpFor(p_.engine, p_.clock, kWrapPause, stop);
    }
    const std::string command = frequencyCommand(current);
    current += scanStep_;
    const auto outcome =
        radio_.setFrequency(command, stop, [this, &command] { model_.txtFreq.text = command + "0"; });
    if (outcome == ScanRadio::Outcome::Stopped) return false;
    if (p_.st.gFreqCmd == command) p_.display().gShowFreq();
    if (!pumpFor(p_.engine, p_.clock, scanDwell_, stop)) return false;
  }
}

bool ScanBands::whilePaused() {
  while (paused_) {
    if (!pumpFor(p_.engine, p_.clock, kPausePass, [this] { return closing_; })) return false;
    radio_.keepAlive();
    if (closing_ || controlIsLocal()) return false;
  }
  return true;
}

bool ScanBands::controlIsLocal() {
  TransceiverState& st = p_.st;
  // The service loop that would show a control change is held up behind
  // this window, so the scan shows it itself.
  if (st.gRemoteChanged) {
    p_.display().gShowRemote();
    st.gRemoteChanged = false;
  }
  if (p_.frm.lblREMOTE.caption != "LOCAL") return false;
  // Hiding the window alone would leave the scan running behind it and the
  // main window disabled: the scan ends and the window closes.
  closing_ = true;
  return true;
}

bool ScanBands::limitInRange(Control& box, long value) {
  if (value >= kScanLowest && value <= kScanHighest) return true;
  box.foreColor = colours::Red;
  box.text = "Error";
  return false;
}

void ScanBands::cmdPauseCont_Click() {
  paused_ = !paused_;
  model_.cmdPauseCont.caption = paused_ ? "Con't" : "Pause";
  model_.cmdStop.enabled = !paused_;
}

void ScanBands::Option1_Click(int index) {
  if (index >= 0 && index < static_cast<int>(kSteps.size())) scanStep_ = kSteps[static_cast<std::size_t>(index)];
}

void ScanBands::Option2_Click(int index) {
  if (index >= 0 && index < static_cast<int>(kDwells.size())) scanDwell_ = kDwells[static_cast<std::size_t>(index)];
}

void ScanBands::band_Click(const char* low, const char* high) {
  model_.txtScanLow.text = low;
  model_.txtScanHi.text = high;
  model_.txtScanLow.foreColor = colours::Black;
  model_.txtScanHi.foreColor = colours::Black;
}

void ScanBands::Form_QueryUnload() {
  cmdStop_Click();
  closing_ = true;
  hideScanBands();
}

void ScanBands::hideScanBands() {
  model_.window.visible = false;
  p_.frm.txtInfo.visible = infoWasVisible_;
  p_.frm.lblInfo.visible = lblInfoWasVisible_;
}

}  // namespace zr
