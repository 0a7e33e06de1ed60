#include "lists/ScanFreqs.h"

#include <algorithm>
#include <cmath>

#include "core/CommandComposer.h"
#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"
#include "core/TextFile.h"
#include "lists/PumpingWait.h"
#include "lists/ScanFreqsFile.h"
#include "lists/ScanFrequency.h"
#include "setup/ModalDialog.h"

namespace zr {

ScanFreqs::ScanFreqs(Panel& panel) : p_(panel), radio_(panel) {
  p_.engine.addWindow(model_);
  registerHandlers();
}

void ScanFreqs::registerHandlers() {
  Engine& e = p_.engine;
  const std::string w = model_.name();
  e.on(w, "cmdScan", EventKind::Click, [this](const InputEvent&) { cmdScan_Click(); });
  e.on(w, "cmdStop", EventKind::Click, [this](const InputEvent&) { cmdStop_Click(); });
  e.on(w, "cmdWriteFile", EventKind::Click, [this](const InputEvent&) { cmdWriteFile_Click(); });
  e.on(w, "txtDelay", EventKind::Change, [this](const InputEvent& ev) { txtDelay_Change(ev.text.value_or("")); });
  e.on(w, "", EventKind::Close, [this](const InputEvent&) { Form_QueryUnload(); });
}

void ScanFreqs::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void ScanFreqs::Form_Load() {
  // Each opening starts from the design values: every row unticked, the
  // window beside the main window's band frame.
  model_ = ScanFreqsWindowModel{};
  scanDelay_ = 3;
  stopScan_ = false;
  typedDelay_.reset();
  if (!p_.display().fileExists(kScanFreqsFile)) return;
  try {
    const ScanList list = parseScanList(readTextFile(kScanFreqsFile));
    for (std::size_t i = 0; i < kScanRows; ++i) {
      model_.txtFreq[i].text = list.rows[i].freq;
      model_.txtMode[i].text = list.rows[i].mode;
      model_.txtInfo[i].text = list.rows[i].note;
    }
    // A file that ends before its dwell line keeps the dwell shown.
    if (list.dwell) {
      scanDelay_ = dwellSeconds(*list.dwell);
      model_.txtDelay.text = std::to_string(scanDelay_);
    }
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kScanFreqsFile, e));
  }
}

void ScanFreqs::cmdScan_Click() {
  stopScan_ = false;
  scanning_ = true;
  model_.cmdScan.visible = false;
  model_.cmdStop.visible = true;
  model_.lblError.visible = false;
  for (Control& c : model_.Check1) c.backColor = ScanFreqsWindowModel::kRowIdle;
  // However the scan ends (Stop, a row, closing, an error, the program
  // ending), the buttons and the dwell box come back.
  OnScopeExit end([this] { endScan(); });
  for (;;) {
    radio_.keepAlive();
    if (stopScan_) return;
    const int dwell = takeDwell();
    if (!anyTicked()) return;
    for (std::size_t row = 0; row < kScanRows; ++row) {
      if (stopScan_) return;
      if (!model_.Check1[row].selected()) continue;
      if (!scanRow(row, dwell)) return;
    }
  }
}

int ScanFreqs::takeDwell() {
  const std::string text = typedDelay_.value_or(model_.txtDelay.text);
  typedDelay_.reset();
  scanDelay_ = dwellSeconds(text);
  model_.txtDelay.text = std::to_string(scanDelay_);
  return scanDelay_;
}

bool ScanFreqs::anyTicked() const {
  return std::any_of(model_.Check1.begin(), model_.Check1.end(), [](const Control& c) { return c.selected(); });
}

bool ScanFreqs::scanRow(std::size_t row, int dwell) {
  TransceiverState& st = p_.st;
  visiting_ = static_cast<int>(row);
  model_.Check1[row].backColor = colours::Red;
  const std::string& freq = model_.txtFreq[row].text;
  if (freq.empty()) return false;
  const auto command = rowFrequencyCommand(freq);
  if (!command) {
    model_.lblError.visible = true;
    rowFailed_ = true;
    return false;
  }
  std::string mode = modeCodeFor(model_.txtMode[row].text);
  if (mode.empty()) mode = st.gMode.str();
  p_.frm.lblInfo.caption = model_.txtInfo[row].text;
  if (mode != st.gMode.str()) p_.cmds().gSetMode(mode);

  const auto outcome = radio_.setFrequency(*command, [this] { return stopScan_; });
  if (outcome == ScanRadio::Outcome::Stopped) return false;
  if (st.gFreqCmd == *command) p_.display().gShowFreq();
  if (!dwellOn(dwell)) return false;
  model_.txtDelay.text = dwellText();
  model_.Check1[row].backColor = ScanFreqsWindowModel::kRowIdle;
  visiting_ = -1;
  return true;
}

bool ScanFreqs::dwellOn(int seconds) {
  const double start = p_.clock.now();
  for (;;) {
    const double elapsed = secondsSince(start, p_.clock.now());
    if (elapsed >= seconds) return true;
    model_.txtDelay.text = std::to_string(static_cast<int>(elapsed));
    // A pass ends at the next whole second, when the sync is due, or with the dwell.
    const double pass = std::min({seconds - elapsed, std::floor(elapsed) + 1 - elapsed, radio_.untilSyncDue()});
    if (!pumpFor(p_.engine, p_.clock, pass, [this] { return stopScan_; })) return false;
    radio_.keepAlive();
  }
}

std::string ScanFreqs::dwellText() const { return typedDelay_.value_or(std::to_string(scanDelay_)); }

void ScanFreqs::endScan() {
  scanning_ = false;
  model_.cmdScan.visible = true;
  model_.cmdStop.visible = false;
  model_.txtDelay.text = dwellText();
  // The row that failed stays marked; one left by Stop or closing does not.
  if (visiting_ >= 0 && !rowFailed_)
    model_.Check1[static_cast<std::size_t>(visiting_)].backColor = ScanFreqsWindowModel::kRowIdle;
  visiting_ = -1;
  rowFailed_ = false;
}

void ScanFreqs::cmdStop_Click() {
  model_.txtDelay.text = dwellText();
  stopScan_ = true;
}

void ScanFreqs::txtDelay_Change(const std::string& text) {
  // The box counts the dwell while a scan runs; what the operator types
  // there is kept for the next cycle instead of being counted over.
  if (scanning_) typedDelay_ = text;
}

void ScanFreqs::cmdWriteFile_Click() {
  std::array<ListRow, kScanRows> rows;
  for (std::size_t i = 0; i < kScanRows; ++i)
    rows[i] = {model_.txtFreq[i].text, model_.txtMode[i].text, model_.txtInfo[i].text};
  // During a scan the box shows the seconds counted, not the dwell.
  const std::string dwell = scanning_ ? dwellText() : model_.txtDelay.text;
  try {
    replaceFile(kScanFreqsFile, formatScanList(rows, dwell));
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kScanFreqsFile, e));
  }
}

void ScanFreqs::Form_QueryUnload() {
  cmdStop_Click();
  model_.window.visible = false;
}

}  // namespace zr
