#include "netctl/PanelRigBackend.h"

#include "core/Panel.h"
#include "netctl/RigCommand.h"
#include "panel/ClientRequests.h"

namespace zr {

RigStateSnapshot PanelRigBackend::view() const { return *panel_.rigState.latest(); }

std::shared_ptr<RigTicket> PanelRigBackend::submit(const RigSetting& setting, int client,
                                                   std::function<void()> notify) {
  auto ticket = std::make_shared<RigTicket>(std::move(notify));
  panel_.engine.postTask("rigClientSetting", [this, ticket, setting, client] {
    // A setting whose client stopped waiting is not carried out any more.
    if (!ticket->take()) return;
    try {
      // Answered when the panel says so, which may be after this task.
      panel_.clients().take(setting, client, [this, ticket](bool accepted) {
        // The client reads the outcome from the published state from now on.
        panel_.engine.publish();
        ticket->finish(accepted ? rprt::Ok : rprt::Rejected);
      });
    } catch (...) {
      if (!ticket->result()) ticket->finish(rprt::Rejected);
      throw;
    }
  });
  return ticket;
}

void PanelRigBackend::clientGone(int client) {
  panel_.clients().left(client);
  panel_.engine.postTask("rigClientGone", [this, client] { panel_.clients().gone(client); });
}

}  // namespace zr
