#include "cat/KenwoodCat.h"

#include <algorithm>

#include "core/CommandComposer.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"
#include "core/RigClient.h"
#include "panel/ClientRequests.h"
#include "panel/Transmit.h"

namespace zr {

namespace {
using K = KenwoodRequest::Kind;

bool knownMode(const std::string& code) { return code == "M1" || code == "M2" || code == "M3" || code == "M4"; }
}  // namespace

KenwoodCat::KenwoodCat(Panel& panel, Port port) : p_(panel), port_(std::move(port)) {}

bool KenwoodCat::takesSettings() const { return !keyPending_ && p_.clients().takesSettings(); }

bool KenwoodCat::take(const std::vector<KenwoodRequest>& requests) {
  const bool settings = std::any_of(requests.begin(), requests.end(), [](const auto& r) { return r.isSetting(); });
  const bool full = queued_.size() >= kMaxQueued;
  // While CATCmd carries a receive out, later ones wait behind it too.
  const bool waiting = !queued_.empty() || carrying_;
  if ((!waiting && !(settings && takesSettings())) || full) {
    // Nothing to wait for (or no room to wait): answered now, any setting
    // refused, as the panel cannot take it.
    port_.beginReceive();
    for (const KenwoodRequest& r : requests) carryOut(r, Settings::Refuse);
    return !queued_.empty();
  }
  std::vector<KenwoodRequest> later;
  for (const KenwoodRequest& r : requests) {
    if (r.kind != K::KeyUp) {
      later.push_back(r);
      continue;
    }
    // Unkeying early is always safe, and it must not wait behind a setting
    // that cannot be carried out while the transmitter is held.
    std::erase_if(later, [](const auto& q) { return q.kind == K::KeyDown; });
    for (auto& batch : queued_) std::erase_if(batch, [](const auto& q) { return q.kind == K::KeyDown; });
    keyUp();
  }
  if (!later.empty()) queued_.push_back(std::move(later));
  return !queued_.empty();
}

void KenwoodCat::CATCmd() {
  carrying_ = true;
  try {
    for (std::size_t n = queued_.size(); n > 0 && !queued_.empty(); --n) {
      const std::vector<KenwoodRequest> batch = std::move(queued_.front());
      queued_.pop_front();
      port_.beginReceive();
      // A key-up that arrives during this receive's settings voids its key-down.
      const unsigned generation = keyGeneration_;
      std::size_t settings = 0;
      for (const KenwoodRequest& r : batch) {
        if (r.kind == K::KeyDown && generation != keyGeneration_) continue;
        const bool room = !r.isSetting() || ++settings <= kMaxSettingsPerReceive;
        carryOut(r, room ? Settings::CarryOut : Settings::Refuse);
      }
    }
  } catch (...) {
    carrying_ = false;
    throw;
  }
  carrying_ = false;
}

void KenwoodCat::release() {
  queued_.clear();
  // A receive being carried out finishes its settings, but keys nothing.
  ++keyGeneration_;
  if (mayHold_) keyUp();
}

void KenwoodCat::carryOut(const KenwoodRequest& r, Settings settings) {
  // Errors are shown; the requests after it still run.
  try {
    perform(r, settings);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage("CATCmd", e));
  }
}

void KenwoodCat::perform(const KenwoodRequest& r, Settings settings) {
  if (r.isQuery()) {
    // Queries carried out by CATCmd come after settings: they read the
    // state as it is now, the others the state last published.
    const std::string a = kenwoodAnswer(r, settings == Settings::CarryOut ? p_.currentRigState() : *p_.rigState.latest());
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
      if (settings == Settings::Refuse || !takesSettings()) return refuse(r);
      return setting(r);
  }
}

void KenwoodCat::setting(const KenwoodRequest& r) {
  auto viaClients = [&](RigSetting s) {
    p_.clients().take(s, kClient, [this, r](bool accepted) {
      if (!accepted) refuse(r);
    });
  };
  switch (r.kind) {
    case K::FreqASet:
      return p_.cmds().gSetFreq(r.argument);
    case K::ModeSet:
      // A mode command carries the frequency: both must be known first.
      if (!knownMode(p_.st.gMode) || !p_.st.gFreqValid) return refuse(r);
      return p_.cmds().gSetMode(r.argument);
    case K::FreqBSet:
      return viaClients({RigSetting::Kind::VfoBFrequency, r.argument, false});
    case K::RxVfoSet:
      // Choosing the receive VFO sets the transmit VFO with it.
      return viaClients({RigSetting::Kind::Split, {}, false});
    case K::TxVfoSet:
      return viaClients({RigSetting::Kind::Split, {}, r.argument == "1"});
    default:
      return refuse(r);
  }
}

void KenwoodCat::keyDown() {
  keyPending_ = true;
  mayHold_ = true;
  // Run at a pump like a network client's key-down: the PTT loop it starts
  // must not run inside a wait of the link or of CATCmd.
  p_.engine.postTask("CATCmd", [this, generation = keyGeneration_] {
    if (generation != keyGeneration_) return;
    keyPending_ = false;
    // Refused where the PTT button would be (out of band, local control,
    // the operator's own transmission): a Kenwood transceiver answers a
    // key-down with nothing, so only the monitor tells.
    p_.transmit().clientKeyDown(kClient, [this](bool keyed) {
      if (!keyed && port_.refused) port_.refused("TX");
    });
  });
}

void KenwoodCat::keyUp() {
  keyPending_ = false;
  mayHold_ = false;
  ++keyGeneration_;
  p_.engine.postTask("CATCmd", [this] { p_.transmit().clientKeyUp(kClient); });
}

void KenwoodCat::refuse(const KenwoodRequest& r) {
  port_.answer(kKenwoodRefused);
  if (port_.refused) port_.refused(r.text);
}

}  // namespace zr
