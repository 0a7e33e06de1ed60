#include "cat/CatPort.h"

#include <algorithm>

#include "cat/CatRequests.h"
#include "cat/KenwoodCat.h"
#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"

namespace zr {

namespace {
constexpr const char* kNoCatPort = "No CAT Port";
constexpr const char* kKenwoodHint = "Not supported by this panel, or not possible now (a dialog open, transmitting, local control)";
// The answer box shows a receive's answers up to here.
constexpr std::size_t kMaxShownAnswers = 512;

bool knownMode(const std::string& code) { return code == "M1" || code == "M2" || code == "M3" || code == "M4"; }

bool isQuery(const CatRequest& r) {
  return r.kind == CatRequest::Kind::FreqQuery || r.kind == CatRequest::Kind::ModeQuery;
}
}  // namespace

CatPort::CatPort(Panel& panel) : p_(panel), basicHint_(panel.frm.lblCatHint.caption) {
  KenwoodCat::Port port;
  port.beginReceive = [this] { beginReceive(); };
  port.answer = [this](const std::string& text) { answer(text); };
  port.refused = [this](const std::string& request) { showIgnored({request}); };
  kenwood_ = std::make_unique<KenwoodCat>(panel, std::move(port));
  p_.engine.addWaitService([this] { return serve(); });
}

CatPort::~CatPort() = default;

void CatPort::setKenwoodDialect(bool on) {
  if (on == kenwoodOn_) return;
  kenwood_->release();
  queued_.clear();
  p_.form.gCATPending = false;
  kenwoodOn_ = on;
  p_.frm.lblCatHint.caption = on ? kKenwoodHint : basicHint_;
}

bool CatPort::SetUpCATPort() {
  SerialPort& port = p_.MSComm2;
  const Settings& s = p_.settings;
  // As on the radio port: software flow control is not offered.
  const Handshaking handshaking =
      (s.gCATHandshake == "comRTS" || s.gCATHandshake == "comRTSXonXoff") ? Handshaking::RtsCts : Handshaking::None;
  receivedAt_.reset();
  // Whatever a station program keyed through the port it is gone with.
  kenwood_->release();
  try {
    if (port.isOpen()) port.close();
    port.setCommPort(vbCInt(s.gCATPort));
    port.setHandshaking(handshaking);
    port.setSettings(s.gCATSettings);
    port.setInBufferSize(4096);
    port.setOutBufferSize(256);
    port.setNullDiscard(true);
    port.setParityReplace(":");
    port.setRTSEnable(true);
    port.setRThreshold(kReceiveThreshold);
    port.open();
  } catch (const RuntimeError& e) {
    // Station software gets no answers from a closed port; say why, and
    // say it where the CAT traffic is shown.
    p_.display().gShowInfo(errMessage("SetUpCATPort", e));
    p_.frm.txtInCat.text = kNoCatPort;
    p_.frm.txtOutCAT.text = kNoCatPort;
  }
  p_.form.gCATSetupChanged = false;
  return port.isOpen();
}

double CatPort::serve() {
  if (!p_.MSComm2.isOpen()) {
    receivedAt_.reset();
    kenwood_->release();
    return -1;
  }
  try {
    for (const int code : p_.MSComm2.takeLineEvents()) MSComm2_OnComm(code);
    if (receivedAt_) {
      const double left = kRestOfRequestWait - secondsSince(*receivedAt_, p_.clock.now());
      if (left > 0) return left;
      receivedAt_.reset();
      takeRequest();
    }
  } catch (const RuntimeError& e) {
    receivedAt_.reset();
    p_.display().gShowInfo(errMessage("MSComm2_OnComm", e));
  }
  return -1;
}

void CatPort::MSComm2_OnComm(int code) {
  switch (code) {
    case comm::EvReceive:
      // The wait runs while the engine goes on; bytes arriving meanwhile
      // belong to this request and are read with it.
      if (!receivedAt_) receivedAt_ = p_.clock.now();
      break;
    default:
      if (comm::isLineError(code)) p_.frm.lblComStat.caption = "Com2 Error";
      break;
  }
}

void CatPort::takeRequest() {
  // The read takes everything waiting (and the receive events that
  // announced it); emptying the buffer afterwards could only lose the
  // start of the next request.
  std::string text = p_.MSComm2.input();
  // A receive event whose bytes an earlier read already took.
  if (text.empty()) return;
  gCATInput = text;
  p_.frm.txtInCat.text = gCATInput;
  if (kenwoodOn_) {
    kenwood_->take(parseKenwoodRequests(text));
    return;
  }
  showIgnored(ignoredCatRequests(text));
  const auto requests = worthCarryingOut(parseCatRequests(text), kMaxSettingsPerReceive);
  if (requests.empty()) return;
  if (queued_.empty() && std::all_of(requests.begin(), requests.end(), isQuery)) {
    beginReceive();
    const auto state = p_.rigState.latest();
    for (const CatRequest& r : requests) carryOut(r, *state);
    return;
  }
  queued_.push_back(std::move(text));
  p_.form.gCATPending = true;
}

void CatPort::CATCmd() {
  p_.form.gCATPending = false;
  // Texts that arrive while these are carried out wait for the next pass,
  // so a client that keeps sending settings cannot hold the loop here.
  for (std::size_t n = queued_.size(); n > 0 && !queued_.empty(); --n) {
    // Copied, and left queued until done: receives served during the
    // settings' waits queue behind it.
    const std::string text = queued_.front();
    beginReceive();
    // A query after a setting sees the state that setting brought.
    for (const CatRequest& r : worthCarryingOut(parseCatRequests(text), kMaxSettingsPerReceive))
      carryOut(r, p_.currentRigState());
    queued_.pop_front();
  }
  if (!queued_.empty()) p_.form.gCATPending = true;
}

void CatPort::carryOut(const CatRequest& r, const RigStateSnapshot& state) {
  try {
    handle(r, state);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage("CATCmd", e));
  }
}

