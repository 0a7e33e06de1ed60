#include "cat/KenwoodRequests.h"

#include <optional>

#include "cat/CatRequests.h"
#include "core/Convert.h"
#include "core/RigState.h"

namespace zr {

namespace {

using K = KenwoodRequest::Kind;

constexpr std::size_t kHzDigits = 11;

KenwoodRequest req(K kind, std::string argument = {}) {
  KenwoodRequest r;
  r.kind = kind;
  r.argument = std::move(argument);
  return r;
}

// Eleven digits of Hz as the panel's seven digits of 10 Hz; the 1 Hz digit
// is dropped as the basic dialect drops it. Nothing outside the panel's
// range: the transceiver could not take it.
std::optional<std::string> panelDigits(std::string_view hz) {
  if (!allDigits(std::string(hz), kHzDigits) || hz.substr(0, 3) != "000") return std::nullopt;
  std::string digits(hz.substr(3, 7));
  if (digits < "0160000" || digits > "2999999") return std::nullopt;
  return digits;
}

std::optional<KenwoodRequest> withArgument(K kind, std::optional<std::string> argument) {
  if (!argument) return std::nullopt;
  return req(kind, std::move(*argument));
}

std::optional<KenwoodRequest> recognise(std::string_view r) {
  if (r == "ID") return req(K::Identity);
  if (r == "IF") return req(K::Information);
  if (r == "FA") return req(K::FreqAQuery);
  if (r == "FB") return req(K::FreqBQuery);
  if (r == "MD") return req(K::ModeQuery);
  if (r == "FR") return req(K::RxVfoQuery);
  if (r == "FT") return req(K::TxVfoQuery);
  if (r == "TX" || r == "TX0" || r == "TX1") return req(K::KeyDown);
  if (r == "RX") return req(K::KeyUp);
  if (r == "AI") return req(K::AutoInfoQuery);
  // The panel never speaks unasked, so automatic information stays off.
  if (r == "AI0") return req(K::AutoInfoOff);
  if (r == "PS") return req(K::PowerQuery);
  if (r == "PS1") return req(K::PowerOn);
  const std::string_view head = r.substr(0, 2);
  if (r.size() == 2 + kHzDigits && (head == "FA" || head == "FB"))
    return withArgument(head == "FA" ? K::FreqASet : K::FreqBSet, panelDigits(r.substr(2)));
  if (r.size() == 3 && head == "MD") {
    std::string code = catModeCode(r[2]);
    if (!code.empty()) return req(K::ModeSet, std::move(code));
  }
  // Receiving on VFO B would need the panel to swap; only VFO A receives.
  if (r == "FR0") return req(K::RxVfoSet, "0");
  if (r == "FT0" || r == "FT1") return req(K::TxVfoSet, std::string(1, r[2]));
  return std::nullopt;
}

char digitOf(const std::string& modeCode) {
  if (modeCode == "M1") return '2';
  if (modeCode == "M2") return '1';
  if (modeCode == "M3") return '5';
  if (modeCode == "M4") return '3';
  return 0;
}

bool transmitting(const RigStateSnapshot& s) { return s.transmitting || s.keyCmd == "K"; }

}  // namespace

bool KenwoodRequest::isSetting() const {
  return kind == K::FreqASet || kind == K::FreqBSet || kind == K::ModeSet || kind == K::RxVfoSet ||
         kind == K::TxVfoSet;
}

bool KenwoodRequest::isQuery() const {
  switch (kind) {
    case K::Identity:
    case K::Information:
    case K::FreqAQuery:
    case K::FreqBQuery:
    case K::ModeQuery:
    case K::RxVfoQuery:
    case K::TxVfoQuery:
    case K::AutoInfoQuery:
    case K::PowerQuery:
      return true;
    default:
      return false;
  }
}

std::vector<KenwoodRequest> parseKenwoodRequests(std::string_view text) {
  std::vector<KenwoodRequest> out;
  std::size_t p = 0;
  while (p < text.size()) {
    const std::size_t end = text.find(';', p);
    if (end == std::string_view::npos) break;
    if (end > p) {
      const std::string_view r = text.substr(p, end - p);
      KenwoodRequest request = recognise(r).value_or(KenwoodRequest{});
      request.text = std::string(r);
      out.push_back(std::move(request));
    }
    p = end + 1;
  }
  return out;
}

char kenwoodModeDigit(const std::string& digitalMode, const std::string& modeCode) {
  if (digitalMode == "FSK") return '9';
  if (digitalMode == "RTTY") return '6';
  if (digitalMode == "OFF" || digitalMode == "PSK") return digitOf(modeCode);
  return 0;
}

std::string kenwoodInformation(const RigStateSnapshot& s) {
  const std::string freq = catFreqAnswer(s.freqCmd);  // "FA" + 11 digits + ";"
  const char mode = kenwoodModeDigit(s.digitalMode, s.mode);
  if (!s.freqValid || freq.empty() || mode == 0) return {};
  const bool tx = transmitting(s);
  std::string out = "IF" + freq.substr(2, kHzDigits);
  out += "     ";  // step size: not told
  out += "+0000";  // RIT/XIT offset
  out += "0";      // RIT off
  out += "0";      // XIT off
  out += "000";    // memory bank and channel
  out += tx ? '1' : '0';
  out += mode;
  // The transceiver is on VFO B's frequency while a split transmission lasts.
  out += tx && s.split ? '1' : '0';
  out += "0";  // not scanning
  out += s.split ? '1' : '0';
  out += "000";  // tone off, tone number
  out += "0";    // no repeater shift
  return out + ";";
}

std::string kenwoodAnswer(const KenwoodRequest& q, const RigStateSnapshot& s) {
  switch (q.kind) {
    case K::Identity:
      return kKenwoodIdentity;
    case K::Information:
      return kenwoodInformation(s);
    case K::FreqAQuery:
      return s.freqValid ? catFreqAnswer(s.freqCmd) : std::string();
    case K::FreqBQuery: {
      // A VFO B never set (all zeros on a fresh panel) reads as VFO A, as the
      // network server answers it.
      const std::string digits = s.vfoBFreqCmd.size() == 8 ? s.vfoBFreqCmd.substr(1) : std::string();
      const bool inRange = digits >= "0160000" && digits <= "2999999";
      const std::string a = inRange ? catFreqAnswer(s.vfoBFreqCmd) : s.freqValid ? catFreqAnswer(s.freqCmd) : "";
      return a.empty() ? a : "FB" + a.substr(2);
    }
    case K::ModeQuery: {
      const char d = kenwoodModeDigit(s.digitalMode, s.mode);
      return d ? std::string("MD") + d + ";" : std::string();
    }
    case K::RxVfoQuery:
      return "FR0;";
    case K::TxVfoQuery:
      return s.split ? "FT1;" : "FT0;";
    case K::AutoInfoQuery:
      return "AI0;";
    case K::PowerQuery:
      return "PS1;";
    default:
      return {};
  }
}

}  // namespace zr
