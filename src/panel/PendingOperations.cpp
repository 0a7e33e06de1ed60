#include "panel/PendingOperations.h"

#include "core/Panel.h"

namespace zr {

PendingOperations::PendingOperations(Panel& panel) : p_(panel) {
  const std::string frm = p_.frm.name();
  auto raise = [&](const char* control, bool& flag) {
    p_.engine.on(frm, control, EventKind::Click, [&flag](const InputEvent&) { flag = true; });
  };
  for (std::size_t i = 0; i < kBandButtons.size(); ++i) raise(kBandButtons[i], bandPending[i]);
  raise("cmdM2V", m2vPending);
  raise("cmdV2M", v2mPending);
}

}  // namespace zr
