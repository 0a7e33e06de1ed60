#include "core/SyncPoller.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"

namespace zr {

void SyncPoller::gSendSync(const std::string& key, const std::function<void()>& sent) {
  TransceiverState& st = p_.st;
  MainWindowModel& frm = p_.frm;
  bool told = false;
  const auto tell = [&] {
    if (told || !sent) return;
    told = true;
    sent();
  };
  try {
    frm.shaTrace.fillColor = colours::Yellow;
    if (st.gLastSyncTime == 0) st.gLastSyncTime = p_.clock.now();
    if (st.lastKeyCmd.empty()) st.lastKeyCmd = key;
    const double now = p_.clock.now();
    const double elapsed = now - st.gLastSyncTime;
    const bool changed = (key == "K" && st.lastKeyCmd == "U") || (key == "U" && st.lastKeyCmd == "K");
    if (changed || elapsed > kInterval) {
      p_.link().gSendCommand(key, false, 0.2, tell);
      st.lastKeyCmd = key;
      st.gLastSyncTime = p_.clock.now();
      ++st.gMissedSyncs;
      frm.lblU.caption = key;
      frm.lblU.backColor = colours::White;
    } else if (elapsed <= kBlankAfter) {
      // Midnight passed since the last send: move the start back a day.
      if (static_cast<float>(now) < static_cast<float>(st.gLastSyncTime)) st.gLastSyncTime -= 86400.0;
    } else {
      frm.lblU.caption = "";
    }
    frm.shaTrace.fillColor = colours::GrayText;
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage("gSendSync", e));
  }
  tell();
}

double SyncPoller::secondsUntilDue() const {
  const TransceiverState& st = p_.st;
  if (st.gLastSyncTime == 0) return 0;
  const double elapsed = secondsSince(st.gLastSyncTime, p_.clock.now());
  // Just past the limits, since gSendSync compares with "greater than".
  constexpr double kPast = 0.001;
  if (elapsed <= kBlankAfter && !p_.frm.lblU.caption.empty()) return kBlankAfter + kPast - elapsed;
  return std::max(0.0, kInterval + kPast - elapsed);
}

void SyncPoller::pollTxState() {
  TransceiverState& st = p_.st;
  MainWindowModel& frm = p_.frm;
  gSendSync(st.gKeyCmd);
  if (p_.MSComm1.isOpen() && p_.MSComm1.inBufferCount() > 0) p_.link().gReadResponse();
  if (st.gSyncSeen) {
    st.gMissedSyncs = 0;
    if (st.gKeyCmd == "U")
      frm.lblU.backColor = st.gTransmitting ? colours::Red : colours::Green;
    else if (st.gKeyCmd == "K")
      frm.lblU.backColor = colours::Red;
    st.gSyncSeen = false;
  }
  if (frm.lblXMTRCV.caption == "Receive" && st.gTransmitting) {
    frm.lblU.backColor = colours::Red;
    frm.lblXMTRCV.backColor = colours::Red;
    frm.lblXMTRCV.caption = "Transmit";
    p_.meter().gShowMeterSource();
    p_.form.txActive = true;
  } else if (frm.lblXMTRCV.caption == "Transmit" && !st.gTransmitting) {
    frm.lblXMTRCV.backColor = colours::Green;
    frm.lblXMTRCV.caption = "Receive";
    p_.meter().gShowMeterSource();
    p_.form.txActive = false;
  }
}

}  // namespace zr
