#pragma once
// Settings the rig server has answered but the panel has not yet carried
// out. Clients are answered as soon as a setting passes the checks that can
// be made at once, so until the engine has done it (and published the
// transceiver's report), reads answer the commanded value; an identical
// setting arriving meanwhile is merged into the one under way. Shared by
// every session of a server; any thread.
#include <map>
#include <memory>
#include <mutex>

#include "core/RigClient.h"
#include "core/RigState.h"
#include "netctl/RigBackend.h"

namespace zr {

class SettingsInFlight {
 public:
  // An entry the engine has not taken by then is withdrawn...
  static constexpr double kTakeDeadline = 1.0;
  // ...and one it took stops counting by then, carried out or not: the
  // published state wins.
  static constexpr double kCarryOutLimit = 3.0;

  // True when the same setting is already on its way: nothing to send.
  bool merges(const RigSetting& setting, double now);
  void add(const RigSetting& setting, std::shared_ptr<RigTicket> ticket, double now);
  // `view` as it will be once what is on its way has been carried out.
  void apply(RigStateSnapshot& view, double now);

 private:
  struct Entry {
    RigSetting setting;
    std::shared_ptr<RigTicket> ticket;
    double since;
  };
  void expire(double now);

  std::mutex mutex_;
  std::map<RigSetting::Kind, Entry> entries_;  // the latest of each kind
};

}  // namespace zr
