#pragma once
// The Kenwood-family dialect on the CAT port, carried out on the panel.
// Queries are answered from the published rig state at once. Settings are
// taken where a station program on the network could make them, and carried
// out in order by the service loop's CATCmd with the panel's own workers
// (frequency and mode through gSetFreq/gSetMode, VFO B and split as the
// operator's controls). Keying makes the port one more holder of the PTT, as
// a network client is; a key-up never waits behind anything, and the port
// closing or the dialect being switched off lets go.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "cat/KenwoodRequests.h"

namespace zr {

class Panel;

class KenwoodCat {
 public:
  // The CAT port's number among the holders of the PTT (network clients
  // count from 1).
  static constexpr int kClient = -1;
  // Settings carried out per receive; each holds the service loop for half
  // a second or more.
  static constexpr std::size_t kMaxSettingsPerReceive = 4;
  // Receives waiting for CATCmd; beyond that a receive is refused whole.
  static constexpr std::size_t kMaxQueued = 8;

  struct Port {
    // Answers from here on belong to the next receive.
    std::function<void()> beginReceive;
    std::function<void(const std::string&)> answer;
    // A request answered "?;" (unsupported, or not possible now).
    std::function<void(const std::string&)> refused;
  };

  KenwoodCat(Panel& panel, Port port);

  // The requests of one receive. Returns true when some wait for CATCmd.
  bool take(const std::vector<KenwoodRequest>& requests);
  // Service loop: the receives queued when it starts, in order.
  void CATCmd();
  // The port closed or the dialect went off: queued work is dropped, a
  // key-down not yet carried out is void, and the port's hold ends.
  void release();
  bool hasQueued() const { return !queued_.empty(); }

 private:
  enum class Settings { Refuse, CarryOut };
  void carryOut(const KenwoodRequest& r, Settings settings);
  void perform(const KenwoodRequest& r, Settings settings);
  void setting(const KenwoodRequest& r);
  bool takesSettings() const;
  void keyDown();
  void keyUp();
  void refuse(const KenwoodRequest& r);

  Panel& p_;
  Port port_;
  std::deque<std::vector<KenwoodRequest>> queued_;
  // Bumped by every key-up and release: a key-down posted before it is void.
  unsigned keyGeneration_ = 0;
  bool keyPending_ = false;  // a key-down waits for the engine
  bool mayHold_ = false;     // a key-down since the last key-up
  bool carrying_ = false;    // CATCmd is carrying out a receive
};

}  // namespace zr
