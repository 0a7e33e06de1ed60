#include "panel/Channels.h"

#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "lists/BandSelect.h"

namespace zr {

namespace {
constexpr double kChannelDelay = 0.1;
constexpr double kFreqDelay = 0.2;

bool validMode(const std::string& mode) { return mode.size() == 2 && mode[0] == 'M' && mode[1] >= '1' && mode[1] <= '4'; }

// Clears a request flag however its worker ends.
class ClearOnExit {
 public:
  explicit ClearOnExit(bool& flag) : flag_(flag) {}
  ~ClearOnExit() { flag_ = false; }
  ClearOnExit(const ClearOnExit&) = delete;
  ClearOnExit& operator=(const ClearOnExit&) = delete;

 private:
  bool& flag_;
};
}  // namespace

Channels::Channels(Panel& panel) : p_(panel), bandSelect_(std::make_unique<BandSelect>(panel)) {
  Engine& e = p_.engine;
  const std::string frm = p_.frm.name();
  e.on(frm, "optChan", EventKind::Click, [this](const InputEvent& ev) { optChan_Click(ev.index); });
  auto raise = [&](const char* control, bool& flag) {
    e.on(frm, control, EventKind::Click, [&flag](const InputEvent&) { flag = true; });
  };
  for (std::size_t i = 0; i < kBandButtons.size(); ++i) raise(kBandButtons[i], bandPending[i]);
  raise("cmdM2V", m2vPending);
  raise("cmdV2M", v2mPending);
}

Channels::~Channels() = default;

std::string Channels::channelDigits() const {
  std::string digits;
  for (const Control& d : p_.frm.cmdM) digits += d.caption;
  // The digits only ever step within 00..99; anything else reads as 00.
  return allDigits(digits, 2) ? digits : "00";
}

void Channels::optChan_Click(int index) {
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  if (index == 0) {
    p_.form.txActive = true;
    if (!onChannels_) {
      savedVfoDigits.clear();
      for (const Control& d : frm.cmdF) savedVfoDigits += d.caption;
      savedMode = st.gMode.str();
      onChannels_ = true;
    }
    const std::string command = "C" + channelDigits();
    if (command != st.gChannel.str()) p_.link().gSendCommand(command, true, kChannelDelay);
  } else if (index == 1) {
    if (onChannels_ && allDigits(savedVfoDigits, 7)) {
      for (std::size_t i = 0; i < frm.cmdF.size(); ++i) frm.cmdF[i].caption = std::string(1, savedVfoDigits[i]);
      // A mode never reported would send a command of blanks.
      if (validMode(savedMode)) p_.cmds().gSetMode(savedMode);
      p_.link().gSendCommand("F" + savedVfoDigits, true, kFreqDelay);
    }
    onChannels_ = false;
    p_.form.txActive = false;
  }
}

void Channels::m2vCmd() {
  ClearOnExit clear(m2vPending);
  const std::string chan = channelDigits();
  p_.link().gSendCommand("C" + chan, true, kChannelDelay);
  p_.frm.lblInfo.caption = "Channel " + chan;
}

void Channels::v2mCmd() {
  ClearOnExit clear(v2mPending);
  const TransceiverState& st = p_.st;
  const std::string freq = st.gFreqCmd.str().substr(1);
  // Never fill a channel with a frequency or mode the transceiver has not
  // reported: the store would hold blanks.
  if (st.gFreqCmd.at(0) != 'F' || !allDigits(freq, 7) || !validMode(st.gMode)) {
    p_.engine.beep();
    return;
  }
  p_.link().gSendCommand("P" + channelDigits() + freq + st.gMode.at(1), true, kChannelDelay);
}

void Channels::bandCmd(int band) {
  if (band < 0 || band >= static_cast<int>(bandPending.size())) return;
  const auto i = static_cast<std::size_t>(band);
  ClearOnExit clear(bandPending[i]);
  p_.frm.window.enabled = false;
  gBandName = kBandKeys[i];
  bandSelect_->showModal(gBandName);
}

void Channels::endChannelsByRetune() {
  if (!onChannels_) return;
  onChannels_ = false;
  p_.form.txActive = false;
}

}  // namespace zr
