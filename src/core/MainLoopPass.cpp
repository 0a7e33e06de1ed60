// One pass of the service loop and its request dispatch.
#include <algorithm>

#include "cat/CatPort.h"
#include "core/MainLoop.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"
#include "core/PortRecovery.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "panel/ModeControls.h"
#include "panel/Amplifier.h"
#include "panel/Channels.h"
#include "panel/ClientRequests.h"
#include "panel/ReceiverToggles.h"
#include "panel/Transmit.h"
#include "panel/VfoSplit.h"

namespace zr {

namespace {
constexpr double kTuneTimeout = 20.0;
// Longest idle sleep; input and due work end it sooner.
constexpr double kIdleLimit = 1.0;
constexpr double kLinePollInterval = 0.02;
constexpr double kMinBlock = 0.001;
}  // namespace

MainLoop::Step MainLoop::servicePass() {
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  if (frm.lblREMOTE.caption != controlMode) {
    if (controlMode == "REMOTE" && frm.lblREMOTE.caption == "LOCAL") return Step::LocalSetup;
    if (controlMode == "LOCAL" && frm.lblREMOTE.caption == "REMOTE") return Step::RemoteSetup;
    // Any other difference (no setup has run yet, an unknown control
    // report) is no reason to stop serving: skipping the pass here would
    // spin without ever reading the transceiver again.
  }

  p_.engine.pump(idleBlock());

  if (p_.recovery().down()) return Step::Reconnect;
  if (st.gRadioBreak) return Step::Query;
  p_.display().gUpdateDisplay();
  frm.shaTrace.fillColor = colours::GrayText;

  if (controlMode == "REMOTE") {
    if (st.gAmpTuning) {
      if (static_cast<float>(st.gAmpTuneStart) > static_cast<float>(p_.clock.now())) {
        st.gAmpTuneStart -= 86400.0;
      } else if (p_.clock.now() - st.gAmpTuneStart > kTuneTimeout) {
        st.gKeyCmd = "U";
        st.gAmpTuning = false;
        frm.txtInfo.text = "Timeout: Tune Cancelled";
        // Unkey now rather than after the refresh's wait.
        p_.sync().gSendSync(st.gKeyCmd);
        p_.toggles().refreshCmd();
      }
    }
    externalPtt();
    p_.sync().pollTxState();
    if (st.gMissedSyncs > SyncPoller::kMaxMissed) {
      // Said where the operator looks: a silent radio is no "Com OK".
      p_.display().gShowInfo("No Sync Response: Restarting...");
      frm.lblComStat.caption = "No Com";
      restartPending = true;
      return Step::Query;
    }
  }

  if (!dispatchRequests()) return Step::PortCheck;
  if (p_.form.gAudioSetupApplied) {
    p_.form.gAudioSetupApplied = false;
    return Step::RemoteAlign;
  }

  if (frm.cmdTune.caption == "T&UNE OFF" && !frm.cmdTune.enabled) p_.transmit().tuneCmd();
  if (frm.cmdXmit.caption == "&XMT OFF" && !frm.cmdXmit.enabled) p_.transmit().XmitCmd();
  if (frm.lblREMOTE.caption == "REMOTE" && p_.form.gAudioSetupApplied) return Step::RemoteSetup;
  if (p_.MSComm1.isOpen() && p_.MSComm1.inBufferCount() > 0) p_.link().gReadResponse();
  return Step::Pass;
}

// Idle, the pass sleeps until input arrives (the operator's, or bytes on
// either port) or until its own next piece of work is due; always a little,
// so a pass never spins, except once to show what was decoded meanwhile.
double MainLoop::idleBlock() const {
  // A reply decoded late in the last pass is shown before any sleep.
  if (p_.display().updateDue()) return 0;
  double block = kIdleLimit;
  if (controlMode == "REMOTE") {
    block = std::min(block, p_.sync().secondsUntilDue());
    const TransceiverState& st = p_.st;
    if (st.gAmpTuning) block = std::min(block, kTuneTimeout + 0.001 - secondsSince(st.gAmpTuneStart, p_.clock.now()));
    // The DSR line wakes nobody; it is looked at on every pump.
    if (p_.settings.gExtPttEnabled) block = std::min(block, kLinePollInterval);
  }
  return std::max(block, kMinBlock);
}

void MainLoop::externalPtt() {
  MainWindowModel& frm = p_.frm;
  Control& ext = frm.lblExtPTT;
  const bool enabled = p_.settings.gExtPttEnabled;
  if (frm.lblPTTEn.caption == "OFF") ext.backColor = colours::Yellow;
  if (!enabled)
    ext.backColor = colours::Yellow;
  else if (frm.lblPTTEn.caption == "ON" && ext.backColor == colours::Yellow && p_.form.extPttIdle)
    ext.backColor = colours::Green;
  if (!enabled) return;
  if (ext.backColor == colours::Green && !p_.form.extPttIdle && !p_.transmit().xmitLatched) {
    ext.backColor = colours::Red;
    p_.transmit().cmdPTT_MouseDown(0, 0, 0, 0);
  }
  if (ext.backColor == colours::Red && p_.form.extPttIdle) ext.backColor = colours::Green;
}

// Serves the request flags in their fixed order. False when the radio port
// must be reopened.
bool MainLoop::dispatchRequests() {
  ModeControls& m = p_.modes();
  ReceiverToggles& t = p_.toggles();
  Channels& o = p_.channels();
  if (m.sourcePending) m.sourceCmd();
  if (m.agcPending) m.agcCmd();
  if (t.bfoPending) t.bfoCmd();
  if (t.clipPending) t.clipCmd();
  for (std::size_t band = 0; band < o.bandPending.size(); ++band)
    if (o.bandPending[band]) o.bandCmd(static_cast<int>(band));
  if (p_.meter().meterPending) p_.meter().meterCmd();
  if (m.modePending) m.modeCmd();
  if (t.mutePending) t.muteCmd();
  if (t.pttEnPending) t.pttEnCmd();
  if (t.sideTonePending) t.sideToneCmd();
  Transmit& x = p_.transmit();
  Amplifier& a = p_.amp();
  if (x.tunePending) x.tuneCmd();
  if (t.viewDataPending) t.viewDataCmd();
  if (t.voxPending) t.voxCmd();
  if (x.xmitPending) x.XmitCmd();
  if (a.ampPwrPending) a.ampPwrCmd();
  if (a.ampOprPending) a.ampOprCmd();
  if (a.ampTunePending) a.AmpTuneCmd();
  if (o.m2vPending) o.m2vCmd();
  if (o.v2mPending) o.v2mCmd();
  if (t.refreshPending) t.refreshCmd();
  if (p_.form.gPortSetupDone) return false;
  if (t.bfoOffsetPending) t.bfoOffsetCmd();
  if (t.rfGainPending) t.rfGainCmd();
  if (p_.form.gCATPending) p_.cat().CATCmd();
  if (p_.clients().clientPending) p_.clients().clientCmd();
  if (m.digPending) m.digCmd();
  VfoSplit& v = p_.vfo();
  if (v.swapPending) v.swapCmd();
  if (v.a2bPending) v.a2bCmd();
  return true;
}

}  // namespace zr
