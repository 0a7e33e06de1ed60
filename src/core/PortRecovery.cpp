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

void PortRecovery::goDown(const std::string& what, const std::string& status) {
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  if (!down_) wait_ = kFirstTry;
  down_ = true;
  what_ = what;
  lastTry_ = p_.clock.now();
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

bool PortRecovery::tryReopen() {
  std::string error;
  try {
    if (p_.link().SetUpRadioPort()) {
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
