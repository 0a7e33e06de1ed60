#include "panel/Amplifier.h"

#include "core/Panel.h"
#include "core/RadioLink.h"

namespace zr {

namespace {
const char* const kOn = " >> ";
const char* const kOff = " << ";
constexpr double kCommandDelay = 0.2;
}  // namespace

Amplifier::Amplifier(Panel& panel) : p_(panel) {
  Engine& e = p_.engine;
  const std::string& w = p_.frm.name();
  e.on(w, "cmdAmpPwr", EventKind::Click, [this](const InputEvent&) { ampPwrPending = true; });
  e.on(w, "cmdAmpOpr", EventKind::Click, [this](const InputEvent&) { ampOprPending = true; });
  e.on(w, "cmdTuneAmp", EventKind::Click, [this](const InputEvent&) { ampTunePending = true; });
}

// The reply is left to the service loop's read.
void Amplifier::send(const std::string& command, bool lineFeed) {
  p_.link().gSendCommand(command, lineFeed, kCommandDelay);
}

// Workers clear their flag first: a worker that fails is not retried on
// every pass of the loop. A label still showing an arrow waits for the status.

void Amplifier::ampPwrCmd() {
  ampPwrPending = false;
  Control& label = p_.frm.lblAmpPwr;
  if (label.caption == "OFF") {
    label.caption = kOn;
    send("O2", true);
  } else if (label.caption == "ON") {
    label.caption = kOff;
    send("O1", true);
  }
}

void Amplifier::ampOprCmd() {
  ampOprPending = false;
  Control& label = p_.frm.lblAmpOpStby;
  if (label.caption == "Standby") {
    label.caption = kOn;
    send("O4", true);
  } else if (label.caption == "Operate") {
    label.caption = kOff;
    send("O3", true);
  }
}

void Amplifier::AmpTuneCmd() {
  ampTunePending = false;
  TransceiverState& st = p_.st;
  if (st.gAmpTuning) {
    // A second press aborts the cycle.
    st.gAmpTuning = false;
    st.gKeyCmd = "U";
    send("U", false);
  } else if (p_.frm.lblAmpTuned.caption == "Start Tune") {
    p_.frm.lblAmpTuned.caption = kOn;
    st.gAmpTuning = true;
    st.gAmpTuneStart = p_.clock.now();
    st.gKeyCmd = "K";
    send("K", false);
  }
}

}  // namespace zr
