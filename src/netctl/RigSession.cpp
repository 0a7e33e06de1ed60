#include "netctl/RigSession.h"

#include <algorithm>

#include "netctl/RigReply.h"

namespace zr {

namespace {

RigReply modeReply(const std::string& name) {
  if (name.empty()) return RigReply::error(rprt::NotAvailable);
  return {{{"Mode", name}, {"Passband", std::to_string(rigPassband(name))}}, rprt::Ok};
}

long long vfoAHz(const RigStateSnapshot& view) {
  if (!view.freqValid || view.freqCmd.size() != 8) return -1;
  return hzForPanelDigits(view.freqCmd.substr(1));
}

long long vfoBHz(const RigStateSnapshot& view) {
  return view.vfoBFreqCmd.empty() ? -1 : hzForPanelDigits(view.vfoBFreqCmd.substr(1));
}

bool transmitting(const RigStateSnapshot& view) { return view.transmitting || view.keyCmd == "K"; }

RigReply freqReply(long long hz) {
  if (hz < 0) return RigReply::error(rprt::NotAvailable);
  return {{{"Frequency", std::to_string(hz)}}, rprt::Ok};
}

}  // namespace

RigSession::RigSession(RigBackend& backend, int id, std::function<void()> wake)
    : backend_(backend), id_(id), wake_(std::move(wake)) {}

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

void RigSession::handle(RigLine line, double now) {
  if (line.blank) return;
  if (!line.command) return reply(line, RigReply::error(line.error));
  const RigCommand& c = *line.command;
  const RigStateSnapshot view = backend_.view();
  switch (c.op) {
    case RigOp::GetFreq:
      return reply(line, freqReply(onVfoB(RigVfo::Current, view) ? vfoBHz(view) : vfoAHz(view)));
    case RigOp::GetMode:
      return reply(line, modeReply(onVfoB(RigVfo::Current, view) ? rigModeName(rigModeCodeOfText(view.vfoBMode))
                                                                  : rigModeName(view.mode)));
    case RigOp::GetVfo:
      return reply(line, {{{"VFO", current_ == RigVfo::B ? "VFOB" : "VFOA"}}, rprt::Ok});
    case RigOp::GetPtt:
      return reply(line, {{{"PTT", transmitting(view) ? "1" : "0"}}, rprt::Ok});
    case RigOp::GetSplitVfo:
      return reply(line, {{{"Split", view.split ? "1" : "0"}, {"TX VFO", view.split ? "VFOB" : "VFOA"}}, rprt::Ok});
    case RigOp::DumpState: {
      RigReply r;
      for (std::string& l : dumpStateLines(view.txUnrestricted)) r.records.emplace_back("", std::move(l));
      return reply(line, r);
    }
    case RigOp::ChkVfo:
      return reply(line, {{{"ChkVFO", "0"}}, rprt::Ok});
    case RigOp::GetPowerstat:
      return reply(line, {{{"Power Status", "1"}}, rprt::Ok});
    case RigOp::GetLockMode:
      return reply(line, {{{"Locked", "0"}}, rprt::Ok});
    case RigOp::Quit:
      closing_ = true;
      return reply(line, {});
    default:
      break;
  }
  RigSetting setting;
  if (auto answer = settle(c, setting)) return reply(line, *answer);
  const bool unkey = setting.kind == RigSetting::Kind::Ptt && !setting.on;
  // Only an unkey goes through whatever the panel is doing.
  if (!view.takesSettings && !unkey) return reply(line, RigReply::error(rprt::Rejected));
  auto ticket = backend_.submit(setting, id_, wake_);
  pending_ = Pending{std::move(line), std::move(ticket), now + kSettingDeadline, now + kCarryOutLimit, !unkey};
}

std::optional<RigReply> RigSession::settle(const RigCommand& c, RigSetting& s) {
  using K = RigSetting::Kind;
  const RigStateSnapshot view = backend_.view();
  switch (c.op) {
    case RigOp::SetFreq:
      s.kind = onVfoB(RigVfo::Current, view) ? K::VfoBFrequency : K::Frequency;
      s.value = panelDigitsForHz(c.hz);
      if (s.value.empty()) return RigReply::error(rprt::InvalidParameter);
      return std::nullopt;
    case RigOp::SetMode:
      if (c.listChoices) return RigReply{{{"", rigModeList()}}, rprt::Ok};
      s.kind = onVfoB(RigVfo::Current, view) ? K::VfoBMode : K::Mode;
      s.value = rigModeCode(c.mode);
      if (s.value.empty()) return RigReply::error(rprt::InvalidParameter);
      return std::nullopt;
    case RigOp::SetVfo:
      if (c.listChoices) return RigReply{{{"", "VFOA VFOB "}}, rprt::Ok};
      // Which VFO this client means is its own business; nothing to tell the panel.
      current_ = onVfoB(c.vfo, view) ? RigVfo::B : RigVfo::A;
      return RigReply{};
    case RigOp::SetPtt:
      s.kind = K::Ptt;
      s.on = c.ptt != 0;
      return std::nullopt;
    case RigOp::SetSplitVfo:
      // The panel's split always transmits on VFO B.
      if (c.split && !onVfoB(c.vfo == RigVfo::Tx ? RigVfo::B : c.vfo, view))
        return RigReply::error(rprt::InvalidParameter);
      s.kind = K::Split;
      s.on = c.split;
      return std::nullopt;
    default:
      return RigReply::error(rprt::NotImplemented);
  }
}

}  // namespace zr
