#include "netctl/RigSession.h"

#include <algorithm>

#include "netctl/RigReply.h"

namespace zr {

namespace {

constexpr long long kLowestHz = 1'600'000;
constexpr long long kHighestHz = 29'999'990;

long long vfoAHz(const RigStateSnapshot& view) {
  if (!view.freqValid || view.freqCmd.size() != 8) return -1;
  return hzForPanelDigits(view.freqCmd.substr(1));
}

// A VFO B never set (all zeros on a fresh panel) reads as VFO A, as on a
// transceiver whose second VFO starts as a copy of the first.
long long vfoBHz(const RigStateSnapshot& view) {
  const long long hz = view.vfoBFreqCmd.size() == 8 ? hzForPanelDigits(view.vfoBFreqCmd.substr(1)) : -1;
  return hz >= kLowestHz && hz <= kHighestHz ? hz : vfoAHz(view);
}

std::string vfoBModeCode(const RigStateSnapshot& view) {
  const std::string code = rigModeCodeOfText(view.vfoBMode);
  return code.empty() ? view.mode : code;
}

// The transmitter keys from the panel's key command on; an unkey counts
// once it has gone to the radio, not when the transceiver next reports.
bool keyed(const RigStateSnapshot& view) { return view.keyCmd == "K" || view.keyed; }

RigReply freqReply(long long hz, const char* key = "Frequency") {
  if (hz < 0) return RigReply::error(rprt::NotAvailable);
  return {{{key, std::to_string(hz)}}, rprt::Ok};
}

bool readsTransceiver(RigOp op) {
  switch (op) {
    case RigOp::GetFreq:
    case RigOp::GetMode:
    case RigOp::GetSplitFreq:
    case RigOp::GetSplitMode:
    case RigOp::GetSplitFreqMode:
    case RigOp::GetVfoInfo:
      return true;
    default:
      return false;
  }
}

}  // namespace

RigSession::RigSession(RigBackend& backend, int id, std::function<void()> wake,
                       std::shared_ptr<SettingsInFlight> inFlight)
    : backend_(backend),
      id_(id),
      wake_(std::move(wake)),
      inFlight_(inFlight ? std::move(inFlight) : std::make_shared<SettingsInFlight>()) {}

std::optional<double> RigSession::deadline() const {
  if (!pending_) return std::nullopt;
  return pending_->deadline;
}

void RigSession::receive(std::string_view bytes) {
  if (closing_) return;
  buffer_.append(bytes);
}

bool RigSession::onVfoB(RigVfo vfo, const RigStateSnapshot& view) const {
  if (vfo == RigVfo::Current) vfo = current_;
  return vfo == RigVfo::B || (vfo == RigVfo::Tx && view.split);
}

RigStateSnapshot RigSession::currentView(double now) const {
  RigStateSnapshot view = backend_.view();
  inFlight_->apply(view, now);
  return view;
}

RigReply RigSession::modeOf(bool vfoB, const RigStateSnapshot& view) const {
  const std::string code = vfoB ? vfoBModeCode(view) : view.mode;
  std::string name = dataMode_[vfoB ? 1 : 0] ? rigDataModeName(code) : std::string();
  if (name.empty()) name = rigModeName(code);
  if (name.empty()) return RigReply::error(rprt::NotAvailable);
  return {{{"Mode", name}, {"Passband", std::to_string(rigPassband(name))}}, rprt::Ok};
}

bool RigSession::settlePending(double now) {
  Pending& p = *pending_;
  if (auto code = p.ticket->result()) {
    reply(p.line, RigReply::error(*code));
  } else if (now < p.deadline) {
    return false;
  } else if (p.withdrawable && p.ticket->withdraw()) {
    reply(p.line, RigReply::error(rprt::TimedOut));
  } else if (now < p.limit) {
    // Taken and under way; an unkey is never withdrawn, the engine carries
    // it out whenever it gets to it.
    p.deadline = p.limit;
    return false;
  } else {
    reply(p.line, RigReply::error(rprt::TimedOut));
  }
  pending_.reset();
  return true;
}

void RigSession::advance(double now) {
  for (;;) {
    if (pending_ && !settlePending(now)) return;
    if (closing_) return;
    std::size_t end = buffer_.find_first_of("\r\n");
    // At the end of the input a last line needs no line end.
    if (end == std::string::npos && inputEnded_ && !buffer_.empty()) end = buffer_.size();
    if (end == std::string::npos) {
      closing_ = buffer_.size() > kMaxLine || inputEnded_;
      return;
    }
    if (end > kMaxLine) {
      closing_ = true;
      return;
    }
    const std::string text = buffer_.substr(0, end);
    buffer_.erase(0, std::min(end + 1, buffer_.size()));
    handle(parseRigLine(text), now);
  }
}

void RigSession::reply(const RigLine& line, const RigReply& r) { output_ += formatRigReply(line, r); }

std::optional<RigReply> RigSession::query(const RigCommand& c, const RigStateSnapshot& view) {
  // The last values are not the transceiver's any more once its port is gone.
  if (view.portLost && readsTransceiver(c.op)) return RigReply::error(rprt::IoError);
  auto join = [](RigReply a, const RigReply& b) {
    if (a.code != rprt::Ok) return a;
    if (b.code != rprt::Ok) return b;
    a.records.insert(a.records.end(), b.records.begin(), b.records.end());
    return a;
  };
  auto txMode = [&] {
    RigReply r = modeOf(true, view);
    if (r.code == rprt::Ok) r.records = {{"TX Mode", r.records[0].second}, {"TX Passband", r.records[1].second}};
    return r;
  };
  switch (c.op) {
    case RigOp::GetFreq: {
      const bool b = onVfoB(RigVfo::Current, view);
      return freqReply(b ? vfoBHz(view) : vfoAHz(view));
    }
    case RigOp::GetMode:
      return modeOf(onVfoB(RigVfo::Current, view), view);
    case RigOp::GetSplitFreq:
      return freqReply(vfoBHz(view), "TX Frequency");
    case RigOp::GetSplitMode:
      return txMode();
    case RigOp::GetSplitFreqMode:
      return join(freqReply(vfoBHz(view), "TX Frequency"), txMode());
    case RigOp::GetVfoInfo: {
      const bool b = onVfoB(c.vfo, view);
      RigReply r = join(freqReply(b ? vfoBHz(view) : vfoAHz(view), "Freq"), modeOf(b, view));
      if (r.code != rprt::Ok) return r;
      r.records[1].first = "Mode";
      r.records[2].first = "Width";
      r.records.emplace_back("Split", view.split ? "1" : "0");
      r.records.emplace_back("SatMode", "0");
      return r;
    }
    case RigOp::GetVfo:
      return RigReply{{{"VFO", current_ == RigVfo::B ? "VFOB" : "VFOA"}}, rprt::Ok};
    case RigOp::GetPtt:
      return RigReply{{{"PTT", keyed(view) ? "1" : "0"}}, rprt::Ok};
    case RigOp::GetSplitVfo:
      return RigReply{{{"Split", view.split ? "1" : "0"}, {"TX VFO", view.split ? "VFOB" : "VFOA"}}, rprt::Ok};
    case RigOp::DumpState: {
      RigReply r;
      for (std::string& l : dumpStateLines(view.txUnrestricted)) r.records.emplace_back("", std::move(l));
      return r;
    }
    case RigOp::ChkVfo:
      return RigReply{{{"ChkVFO", "0"}}, rprt::Ok};
    case RigOp::GetPowerstat:
      return RigReply{{{"Power Status", "1"}}, rprt::Ok};
    case RigOp::GetLockMode:
      return RigReply{{{"Locked", "0"}}, rprt::Ok};
    case RigOp::Quit:
      closing_ = true;
      return RigReply{};
    default:
      return std::nullopt;
  }
}

void RigSession::handle(RigLine line, double now) {
  if (line.blank) return;
  if (!line.command) return reply(line, RigReply::error(line.error));
  const RigCommand& c = *line.command;
  const RigStateSnapshot view = currentView(now);
  if (auto answer = query(c, view)) return reply(line, *answer);

  std::vector<RigSetting> settings;
  if (auto answer = settle(c, view, settings)) return reply(line, *answer);
  if (settings.size() == 1 && settings[0].kind == RigSetting::Kind::Ptt) {
    const bool unkey = !settings[0].on;
    // Only an unkey goes through whatever the panel is doing, and a key-down
    // repeated by the client keying now (the panel decides if it still holds).
    if (!view.takesKeyDown && !unkey && !keying_) return reply(line, RigReply::error(rprt::Rejected));
    keying_ = !unkey;
    auto ticket = backend_.submit(settings[0], id_, wake_);
    pending_ = Pending{std::move(line), std::move(ticket), now + kSettingDeadline, now + kCarryOutLimit, !unkey};
    return;
  }
  if (!view.takesSettings) return reply(line, RigReply::error(rprt::Rejected));
  // Answered now; the panel carries it out in turn with its own work, and
  // until then reads see the value commanded.
  for (const RigSetting& s : settings) {
    if (inFlight_->merges(s, now)) continue;
    inFlight_->add(s, backend_.submit(s, id_, {}), now);
  }
  reply(line, RigReply{});
}

std::optional<RigReply> RigSession::settle(const RigCommand& c, const RigStateSnapshot& view,
                                           std::vector<RigSetting>& out) {
  using K = RigSetting::Kind;
  auto frequency = [&](K kind) -> std::optional<RigReply> {
    RigSetting s{kind, panelDigitsForHz(c.hz), false};
    if (s.value.empty()) return RigReply::error(rprt::InvalidParameter);
    out.push_back(s);
    return std::nullopt;
  };
  auto mode = [&](bool vfoB) -> std::optional<RigReply> {
    RigSetting s{vfoB ? K::VfoBMode : K::Mode, rigModeCode(c.mode), false};
    if (s.value.empty()) return RigReply::error(rprt::InvalidParameter);
    // A mode command carries the frequency: the panel needs both known.
    if (!vfoB && (!view.freqValid || rigModeName(view.mode).empty())) return RigReply::error(rprt::Rejected);
    dataMode_[vfoB ? 1 : 0] = isRigDataMode(c.mode);
    out.push_back(s);
    return std::nullopt;
  };
  switch (c.op) {
    case RigOp::SetFreq:
      return frequency(onVfoB(RigVfo::Current, view) ? K::VfoBFrequency : K::Frequency);
    case RigOp::SetMode:
      if (c.listChoices) return RigReply{{{"", rigModeList()}}, rprt::Ok};
      return mode(onVfoB(RigVfo::Current, view));
    // Split transmits on the panel's VFO B.
    case RigOp::SetSplitFreq:
      return frequency(K::VfoBFrequency);
    case RigOp::SetSplitMode:
      if (c.listChoices) return RigReply{{{"", rigModeList()}}, rprt::Ok};
      return mode(true);
    case RigOp::SetSplitFreqMode: {
      if (auto refused = frequency(K::VfoBFrequency)) return refused;
      if (auto refused = mode(true)) {
        out.clear();
        return refused;
      }
      return std::nullopt;
    }
    case RigOp::SetVfo:
      if (c.listChoices) return RigReply{{{"", "VFOA VFOB "}}, rprt::Ok};
      // Which VFO this client means is its own business; nothing to tell the panel.
      current_ = onVfoB(c.vfo, view) ? RigVfo::B : RigVfo::A;
      return RigReply{};
    case RigOp::SetPtt:
      out.push_back({K::Ptt, {}, c.ptt != 0});
      return std::nullopt;
    case RigOp::SetSplitVfo:
      // The panel's split always transmits on VFO B.
      if (c.split && !onVfoB(c.vfo == RigVfo::Tx ? RigVfo::B : c.vfo, view))
        return RigReply::error(rprt::InvalidParameter);
      out.push_back({K::Split, {}, c.split});
      return std::nullopt;
    default:
      return RigReply::error(rprt::NotImplemented);
  }
}

}  // namespace zr
