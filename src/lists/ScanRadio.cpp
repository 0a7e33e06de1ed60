#include "lists/ScanRadio.h"

#include <algorithm>

#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/SyncPoller.h"
#include "lists/PumpingWait.h"

namespace zr {

namespace {
constexpr double kSendDelay = 0.1;
constexpr double kQueryDelay = 0.4;
}  // namespace

ScanRadio::Outcome ScanRadio::setFrequency(const std::string& command, const std::function<bool()>& stop,
                                           const std::function<void()>& sending) {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  for (int resends = 0;; ++resends) {
    if (sending) sending();
    st.gFreqChanged = false;
    const double start = p_.clock.now();
    link.gSendCommand(command, true, kSendDelay);
    while (!st.gFreqChanged && waitForReply(start, stop)) link.gReadResponse();
    // The reply read can outlast a Stop or a Close; see it before a resend.
    p_.engine.pump();
    if (stop()) return Outcome::Stopped;
    if (!st.gFreqChanged) {
      link.gSendCommand("?", true, kQueryDelay);
      link.gReadResponse();
      return st.gFreqCmd == command ? Outcome::Confirmed : Outcome::Unconfirmed;
    }
    if (st.gFreqCmd == command && st.gFreqValid) return Outcome::Confirmed;
    // A transceiver that keeps answering another frequency would hold the
    // scan here for ever: after a few tries the step counts as unconfirmed.
    if (resends >= kMaxResends) return Outcome::Unconfirmed;
  }
}

bool ScanRadio::waitForReply(double start, const std::function<bool()>& stop) {
  return pumpUntilInput(p_.engine, p_.clock, p_.MSComm1, start, kConfirmTimeout, stop);
}

void ScanRadio::keepAlive() {
  TransceiverState& st = p_.st;
  p_.sync().gSendSync("U");
  if (bytesWaiting()) p_.link().gReadResponse();
  // The echo proves the link alive, as it does for the service loop.
  if (st.gSyncSeen) {
    st.gMissedSyncs = 0;
    st.gSyncSeen = false;
  }
}

double ScanRadio::untilSyncDue() const {
  const double since = secondsSince(p_.st.gLastSyncTime, p_.clock.now());
  return std::max(0.001, SyncPoller::kInterval + 0.001 - since);
}

bool ScanRadio::bytesWaiting() {
  SerialPort& port = p_.MSComm1;
  return port.isOpen() && port.inBufferCount() > 0;
}

}  // namespace zr
