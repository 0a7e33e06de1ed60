#include "cat/KenwoodCat.h"

#include <memory>

#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"
#include "panel/ClientRequests.h"

namespace zr {

namespace {
using K = KenwoodRequest::Kind;
}  // namespace

KenwoodCat::KenwoodCat(Panel& panel, Port port) : p_(panel), port_(std::move(port)) {}

bool KenwoodCat::takesSettings() const { return !keyPending_ && p_.clients().takesSettings(); }

void KenwoodCat::take(const std::vector<KenwoodRequest>& requests) {
  if (requests.empty()) return;
  active_ = true;
  port_.beginReceive();
  for (const KenwoodRequest& r : requests) {
    // Errors are shown; the requests after it still run.
    try {
      perform(r);
    } catch (const RuntimeError& e) {
      p_.display().gShowInfo(errMessage("CATCmd", e));
    }
  }
}

void KenwoodCat::release() {
  if (!active_) return;
  active_ = false;
  keyPending_ = false;
  ++keyGeneration_;
  p_.clients().left(kClient);
  p_.engine.postTask("CATCmd", [this] { p_.clients().gone(kClient); });
}

void KenwoodCat::perform(const KenwoodRequest& r) {
  if (r.isQuery()) {
    const std::string a = kenwoodAnswer(r, p_.clients().commandedState());
    if (a.empty()) return refuse(r);
    return port_.answer(a);
  }
  switch (r.kind) {
    case K::KeyDown:
      return keyDown();
    case K::KeyUp:
      return keyUp();
    case K::AutoInfoOff:
    case K::PowerOn:
      return;
    case K::Unsupported:
      return refuse(r);
    default:
      if (!takesSettings()) return refuse(r);
      return setting(r);
  }
}

void KenwoodCat::setting(const KenwoodRequest& r) {
  using S = RigSetting::Kind;
  switch (r.kind) {
    case K::FreqASet:
      return viaClients(r, {S::Frequency, r.argument, false});
    case K::ModeSet:
      return viaClients(r, {S::Mode, r.argument, false});
    case K::FreqBSet:
      return viaClients(r, {S::VfoBFrequency, r.argument, false});
    case K::RxVfoSet:
      // Choosing the receive VFO sets the transmit VFO with it.
      return viaClients(r, {S::Split, {}, false});
    case K::TxVfoSet:
      return viaClients(r, {S::Split, {}, r.argument == "1"});
    default:
      return refuse(r);
  }
}

void KenwoodCat::viaClients(const KenwoodRequest& r, const RigSetting& s) {
  // Refused at once: "?;" in its place among the answers. Refused later,
  // when the transceiver could not take it: a stray "?;" would be read as
  // the answer to a later query, so only the monitor tells.
  auto now = std::make_shared<bool>(true);
  p_.clients().take(s, kClient, [this, r, now](bool accepted) {
    if (accepted) return;
    if (*now) return refuse(r);
    if (port_.refused) port_.refused(r.text);
  });
  *now = false;
}

void KenwoodCat::keyDown() {
  keyPending_ = true;
  // Run at a pump like a network client's key-down: the PTT loop it starts
  // must not run inside a wait of the link. Behind the frequency and mode
  // settings taken before it.
  p_.engine.postTask("CATCmd", [this, generation = keyGeneration_] {
    if (generation != keyGeneration_) return;
    keyPending_ = false;
    // Refused where the PTT button would be (out of band, local control,
    // the operator's own transmission): a Kenwood transceiver answers a
    // key-down with nothing, so only the monitor tells.
    p_.clients().take({RigSetting::Kind::Ptt, {}, true}, kClient, [this](bool keyed) {
      if (!keyed && port_.refused) port_.refused("TX");
    });
  });
}

void KenwoodCat::keyUp() {
  keyPending_ = false;
  ++keyGeneration_;
  p_.engine.postTask("CATCmd", [this] { p_.clients().take({RigSetting::Kind::Ptt, {}, false}, kClient, [](bool) {}); });
}

void KenwoodCat::refuse(const KenwoodRequest& r) {
  port_.answer(kKenwoodRefused);
  if (port_.refused) port_.refused(r.text);
}

}  // namespace zr
