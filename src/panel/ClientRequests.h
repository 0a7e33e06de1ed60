#pragma once
// Station programs on the network, as the panel meets them: their settings
// are taken where the panel's own controls would take them and carried out
// by the same routines (the frequency through gSetFreq, the mode through
// gSetMode, keying through the PTT path). They read the published rig state.
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>

#include "core/RigClient.h"
#include "core/RigState.h"

namespace zr {

class Panel;

class ClientRequests {
 public:
  explicit ClientRequests(Panel& panel) : p_(panel) {}

  // A key-down that waited longer than this (behind settings, or behind a
  // transmission's end held up) is refused: its client has stopped waiting.
  static constexpr double kKeyDownPatience = 3.0;

  using Answer = std::function<void(bool accepted)>;

  // Engine thread. Takes `setting` from station program `client` now, or
  // refuses it. `answer` runs once: a frequency or mode once the transceiver
  // has been sent it and its reply is in the published state; a key-down
  // before it transmits (until every holder lets go), after the frequency
  // and mode settings queued before it; anything else at once.
  void take(const RigSetting& setting, int client, const Answer& answer);
  // Engine thread: the client has gone; what it keyed ends, and a split it
  // turned on that nobody changed since is turned off.
  void gone(int client);
  // Any thread, at once: the client has gone, so a key-down of it still
  // waiting is not carried out even before gone() runs.
  void left(int client);
  // Worker of the settings that talk to the transceiver, in arrival order.
  void clientCmd();
  bool clientPending = false;

  // Where the operator could change a setting now, so can a client.
  bool takesSettings() const;
  // The panel's state as a client that set something sees it: with the
  // frequency and mode settings taken but not yet carried out.
  RigStateSnapshot commandedState() const;

 private:
  // Applied at once: settings that only change the panel's own VFO B and split.
  bool setVfoB(const RigSetting& setting);
  bool setSplit(bool on);
  void dropKeyDown(int client);
  bool hasLeft(int client);

  Panel& p_;
  struct Queued {
    RigSetting setting;
    Answer answer;
    int client = 0;
    double since = 0;  // time of day it was taken
  };
  // Frequency and mode settings not yet carried out; a newer one of a kind
  // replaces the older, so a fast client cannot queue up work.
  std::deque<Queued> queued_;
  // The one clientCmd is carrying out: the CAT port may ask (and repeat
  // itself) while the transceiver is being waited for.
  std::optional<RigSetting> carrying_;
  // Key-downs that arrived behind them: a client that tunes, then keys,
  // must not transmit on the frequency it left.
  std::deque<Queued> keyDowns_;
  // The client that last turned split on, and the split clicks counted then.
  std::mutex leftMutex_;
  std::set<int> left_;
  int splitOwner_ = 0;
  int splitClicks_ = 0;
};

}  // namespace zr
