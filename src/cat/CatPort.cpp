#include "cat/CatPort.h"

#include "core/Convert.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"

namespace zr {

CatPort::CatPort(Panel& panel) : p_(panel) {
  p_.engine.addLineEventSource(p_.MSComm2, [this](int code) { MSComm2_OnComm(code); });
}

void CatPort::SetUpCATPort() {
  SerialPort& port = p_.MSComm2;
  const std::string& hs = p_.settings.gCATHandshake;
  try {
    if (port.isOpen()) port.close();
    port.setCommPort(vbCInt(p_.settings.gCATPort));
    port.setHandshaking(hs == "comRTS" || hs == "comRTSXonXoff" ? Handshaking::RtsCts : Handshaking::None);
    port.setSettings(p_.settings.gCATSettings);
    port.setRThreshold(3);
    port.open();
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage("SetUpCATPort", e));
  }
}

void CatPort::MSComm2_OnComm(int code) {
  if (code == comm::EvReceive) {
    gCATInput = p_.MSComm2.input();
    p_.frm.txtInCat.text = gCATInput;
    p_.form.gCATPending = true;
  } else if (code >= comm::Break) {
    p_.frm.txtInCat.text = "Com2 Error";
  }
}

// Answering station software comes with the CAT interpreter.
void CatPort::CATCmd() { p_.form.gCATPending = false; }

}  // namespace zr
