#include "panel/ClientRequests.h"

#include <algorithm>
#include <utility>

#include "core/Clock.h"
#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/MainLoop.h"
#include "core/RadioLink.h"
#include "core/Panel.h"
#include "panel/ModeControls.h"
#include "panel/Transmit.h"
#include "panel/VfoSplit.h"

namespace zr {

namespace {

bool knownMode(const std::string& code) { return !ModeControls::ModeText(code).empty(); }

bool panelFrequency(const std::string& digits) {
  return allDigits(digits, 7) && digits >= "0160000" && digits <= "2999999";
}

}  // namespace

bool ClientRequests::takesSettings() const {
  const MainWindowModel& frm = p_.frm;
  const TransceiverState& st = p_.st;
  return frm.window.enabled && frm.window.visible && !st.gScanning && p_.mainLoop().controlMode == "REMOTE" &&
         frm.lblREMOTE.caption == "REMOTE" && !p_.form.txActive && st.gKeyCmd != "K" && !p_.link().keyed() && p_.MSComm1.isOpen();
}

RigStateSnapshot ClientRequests::commandedState() const {
  RigStateSnapshot view = p_.currentRigState();
  auto apply = [&view](const RigSetting& s) {
    if (s.kind == RigSetting::Kind::Frequency) {
      view.freqCmd = "F" + s.value;
      view.freqValid = true;
    } else if (s.kind == RigSetting::Kind::Mode) {
      view.mode = s.value;
    }
  };
  if (carrying_) apply(*carrying_);
  for (const Queued& q : queued_) apply(q.setting);
  return view;
}

void ClientRequests::take(const RigSetting& s, int client, const Answer& answer) {
  using K = RigSetting::Kind;
  if (s.kind == K::Ptt) {
    if (s.on && hasLeft(client)) return answer(false);
    // Behind the settings before it, and behind the end of a transmission
    // just unkeyed: the service loop's next pass carries it out.
    if (s.on && (!queued_.empty() || p_.transmit().windingDown())) {
      dropKeyDown(client);
      keyDowns_.push_back({s, answer, client, p_.clock.now()});
      clientPending = true;
      return;
    }
    if (s.on) return p_.transmit().clientKeyDown(client, answer);
    dropKeyDown(client);
    return p_.transmit().clientKeyUp(client, [answer] { answer(true); });
  }
  if (!takesSettings()) return answer(false);
  switch (s.kind) {
    case K::Frequency:
    case K::Mode: {
      if (s.kind == K::Frequency ? !panelFrequency(s.value) : !knownMode(s.value)) return answer(false);
      // A mode command carries the frequency: both must be known first.
      if (s.kind == K::Mode && (!knownMode(p_.st.gMode) || !p_.st.gFreqValid)) return answer(false);
      auto same = std::find_if(queued_.begin(), queued_.end(), [&](const Queued& q) { return q.setting.kind == s.kind; });
      // The same setting again while it is carried out: the transceiver
      // gets it once.
      if (same == queued_.end() && carrying_ && carrying_->kind == s.kind && carrying_->value == s.value)
        return answer(true);
      if (same == queued_.end()) {
        queued_.push_back({s, answer});
      } else {
        // The older setting would only have been overtaken by this one.
        const Answer overtaken = std::exchange(same->answer, answer);
        same->setting = s;
        overtaken(true);
      }
      clientPending = true;
      return;
    }
    case K::VfoBFrequency:
    case K::VfoBMode:
      return answer(setVfoB(s));
    case K::Split: {
      const bool done = setSplit(s.on);
      if (done) {
        splitOwner_ = s.on ? client : 0;
        splitClicks_ = p_.vfo().splitClicks;
      }
      return answer(done);
    }
    case K::Ptt:
      break;
  }
}

void ClientRequests::dropKeyDown(int client) {
  for (auto it = keyDowns_.begin(); it != keyDowns_.end();) {
    if (it->client != client) {
      ++it;
      continue;
    }
    const Answer answer = it->answer;
    it = keyDowns_.erase(it);
    answer(false);
  }
}

bool ClientRequests::hasLeft(int client) {
  std::lock_guard lock(leftMutex_);
  return left_.count(client) != 0;
}

void ClientRequests::left(int client) {
  std::lock_guard lock(leftMutex_);
  left_.insert(client);
}

void ClientRequests::gone(int client) {
  {
    std::lock_guard lock(leftMutex_);
    left_.erase(client);
  }
  dropKeyDown(client);
  p_.transmit().clientKeyUp(client);
  // A program's split ends with it unless the operator or another program
  // has chosen since; the panel would otherwise transmit on VFO B for
  // whoever keys next.
  if (splitOwner_ != client) return;
  splitOwner_ = 0;
  if (p_.vfo().splitClicks == splitClicks_ && p_.frm.optTXVFO[1].selected()) setSplit(false);
}

void ClientRequests::clientCmd() {
  clientPending = false;
  while (!queued_.empty()) {
    const Queued q = queued_.front();
    queued_.pop_front();
    carrying_ = q.setting;
    try {
      if (q.setting.kind == RigSetting::Kind::Frequency)
        p_.cmds().gSetFreq(q.setting.value);
      else
        p_.cmds().gSetMode(q.setting.value);
      carrying_.reset();
    } catch (...) {
      carrying_.reset();
      q.answer(false);
      // A key-down must never be carried out long after it was asked for.
      for (const Queued& k : std::exchange(keyDowns_, {})) k.answer(false);
      throw;
    }
    // The client's next query must see what it set.
    p_.engine.publish();
    q.answer(true);
  }
  while (!keyDowns_.empty()) {
    const Queued q = keyDowns_.front();
    keyDowns_.pop_front();
    // Its client left while the settings before it were carried out, or
    // gave up on it.
    if (hasLeft(q.client) || secondsSince(q.since, p_.clock.now()) > kKeyDownPatience) {
      q.answer(false);
      continue;
    }
    p_.transmit().clientKeyDown(q.client, q.answer);
  }
}

bool ClientRequests::setVfoB(const RigSetting& s) {
  MainWindowModel& frm = p_.frm;
  if (s.kind == RigSetting::Kind::VfoBMode) {
    const std::string text = ModeControls::ModeText(s.value);
    if (text.empty() || !frm.cmbVFOBMode.enabled) return false;
    frm.cmbVFOBMode.text = text;
    return true;
  }
  if (!panelFrequency(s.value)) return false;
  for (std::size_t i = 0; i < frm.cmdVFOB.size(); ++i) frm.cmdVFOB[i].caption = std::string(1, s.value[i]);
  return true;
}

bool ClientRequests::setSplit(bool on) {
  MainWindowModel& frm = p_.frm;
  const std::size_t index = on ? 1 : 0;
  if (!frm.optTXVFO[index].enabled) return false;
  // The operator would get "Modes must be same for Split"; a client that
  // turns split on means the transmit VFO to work in the receive mode until
  // it says otherwise (it sets the transmit mode after the split).
  if (on && frm.cmbMode.text != frm.cmbVFOBMode.text) {
    if (!frm.cmbVFOBMode.enabled || ModeControls::ModeCmdString(frm.cmbMode.text).empty()) return false;
    frm.cmbVFOBMode.text = frm.cmbMode.text;
  }
  // A VFO B never set reads as VFO A to clients, which then see no need to
  // set it; transmitting on it as it stands would be out of band.
  std::string vfoB;
  for (const auto& digit : frm.cmdVFOB) vfoB += digit.caption;
  if (on && !panelFrequency(vfoB))
    for (std::size_t i = 0; i < frm.cmdVFOB.size(); ++i) frm.cmdVFOB[i].caption = frm.cmdF[i].caption;
  frm.optTXVFO[index].value = 1;
  frm.optTXVFO[1 - index].value = 0;
  p_.vfo().optTXVFO_Click(static_cast<int>(index));
  return true;
}

}  // namespace zr
