#pragma once
// The rig server's way into the panel: every setting becomes a task in the
// engine's inbox, taken in turn with the operator's own input by the
// panel's ClientRequests; queries read the state it publishes.
#include "netctl/RigBackend.h"

namespace zr {

class Panel;

class PanelRigBackend : public RigBackend {
 public:
  explicit PanelRigBackend(Panel& panel) : panel_(panel) {}

  RigStateSnapshot view() const override;
  std::shared_ptr<RigTicket> submit(const RigSetting& setting, int client, std::function<void()> notify) override;
  void clientGone(int client) override;

 private:
  Panel& panel_;
};

}  // namespace zr
