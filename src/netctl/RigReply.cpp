#include "netctl/RigReply.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/TransmitBands.h"
#include "version/Version.h"

namespace zr {

namespace {

constexpr long long kLowestHz = 1'600'000;
constexpr long long kHighestHz = 29'999'990;

// Mode bits of the dialect: AM 0x1, CW 0x2, USB 0x4, LSB 0x8, PKTLSB 0x400, PKTUSB 0x800.
constexpr const char* kModes = "0xc0f";
// VFOA 0x1, VFOB 0x2.
constexpr const char* kVfos = "0x3";

std::string range(long long low, long long high, const char* power) {
  char line[128];
  std::snprintf(line, sizeof line, "%lld.000000 %lld.000000 %s %s %s 0x1", low, high, kModes, power, kVfos);
  return line;
}

}  // namespace

std::string formatRigReply(const RigLine& line, const RigReply& reply) {
  const std::string rprt = "RPRT " + std::to_string(reply.code) + "\n";
  const char sep = line.separator;
  if (sep == 0) {
    if (reply.code != rprt::Ok) return rprt;
    std::string out;
    for (const auto& [key, value] : reply.records) out += value + "\n";
    if (line.isSetting()) out += rprt;
    return out;
  }
  // Unknown commands have no name to echo; quitting is not echoed.
  if (line.name.empty() || (line.command && line.command->op == RigOp::Quit)) return rprt;
  // The chk_vfo answer keeps its own short form in the extended protocol.
  if (line.command && line.command->op == RigOp::ChkVfo && reply.code == rprt::Ok && !reply.records.empty())
    return "ChkVFO: " + reply.records.front().second + "\n";
  std::string out = line.name + ":" + (line.args.empty() ? "" : " " + line.args) + sep;
  for (const auto& [key, value] : reply.records) out += (key.empty() ? value : key + ": " + value) + sep;
  return out + rprt;
}

std::vector<std::string> dumpStateLines(bool txUnrestricted) {
  std::vector<std::string> l = {"1", "2", "0"};
  l.push_back(range(kLowestHz, kHighestHz, "-1 -1"));
  l.push_back("0 0 0 0 0 0 0");
  // Transmit power in mW: nominal figures, the panel sets no power.
  constexpr const char* kPower = "1000 100000";
  if (txUnrestricted) {
    l.push_back(range(kLowestHz, kHighestHz, kPower));
  } else {
    for (const HzRange& b : kTransmitRanges) l.push_back(range(b.low, b.high, kPower));
  }
  l.push_back("0 0 0 0 0 0 0");
  l.push_back(std::string(kModes) + " 10");  // tuning step: 10 Hz
  l.push_back("0 0");
  for (const char* mode : {"USB", "CW", "AM"}) {
    const char* mask = mode[0] == 'U' ? "0xc0c" : mode[0] == 'C' ? "0x2" : "0x1";
    l.push_back(std::string(mask) + " " + std::to_string(rigPassband(mode)));
  }
  l.push_back("0 0");
  for (const char* none : {"0", "0", "0", "0", "", ""}) l.push_back(none);  // RIT, XIT, IF shift, announce, preamp, att
  for (int i = 0; i < 6; ++i) l.push_back("0x0");  // no functions, levels or parameters
  for (const char* kv :
       {"vfo_ops=0x0", "ptt_type=0x1", "targetable_vfo=0x0", "has_set_vfo=1", "has_get_vfo=1", "has_set_freq=1",
        "has_get_freq=1", "has_set_conf=0", "has_get_conf=0", "has_power2mW=0", "has_mW2power=0", "timeout=1000",
        "rig_model=2"})
    l.push_back(kv);
  l.push_back("rigctld_version=ZR-3817 panel " ZR_VERSION);
  l.push_back("done");
  return l;
}

std::string rigModeName(const std::string& modeCode) {
  if (modeCode == "M1") return "USB";
  if (modeCode == "M2") return "LSB";
  if (modeCode == "M3") return "AM";
  if (modeCode == "M4") return "CW";
  return {};
}

namespace {

std::string upper(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string exactModeCode(const std::string& modeName) {
  for (const char* code : {"M1", "M2", "M3", "M4"})
    if (rigModeName(code) == modeName) return code;
  return {};
}

}  // namespace

std::string rigModeCode(const std::string& modeName) {
  const std::string name = upper(modeName);
  // Data on the transceiver is sideband audio; the Digital list is the operator's.
  if (name == "PKTUSB") return "M1";
  if (name == "PKTLSB") return "M2";
  return exactModeCode(name);
}

bool isRigDataMode(const std::string& modeName) {
  const std::string name = upper(modeName);
  return name == "PKTUSB" || name == "PKTLSB";
}

std::string rigDataModeName(const std::string& modeCode) {
  return modeCode == "M1" ? "PKTUSB" : modeCode == "M2" ? "PKTLSB" : "";
}

std::string rigModeCodeOfText(const std::string& text) {
  return text == "AME" ? "M3" : text == "AM" ? "" : exactModeCode(text);
}

std::string panelModeText(const std::string& modeCode) {
  return modeCode == "M3" ? "AME" : rigModeName(modeCode);
}

long rigPassband(const std::string& modeName) {
  const std::string name = upper(modeName);
  if (name == "CW") return 500;
  if (name == "AM") return 6000;
  return 2400;
}

std::string rigModeList() { return "AM CW USB LSB PKTLSB PKTUSB "; }

std::string panelDigitsForHz(double hz) {
  if (!std::isfinite(hz)) return {};
  const double tens = std::round(hz / 10.0);
  if (tens < kLowestHz / 10 || tens > kHighestHz / 10) return {};
  char digits[16];
  std::snprintf(digits, sizeof digits, "%07lld", static_cast<long long>(tens));
  return digits;
}

long long hzForPanelDigits(const std::string& digits) {
  if (digits.size() != 7) return -1;
  long long v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v * 10;
}

}  // namespace zr
