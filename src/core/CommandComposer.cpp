#include "core/CommandComposer.h"

#include "core/Convert.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"

namespace zr {

namespace {
constexpr double kModeConfirmWait = 2.0;

int digitOf(const std::string& code) {
  return code.size() >= 2 && code[1] >= '0' && code[1] <= '9' ? code[1] - '0' : -1;
}
}  // namespace

void CommandComposer::gSetFreq(const std::string& digits) {
  if (!allDigits(digits, 7)) return;
  p_.link().gSendCommand("F" + digits, true, 0.45);
  p_.link().gReadResponse();
}

int CommandComposer::gModeIndex(const std::string& code) {
  if (code == "M1") return 0;
  if (code == "M2") return 1;
  if (code == "M3") return 2;
  if (code == "M4") return 3;
  return 0;
}

int CommandComposer::gMeterIndex(const std::string& code) {
  if (code.size() == 2 && code[0] == 'D' && code[1] >= '1' && code[1] <= '6') return code[1] - '1';
  return 0;
}

std::string CommandComposer::gModeStepCmd(const std::string& target) const {
  const int fw = p_.st.gFwType;
  if (fw == 2) return target;
  const int c = gModeIndex(p_.st.gMode);
  const int t = gModeIndex(target);
  if (c == t) return {};
  const std::string letter = fw == 1 ? "M" : fw == 3 ? "m" : "";
  std::string out;
  for (int i = 0; i < ((t - c) % 4 + 4) % 4; ++i) out += letter;
  return out;
}

void CommandComposer::gSetMode(const std::string& target) {
  TransceiverState& st = p_.st;
  if (st.gMode == target) return;
  const std::string command = gModeStepCmd(target);
  RadioLink& link = p_.link();
  if (st.gFwType == 2) {
    link.gDrainInput();
    link.writeDirect(command + "\n" + st.gFreqCmd + "\n");
    link.gDelay(0.3);
    link.gReadResponse();
  } else if ((st.gFwType == 1 || st.gFwType == 3) && !command.empty()) {
    // A bare line feed would be the only thing sent for an unknown mode.
    const std::string pttBefore = st.gPttEnable;
    link.gSendCommand(command, true, 0.3);
    link.gReadResponse();
    // A mode step on this firmware may flip PTT enable; put it back.
    if (st.gFwType == 1 && st.gPttEnable.str() != pttBefore) gTogglePttEnable();
  }
  StatusDisplay& d = p_.display();
  if (st.gModeChanged) d.gShowMode(), st.gModeChanged = false;
  if (st.gSideToneChanged) d.gShowSideTone(), st.gSideToneChanged = false;
  if (st.gSourceChanged) d.gShowSource(), st.gSourceChanged = false;
  if (st.gPttEnableChanged) d.gShowPttEnable(), st.gPttEnableChanged = false;
}

void CommandComposer::gStepMode() {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  if (st.gFwType == 2) {
    static const char* const cycle[] = {"M1", "M2", "M3", "M4"};
    const std::string next = cycle[(gModeIndex(st.gMode) + 1) % 4];
    link.gDrainInput();
    link.writeDirect(next + "\n" + st.gFreqCmd + "\n");
    link.gDelay(0.3);
  } else if (st.gFwType == 1 || st.gFwType == 3) {
    link.gSendCommand(st.gFwType == 1 ? "M" : "m", true, 0.1);
  }
  st.gModeChanged = false;
  const double start = p_.clock.now();
  while (!st.gModeChanged && secondsSince(start, p_.clock.now()) < kModeConfirmWait) link.gReadResponse();
  if (!st.gModeChanged) {
    p_.frm.txtInfo.text = "Mode did not change..";
    link.gSendCommand("?", true, 1.0);
    link.gReadResponse();
  }
  p_.display().gShowMode();
  st.gModeChanged = false;
}

void CommandComposer::gSetAgc(const std::string& target) {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  if (st.gFwType == 2) {
    link.gSendCommand(target + "\n" + st.gFreqCmd + "\n", false, 0.1);
    link.gReadResponse();
    return;
  }
  if (st.gFwType != 1 && st.gFwType != 3) return;
  const int c = digitOf(st.gAgc);
  const int t = digitOf(target);
  // OFF is not on the step cycle (SLOW, MED, FAST): no count of steps reaches
  // it, so a step firmware is not sent anything for it.
  if (c < 1 || c > 4 || t < 2 || t > 4 || c == t) return;
  const int n = t > c ? t - c : t + 3 - c;
  link.gSendCommand(std::string(n, st.gFwType == 1 ? 'A' : 'a'), true, 0.1);
  link.gReadResponse();
}

void CommandComposer::gSetMeter(const std::string& target) {
  for (auto& label : p_.frm.lblMeter) label.foreColor = colours::GrayText;
  TransceiverState& st = p_.st;
  const int c = gMeterIndex(st.gMeterSource);
  const int t = gMeterIndex(target);
  if (c == t || (st.gFwType != 1 && st.gFwType != 3)) {
    // Nothing to send (already there, or no meter command exists for this
    // firmware): show the source the transceiver reports rather than leaving
    // every label grey until the next report.
    p_.meter().gShowMeterSource();
    return;
  }
  const int n = ((t - c) % 6 + 6) % 6;
  p_.link().gSendCommand(std::string(n, st.gFwType == 1 ? 'd' : 'D'), true, 0.3);
  p_.link().gReadResponse();
}

void CommandComposer::gTogglePttEnable() {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  if (st.gFwType == 1) {
    link.gSendCommand("'", false, 0.2);
  } else if (st.gPttEnable == "'0") {
    link.gSendCommand("'1", true, 0.2);
  } else if (st.gPttEnable == "'1") {
    link.gSendCommand("'0", true, 0.2);
  }
  link.gReadResponse();
}

}  // namespace zr
