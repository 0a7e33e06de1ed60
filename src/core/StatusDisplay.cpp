#include "core/StatusDisplay.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/MainLoop.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"
#include "core/StatusDecoder.h"
#include "core/SyncPoller.h"
#include "core/TransmitBands.h"

namespace zr {

namespace {

// Runs `show` and clears the flag when it is set.
template <class F>
void showIf(bool& changed, F&& show) {
  if (!changed) return;
  show();
  changed = false;
}

void setLabel(Control& c, const std::string& caption, Colour back) {
  c.caption = caption;
  c.backColor = back;
}

}  // namespace

void StatusDisplay::gUpdateDisplay() {
  // Taken before: a reply read by the update itself (the PTT enable it
  // puts right) is still to be shown.
  shownLines_ = p_.decoder().linesDecoded();
  shownPermission_ = permissionInputs();
  try {
    updateAll();
  } catch (const RuntimeError& e) {
    gShowInfo(errMessage("gUpdateDisplay", e));
  }
}

bool StatusDisplay::updateDue() const {
  return p_.decoder().linesDecoded() != shownLines_ || permissionInputs() != shownPermission_;
}

std::string StatusDisplay::permissionInputs() const {
  const MainWindowModel& frm = p_.frm;
  const TransceiverState& st = p_.st;
  std::string in = frm.optTXVFO[0].selected() ? "A" + st.gFreqCmd.str() : "B";
  if (!frm.optTXVFO[0].selected())
    for (const auto& digit : frm.cmdVFOB) in += digit.caption;
  in += st.gScanning ? "|S" : "|-";
  in += st.gTxUnrestricted ? "U" : "-";
  return in + "|" + p_.mainLoop().controlMode + "|" + frm.cmdTune.caption + "|" + frm.cmdXmit.caption;
}

void StatusDisplay::updateAll() {
  TransceiverState& st = p_.st;
  MainWindowModel& frm = p_.frm;
  showIf(st.gRemoteChanged, [&] { gShowRemote(); });
  showIf(st.gAgcChanged, [&] { gShowAgc(); });
  showIf(st.gModeChanged, [&] { gShowMode(); });
  if (st.gFreqChanged) {
    gShowFreq();
    st.gShownFreqCmd = st.gFreqCmd;
    st.gFreqChanged = false;
  }

  st.gVFOBFreqCmd = "F";
  for (const auto& digit : frm.cmdVFOB) st.gVFOBFreqCmd += digit.caption;

  if (frm.optTXVFO[0].selected())
    gShowBandState(gTxAllowed(st.gFreqCmd));
  else
    gShowBandState(gTxAllowed(st.gVFOBFreqCmd));

  if (st.gChannelChanged) {
    st.gChannelChanged = false;
    const std::string& ch = st.gChannel;
    const bool onChannel = ch[0] == 'C' && allDigits(ch.substr(1), 2);
    if (onChannel)
      for (std::size_t i = 0; i < frm.cmdM.size(); ++i) frm.cmdM[i].caption = std::string(1, ch[i + 1]);
    frm.optChan[0].value = onChannel ? 1 : 0;
    frm.optChan[1].value = onChannel ? 0 : 1;
  }

  showIf(st.gSourceChanged, [&] { gShowSource(); });
  showIf(st.gLocalRemoteChanged, [&] { gShowLocalRemote(); });
  showIf(st.gClipChanged, [&] { gShowClip(); });
  showIf(st.gMeterSourceChanged, [&] { p_.meter().gShowMeterSource(); });
  showIf(st.gPttEnableChanged, [&] { gShowPttEnable(); });
  showIf(st.gSpeakerChanged, [&] { gShowSpeaker(); });
  showIf(st.gSideToneChanged, [&] { gShowSideTone(); });
  showIf(st.gVoxChanged, [&] { gShowVox(); });
  showIf(st.gAmpStateChanged, [&] {
    gShowAmpState();
    gShowAmpTune();
  });
  showIf(st.gAmpTuneChanged, [&] { gShowAmpTune(); });

  showIf(st.gFaultChanged, [&] {
    if (st.gFault == "Z0")
      setLabel(frm.lblFault, "OK", colours::ButtonFace);
    else
      setLabel(frm.lblFault, "FAULT", colours::Red);
  });

  showIf(st.gChannelDataChanged, [&] {
    const std::string& data = st.gChannelData;
    // A channel line that does not carry seven digits would put garbage on
    // the VFO digits, from which later frequency commands are built.
    if (allDigits(data.substr(3, 7), 7))
      for (std::size_t i = 0; i < frm.cmdF.size(); ++i) frm.cmdF[i].caption = std::string(1, data[i + 3]);
    switch (data[10]) {
      case '1': frm.cmbMode.text = "USB"; break;
      case '2': frm.cmbMode.text = "LSB"; break;
      case '3': frm.cmbMode.text = "AME"; break;
      case '4': frm.cmbMode.text = "CW"; break;
      default: break;
    }
  });
}

bool StatusDisplay::gTxAllowed(const std::string& freqCmd) const {
  if (p_.st.gTxUnrestricted) return true;
  const std::string last7 = freqCmd.size() > 7 ? freqCmd.substr(freqCmd.size() - 7) : freqCmd;
  const long hz = vbCLng(trim(last7) + "0");
  for (const HzRange& r : kTransmitRanges)
    if (hz >= r.low && hz <= r.high) return true;
  return false;
}

void StatusDisplay::gShowBandState(bool allowed) {
  TransceiverState& st = p_.st;
  MainWindowModel& frm = p_.frm;
  if (st.gScanning) allowed = false;
  // Under local control the transmit buttons stay as the local setup left
  // them (disabled): the panel cannot key a transceiver it does not control.
  const bool buttons = allowed && p_.mainLoop().controlMode != "LOCAL";
  frm.cmdPTTEn.enabled = buttons;
  frm.cmdPTT.enabled = buttons;
  frm.cmdXmit.enabled = buttons && frm.cmdTune.caption == "T&UNE ON";
  frm.cmdTune.enabled = buttons && frm.cmdXmit.caption == "&XMT ON";
  if (allowed) {
    if (st.gPttEnable == "'0") p_.cmds().gTogglePttEnable();
    setLabel(frm.lblInBand, "", colours::LightGrey);
  } else {
    if (st.gPttEnable == "'1") p_.cmds().gTogglePttEnable();
    if (st.gScanning)
      frm.lblInBand.caption = "Scanning";
    else
      setLabel(frm.lblInBand, "Out Of Band", colours::Red);
  }
}

void StatusDisplay::gShowInfo(const std::string& message) {
  p_.frm.txtInfo.text = message;
  p_.frm.txtInfo.visible = true;
}

bool StatusDisplay::fileExists(const std::string& name) {
  // Non-blocking: a pipe under the name must not hold the engine here.
  if (const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); fd >= 0) {
    ::close(fd);
    return true;
  }
  const RuntimeError e = errno == ENOENT ? RuntimeError(err::FileNotFound)
                         : errno == EACCES ? RuntimeError(err::PermissionDenied)
                                           : RuntimeError(err::PathFileAccessError);
  gShowInfo("fileExists(" + name + "): Err " + std::to_string(e.number) + ". " + e.description);
  return false;
}

