#pragma once
// Control model of the main window "frmZR3817": every control with its design
// values. Behaviour lives elsewhere; this only says what the window holds.
#include <array>
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct MainWindowModel : WindowModel {
  MainWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  // Menu bar.
  Control mnuFile, mnuFileExit;
  Control mnuScan, mnuScanBands, mnuScanFreqs;
  Control mnuSetup, mnuPortSetup, mnuAudioSetup, mnuCATSetup, mnuRigServer, mnuTxTimeout, mnuChannelSetup;
  Control mnuHelp, mnuHelpAbout, mnuHelpZR3817;

  // Status line: link, control state, firmware, information texts.
  Control lblREMOTE, lblComStat, shaTrace, lblU, lblFWType, lblFault, lblInBand;
  Control lblInfo, txtInfo, txtInData;

  // VFO A.
  Control fraFreq;
  std::array<Control, 7> cmdF;
  Control Command1, Command2;  // "," and "." between the VFO A digits

  // VFO B.
  Control Frame4;
  std::array<Control, 7> cmdVFOB;
  Control cmdCma, cmdDot;
  Control Label9, cmbVFOBMode;
  Control cmdA2B, cmdSwap;

  // Transmit VFO and split.
  Control Frame1;
  std::array<Control, 2> optTXVFO;
  Control Label7, Label8, lblSplit;

  // Keyboard / external knob step.
  Control fraExtKnob, cmbStepSize, Label2, Label4;

  // Mode, AGC, audio source, digital mode.
  Control lblMode, cmbMode, lblAGC, cmbAGC, lblSource, cmbSource, lblDig, cmbDig;

  // Receiver toggles.
  Control fraLeftButtons;
  Control cmdMute, lblMute, cmdClipping, lblClipping, cmdSideTone, lblSideTone;
  Control cmdVOX, lblVox, cmdPTTEn, lblPTTEn, cmdTest, cmdGetStatus, cmdViewInData;

  // Transmit.
  Control fraRightButtons;
  Control cmdXmit, cmdPTT, cmdTune, lblXMTRCV, lblExtPTT;

  // RF gain.
  Control fraRF, vscRFG, txtRFG, Label1;

  // BFO.
  Control fraBFO, cmdBFO, lblBFOOn, vscBFO, txtBFO, lblBFOHz, lblPorM;

  // Channels and memory.
  Control Frame3;
  std::array<Control, 2> optChan;
  std::array<Control, 2> cmdM;
  Control Label6, lblChan, cmdV2M, cmdM2V;

  // Band buttons.
  Control fraBand;
  Control cmd160M, cmd75M, cmd60M, cmd40M, cmd30M, cmd20M, cmd17M, cmd15M, cmd12M, cmd10M;
  Control cmdWWV, cmdMARS;

  // Meter.
  Control fraMeter;
  std::array<Control, 6> optMeter;
  std::array<Control, 6> lblMeter;
  Control pbMeter, lblMeterScale;

  // Amplifier.
  Control fraAmp, cmdAmpPwr, cmdAmpOpr, cmdTuneAmp, lblAmpPwr, lblAmpOpStby, lblAmpTuned;

  // CAT port traffic; what the port ignored, with a hint; the network rig server.
  Control fraCAT, txtInCat, txtOutCAT, lblCatIgnored, lblCatHint, lblRigServer;

 private:
  void initMenus();
  void initStatus();
  void initFrequency();
  void initSplitAndStep();
  void initLists();
  void initButtons();
  void initReceiver();
  void initChannelsAndBands();
  void initMeterAmpCat();
};

}  // namespace zr
