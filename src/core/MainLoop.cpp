#include "core/MainLoop.h"

#include <algorithm>
#include <filesystem>

#include "cat/CatPort.h"
#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/MainMenus.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"
#include "core/PortRecovery.h"
#include "core/RadioLink.h"
#include "core/SettingsFiles.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "panel/ModeControls.h"
#include "panel/ReceiverToggles.h"

namespace zr {

namespace {
constexpr double kIdleBlock = 0.02;

std::string programDirectory() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

// Far longer than any mode, split caption or step size.
constexpr std::size_t kLongestIniText = 32;

}  // namespace

void MainLoop::stmt(const std::function<void()>& statement) {
  if (loopStarted_) {
    statement();
    return;
  }
  try {
    statement();
  } catch (const RuntimeError&) {
  }
}

void MainLoop::Form_Load() {
  MainWindowModel& frm = p_.frm;
  if (!instanceLock_.acquire()) {
    p_.engine.messageBox(std::string(gVersionText) + " is already running. OK to Close this program.");
    return;
  }
  // Only this panel writes here now; what a killed one left can go.
  removeStaleTemporaries();
  placeWindow();
  frm.window.caption = gVersionText;
  initialControls();
  openCatPort();
  readPortSetup();

  Step next = Step::PortCheck;
  for (;;) {
    try {
      switch (next) {
        case Step::PortCheck: next = portCheck(); break;
        case Step::Query: next = statusQuery(); break;
        case Step::RemoteSetup: next = remoteSetup(); break;
        case Step::RemoteAlign: next = remoteAlign(); break;
        case Step::LocalSetup: next = localSetup(); break;
        case Step::LoopInit: next = loopInit(); break;
        case Step::Pass: next = servicePass(); break;
        case Step::Reconnect: next = reconnect(); break;
      }
    } catch (const RuntimeError&) {
      // A failing pass is abandoned; the loop starts again from its
      // initialisation so the panel keeps running.
      next = Step::LoopInit;
    }
  }
}

void MainLoop::placeWindow() {
  MainWindowModel& frm = p_.frm;
  frm.window.left = kCentredPosition;
  frm.window.top = kCentredPosition;
  if (!p_.display().fileExists(kIniFile)) return;
  stmt([&] {
    const auto ini = readSettings(kIniFile, [] { return readIniFile(); });
    if (!ini) return;
    // Far off any screen is as good as the edge of it; never wrap around.
    auto clampEdge = [](long v) { return static_cast<int>(std::clamp(v, -1000000L, 1000000L)); };
    frm.window.left = clampEdge(ini->left);
    frm.window.top = clampEdge(ini->top);
    if (allDigits(ini->vfoB, 7))
      for (std::size_t i = 0; i < frm.cmdVFOB.size(); ++i) frm.cmdVFOB[i].caption = std::string(1, ini->vfoB[i]);
    // A damaged file's bytes (control characters, a line hundreds long) must
    // not reach the panel, nor go back into the file at the end; a word
    // edited by hand is still taken as it stands.
    auto plain = [](const std::string& text) {
      return text.size() <= kLongestIniText &&
             std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
    };
    if (plain(ini->vfoBMode)) frm.cmbVFOBMode.text = ini->vfoBMode;
    if (plain(ini->split)) frm.lblSplit.caption = ini->split;
    if (plain(ini->stepSize)) frm.cmbStepSize.text = ini->stepSize;
  });
}

void MainLoop::initialControls() {
  MainWindowModel& frm = p_.frm;
  frm.lblInfo.caption = "";
  frm.txtInData.visible = false;
  frm.lblU.visible = false;
  p_.link().gDelay(0.5);
  frm.lblU.caption = "";
  frm.lblXMTRCV.enabled = false;
  frm.lblXMTRCV.bold = true;
  frm.lblXMTRCV.caption = "Receive";
  frm.lblXMTRCV.backColor = colours::Green;
  for (auto& c : frm.cmdF) c.enabled = true;
  for (auto& c : frm.cmdM) c.enabled = true;
  p_.form.bfoOn = false;
  p_.form.gBfoOffset = "100";
  frm.lblPorM.caption = "";
  frm.lblBFOOn.caption = "";
  frm.lblREMOTE.foreColor = colours::Red;
  frm.lblREMOTE.caption = "NoComm";
  frm.lblComStat.caption = "No Com";
  frm.shaTrace.visible = false;
  frm.window.visible = true;
  for (Control* c : {&frm.lblAmpPwr, &frm.lblAmpOpStby, &frm.lblAmpTuned}) c->caption = "";
  for (Control* c : {&frm.cmdAmpPwr, &frm.cmdAmpOpr, &frm.cmdTuneAmp}) c->enabled = false;
  frm.txtInData.visible = true;
  frm.txtInfo.visible = true;
}

void MainLoop::openCatPort() {
  MainWindowModel& frm = p_.frm;
  frm.txtInfo.text = "Opening " + programDirectory() + "/" + kCatSetupFile + " File.. ";
  if (!std::filesystem::exists(kCatSetupFile)) return;
  stmt([&] {
    const auto cat = readSettings(kCatSetupFile, [] { return readCatSetup(); });
    if (!cat) return;
    frm.txtInfo.text = std::string(kCatSetupFile) + " Opened";
    p_.settings.gCATPort = cat->port;
    p_.settings.gCATSettings = cat->settings;
    p_.settings.gCATHandshake = cat->handshake;
    p_.settings.gRigType = cat->rigType;
  });
  stmt([&] {
    if (p_.link().gGetCommPorts(vbCInt(p_.settings.gCATPort))) {
      p_.cat().SetUpCATPort();
    } else {
      frm.txtInCat.text = "No CAT Port";
      frm.txtOutCAT.text = "No CAT Port";
    }
  });
}

void MainLoop::readPortSetup() {
  MainWindowModel& frm = p_.frm;
  frm.txtInfo.visible = true;
  frm.txtInfo.text = "Opening " + programDirectory() + "/" + kPortSetupFile + " File.. ";
  std::optional<PortSetupValues> port;
  if (std::filesystem::exists(kPortSetupFile)) port = readSettings(kPortSetupFile, [] { return zr::readPortSetup(); });
  if (!port) {
    // Unreadable is as good as missing; the reason stays on show.
    p_.settings.gExtPttEnabled = false;
    p_.menus().mnuPortSetup_Click();
    return;
  }
  if (const std::string problem = portSetupProblem(*port); !problem.empty()) noteFile(kPortSetupFile, problem);
  stmt([&] {
    frm.txtInfo.text = std::string(kPortSetupFile) + " File Opened";
    p_.settings.gRadioPort = port->port;
    p_.settings.gRadioSettings = port->settings;
    p_.settings.gRadioHandshake = port->handshake;
    p_.settings.gExtPttEnabled = port->extPtt == "1";
    frm.txtInfo.text = withFileNotes({});
  });
}

MainLoop::Step MainLoop::portCheck() {
  MainWindowModel& frm = p_.frm;
  SerialPort& port = p_.MSComm1;
  // The Apply that led here is being served; left set, the retry loop
  // would take it for a new one, for ever.
  p_.form.gPortSetupDone = false;
  bool usable = false;
  bool numbered = false;
  try {
    const int n = vbCInt(p_.settings.gRadioPort);
    // The operator's choice: where the number leads is decided now, and a
    // recovery keeps to it.
    port.chooseDevice(n);
    numbered = true;
    // An open port fails the probe, so the port in use counts as usable.
    usable = (port.isOpen() && port.commPort() == n) || p_.link().gGetCommPorts(n);
  } catch (const RuntimeError&) {
    // No port number (an empty choice applied) is no usable port; failing
    // the pass instead would come straight back here, for ever.
  }
  if (!usable && numbered) {
    // A port that is missing now (a link left dangling, an adapter not yet
    // plugged in) is waited for as a lost one is.
    frm.txtInfo.visible = true;
    p_.recovery().unavailable(withFileNotes("Port is not available. Use Setup menu or Exit."));
    return Step::Reconnect;
  }
  if (!usable) {
    frm.txtInfo.visible = true;
    frm.txtInfo.text = withFileNotes("Port is not available. Use Setup menu or Exit.");
    frm.lblComStat.caption = "No Port";
    frm.lblREMOTE.caption = "";
    p_.form.gPortSetupDone = false;
    while (!p_.form.gPortSetupDone) p_.engine.pump(kIdleBlock);
    return Step::PortCheck;
  }
  std::string failure;
  try {
    p_.form.radioPortOpen = p_.link().SetUpRadioPort();
  } catch (const RuntimeError& e) {
    p_.form.radioPortOpen = false;
    failure = e.description;
  }
  if (!p_.form.radioPortOpen) {
    // Querying a port that is not open could never be answered: open it
    // again until it works or the operator chooses another.
    p_.recovery().openFailed(failure.empty() ? "COM" + p_.settings.gRadioPort : failure);
    return Step::Reconnect;
  }
  p_.recovery().portOpened();
  frm.lblComStat.caption = "COM" + p_.settings.gRadioPort;
  frm.txtInfo.text = withFileNotes("Querying radio status");
  return Step::Query;
}

MainLoop::Step MainLoop::reconnect() {
  // The transceiver may have been reset meanwhile: it is set up again.
  restartPending = false;
  for (;;) {
    p_.engine.pump(std::clamp(p_.recovery().secondsToNextTry(), 0.001, kIdleBlock));
    if (p_.form.gPortSetupDone) return Step::PortCheck;
    p_.recovery().watchDevice();
    if (p_.recovery().secondsToNextTry() <= 0 && p_.recovery().tryReopen()) return Step::Query;
  }
}

bool MainLoop::pumpFindsPortDown() {
  p_.engine.pump();
  return p_.recovery().down();
}

void MainLoop::query() { p_.link().gSendCommand("?", true, 0.6); }

bool MainLoop::bytesWaiting() {
  bool waiting = false;
  stmt([&] { waiting = p_.MSComm1.inBufferCount() > 0; });
  return waiting;
}

MainLoop::Step MainLoop::afterReport() {
  p_.display().gShowRemote();
  p_.frm.lblREMOTE.foreColor = colours::White;
  if (p_.st.gRemote == "R1") return Step::RemoteSetup;
  if (p_.st.gRemote == "R0") return Step::LocalSetup;
  return Step::LoopInit;
}

MainLoop::Step MainLoop::statusQuery() {
  TransceiverState& st = p_.st;
  p_.form.gPortSetupDone = false;
  p_.link().gDelay(0.5);
  st.gRemoteChanged = false;
  query();
  if (bytesWaiting()) {
    stmt([&] { p_.link().gReadResponse(); });
    if (st.gRemoteChanged) {
      p_.display().gShowRemote();
      p_.frm.lblREMOTE.foreColor = colours::White;
      if (st.gRemote == "R1") return Step::RemoteSetup;
      if (st.gRemote == "R0") return Step::LocalSetup;
    }
  }
  for (;;) {
    if (pumpFindsPortDown()) return Step::Reconnect;
    if (p_.form.gPortSetupDone) {
      p_.form.gPortSetupDone = false;
      return Step::PortCheck;
    }
    query();
    const bool waiting = bytesWaiting();
    if (waiting) {
      stmt([&] {
        p_.link().gDrainInput();
        query();
        p_.link().gReadResponse();
      });
      if (st.gResponseComplete) return afterReport();
    }
    if (!waiting && p_.MSComm1.commEvent() == comm::Break) p_.link().gDelay(5.0);
    if (st.gResponseComplete) return Step::LoopInit;
  }
}

void MainLoop::detectFirmware(bool remote) {
  TransceiverState& st = p_.st;
  if (!st.gDotSeen) return;
  Control& label = p_.frm.lblFWType;
  if (st.gHashSeen && !st.gBangSeen) {
    st.gFwType = 2;
    label.caption = remote ? "F/W: v604 Adapt" : "F/W: v604M Adapt";
  } else if (st.gBangSeen && st.gQSeen) {
    st.gFwType = 3;
    label.caption = remote ? "F/W: v604 NonAdapt" : "F/W: v604M NonAdapt";
  } else if (st.gBangSeen) {
    st.gFwType = 1;
    label.caption = remote ? "F/W: v601" : "F/W: v601C";
  }
}

void MainLoop::noteFile(const std::string& file, const std::string& problem) {
  fileNotes_[file] = file + ": " + problem;
  p_.display().gShowInfo(withFileNotes({}));
}

std::string MainLoop::withFileNotes(const std::string& text) const {
  std::string out;
  for (const auto& [file, note] : fileNotes_) out += (out.empty() ? "" : "\r\n") + note;
  if (!text.empty()) out += (out.empty() ? "" : "\r\n") + text;
  return out;
}

}  // namespace zr
