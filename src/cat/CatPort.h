#pragma once
// The CAT port for station software: opened from the CAT settings. A receive
// event lets the rest of the request arrive, then takes the request text.
// Queries alone are answered at once from the published rig state, also
// while the service loop waits on the radio link; a request text holding a
// setting (and every text behind it, so answers keep their order) is queued
// for CATCmd, which the service loop runs, and is carried out in order.
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cat/CatMonitor.h"

namespace zr {

class Panel;
class KenwoodCat;
struct CatRequest;
struct RigStateSnapshot;

class CatPort {
 public:
  explicit CatPort(Panel& panel);
  ~CatPort();

  // Off: the FA/MD subset, answering nothing else. On: a Kenwood-family
  // transceiver's dialect (KenwoodCat). Switching lets go of what the port
  // keyed and drops what waits.
  void setKenwoodDialect(bool on);
  bool kenwoodDialect() const { return kenwoodOn_; }

  // (Re)opens the port. Failures are shown, never thrown; true when open.
  bool SetUpCATPort();
  void MSComm2_OnComm(int code);
  void CATCmd();

  // True while a receive event waits for the rest of its request.
  bool receiving() const { return receivedAt_.has_value(); }

  // Receive event: how long to let the rest of a request arrive.
  static constexpr double kRestOfRequestWait = 0.015;
  static constexpr int kReceiveThreshold = 3;
  // Transceiver settings carried out per receive event (see worthCarryingOut).
  static constexpr std::size_t kMaxSettingsPerReceive = 4;

  // The text of the last receive event.
  std::string gCATInput;

 private:
  // The port's part of every pump and wait: line events, and the request
  // once its wait is over. Returns the seconds until that is due.
  double serve();
  void takeRequest();
  // Errors are shown; the requests after it still run.
  void carryOut(const CatRequest& request, const RigStateSnapshot& state);
  void handle(const CatRequest& request, const RigStateSnapshot& state);
  void answer(const std::string& text);
  void beginReceive() { newReceive_ = true; }
  void showIgnored(const std::vector<std::string>& ignored);

  Panel& p_;
  std::optional<double> receivedAt_;  // time of day of the receive event in progress
  // Request texts for CATCmd, oldest first; each stays until carried out.
  std::deque<std::string> queued_;
  std::unique_ptr<KenwoodCat> kenwood_;
  bool kenwoodOn_ = false;
  CatMonitor monitor_;
  std::string basicHint_;
  // What the box shows: every answer of the receive last answered.
  std::string answers_;
  bool newReceive_ = true;
};

}  // namespace zr
