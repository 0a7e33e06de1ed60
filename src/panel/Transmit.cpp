#include "panel/Transmit.h"

#include <algorithm>
#include <utility>

#include "core/CommandComposer.h"
#include "core/MainLoop.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"

namespace zr {

namespace {

const char* const kXmitOn = "&XMT ON";
const char* const kXmitOff = "&XMT OFF";
const char* const kTuneOn = "T&UNE ON";
const char* const kTuneOff = "T&UNE OFF";
const char* const kModesDiffer = "Modes must be same for Split";
// Lets the transceiver unkey before it is retuned, and settle on VFO B
// before the key arrives.
constexpr double kRetunePause = 0.4;
constexpr double kSplitKeySettle = 0.5;
constexpr double kRestoreDelay = 0.5;
constexpr double kMaxPumpBlock = 0.02;

// `text` is `letter` followed by one digit from `low` to `high`.
bool isCode(const std::string& text, char letter, char low, char high) {
  return text.size() == 2 && text[0] == letter && text[1] >= low && text[1] <= high;
}

template <std::size_t N>
std::string digitsOf(const std::array<Control, N>& row) {
  std::string out;
  for (const Control& c : row) out += c.caption;
  return out;
}

}  // namespace

Transmit::Transmit(Panel& panel) : p_(panel), timeout_(panel) {
  Engine& e = p_.engine;
  const std::string& w = p_.frm.name();
  e.on(w, "cmdXmit", EventKind::Click, [this](const InputEvent&) { xmitPending = true; });
  e.on(w, "cmdTune", EventKind::Click, [this](const InputEvent&) { tunePending = true; });
  e.on(w, "cmdPTT", EventKind::MouseDown,
       [this](const InputEvent& ev) { cmdPTT_MouseDown(ev.button, ev.shift, ev.x, ev.y); });
  e.on(w, "cmdPTT", EventKind::MouseUp,
       [this](const InputEvent& ev) { cmdPTT_MouseUp(ev.button, ev.shift, ev.x, ev.y); });
}

bool Transmit::splitOn() const { return p_.frm.lblSplit.caption == "Split On"; }

bool Transmit::modesDiffer() const { return p_.frm.cmbMode.text != p_.frm.cmbVFOBMode.text; }

bool Transmit::extActive() const { return !p_.form.extPttIdle && !extHeldOver_; }

bool Transmit::linkLost() const {
  const TransceiverState& st = p_.st;
  return st.gMissedSyncs > SyncPoller::kMaxMissed || st.gRadioBreak || !p_.MSComm1.isOpen();
}

void Transmit::pumpOnce() {
  const double untilSync = SyncPoller::kInterval + 0.001 - secondsSince(p_.st.gLastSyncTime, p_.clock.now());
  p_.engine.pump(std::clamp(untilSync, 0.0, kMaxPumpBlock));
  // A release on a button or window that has been disabled meanwhile never
  // arrives; the hold cannot outlive it.
  if (pttHeld && !(p_.frm.cmdPTT.enabled && p_.frm.window.enabled)) pttHeld = false;
  if (p_.form.extPttIdle) extHeldOver_ = false;
}

void Transmit::absorbUntilReleased() {
  for (;;) {
    pumpOnce();
    if ((!pttHeld && !extActive()) || linkLost()) return;
    p_.sync().pollTxState();
  }
}

void Transmit::showVfoBOnVfoA() {
  MainWindowModel& frm = p_.frm;
  for (std::size_t i = 0; i < frm.cmdF.size() && i < frm.cmdVFOB.size(); ++i) frm.cmdF[i].caption = frm.cmdVFOB[i].caption;
}

void Transmit::cmdPTT_MouseUp(int, int, int, int) { pttHeld = false; }

void Transmit::cmdPTT_MouseDown(int button, int, int, int) {
  pttHeld = button == 1;
  // The service loop presses for the line only after it saw it released.
  if (button == 0) extHeldOver_ = false;
  p_.engine.pump();
  if (!pttHeld && !extActive()) return;
  transmitWhileHeld();
}

bool Transmit::windingDown() const { return looping_ && p_.st.gKeyCmd != "K"; }

bool Transmit::clientMayKey() const {
  const MainWindowModel& frm = p_.frm;
  if (!frm.window.enabled || !frm.window.visible || !frm.cmdPTT.enabled || !frm.cmdPTT.visible) return false;
  if (p_.mainLoop().controlMode != "REMOTE" || p_.st.gScanning || linkLost()) return false;
  // A latched XMT or a tune carrier is the operator's transmission.
  if (xmitLatched || frm.cmdTune.caption == kTuneOff) return false;
  // Nor does a client start over a key it did not send (the amplifier's tune).
  if (p_.link().keyed()) return false;
  if (!splitOn()) return p_.display().gTxAllowed(p_.st.gFreqCmd);
  return !modesDiffer() && p_.display().gTxAllowed("F" + digitsOf(frm.cmdVFOB));
}

void Transmit::clientKeyDown(int client, const std::function<void(bool)>& answer) {
  if (clientHolders_.count(client) || looping_) {
    clientHolders_.insert(client);
    return answer(true);
  }
  if (!clientMayKey()) return answer(false);
  clientHolders_.insert(client);
  keyDownAnswer_ = answer;
  // Not keyed after all (the band or split checks refused it): the client
  // holds until it lets go, as the PTT button would, so it is told yes.
  auto answerIfNotYet = [this](bool keyed) {
    if (auto a = std::exchange(keyDownAnswer_, {})) a(keyed);
  };
  try {
    transmitWhileHeld();
  } catch (...) {
    clientHolders_.clear();
    answerIfNotYet(false);
    throw;
  }
  answerIfNotYet(true);
  clientHolders_.clear();
}

void Transmit::clientKeyUp(int client, const std::function<void()>& done) {
  if (!clientHolders_.erase(client) || anyoneHolds() || p_.st.gKeyCmd != "K") {
    if (done) done();
    return;
  }
  // Unkeyed here and now, even while the PTT loop is held up (a modal window
  // opened from inside it); the loop ends as usual when it resumes.
  p_.st.gKeyCmd = "U";
  p_.sync().gSendSync("U", done);
}

void Transmit::timeOut() {
  if (looping_) {
    pttHeld = false;
    clientHolders_.clear();
    if (!p_.form.extPttIdle) extHeldOver_ = true;
    // At once, even while a modal window holds the PTT loop up; the loop
    // then ends as a release ends it (back to VFO A after a split).
    p_.st.gKeyCmd = "U";
    p_.sync().gSendSync("U");
  }
  if (xmitLatched) stopXmit();
  if (p_.frm.cmdTune.caption == kTuneOff) stopTune();
}

void Transmit::transmitWhileHeld() {
  MainWindowModel& frm = p_.frm;
  StatusDisplay& d = p_.display();
  std::string aCmd, bCmd;
  if (!splitOn()) {
    if (!d.gTxAllowed(p_.st.gFreqCmd)) return absorbUntilReleased();
  } else {
    if (modesDiffer()) {
      p_.engine.messageBox(kModesDiffer);
      frm.lblSplit.caption = "Split Off";
      frm.optTXVFO[0].value = 1;
      frm.optTXVFO[1].value = 0;
      return absorbUntilReleased();
    }
    aCmd = "F" + digitsOf(frm.cmdF);
    bCmd = "F" + digitsOf(frm.cmdVFOB);
    // Checked before VFO A's row is touched, so a refusal leaves it showing VFO A.
    if (!d.gTxAllowed(bCmd)) return absorbUntilReleased();
    showVfoBOnVfoA();
    p_.link().writeDirect(bCmd + "\n");
  }
  p_.st.gKeyCmd = "K";
  if (auto answer = std::exchange(keyDownAnswer_, {})) answer(true);
  p_.sync().gSendSync("K");
  if (!bCmd.empty()) p_.link().gDelay(kSplitKeySettle);
  pttLoop(aCmd, !bCmd.empty());
}

void Transmit::pttLoop(const std::string& aCmd, bool split) {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  const std::string txFreq = split ? "F" + digitsOf(p_.frm.cmdVFOB) : std::string();
  looping_ = true;
  try {
    bool ext = extActive();
    bool cut = false;
    while (!cut && (pttHeld || ext || !clientHolders_.empty() || split)) {
      pumpOnce();
      ext = extActive();
      // No transmission survives a lost link or a frequency it may not use.
      if (linkLost() || !p_.display().gTxAllowed(split ? txFreq : st.gFreqCmd.str())) {
        cut = true;
        pttHeld = ext = false;
        clientHolders_.clear();
      }
      if (!pttHeld && !ext && clientHolders_.empty()) {
        st.gKeyCmd = "U";
        // A port that is gone can take neither the unkey nor the retune.
        if (!p_.MSComm1.isOpen()) split = false;
        if (split) {
          link.writeDirect("U");
          link.gDelay(kRetunePause);
          link.writeDirect(aCmd + "\n");
          split = false;
        }
      }
      p_.sync().pollTxState();
      p_.display().gUpdateDisplay();
    }
    looping_ = false;
  } catch (...) {
    looping_ = false;
    clientHolders_.clear();
    // Whatever unwinds the loop (an error, the program ending) must not
    // leave the transmitter keyed or on VFO B.
    st.gKeyCmd = "U";
    try {
      link.writeDirect("U");
      if (split) {
        link.gDelay(kRetunePause);
        link.writeDirect(aCmd + "\n");
      }
    } catch (...) {
    }
    throw;
  }
}

void Transmit::XmitCmd() {
  xmitPending = false;
  const std::string& caption = p_.frm.cmdXmit.caption;
  if (caption == kXmitOn)
    startXmit();
  else if (caption == kXmitOff)
    stopXmit();
}

void Transmit::startXmit() {
  MainWindowModel& frm = p_.frm;
  // XMT and tune exclude each other, even when both were clicked in one pass.
  if (frm.cmdTune.caption == kTuneOff) return;
  xmitRetuned_ = false;
  if (splitOn()) {
    if (modesDiffer()) {
      p_.engine.messageBox(kModesDiffer);
      p_.engine.beep();
      return;
    }
    const std::string bCmd = "F" + digitsOf(frm.cmdVFOB);
    if (!p_.display().gTxAllowed(bCmd)) {
      p_.engine.beep();
      return;
    }
    splitReturnFreq = digitsOf(frm.cmdF);
    showVfoBOnVfoA();
    p_.link().writeDirect(bCmd + "\n");
    xmitRetuned_ = true;
    p_.link().gDelay(kRetunePause);
  }
  p_.st.gKeyCmd = "K";
  p_.sync().gSendSync("K");
  xmitLatched = true;
  frm.cmdXmit.caption = kXmitOff;
  frm.cmdTune.enabled = false;
}

void Transmit::stopXmit() {
  MainWindowModel& frm = p_.frm;
  p_.st.gKeyCmd = "U";
  p_.sync().gSendSync("U");
  // Only a transmission that moved to VFO B goes back, whatever split
  // shows now.
  if (xmitRetuned_) {
    xmitRetuned_ = false;
    p_.link().gDelay(kRetunePause);
    p_.link().writeDirect("F" + splitReturnFreq + "\n");
  }
  xmitLatched = false;
  frm.cmdXmit.caption = kXmitOn;
  frm.cmdTune.enabled = true;
}

void Transmit::tuneCmd() {
  tunePending = false;
  const std::string& caption = p_.frm.cmdTune.caption;
  if (caption == kTuneOn)
    startTune();
  else if (caption == kTuneOff)
    stopTune();
}

void Transmit::startTune() {
  if (xmitLatched) return;
  const TransceiverState& st = p_.st;
  tuneSaved_ = {st.gMode, st.gSideTone, st.gPttEnable, st.gSource};
  p_.cmds().gSetMode("M3");
  p_.st.gKeyCmd = "K";
  p_.sync().gSendSync("K");
  p_.frm.cmdTune.caption = kTuneOff;
  p_.frm.cmdXmit.enabled = false;
}

void Transmit::stopTune() {
  // Unkeyed first, so a restore that fails leaves the transmitter off.
  p_.st.gKeyCmd = "U";
  auto finish = [this] {
    p_.frm.cmdTune.caption = kTuneOn;
    p_.frm.cmdXmit.enabled = true;
  };
  try {
    p_.sync().gSendSync("U");
    p_.link().gReadResponse();
    restoreAfterTune();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void Transmit::portLost() {
  p_.st.gKeyCmd = "U";
  pttHeld = false;
  xmitLatched = false;
  xmitRetuned_ = false;
  xmitPending = false;
  tunePending = false;
  p_.frm.cmdXmit.caption = kXmitOn;
  p_.frm.cmdTune.caption = kTuneOn;
}

void Transmit::restoreAfterTune() {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  const TuneSaved& saved = tuneSaved_;
  // Only settings that were reported before the tune are put back; the
  // step loops give up after a full cycle and leave what was reported.
  if (isCode(saved.mode, 'M', '1', '4')) {
    if (st.gFwType == 2) {
      p_.cmds().gSetMode(saved.mode);
    } else {
      for (int i = 0; i < kModeRestoreSteps && st.gMode != saved.mode; ++i) p_.cmds().gStepMode();
    }
  }
  // OFF/CW (H4) is not on the "H" cycle; stepping would never reach it.
  if (isCode(saved.source, 'H', '1', '3')) {
    for (int i = 0; i < kSourceRestoreSteps && st.gSource != saved.source; ++i) {
      link.gSendCommand("H", true, kRestoreDelay);
      link.gReadResponse();
    }
  }
  if (isCode(saved.sideTone, 'S', '0', '1') && st.gSideTone != saved.sideTone) {
    link.gSendCommand("S", true, kRestoreDelay);
    link.gReadResponse();
  }
  if (st.gFwType == 1 && isCode(saved.pttEnable, '\'', '0', '1') && st.gPttEnable != saved.pttEnable)
    p_.cmds().gTogglePttEnable();
}

}  // namespace zr