void StatusDisplay::gShowRemote() {
  Control& c = p_.frm.lblREMOTE;
  c.foreColor = colours::ButtonText;
  if (p_.st.gRemote == "R1") c.caption = "REMOTE";
  if (p_.st.gRemote == "R0") c.caption = "LOCAL";
}

namespace {
// Sets `text` from the first pair whose code equals `value`; nothing otherwise.
void mapTo(std::string& text, const std::string& value,
           std::initializer_list<std::pair<const char*, const char*>> pairs) {
  for (const auto& [code, shown] : pairs)
    if (value == code) {
      text = shown;
      return;
    }
}
}  // namespace

void StatusDisplay::gShowAgc() {
  mapTo(p_.frm.cmbAGC.text, p_.st.gAgc, {{"A1", "OFF"}, {"A2", "SLOW"}, {"A3", "MED"}, {"A4", "FAST"}});
}

void StatusDisplay::gShowMode() {
  mapTo(p_.frm.cmbMode.text, p_.st.gMode, {{"M1", "USB"}, {"M2", "LSB"}, {"M3", "AME"}, {"M4", "CW"}});
}

void StatusDisplay::gShowFreq() {
  const std::string& f = p_.st.gFreqCmd;
  if (!(f[0] == 'F' && allDigits(f.substr(1), 7))) return;
  for (std::size_t i = 0; i < p_.frm.cmdF.size(); ++i) p_.frm.cmdF[i].caption = std::string(1, f[i + 1]);
}

