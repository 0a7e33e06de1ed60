#include "netctl/PanelRigBackend.h"

#include "core/Panel.h"
#include "netctl/RigCommand.h"
#include "panel/ClientRequests.h"

namespace zr {

RigView PanelRigBackend::view() const { return panel_.clients().view(); }

std::shared_ptr<RigTicket> PanelRigBackend::submit(const RigSetting& setting, int client,
                                                   std::function<void()> notify) {
  auto ticket = std::make_shared<RigTicket>(std::move(notify));
  panel_.engine.postTask("rigClientSetting", [this, ticket, setting, client] {
    // A setting whose client stopped waiting is not carried out any more.
    if (!ticket->take()) return;
    bool answered = false;
    try {
      panel_.clients().take(setting, client, [&](bool accepted) {
        answered = true;
        ticket->finish(accepted ? rprt::Ok : rprt::Rejected);
      });
    } catch (...) {
      if (!answered) ticket->finish(rprt::Rejected);
      throw;
    }
    if (!answered) ticket->finish(rprt::Rejected);
  });
  return ticket;
}

void PanelRigBackend::clientGone(int client) {
  panel_.engine.postTask("rigClientGone", [this, client] { panel_.clients().gone(client); });
}

}  // namespace zr
