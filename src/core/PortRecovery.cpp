#include "core/PortRecovery.h"

#include <algorithm>
#include <cmath>

#include "core/Clock.h"
#include "core/Errors.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/Transmit.h"

namespace zr {

void PortRecovery::portLost(const std::string& reason) {
  p_.link().closePort();
  goDown("Radio port lost: " + reason, "Port Lost");
}

void PortRecovery::openFailed(const std::string& reason) { goDown("Radio port did not open: " + reason, "No Port"); }

void PortRecovery::unavailable(const std::string& message) {
  // A port chosen before is let go: the operator chose this one.
  p_.link().closePort();
  goDown(message, "No Port");
  // As before any port was chosen: no control state to show.
  p_.frm.lblREMOTE.caption = "";
}

void PortRecovery::goDown(const std::string& what, const std::string& status) {
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  if (!down_) wait_ = kFirstTry;
  down_ = true;
  what_ = what;
  lastTry_ = p_.clock.now();
  lastLook_ = lastTry_;
  deviceWasReady_ = p_.MSComm1.deviceReady();
  p_.form.radioPortOpen = false;

  // Nothing is known about the transceiver any more, and nothing may key it.
  frm.lblComStat.caption = status;
  frm.lblREMOTE.caption = "NoComm";
  frm.lblREMOTE.foreColor = colours::Red;
  frm.lblU.caption = "";
  frm.lblXMTRCV.caption = "Receive";
  frm.lblXMTRCV.backColor = colours::Green;
  st.gTransmitting = false;
  st.gAmpTuning = false;
  p_.form.txActive = false;
  p_.transmit().portLost();
  p_.meter().reset();
  for (Control* c : {&frm.cmdPTT, &frm.cmdXmit, &frm.cmdTune, &frm.cmdTuneAmp}) c->enabled = false;
  show("Opening it again in " + std::to_string(static_cast<int>(wait_)) + " s...");
}

void PortRecovery::portOpened() {
  if (!down_) return;
  down_ = false;
  wait_ = kFirstTry;
}

double PortRecovery::secondsToNextTry() const {
  return std::max(0.0, wait_ - secondsSince(lastTry_, p_.clock.now()));
}

void PortRecovery::watchDevice() {
  const double now = p_.clock.now();
  if (!down_ || secondsSince(lastLook_, now) < kLookInterval) return;
  lastLook_ = now;
  const bool ready = p_.MSComm1.deviceReady();
  if (ready && !deviceWasReady_) {
    // Back (a link recreated, an adapter plugged in): a new situation, so
    // the back-off starts over from a try now.
    wait_ = kFirstTry;
    lastTry_ = now - kFirstTry;
  }
  deviceWasReady_ = ready;
}

bool PortRecovery::tryReopen() {
  std::string error;
  try {
    if (p_.link().SetUpRadioPort(RadioLink::Device::Same)) {
      portOpened();
      p_.frm.lblComStat.caption = "COM" + p_.settings.gRadioPort;
      p_.display().gShowInfo("Radio port open again: querying radio status");
      return true;
    }
  } catch (const RuntimeError& e) {
    error = e.description;
  }
  lastTry_ = p_.clock.now();
  wait_ = std::min(wait_ * 2, kLongestWait);
  show((error.empty() ? std::string() : "Reopening failed: " + error + ". ") + "Next try in " +
       std::to_string(static_cast<int>(std::lround(wait_))) + " s...");
  return false;
}

void PortRecovery::show(const std::string& detail) { p_.display().gShowInfo(what_ + "\r\n" + detail); }

}  // namespace zr
