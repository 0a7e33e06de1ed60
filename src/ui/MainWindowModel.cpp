#include "ui/MainWindowModel.h"

#include "ui/ModelBuild.h"
#include "version/Version.h"

namespace zr {

using model_build::make;

MainWindowModel::MainWindowModel() : WindowModel("frmZR3817") {
  // Startup replaces this with the version text.
  window.caption = "Corvane ZR-3817v" ZR_VERSION;
  initMenus();
  initStatus();
  initFrequency();
  initSplitAndStep();
  initLists();
  initButtons();
  initReceiver();
  initChannelsAndBands();
  initMeterAmpCat();
}

std::unique_ptr<WindowModel> MainWindowModel::clone() const { return std::make_unique<MainWindowModel>(*this); }

void MainWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  auto each = [&](auto& array) {
    for (Control& c : array) f(c);
  };

  for (Control* c : {&mnuFile, &mnuFileExit, &mnuScan, &mnuScanBands, &mnuScanFreqs, &mnuSetup, &mnuPortSetup,
                     &mnuAudioSetup, &mnuCATSetup, &mnuRigServer, &mnuTxTimeout, &mnuChannelSetup, &mnuHelp, &mnuHelpAbout, &mnuHelpZR3817})
    f(*c);

  for (Control* c : {&lblREMOTE, &lblComStat, &shaTrace, &lblU, &lblFWType, &lblFault, &lblInBand, &lblInfo,
                     &txtInfo, &txtInData})
    f(*c);

  f(fraFreq);
  each(cmdF);
  f(Command1);
  f(Command2);

  f(Frame4);
  each(cmdVFOB);
  for (Control* c : {&cmdCma, &cmdDot, &Label9, &cmbVFOBMode, &cmdA2B, &cmdSwap}) f(*c);

  f(Frame1);
  each(optTXVFO);
  for (Control* c : {&Label7, &Label8, &lblSplit}) f(*c);

  for (Control* c : {&fraExtKnob, &cmbStepSize, &Label2, &Label4}) f(*c);

  for (Control* c : {&lblMode, &cmbMode, &lblAGC, &cmbAGC, &lblSource, &cmbSource, &lblDig, &cmbDig}) f(*c);

  for (Control* c : {&fraLeftButtons, &cmdMute, &lblMute, &cmdClipping, &lblClipping, &cmdSideTone, &lblSideTone,
                     &cmdVOX, &lblVox, &cmdPTTEn, &lblPTTEn, &cmdTest, &cmdGetStatus, &cmdViewInData})
    f(*c);

  for (Control* c : {&fraRightButtons, &cmdXmit, &cmdPTT, &cmdTune, &lblXMTRCV, &lblExtPTT}) f(*c);

  for (Control* c : {&fraRF, &vscRFG, &txtRFG, &Label1}) f(*c);
  for (Control* c : {&fraBFO, &cmdBFO, &lblBFOOn, &vscBFO, &txtBFO, &lblBFOHz, &lblPorM}) f(*c);

  f(Frame3);
  each(optChan);
  each(cmdM);
  for (Control* c : {&Label6, &lblChan, &cmdV2M, &cmdM2V}) f(*c);

  for (Control* c : {&fraBand, &cmd160M, &cmd75M, &cmd60M, &cmd40M, &cmd30M, &cmd20M, &cmd17M, &cmd15M, &cmd12M,
                     &cmd10M, &cmdWWV, &cmdMARS})
    f(*c);

  f(fraMeter);
  each(optMeter);
  each(lblMeter);
  f(pbMeter);
  f(lblMeterScale);

  for (Control* c : {&fraAmp, &cmdAmpPwr, &cmdAmpOpr, &cmdTuneAmp, &lblAmpPwr, &lblAmpOpStby, &lblAmpTuned}) f(*c);
  for (Control* c : {&fraCAT, &txtInCat, &txtOutCAT, &lblCatIgnored, &lblCatHint, &lblRigServer}) f(*c);
}

void MainWindowModel::initMenus() {
  using K = ControlKind;
  mnuFile = make(K::MenuEntry, "mnuFile", "", "&File");
  mnuFileExit = make(K::MenuEntry, "mnuFileExit", "mnuFile", "E&xit");

  mnuScan = make(K::MenuEntry, "mnuScan", "", "Scan");
  mnuScanBands = make(K::MenuEntry, "mnuScanBands", "mnuScan", "Scan Bands");
  mnuScanFreqs = make(K::MenuEntry, "mnuScanFreqs", "mnuScan", "Scan Freqs");
  // Startup enables the scanners once it knows the control state and firmware;
  // scanning before the radio has answered makes no sense.
  mnuScanBands.enabled = false;
  mnuScanFreqs.enabled = false;

  mnuSetup = make(K::MenuEntry, "mnuSetup", "", "Setup");
  mnuPortSetup = make(K::MenuEntry, "mnuPortSetup", "mnuSetup", "Port Setup");
  mnuAudioSetup = make(K::MenuEntry, "mnuAudioSetup", "mnuSetup", "Audio Setup");
  mnuCATSetup = make(K::MenuEntry, "mnuCATSetup", "mnuSetup", "CAT Setup");
  mnuRigServer = make(K::MenuEntry, "mnuRigServer", "mnuSetup", "Network Rig Server");
  mnuTxTimeout = make(K::MenuEntry, "mnuTxTimeout", "mnuSetup", "Transmit Time-out");
  mnuChannelSetup = make(K::MenuEntry, "mnuChannelSetup", "mnuSetup", "Channels");

  mnuHelp = make(K::MenuEntry, "mnuHelp", "", "Help");
  mnuHelpAbout = make(K::MenuEntry, "mnuHelpAbout", "mnuHelp", "About");
  mnuHelpZR3817 = make(K::MenuEntry, "mnuHelpZR3817", "mnuHelp", "ZR-3817 Help");
}

void MainWindowModel::initStatus() {
  using K = ControlKind;
  lblREMOTE = make(K::Label, "lblREMOTE", "", "NoComm");
  lblREMOTE.foreColor = colours::Red;
  lblComStat = make(K::Label, "lblComStat", "", "No Com");

  shaTrace = make(K::Shape, "shaTrace");
  shaTrace.fillColor = colours::GrayText;

  lblU = make(K::Label, "lblU", "", "", "Sync Character");
  lblFWType = make(K::Label, "lblFWType", "", "F/W: v604M NonAdapt");
  // Blank until the first status report says whether there is a fault.
  lblFault = make(K::Label, "lblFault");
  lblInBand = make(K::Label, "lblInBand");
  lblInBand.backColor = colours::LightGrey;

  lblInfo = make(K::Label, "lblInfo", "", "Frequency Label");

  txtInfo = model_build::readOnlyText("txtInfo", "", "");
  txtInfo.foreColor = colours::Black;
  txtInData = model_build::readOnlyText("txtInData", "", "", "Data from ZR-3817");
}

}  // namespace zr
