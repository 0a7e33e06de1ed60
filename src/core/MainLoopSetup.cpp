// Remote and local setup, and the service loop's initialisation.
#include <filesystem>

#include "core/Errors.h"
#include "core/CommandComposer.h"
#include "core/MainLoop.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/SettingsFiles.h"
#include "core/StatusDisplay.h"
#include "panel/ModeControls.h"
#include "panel/ReceiverToggles.h"

namespace zr {

namespace {
const char* sourceName(const std::string& code) {
  if (code == "H1") return "MIC";
  if (code == "H2") return "AUDIO2";
  if (code == "H3") return "PATCH";
  return "OFF/CW";
}
}  // namespace

MainLoop::Step MainLoop::remoteSetup() {
  if (restartPending) return Step::LoopInit;
  controlMode = "REMOTE";
  p_.form.gAudioSetupApplied = false;
  p_.st.gTxUnrestricted = permissionsFilePresent();
  Settings& s = p_.settings;
  AudioSetupValues audio;
  if (p_.display().fileExists(kAudioSetupFile)) {
    if (auto read = readSettings(kAudioSetupFile, [] { return readAudioSetup(); }, ", the defaults are used")) {
      audio = *read;
      std::string problems;
      for (const std::string& line : repairAudioSetup(audio)) problems += (problems.empty() ? "" : "; ") + line;
      if (!problems.empty()) noteFile(kAudioSetupFile, problems);
    }
  }
  s.gPhoneAudioSource = audio.phoneSource;
  s.gPttEnableSetting = audio.pttEnable;
  s.gLocalRemoteSetting = audio.localRemote;
  s.gDigAudioSource = audio.digSource;
  s.gDigVox = audio.digVox;
  return Step::RemoteAlign;
}

MainLoop::Step MainLoop::remoteAlign() {
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  StatusDisplay& d = p_.display();
  ReceiverToggles& t = p_.toggles();
  for (Control* c : {&frm.cmdSideTone, &frm.cmdViewInData, &frm.cmdVOX, &frm.cmdClipping, &frm.cmdPTTEn})
    c->enabled = false;
  frm.vscRFG.enabled = true;
  frm.cmbDig.text = "OFF";
  p_.form.txActive = true;
  frm.txtInfo.foreColor = colours::Red;
  frm.txtInfo.bold = true;
  frm.txtInfo.text = "STANDBY - SETTING ALL COMMAND BUTTONS";
  frm.txtInfo.visible = true;
  frm.txtInData.visible = true;
  frm.lblREMOTE.foreColor = colours::White;

  do {
    stmt([&] {
      query();
      p_.link().gReadResponse();
    });
    if (pumpFindsPortDown()) return Step::Reconnect;
  } while (!st.gResponseComplete);
  detectFirmware(true);

  const Settings& s = p_.settings;
  stmt([&] {
    // The source worker acts on the list's text, so the list names the
    // source the audio settings ask for.
    for (int i = 0; i < 4 && st.gSource.str() != s.gPhoneAudioSource; ++i) {
      frm.cmbSource.text = sourceName(s.gPhoneAudioSource);
      p_.modes().sourceCmd();
      p_.link().gDelay(0.2);
    }
    d.gShowSource();
  });
  // After the source: stepping the source needs local audio, so setting
  // remote audio first would be undone by it.
  stmt([&] {
    if (st.gLocalRemote.str() != s.gLocalRemoteSetting) p_.modes().toggleLocalRemote();
    d.gShowLocalRemote();
  });
  stmt([&] {
    for (int i = 0; i < 3 && st.gClip != "I0"; ++i) t.clipCmd();
    d.gShowClip();
  });
  stmt([&] {
    for (int i = 0; i < 3 && st.gPttEnable.str() != s.gPttEnableSetting; ++i) t.pttEnCmd();
    d.gShowPttEnable();
  });
  stmt([&] { d.gShowSideTone(); });
  stmt([&] {
    for (int i = 0; i < 4 && st.gVox != "V0"; ++i) t.voxCmd();
    d.gShowVox();
    d.gShowAgc();
    d.gShowMode();
  });
  stmt([&] {
    if (!st.gFreqValid) {
      frm.txtInfo.text = "Invalid Frequency: Setting frequency to 12345.67";
      p_.cmds().gSetFreq("1234567");
    }
    d.gShowFreq();
    d.gShowBandState(d.gTxAllowed(st.gFreqCmd));
  });
  stmt([&] {
    frm.vscRFG.value = frm.vscRFG.min;
    t.vscRFG_Change();
  });
  for (auto& o : frm.optMeter) o.enabled = true;
  frm.pbMeter.enabled = true;
  // Problems with the settings files outlast the setup's own messages.
  frm.txtInfo.text = withFileNotes({});
  frm.txtInfo.visible = !frm.txtInfo.text.empty();
  frm.txtInfo.foreColor = colours::Black;
  frm.txtInfo.bold = false;
  for (Control* c : {&frm.fraLeftButtons, &frm.fraRightButtons, &frm.fraRF, &frm.fraBand, &frm.fraBFO})
    c->visible = true;
  frm.cmdMute.enabled = true;
  frm.cmdBFO.enabled = true;
  stmt([&] {
    frm.vscBFO.value = 100;
    t.bfoOffsetCmd();
    p_.form.bfoOn = true;
    for (int i = 0; i < 3; ++i) t.bfoCmd();
  });
  for (Control* c : {&frm.cmdSideTone, &frm.cmdViewInData, &frm.cmdVOX, &frm.cmdClipping, &frm.cmdPTTEn,
                     &frm.cmdTune, &frm.cmdXmit, &frm.mnuScanFreqs, &frm.mnuScanBands})
    c->enabled = true;
  frm.lblU.visible = true;
  frm.lblXMTRCV.enabled = true;
  frm.pbMeter.enabled = true;
  frm.cmdTest.enabled = true;
  stmt([&] {
    p_.link().gReadResponse();
    query();
    p_.link().gReadResponse();
  });
  p_.form.txActive = false;
  for (Control* c : {&frm.cmdAmpPwr, &frm.cmdAmpOpr, &frm.cmdTuneAmp}) c->enabled = true;
  stmt([&] { p_.MSComm1.setDTREnable(true); });
  p_.link().gDelay(0.5);
  return Step::LoopInit;
}

MainLoop::Step MainLoop::localSetup() {
  if (restartPending) return Step::LoopInit;
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  controlMode = "LOCAL";
  st.gRemoteChanged = false;
  st.gResponseComplete = false;
  while (!st.gResponseComplete) {
    stmt([&] {
      query();
      p_.link().gReadResponse();
    });
    if (st.gResponseComplete && st.gDotSeen) {
      detectFirmware(false);
      break;
    }
    if (pumpFindsPortDown()) return Step::Reconnect;
  }
  for (Control* c : {&frm.fraRightButtons, &frm.fraLeftButtons, &frm.fraRF, &frm.fraBand}) c->visible = true;
  p_.form.bfoOn = false;
  p_.form.gBfoOffset = "100";
  if (st.gFwType == 2) frm.pbMeter.enabled = false;
  for (Control* c : {&frm.cmdMute, &frm.cmdBFO, &frm.cmdSideTone}) c->enabled = false;
  frm.cmdViewInData.enabled = true;
  for (Control* c : {&frm.cmdVOX, &frm.cmdClipping, &frm.cmdPTTEn, &frm.cmdTune, &frm.cmdXmit, &frm.vscRFG})
    c->enabled = false;
  if (st.gFwType == 2) localScanAllowed = true;
  if (st.gFwType == 1 || st.gFwType == 3) localScanAllowed = false;
  p_.form.txActive = !localScanAllowed;
  frm.mnuScanFreqs.enabled = localScanAllowed;
  frm.mnuScanBands.enabled = localScanAllowed;
  frm.lblU.visible = false;
  frm.txtInData.text = "";
  frm.txtInData.visible = false;
  return Step::LoopInit;
}

MainLoop::Step MainLoop::loopInit() {
  MainWindowModel& frm = p_.frm;
  TransceiverState& st = p_.st;
  loopStarted_ = true;
  st.gRadioBreak = false;
  st.gScanning = false;
  st.gMissedSyncs = 0;
  restartPending = false;
  st.gKeyCmd = "U";
  // A line that cannot be read counts as idle: never key on a guess.
  auto dsr = [&] {
    try {
      return p_.MSComm1.dsrHolding();
    } catch (const RuntimeError&) {
      return true;
    }
  };
  if (p_.settings.gExtPttEnabled) {
    p_.form.extPttIdle = dsr();
    if (p_.form.extPttIdle) {
      frm.lblExtPTT.backColor = colours::Green;
    } else {
      frm.lblExtPTT.backColor = colours::Red;
      p_.engine.messageBox("Check for stuck Push-to-Talk key, then click OK.");
      p_.form.extPttIdle = dsr();
      frm.lblExtPTT.backColor = p_.form.extPttIdle ? colours::Green : colours::Yellow;
    }
  } else {
    p_.form.extPttIdle = true;
    frm.lblExtPTT.backColor = colours::Yellow;
  }
  if (frm.lblSplit.caption.empty()) frm.lblSplit.caption = "Split Off";
  if (frm.lblSplit.caption == "Split Off") {
    frm.optTXVFO[0].value = 1;
    frm.optTXVFO[1].value = 0;
  } else if (frm.lblSplit.caption == "Split On") {
    frm.optTXVFO[0].value = 0;
    frm.optTXVFO[1].value = 1;
  }
  if (frm.cmbStepSize.text.empty()) frm.cmbStepSize.text = "OFF";
  return Step::Pass;
}

}  // namespace zr