void CatPort::handle(const CatRequest& r, const RigStateSnapshot& state) {
  const TransceiverState& st = p_.st;
  switch (r.kind) {
    case CatRequest::Kind::FreqQuery:
      answer(catFreqAnswer(state.freqCmd));
      break;
    case CatRequest::Kind::ModeQuery:
      answer(catModeAnswer(state.digitalMode, state.mode));
      break;
    case CatRequest::Kind::FreqSet:
      p_.cmds().gSetFreq(r.argument);
      break;
    case CatRequest::Kind::ModeSet:
      // Before the transceiver has reported its mode and frequency a mode
      // command could carry a blank frequency line; wait for the state.
      if (!knownMode(st.gMode) || catFreqAnswer(st.gFreqCmd).empty()) return;
      p_.cmds().gSetMode(r.argument);
      break;
  }
}

// The monitor keeps the requests ignored of late, so the operator sees why a
// station program gets no answers, and what to change.
void CatPort::showIgnored(const std::vector<std::string>& ignored) {
  if (ignored.empty()) return;
  monitor_.add(ignored, p_.clock.now());
  p_.frm.lblCatIgnored.caption =
      ignoredCatRequestsText(monitor_.recent(), kenwoodOn_ ? "refused:" : "ignored:");
  p_.frm.lblCatIgnored.visible = true;
  p_.frm.lblCatHint.visible = true;
}

// Nothing is known to answer with (no state yet): better no answer, which
// station software retries, than a made-up one.
void CatPort::answer(const std::string& text) {
  if (text.empty()) return;
  if (newReceive_) answers_.clear();
  newReceive_ = false;
  if (answers_.size() < kMaxShownAnswers) answers_ += answers_.size() + text.size() > kMaxShownAnswers ? "..." : text;
  p_.frm.txtOutCAT.text = answers_;
  p_.MSComm2.output(text);
}

}  // namespace zr