void StatusDisplay::gShowLocalRemote() {
  if (p_.st.gLocalRemote == "\"0") p_.frm.cmbSource.text = "REMOTE";
}

void StatusDisplay::gShowSource() {
  if (p_.st.gLocalRemote != "\"1") return;
  mapTo(p_.frm.cmbSource.text, p_.st.gSource, {{"H1", "MIC"}, {"H2", "AUDIO2"}, {"H3", "PATCH"}, {"H4", "OFF/CW"}});
}

void StatusDisplay::gShowClip() { mapTo(p_.frm.lblClipping.caption, p_.st.gClip, {{"I0", "OFF"}, {"I1", "ON"}}); }

void StatusDisplay::gShowPttEnable() {
  mapTo(p_.frm.lblPTTEn.caption, p_.st.gPttEnable, {{"'0", "OFF"}, {"'1", "ON"}});
}

void StatusDisplay::gShowSpeaker() { mapTo(p_.frm.lblMute.caption, p_.st.gSpeaker, {{"(0", "OFF"}, {"(1", "ON"}}); }

void StatusDisplay::gShowSideTone() {
  mapTo(p_.frm.lblSideTone.caption, p_.st.gSideTone, {{"S0", "OFF"}, {"S1", "ON"}});
  p_.st.gShownSideTone = p_.st.gSideTone;
}

void StatusDisplay::gShowVox() {
  mapTo(p_.frm.lblVox.caption, p_.st.gVox, {{"V0", "OFF"}, {"V1", "VOICE"}, {"V2", "DATA"}});
}

void StatusDisplay::gShowAmpState() {
  MainWindowModel& frm = p_.frm;
  const std::string& s = p_.st.gAmpState;
  if (s == "O1") {
    setLabel(frm.lblAmpPwr, "OFF", colours::White);
    setLabel(frm.lblAmpOpStby, "", colours::White);
    setLabel(frm.lblAmpTuned, "", colours::White);
    frm.cmdTuneAmp.enabled = false;
  } else if (s == "O2" || s == "O3") {
    setLabel(frm.lblAmpPwr, "ON", colours::Red);
    if (s == "O2")
      setLabel(frm.lblAmpOpStby, "Warmup", colours::Yellow);
    else
      setLabel(frm.lblAmpOpStby, "Standby", colours::Green);
    setLabel(frm.lblAmpTuned, "", colours::White);
    frm.cmdTuneAmp.enabled = false;
  } else if (s == "O4") {
    setLabel(frm.lblAmpPwr, "ON", colours::Red);
    setLabel(frm.lblAmpOpStby, "Operate", colours::Red);
    frm.lblAmpTuned.backColor = colours::Yellow;
    frm.cmdTuneAmp.enabled = true;
  }
}

void StatusDisplay::gShowAmpTune() {
  TransceiverState& st = p_.st;
  if (st.gAmpState != "O4") return;
  Control& tuned = p_.frm.lblAmpTuned;
  if (st.gAmpTune == "T1" && !st.gAmpTuning) {
    setLabel(tuned, "", colours::White);
  } else if (st.gAmpTune == "T2" && !st.gAmpTuning) {
    setLabel(tuned, "Start Tune", colours::Green);
  } else if (st.gAmpTune == "T3") {
    setLabel(tuned, "Tuning", colours::Yellow);
  } else if (st.gAmpTune == "T4") {
    setLabel(tuned, "Tuned", colours::Red);
    st.gAmpTuning = false;
    st.gKeyCmd = "U";
    p_.sync().gSendSync(st.gKeyCmd);
  }
}

}  // namespace zr
