#pragma once
// The Kenwood-family dialect on the CAT port, carried out on the panel.
// Every request of a receive is dealt with at once, in order: queries read
// the panel's state with the settings taken but not yet carried out, so a
// station program never waits on the panel's own exchanges. Settings are
// taken where a station program on the network could make them (ClientRequests),
// which carries out frequency and mode behind the panel's own work with
// gSetFreq/gSetMode and merges a repeated one into the one under way. Keying
// makes the port one more holder of the PTT, as a network client is; a
// key-up never waits behind anything, and the port closing or the dialect
// being switched off lets go.
#include <functional>
#include <string>
#include <vector>

#include "cat/KenwoodRequests.h"
#include "core/RigClient.h"

namespace zr {

class Panel;

class KenwoodCat {
 public:
  // The CAT port's number among the holders of the PTT (network clients
  // count from 1).
  static constexpr int kClient = -1;

  struct Port {
    // Answers from here on belong to the next receive.
    std::function<void()> beginReceive;
    std::function<void(const std::string&)> answer;
    // A request answered "?;" (unsupported, or not possible now), or a
    // setting taken that could not be carried out after all.
    std::function<void(const std::string&)> refused;
  };

  KenwoodCat(Panel& panel, Port port);

  // Engine thread, also inside the engine's waits: the requests of one
  // receive, each answered (or refused) before this returns.
  void take(const std::vector<KenwoodRequest>& requests);
  // The port closed or the dialect went off: the station program behind it
  // is gone. A key-down not yet carried out is void, the port's hold ends,
  // and a split it turned on ends as a network client's does.
  void release();

 private:
  void perform(const KenwoodRequest& r);
  void setting(const KenwoodRequest& r);
  void viaClients(const KenwoodRequest& r, const RigSetting& s);
  bool takesSettings() const;
  void keyDown();
  void keyUp();
  void refuse(const KenwoodRequest& r);

  Panel& p_;
  Port port_;
  // Bumped by every key-up and release: a key-down posted before it is void.
  unsigned keyGeneration_ = 0;
  bool keyPending_ = false;  // a key-down waits for the engine
  bool active_ = false;      // something was taken since the last release
};

}  // namespace zr
