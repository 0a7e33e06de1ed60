#include "netctl/SettingsInFlight.h"

#include <iterator>

#include "netctl/RigReply.h"

namespace zr {

void SettingsInFlight::expire(double now) {
  for (auto it = entries_.begin(); it != entries_.end();) {
    const Entry& e = it->second;
    const double age = now - e.since;
    // A finished setting is in the published state already (the engine
    // publishes before it answers), whatever the transceiver made of it.
    const bool over = e.ticket->result() || (age >= kTakeDeadline && e.ticket->withdraw()) || age >= kCarryOutLimit;
    it = over ? entries_.erase(it) : std::next(it);
  }
}

bool SettingsInFlight::merges(const RigSetting& s, double now) {
  std::lock_guard lock(mutex_);
  expire(now);
  auto it = entries_.find(s.kind);
  return it != entries_.end() && it->second.setting.value == s.value && it->second.setting.on == s.on;
}

void SettingsInFlight::add(const RigSetting& s, std::shared_ptr<RigTicket> ticket, double now) {
  std::lock_guard lock(mutex_);
  entries_.insert_or_assign(s.kind, Entry{s, std::move(ticket), now});
}

void SettingsInFlight::apply(RigStateSnapshot& view, double now) {
  using K = RigSetting::Kind;
  std::lock_guard lock(mutex_);
  expire(now);
  for (const auto& [kind, e] : entries_) {
    const RigSetting& s = e.setting;
    switch (kind) {
      case K::Frequency:
        view.freqCmd = "F" + s.value;
        view.freqValid = true;
        break;
      case K::Mode:
        view.mode = s.value;
        break;
      case K::VfoBFrequency:
        view.vfoBFreqCmd = "F" + s.value;
        break;
      case K::VfoBMode:
        view.vfoBMode = panelModeText(s.value);
        break;
      case K::Split:
        view.split = s.on;
        view.transmitOnVfoB = s.on;
        break;
      case K::Ptt:
        break;
    }
  }
}

}  // namespace zr
