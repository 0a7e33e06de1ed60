#include "cat/CatPort.h"

#include "cat/CatRequests.h"
#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"

namespace zr {

namespace {
constexpr const char* kNoCatPort = "No CAT Port";

bool knownMode(const std::string& code) { return code == "M1" || code == "M2" || code == "M3" || code == "M4"; }
}  // namespace

CatPort::CatPort(Panel& panel) : p_(panel) {
  p_.engine.addLineEventSource(p_.MSComm2, [this](int code) { MSComm2_OnComm(code); });
}

bool CatPort::SetUpCATPort() {
  SerialPort& port = p_.MSComm2;
  const Settings& s = p_.settings;
  // As on the radio port: software flow control is not offered.
  const Handshaking handshaking =
      (s.gCATHandshake == "comRTS" || s.gCATHandshake == "comRTSXonXoff") ? Handshaking::RtsCts : Handshaking::None;
  try {
    if (port.isOpen()) port.close();
    port.setCommPort(vbCInt(s.gCATPort));
    port.setHandshaking(handshaking);
    port.setSettings(s.gCATSettings);
    port.setInBufferSize(4096);
    port.setOutBufferSize(256);
    port.setNullDiscard(true);
    port.setParityReplace(":");
    port.setRTSEnable(true);
    port.setRThreshold(kReceiveThreshold);
    port.open();
  } catch (const RuntimeError& e) {
    // Station software gets no answers from a closed port; say why, and
    // say it where the CAT traffic is shown.
    p_.display().gShowInfo(errMessage("SetUpCATPort", e));
    p_.frm.txtInCat.text = kNoCatPort;
    p_.frm.txtOutCAT.text = kNoCatPort;
  }
  p_.form.gCATSetupChanged = false;
  return port.isOpen();
}

void CatPort::MSComm2_OnComm(int code) {
  switch (code) {
    case comm::EvReceive:
      p_.link().gDelay(kRestOfRequestWait);
      try {
        // The read takes everything waiting; emptying the buffer afterwards
        // could only lose the start of the next request.
        gCATInput = p_.MSComm2.input();
      } catch (const RuntimeError& e) {
        p_.display().gShowInfo(errMessage("MSComm2_OnComm", e));
        return;
      }
      p_.frm.txtInCat.text = gCATInput;
      p_.form.gCATPending = true;
      break;
    default:
      if (comm::isLineError(code)) p_.frm.lblComStat.caption = "Com2 Error";
      break;
  }
}

void CatPort::CATCmd() {
  // A copy: a receive event served while a setting waits for the
  // transceiver replaces gCATInput and raises the flag again.
  const std::string text = gCATInput;
  p_.form.gCATPending = false;
  showIgnored(ignoredCatRequests(text));
  for (const CatRequest& r : worthCarryingOut(parseCatRequests(text), kMaxSettingsPerReceive)) {
    try {
      handle(r);
    } catch (const RuntimeError& e) {
      p_.display().gShowInfo(errMessage("CATCmd", e));
    }
  }
}

void CatPort::handle(const CatRequest& r) {
  const TransceiverState& st = p_.st;
  switch (r.kind) {
    case CatRequest::Kind::FreqQuery:
      answer(catFreqAnswer(st.gFreqCmd));
      break;
    case CatRequest::Kind::ModeQuery:
      answer(catModeAnswer(p_.frm.cmbDig.text, st.gMode));
      break;
    case CatRequest::Kind::FreqSet:
      p_.cmds().gSetFreq(r.argument);
      break;
    case CatRequest::Kind::ModeSet:
      // Before the transceiver has reported its mode and frequency a mode
      // command could carry a blank frequency line; wait for the state.
      if (!knownMode(st.gMode) || catFreqAnswer(st.gFreqCmd).empty()) return;
      p_.cmds().gSetMode(r.argument);
      break;
  }
}

// The monitor keeps the last requests ignored, so the operator sees why a
// station program gets no answers, and what to change.
void CatPort::showIgnored(const std::vector<std::string>& ignored) {
  if (ignored.empty()) return;
  p_.frm.lblCatIgnored.caption = ignoredCatRequestsText(ignored);
  p_.frm.lblCatIgnored.visible = true;
  p_.frm.lblCatHint.visible = true;
}

// Nothing is known to answer with (no state yet): better no answer, which
// station software retries, than a made-up one.
void CatPort::answer(const std::string& text) {
  if (text.empty()) return;
  p_.frm.txtOutCAT.text = text;
  p_.MSComm2.output(p_.frm.txtOutCAT.text);
}

}  // namespace zr
