#pragma once
// Transmitting: the PTT button (held with the mouse, or pressed by the
// external PTT line), the latching XMT button and the TUNE carrier. The key
// itself travels with every sync exchange in gKeyCmd; whatever ends a
// transmission leaves it at "U".
#include <functional>
#include <set>
#include <string>

#include "panel/TransmitTimeout.h"

namespace zr {

class Panel;

class Transmit {
 public:
  explicit Transmit(Panel& panel);  // registers the buttons

  // Bounds of the tune restore: a mode cycle has four places and the source
  // cycle three; one extra pass covers a reply lost on the line.
  static constexpr int kModeRestoreSteps = 4;
  static constexpr int kSourceRestoreSteps = 3;

  // Button 1 holds the PTT; button 0 is the external line (service loop).
  void cmdPTT_MouseDown(int button, int shift, int x, int y);
  void cmdPTT_MouseUp(int button, int shift, int x, int y);
  void XmitCmd();
  void tuneCmd();
  // The radio port is gone: every transmission has ended, nothing is sent
  // and nothing is restored (the transceiver is set up again on reopening).
  void portLost();

  // Station programs keying over the network hold the transmitter like the
  // PTT button, and only where the button would key. `answer` runs before
  // the transmission starts; a client joins one that is running.
  void clientKeyDown(int client, const std::function<void(bool keyed)>& answer);
  // Lets go; when nobody holds any more the transmitter unkeys at once.
  // `done` runs once the unkey is written (or nothing was to unkey), before
  // the pause after it, so a client hears at once.
  void clientKeyUp(int client, const std::function<void()>& done = {});
  // Where a client's key-down would key now (the PTT button's rules).
  bool clientMayKey() const;
  // Unkeyed, and the PTT loop is ending (the retune to VFO A, the last
  // poll): a key-down now is a new transmission once it has ended, not a
  // join of this one.
  bool windingDown() const;

  // The transmission has lasted too long: every holder lets go and the
  // latched XMT or the tune ends, each the way its own release ends it. A
  // PTT line still held keys again only once released and pressed anew.
  void timeOut();
  TransmitTimeout& timeout() { return timeout_; }

  bool xmitPending = false;
  bool tunePending = false;
  bool xmitLatched = false;
  bool pttHeld = false;
  std::string splitReturnFreq;

 private:
  struct TuneSaved {
    std::string mode, sideTone, pttEnable, source;
  };

  // Keys on the transmitting VFO and holds until every holder lets go.
  void transmitWhileHeld();
  bool anyoneHolds() const { return pttHeld || extActive() || !clientHolders_.empty(); }
  bool splitOn() const;
  bool modesDiffer() const;
  bool extActive() const;
  // True when the link can no longer carry the key (lost sync, break).
  bool linkLost() const;
  // Lets window events run, waiting at most until the next sync is due.
  void pumpOnce();
  // Keeps the sync going until the button and the external line are released.
  void absorbUntilReleased();
  // VFO A's digit row shows VFO B while transmitting on it.
  void showVfoBOnVfoA();
  void pttLoop(const std::string& aCmd, bool split);
  void startXmit();
  void stopXmit();
  void startTune();
  void stopTune();
  void restoreAfterTune();

  Panel& p_;
  TuneSaved tuneSaved_;
  bool xmitRetuned_ = false;  // the latched transmission moved to VFO B
  bool looping_ = false;      // the PTT loop holds the transmitter
  bool extHeldOver_ = false;  // the external line outlasted a time-out
  std::set<int> clientHolders_;
  // The answer of the key-down that starts a transmission: given once the
  // key command is "K", so the client's next query reads it keyed.
  std::function<void(bool)> keyDownAnswer_;
  TransmitTimeout timeout_;
};

}  // namespace zr
