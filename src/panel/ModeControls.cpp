#include "panel/ModeControls.h"

#include "core/CommandComposer.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/ReceiverToggles.h"

namespace zr {

namespace {

const std::string kRemoteAudio = "\"0";
const std::string kLocalAudio = "\"1";
const std::string kAudioToggle = "\"";

// A transceiver that never confirms must not hold the panel: a toggle needs
// one pass, the rest cover a reply lost on the line.
constexpr int kLocalRemoteTries = 4;
// VOX has three places: two steps reach any of them, one more covers a lost reply.
constexpr int kVoxSteps = 3;

// The digit of a code such as "H2" when `text` is `letter` + one digit, else -1.
int codeDigit(const std::string& text, char letter) {
  if (text.size() != 2 || text[0] != letter || text[1] < '0' || text[1] > '9') return -1;
  return text[1] - '0';
}

}  // namespace

ModeControls::ModeControls(Panel& panel) : p_(panel) {
  const std::string& w = p_.frm.name();
  p_.engine.on(w, "cmbMode", EventKind::Click, [this](const InputEvent&) { modePending = true; });
  p_.engine.on(w, "cmbAGC", EventKind::Click, [this](const InputEvent&) { agcPending = true; });
  p_.engine.on(w, "cmbSource", EventKind::Click, [this](const InputEvent&) { sourcePending = true; });
  p_.engine.on(w, "cmbDig", EventKind::Click, [this](const InputEvent&) { digPending = true; });
}

std::string ModeControls::ModeCmdString(const std::string& mode) {
  if (mode == "USB") return "M1";
  if (mode == "LSB") return "M2";
  if (mode == "AME") return "M3";
  if (mode == "CW") return "M4";
  return {};
}

std::string ModeControls::ModeText(const std::string& code) {
  for (const char* text : {"USB", "LSB", "AME", "CW"})
    if (ModeCmdString(text) == code) return text;
  return {};
}

void ModeControls::modeCmd() {
  modePending = false;
  const std::string target = ModeCmdString(p_.frm.cmbMode.text);
  // An unknown text would be stepped to USB (step firmware) or sent as a bare
  // line feed (absolute firmware).
  if (!target.empty()) p_.cmds().gSetMode(target);
}

void ModeControls::agcCmd() {
  agcPending = false;
  const std::string& text = p_.frm.cmbAGC.text;
  std::string target;
  if (text == "SLOW") target = "A2";
  if (text == "MED") target = "A3";
  if (text == "FAST") target = "A4";
  // Only the absolute firmware can switch the AGC off.
  if (text == "OFF" && p_.st.gFwType == 2) target = "A1";
  if (target.empty()) {
    p_.display().gShowAgc();
    return;
  }
  p_.cmds().gSetAgc(target);
}

void ModeControls::sourceCmd() {
  sourcePending = false;
  const std::string& text = p_.frm.cmbSource.text;
  if (text == "MIC") setAudioSource("H1");
  if (text == "AUDIO2") setAudioSource("H2");
  if (text == "PATCH") setAudioSource("H3");
  if (text == "REMOTE") setLocalRemote("REMOTE");
  p_.link().gReadResponse();
}

void ModeControls::setAudioSource(const std::string& target) {
  TransceiverState& st = p_.st;
  RadioLink& link = p_.link();
  // The source only matters for local audio.
  if (st.gLocalRemote == kRemoteAudio) link.gSendCommand(st.gFwType == 1 ? kAudioToggle : kLocalAudio, true, 0.1);
  int c = codeDigit(st.gSource, 'H');
  int t = codeDigit(target, 'H');
  if (c < 1 || c > 4 || t < 1 || t > 3) return;
  // OFF/CW is not on the step cycle; the first step leaves it for MIC.
  if (c == 4) c = 0;
  if (c == t) return;
  if (t < c) t += 3;
  link.gSendCommand(std::string(static_cast<std::size_t>(t - c), 'H'), true, 0.2);
}

void ModeControls::setLocalRemote(const std::string& target) {
  std::string want;
  if (target == "REMOTE") want = kRemoteAudio;
  if (target == "LOCAL") want = kLocalAudio;
  if (want.empty()) return;
  TransceiverState& st = p_.st;
  for (int tries = 0; st.gLocalRemote != want && tries < kLocalRemoteTries; ++tries) {
    p_.link().gSendCommand(st.gFwType == 1 ? kAudioToggle : want, true, 0.2);
    p_.link().gReadResponse();
  }
}

void ModeControls::toggleLocalRemote() {
  const TransceiverState& st = p_.st;
  std::string command;
  if (st.gFwType == 1)
    command = kAudioToggle;
  else if (st.gLocalRemote == kRemoteAudio)
    command = kLocalAudio;
  else if (st.gLocalRemote == kLocalAudio)
    command = kRemoteAudio;
  // Neither state reported yet: there is nothing to flip.
  if (command.empty()) return;
  p_.link().gSendCommand(command, true, 0.2);
  p_.link().gReadResponse();
}

void ModeControls::stepVoxTo(const std::string& vox) {
  for (int i = 0; i < kVoxSteps && p_.st.gVox != vox; ++i) p_.toggles().voxCmd();
}

void ModeControls::digCmd() {
  digPending = false;
  const std::string& text = p_.frm.cmbDig.text;
  TransceiverState& st = p_.st;
  if (text == "OFF") {
    // The source can only be set under local audio, so remote audio comes
    // back last. Every saved value is spent, so the next digital mode saves afresh.
    if (codeDigit(digSavedSource_, 'H') >= 0) setAudioSource(digSavedSource_);
    if (codeDigit(digSavedVox_, 'V') >= 0) stepVoxTo(digSavedVox_);
    if (digSavedLocalRemote_ == kRemoteAudio) setLocalRemote("REMOTE");
    digSavedLocalRemote_.clear();
    digSavedSource_.clear();
    digSavedVox_.clear();
    return;
  }
  if (text != "PSK" && text != "FSK" && text != "RTTY") return;
  // A second digital mode keeps what was in force before the first.
  if (digSavedSource_.empty()) digSavedSource_ = st.gSource;
  if (digSavedLocalRemote_.empty()) digSavedLocalRemote_ = st.gLocalRemote;
  setLocalRemote("LOCAL");
  const std::string& source = p_.settings.gDigAudioSource;
  if (codeDigit(source, 'H') >= 0) setAudioSource(source);
  if (digSavedVox_.empty()) digSavedVox_ = st.gVox;
  const std::string& vox = p_.settings.gDigVox;
  if (codeDigit(vox, 'V') >= 0) stepVoxTo(vox);
}

}  // namespace zr
