#include "core/MainMenus.h"

#include <filesystem>

#include "cat/CatPort.h"
#include "core/Errors.h"
#include "core/MainLoop.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/SettingsFiles.h"
#include "core/StatusDisplay.h"
#include "lists/PumpingWait.h"
#include "lists/ScanBands.h"
#include "lists/ScanFreqs.h"
#include "setup/CatSetupDialog.h"
#include "setup/AudioSetupDialog.h"
#include "lists/ChannelSetupDialog.h"
#include "setup/PortSetupDialog.h"
#include "setup/RigServerDialog.h"
#include "setup/TxTimeoutDialog.h"

namespace zr {

MainMenus::MainMenus(Panel& panel)
    : p_(panel), portSetup_(std::make_unique<PortSetupDialog>(panel, [&panel](int n) {
        return panel.describePort ? panel.describePort(n) : std::string();
      })),
      catSetup_(std::make_unique<CatSetupDialog>(panel, [&panel](int n) {
        return panel.describePort ? panel.describePort(n) : std::string();
      })),
      audioSetup_(std::make_unique<AudioSetupDialog>(panel)),
      rigServer_(std::make_unique<RigServerDialog>(panel)),
      txTimeout_(std::make_unique<TxTimeoutDialog>(panel)),
      channelSetup_(std::make_unique<ChannelSetupDialog>(panel)),
      scanBands_(std::make_unique<ScanBands>(panel)),
      scanFreqs_(std::make_unique<ScanFreqs>(panel)) {
  Engine& e = p_.engine;
  const std::string frm = p_.frm.name();
  auto menu = [&](const char* entry, void (MainMenus::*handler)()) {
    e.on(frm, entry, EventKind::Click, [this, handler](const InputEvent&) { (this->*handler)(); });
  };
  e.on(frm, "", EventKind::Close, [this](const InputEvent&) { form_queryUnload(); });
  menu("mnuFileExit", &MainMenus::mnuFileExit_Click);
  menu("mnuPortSetup", &MainMenus::mnuPortSetup_Click);
  menu("mnuAudioSetup", &MainMenus::mnuAudioSetup_Click);
  menu("mnuCATSetup", &MainMenus::mnuCATSetup_Click);
  menu("mnuRigServer", &MainMenus::mnuRigServer_Click);
  menu("mnuTxTimeout", &MainMenus::mnuTxTimeout_Click);
  menu("mnuChannelSetup", &MainMenus::mnuChannelSetup_Click);
  menu("mnuScanBands", &MainMenus::mnuScanBands_Click);
  menu("mnuScanFreqs", &MainMenus::mnuScanFreqs_Click);
  menu("mnuHelpAbout", &MainMenus::mnuHelpAbout_Click);
  menu("mnuHelpZR3817", &MainMenus::mnuHelpZR3817_Click);

  frmHelp.window.visible = false;
  e.addWindow(frmHelp);
  auto closeAbout = [this](const InputEvent&) {
    frmHelp.window.visible = false;
    p_.frm.window.enabled = true;
  };
  e.on(frmHelp.name(), "cmdOK", EventKind::Click, closeAbout);
  e.on(frmHelp.name(), "", EventKind::Close, closeAbout);
}

MainMenus::~MainMenus() = default;

void MainMenus::writeIniFile() {
  const MainWindowModel& frm = p_.frm;
  IniFileValues v;
  v.left = frm.window.left == MainLoop::kCentredPosition ? 0 : frm.window.left;
  v.top = frm.window.top == MainLoop::kCentredPosition ? 0 : frm.window.top;
  for (const auto& d : frm.cmdVFOB) v.vfoB += d.caption;
  v.vfoBMode = frm.cmbVFOBMode.text;
  v.split = frm.lblSplit.caption;
  v.stepSize = frm.cmbStepSize.text;
  zr::writeIniFile(v);
}

void MainMenus::form_queryUnload() {
  try {
    writeIniFile();
  } catch (const RuntimeError&) {
    // Not reported: the program is ending.
  }
  p_.link().shutdownPort();
  if (p_.MSComm2.isOpen()) p_.MSComm2.close();
  p_.engine.requestQuit();
}

void MainMenus::mnuPortSetup_Click() {
  p_.frm.window.enabled = false;
  portSetup_->showModal();
}

void MainMenus::mnuAudioSetup_Click() {
  p_.frm.window.enabled = false;
  audioSetup_->showModal();
}

void MainMenus::mnuCATSetup_Click() {
  p_.frm.window.enabled = false;
  catSetup_->showModal();
  if (p_.form.gCATSetupChanged) {
    p_.cat().SetUpCATPort();
    p_.form.gCATSetupChanged = false;
  }
}

void MainMenus::mnuRigServer_Click() {
  p_.frm.window.enabled = false;
  rigServer_->showModal();
}

void MainMenus::mnuTxTimeout_Click() {
  p_.frm.window.enabled = false;
  txTimeout_->showModal();
}

void MainMenus::mnuChannelSetup_Click() {
  p_.frm.window.enabled = false;
  channelSetup_->showModal();
}

void MainMenus::runScanner(const std::function<void()>& showScanner, bool disableFirst) {
  const TransceiverState& st = p_.st;
  // A scan retunes the transceiver many times a second: never while it
  // transmits. The operator unkeys first.
  if (st.gKeyCmd == "K" || p_.link().keyed()) {
    p_.engine.beep();
    return;
  }
  StatusDisplay& d = p_.display();
  if (disableFirst) p_.frm.window.enabled = false;
  p_.st.gScanning = true;
  {
    // The scanner may end any way at all (its own close, an error, the
    // program ending): scanning is over and the main window usable again.
    OnScopeExit end([this] {
      p_.st.gScanning = false;
      p_.frm.window.enabled = true;
    });
    d.gShowBandState(false);
    p_.frm.window.enabled = false;
    showScanner();
  }
  try {
    d.gShowBandState(d.gTxAllowed(p_.st.gFreqCmd));
  } catch (const RuntimeError& e) {
    d.gShowInfo(errMessage("mnuScan", e));
  }
}

void MainMenus::mnuScanBands_Click() {
  runScanner([this] { scanBands_->showModal(); }, false);
}
void MainMenus::mnuScanFreqs_Click() {
  runScanner([this] { scanFreqs_->showModal(); }, true);
}

void MainMenus::mnuHelpAbout_Click() {
  p_.frm.window.enabled = false;
  frmHelp.window.caption = "About ";
  frmHelp.Label1.caption =
      "\r\nThe ZR-3817/QTA Software project:\r\n"
      " v0.1 - v0.9: panel, link and scanners written for the project's first radios.\r\n"
      " v0.96: settings dialogs, channel files and amplifier control.\r\n"
      " Contact: the project's mailing list.\r\n"
      " Thanks to every operator who tested it on the air.";
  frmHelp.Label3.caption = MainLoop::gVersionText;
  std::error_code ec;
  frmHelp.lblWorkDir.caption = "Settings folder: " + std::filesystem::current_path(ec).string();
  p_.engine.runModal(frmHelp, p_.frm);
}

void MainMenus::mnuHelpZR3817_Click() { p_.host.openHelp(kHelpFile); }

}  // namespace zr
