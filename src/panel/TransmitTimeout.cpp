#include "panel/TransmitTimeout.h"

#include <algorithm>

#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "panel/Amplifier.h"
#include "panel/Transmit.h"
#include "setup/TxTimeoutSetup.h"

namespace zr {

TransmitTimeout::TransmitTimeout(Panel& panel) : p_(panel) {
  p_.engine.addWaitService([this] { return watch(); });
}

std::string TransmitTimeout::message(int seconds) {
  return "Transmit time-out: unkeyed after " + describeTxTimeout(seconds);
}

double TransmitTimeout::secondsLeft() const {
  const int limit = p_.settings.txTimeoutSeconds;
  // A port that is gone keys nothing; the unkey it owes goes out on reopening.
  if (limit <= 0 || !p_.MSComm1.isOpen() || !p_.link().keyed()) return -1;
  return std::max(0.0, limit - secondsSince(p_.link().keyedSince(), p_.clock.now()));
}

double TransmitTimeout::watch() {
  const double left = secondsLeft();
  if (left != 0) return left;
  const double run = p_.link().keyedSince();
  if (queuedFor_ != run) {
    queuedFor_ = run;
    // Waits run no handler: the ending talks to the radio, so it waits for
    // the next pump (at most one exchange away), modal windows included.
    p_.engine.postTask("TxTimeout", [this] { expire(); });
  }
  return -1;
}

void TransmitTimeout::expire() {
  if (secondsLeft() != 0) return;  // unkeyed meanwhile, or keyed anew
  TransceiverState& st = p_.st;
  p_.transmit().timeOut();
  if (st.gAmpTuning) p_.amp().AmpTuneCmd();  // as a second press aborts it
  if (p_.link().keyed() && p_.MSComm1.isOpen()) {
    // A key no path owns any more: unkeyed all the same.
    st.gKeyCmd = "U";
    p_.sync().gSendSync("U");
    if (p_.link().keyed()) p_.link().gSendCommand("U", false, 0.2);
  }
  p_.engine.beep();
  p_.display().gShowInfo(message(p_.settings.txTimeoutSeconds));
}

}  // namespace zr
