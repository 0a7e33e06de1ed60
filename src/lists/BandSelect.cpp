#include "lists/BandSelect.h"

#include <filesystem>

#include "core/CommandComposer.h"
#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "core/TextFile.h"
#include "lists/PumpingWait.h"
#include "panel/Channels.h"
#include "setup/ModalDialog.h"

namespace zr {

namespace {
constexpr int kGetFreqRow = BandSelectWindowModel::kRows - 1;
}  // namespace

BandSelect::BandSelect(Panel& panel) : p_(panel) {
  Engine& e = p_.engine;
  e.addWindow(m_);
  const std::string w = m_.name();
  auto click = [&](const char* control, void (BandSelect::*handler)()) {
    e.on(w, control, EventKind::Click, [this, handler](const InputEvent&) { (this->*handler)(); });
  };
  e.on(w, "Option1", EventKind::Click, [this](const InputEvent& ev) { Option1_Click(ev.index); });
  click("cmdGetFreq", &BandSelect::cmdGetFreq_Click);
  click("cmdSort", &BandSelect::cmdSort_Click);
  click("cmdWriteFile", &BandSelect::cmdWriteFile_Click);
  click("cmdExit", &BandSelect::cmdExit_Click);
  e.on(w, "SyncTimer", EventKind::Timer, [this](const InputEvent&) { SyncTimer_Timer(); });
  e.on(w, "", EventKind::Close, [this](const InputEvent&) { Form_Unload(); });
}

void BandSelect::showModal(const std::string& bandKey) {
  // The timer stops and the main window comes back on every way out,
  // program end included.
  OnScopeExit unload([this] { Form_Unload(); });
  showDialog(p_, m_, [&] { Form_Load(bandKey); });
}

void BandSelect::Form_Load(const std::string& bandKey) {
  // Each opening starts from the window as designed and re-reads the file.
  m_ = BandSelectWindowModel{};
  m_.fraBand.caption = bandCaption(bandKey);
  listFile_ = bandListFile(bandKey);
  if (!listFile_.empty() && p_.display().fileExists(listFile_)) {
    std::error_code ec;
    m_.window.caption = std::filesystem::current_path(ec).string() + "/" + listFile_;
    readList();
  }
  cmdGetFreq_Click();
  m_.SyncTimer.interval = kTimerInterval;
  m_.SyncTimer.enabled = true;
}

void BandSelect::readList() {
  try {
    m_.setRows(parseBandList(readTextFile(listFile_)));
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(listFile_, e));
  }
}

void BandSelect::cmdGetFreq_Click() {
  // Before the transceiver has reported a frequency there is nothing to copy.
  const std::string freq = bandFrequencyText(p_.st.gFreqCmd);
  if (freq.empty()) return;
  m_.txtFreq[kGetFreqRow].text = freq;
  const std::string mode = bandModeName(p_.st.gMode);
  if (!mode.empty()) m_.txtMode[kGetFreqRow].text = mode;
}

void BandSelect::Option1_Click(int index) {
  if (index < 0 || index >= BandSelectWindowModel::kRows) return;
  const auto i = static_cast<std::size_t>(index);
  // The timer's reads must not interleave with the row's commands.
  const bool timerRunning = m_.SyncTimer.enabled;
  m_.SyncTimer.enabled = false;
  OnScopeExit restore([&] { m_.SyncTimer.enabled = timerRunning; });

  if (m_.txtFreq[i].text.empty()) return;
  m_.txtFreq[i].foreColor = colours::WindowText;
  m_.lblError.visible = false;
  setButtonsEnabled(true);
  const std::string digits = bandFrequencyDigits(m_.txtFreq[i].text);
  if (!bandFrequencyInRange(digits)) {
    showFrequencyError(index);
    return;
  }
  // The VFO A digits are locked while the transmitter is keyed; a row does
  // not get round that lock.
  if (p_.st.gKeyCmd == "K" || p_.st.gTransmitting || p_.link().keyed()) {
    m_.Option1[i].value = 0;
    p_.engine.beep();
    return;
  }
  tuneRow(index, digits);
}

void BandSelect::tuneRow(int index, const std::string& digits) {
  const auto i = static_cast<std::size_t>(index);
  TransceiverState& st = p_.st;
  // An unknown mode name keeps the transceiver's mode: nothing is sent for it.
  const std::string mode = bandModeCode(m_.txtMode[i].text);
  p_.cmds().gSetFreq(digits);
  if (!mode.empty() && mode != st.gMode.str()) p_.cmds().gSetMode(mode);
  readWaitingReply();
  p_.display().gUpdateDisplay();
  p_.channels().endChannelsByRetune();
  p_.frm.lblInfo.caption = m_.txtInfo[i].text;
}

void BandSelect::showFrequencyError(int index) {
  const auto i = static_cast<std::size_t>(index);
  m_.Option1[i].value = 0;
  m_.txtFreq[i].foreColor = colours::Red;
  m_.lblError.foreColor = colours::Red;
  m_.lblError.visible = true;
  setButtonsEnabled(false);
}

void BandSelect::setButtonsEnabled(bool enabled) {
  for (Control* c : {&m_.cmdGetFreq, &m_.cmdSort, &m_.cmdWriteFile}) c->enabled = enabled;
}

void BandSelect::cmdSort_Click() { m_.setRows(sortBandRows(m_.rows())); }

void BandSelect::cmdWriteFile_Click() {
  if (listFile_.empty()) return;
  // Replaced as a whole: a failed write leaves the old list as it was.
  try {
    replaceFile(listFile_, formatBandList(m_.rows()));
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(listFile_, e));
  }
}

void BandSelect::SyncTimer_Timer() {
  if (++ticks_ * m_.SyncTimer.interval > kSyncAfterMs) {
    ticks_ = 0;
    p_.sync().gSendSync(p_.st.gKeyCmd);
  }
  readWaitingReply();
  p_.display().gUpdateDisplay();
}

void BandSelect::readWaitingReply() {
  SerialPort& port = p_.MSComm1;
  if (port.isOpen() && port.inBufferCount() > 0) p_.link().gReadResponse();
}

void BandSelect::Form_Unload() {
  m_.SyncTimer.enabled = false;
  p_.frm.window.enabled = true;
  m_.window.visible = false;
}

}  // namespace zr
