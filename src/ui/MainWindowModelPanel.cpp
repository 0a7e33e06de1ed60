// Design values of the main window's operating controls: frequency rows,
// lists, toggles, transmit, channels, bands.
#include "ui/MainWindowModel.h"
#include "ui/ModelBuild.h"

namespace zr {

using namespace model_build;

namespace {
constexpr const char* kDigitTip = "Left Click Up,Right Click Down";
const std::vector<std::string> kModes = {"USB", "LSB", "AME", "CW"};
}  // namespace

void MainWindowModel::initFrequency() {
  using K = ControlKind;
  fraFreq = frame("fraFreq", "VFO A");
  makeArray(cmdF, K::Button, "cmdF", "fraFreq", kDigitTip);
  for (Control& c : cmdF) c.caption = "0";
  Command1 = make(K::Button, "Command1", "fraFreq", ",");
  Command2 = make(K::Button, "Command2", "fraFreq", ".");

  Frame4 = frame("Frame4", "VFO B");
  makeArray(cmdVFOB, K::Button, "cmdVFOB", "Frame4", kDigitTip);
  for (Control& c : cmdVFOB) c.caption = "0";
  cmdCma = make(K::Button, "cmdCma", "Frame4", ",");
  cmdDot = make(K::Button, "cmdDot", "Frame4", ".");
  Label9 = make(K::Label, "Label9", "Frame4", "Mode");
  // Saved and restored with the settings; USB until a saved value arrives.
  cmbVFOBMode = combo("cmbVFOBMode", "Frame4", kModes, "Select Mode for VFO B", "USB");
  cmdA2B = make(K::Button, "cmdA2B", "", "A->B", "Copy VFO A  to VFO B");
  cmdSwap = make(K::Button, "cmdSwap", "", "Swap ", "Swap VFO A and VFO B");
}

void MainWindowModel::initSplitAndStep() {
  using K = ControlKind;
  Frame1 = frame("Frame1", "Frequency (V)");
  makeArray(optTXVFO, K::OptionButton, "optTXVFO", "Frame1");
  optTXVFO[0].caption = "Transmit using VFO A";
  optTXVFO[1].caption = "Transmit using VFO B";
  optTXVFO[0].value = 1;
  Label7 = make(K::Label, "Label7", "Frame1", "TXA");
  Label8 = make(K::Label, "Label8", "Frame1", "TXB");
  lblSplit = make(K::Label, "lblSplit", "Frame1", "Split Off");
  lblSplit.backColor = colours::White;

  fraExtKnob = frame("fraExtKnob", "Ext. Knob");
  cmbStepSize = combo("cmbStepSize", "fraExtKnob", {"10Hz", "100Hz", "1KHz", "10KHz", "OFF"},
                      "Step size for KB Input", "OFF");
  Label2 = make(K::Label, "Label2", "fraExtKnob", "Up = i");
  Label4 = make(K::Label, "Label4", "fraExtKnob", "Dn = d");
}

void MainWindowModel::initLists() {
  using K = ControlKind;
  // Mode, AGC and source stay blank until the radio reports them.
  lblMode = make(K::Label, "lblMode", "", "Mode");
  cmbMode = combo("cmbMode", "", kModes, "Select Mode");
  lblAGC = make(K::Label, "lblAGC", "", "AGC");
  cmbAGC = combo("cmbAGC", "", {"SLOW", "MED", "FAST", "OFF"}, "Select AGC Time");
  lblSource = make(K::Label, "lblSource", "", "Source");
  cmbSource = combo("cmbSource", "", {"MIC", "AUDIO2", "PATCH", "REMOTE", "OFF/CW"}, "Select Audio Source");
  lblDig = make(K::Label, "lblDig", "", "Digital");
  cmbDig = combo("cmbDig", "", {"OFF", "PSK", "FSK", "RTTY"}, "Choose Digital Mode", "OFF");
}

void MainWindowModel::initButtons() {
  using K = ControlKind;
  // The button frames appear once a setup has run.
  fraLeftButtons = frame("fraLeftButtons", "");
  fraLeftButtons.visible = false;
  const char* left = "fraLeftButtons";
  cmdMute = make(K::Button, "cmdMute", left, "SPKR", "Toggle Panel Speaker");
  lblMute = make(K::Label, "lblMute", left);
  cmdClipping = make(K::Button, "cmdClipping", left, "CLIP");
  lblClipping = make(K::Label, "lblClipping", left);
  cmdSideTone = make(K::Button, "cmdSideTone", left, "SideTone");
  lblSideTone = make(K::Label, "lblSideTone", left);
  cmdVOX = make(K::Button, "cmdVOX", left, " VOX");
  lblVox = make(K::Label, "lblVox", left);
  cmdPTTEn = make(K::Button, "cmdPTTEn", left, "PTT En", "Toggle XCVR PTT Enable");
  lblPTTEn = make(K::Label, "lblPTTEn", left);
  cmdTest = make(K::Button, "cmdTest", left, "TEST");
  cmdGetStatus = make(K::Button, "cmdGetStatus", left, "Refresh", "Refresh Radio Status");
  // The data box starts shown, so its button offers to hide it.
  cmdViewInData = make(K::Button, "cmdViewInData", left, "Hide Data", "Show / Hide the Data Box");

  fraRightButtons = frame("fraRightButtons", "");
  fraRightButtons.visible = false;
  const char* right = "fraRightButtons";
  cmdXmit = make(K::Button, "cmdXmit", right, "&XMT ON", "Toggle between RCV and XMT");
  cmdPTT = make(K::Button, "cmdPTT", right, "PTT", "Press Mouse Button to Transmit");
  cmdTune = make(K::Button, "cmdTune", right, "T&UNE ON", "Transmit AM For Tuning");
  lblXMTRCV = make(K::Label, "lblXMTRCV", right, "Receive");
  lblXMTRCV.backColor = colours::Green;
  lblXMTRCV.bold = true;
  lblExtPTT = make(K::Label, "lblExtPTT", right, "EXT PTT", "Yellow: Disabled, Green: Ready, Red: Active");
  lblExtPTT.backColor = colours::Yellow;
}

void MainWindowModel::initReceiver() {
  using K = ControlKind;
  // Both scroll bars run with the larger value at the top.
  fraRF = frame("fraRF", "RF Gain");
  fraRF.visible = false;
  vscRFG = make(K::ScrollBar, "vscRFG", "fraRF");
  vscRFG.min = 63;
  vscRFG.max = 0;
  vscRFG.largeChange = 8;
  txtRFG = readOnlyText("txtRFG", "fraRF", "100", "Set RF Gain");
  Label1 = make(K::Label, "Label1", "fraRF", "%");

  fraBFO = frame("fraBFO", "BFO");
  fraBFO.visible = false;
  cmdBFO = make(K::Button, "cmdBFO", "fraBFO", "ON", "Toggle BFO State");
  lblBFOOn = make(K::Label, "lblBFOOn", "fraBFO");
  vscBFO = make(K::ScrollBar, "vscBFO", "fraBFO");
  vscBFO.min = 200;
  vscBFO.max = 0;
  vscBFO.largeChange = 10;
  txtBFO = readOnlyText("txtBFO", "fraBFO", "000", "Set BFO Offset");
  lblBFOHz = make(K::Label, "lblBFOHz", "fraBFO", "Hz");
  lblPorM = make(K::Label, "lblPorM", "fraBFO");
}

void MainWindowModel::initChannelsAndBands() {
  using K = ControlKind;
  Frame3 = frame("Frame3", "Channel");
  makeArray(optChan, K::OptionButton, "optChan", "Frame3");
  optChan[0].caption = "Use Radio's Channels";
  optChan[1].caption = "Use VFO";
  optChan[1].value = 1;
  makeArray(cmdM, K::Button, "cmdM", "Frame3", kDigitTip);
  for (Control& c : cmdM) c.caption = "0";
  Label6 = make(K::Label, "Label6", "Frame3", "VFO");
  lblChan = make(K::Label, "lblChan", "Frame3", "CHAN");
  cmdV2M = make(K::Button, "cmdV2M", "Frame3", "V->M", "VFO to Memory");
  cmdM2V = make(K::Button, "cmdM2V", "Frame3", "M->V", "Memory to VFO");

  fraBand = frame("fraBand", "Band");
  fraBand.visible = false;
  auto band = [](const char* name, const char* caption, const char* key) {
    return make(K::Button, name, "fraBand", caption, std::string("Open menu of ") + key + " Frequencies");
  };
  cmd160M = band("cmd160M", "160", "160M");
  cmd75M = band("cmd75M", "75", "75M");
  cmd60M = band("cmd60M", "60 ", "60M");
  cmd40M = band("cmd40M", "40", "40M");
  cmd30M = band("cmd30M", "30", "30M");
  cmd20M = band("cmd20M", "20", "20M");
  cmd17M = band("cmd17M", "17", "17M");
  cmd15M = band("cmd15M", "15", "15M");
  cmd12M = band("cmd12M", "12", "12M");
  cmd10M = band("cmd10M", "10", "10M");
  cmdWWV = band("cmdWWV", "WWV", "WWV");
  cmdMARS = band("cmdMARS", "MARS", "MARS");
}

void MainWindowModel::initMeterAmpCat() {
  using K = ControlKind;
  fraMeter = frame("fraMeter", "Meter");
  // The source options wait for remote control; the label beside each is its caption.
  makeArray(optMeter, K::OptionButton, "optMeter", "fraMeter");
  for (Control& c : optMeter) c.enabled = false;
  makeArray(lblMeter, K::Label, "lblMeter", "fraMeter");
  const char* sources[] = {"Aud", "Line", "Patch", "FWD", "REF", "VSWR"};
  for (std::size_t i = 0; i < lblMeter.size(); ++i) lblMeter[i].caption = sources[i];
  pbMeter = make(K::ProgressBar, "pbMeter", "fraMeter");
  pbMeter.max = 21;
  lblMeterScale = make(K::Label, "lblMeterScale", "fraMeter", "  S3    S6     S9      +30      +60   ");

  fraAmp = frame("fraAmp", "Amp");
  cmdAmpPwr = make(K::Button, "cmdAmpPwr", "fraAmp", "PWR ->", "Turn Amp ON / OFF");
  cmdAmpOpr = make(K::Button, "cmdAmpOpr", "fraAmp", "OPR ->", "Place AMP in Operate / Standby");
  cmdTuneAmp = make(K::Button, "cmdTuneAmp", "fraAmp", "TUN ->", "Start Amp Tune Cycle");
  for (Control* c : {&cmdAmpPwr, &cmdAmpOpr, &cmdTuneAmp}) c->enabled = false;
  lblAmpPwr = make(K::Label, "lblAmpPwr", "fraAmp", "OFF");
  lblAmpOpStby = make(K::Label, "lblAmpOpStby", "fraAmp");
  lblAmpTuned = make(K::Label, "lblAmpTuned", "fraAmp");
  for (Control* c : {&lblAmpPwr, &lblAmpOpStby, &lblAmpTuned}) c->backColor = colours::White;

  fraCAT = frame("fraCAT", "CAT");
  txtInCat = readOnlyText("txtInCat", "fraCAT", "");
  txtOutCAT = readOnlyText("txtOutCAT", "fraCAT", "");
  // The CAT monitor: shown once the port has ignored a request.
  lblCatIgnored = make(K::Label, "lblCatIgnored", "fraCAT", "", "Requests the CAT port does not answer");
  lblCatHint = make(K::Label, "lblCatHint", "fraCAT",
                    "Set the station program to Kenwood \"FA/MD only\", or connect it to the network rig server");
  lblCatIgnored.visible = false;
  lblCatHint.visible = false;
  lblRigServer = make(K::Label, "lblRigServer", "fraCAT", "Network rig server off",
                      "Station programs on this computer: network rig model, localhost:4532 (Setup > Network Rig Server)");
}

}  // namespace zr
