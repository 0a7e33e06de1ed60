#pragma once
// The main window's menus, its About window and how the program ends.
#include <functional>
#include <memory>
#include <string>

#include "ui/AboutWindowModel.h"

namespace zr {

class Panel;
class PortSetupDialog;
class AudioSetupDialog;
class CatSetupDialog;
class RigServerDialog;
class TxTimeoutDialog;
class ChannelSetupDialog;
class ScanBands;
class ScanFreqs;

class MainMenus {
 public:
  explicit MainMenus(Panel& panel);
  ~MainMenus();

  // Ends the program: settings saved, transmitter unkeyed, ports closed.
  void form_queryUnload();
  void mnuFileExit_Click() { form_queryUnload(); }
  void mnuPortSetup_Click();
  void mnuAudioSetup_Click();
  void mnuCATSetup_Click();
  void mnuRigServer_Click();
  void mnuTxTimeout_Click();
  void mnuChannelSetup_Click();
  void mnuScanBands_Click();
  void mnuScanFreqs_Click();
  void mnuHelpAbout_Click();
  void mnuHelpZR3817_Click();

  static constexpr const char* kHelpFile = "ZR3817V0961.hlp";

  AboutWindowModel frmHelp;
  PortSetupDialog& portSetup() { return *portSetup_; }
  AudioSetupDialog& audioSetup() { return *audioSetup_; }
  CatSetupDialog& catSetup() { return *catSetup_; }
  RigServerDialog& rigServer() { return *rigServer_; }
  TxTimeoutDialog& txTimeout() { return *txTimeout_; }
  ChannelSetupDialog& channelSetup() { return *channelSetup_; }
  ScanBands& scanBands() { return *scanBands_; }
  ScanFreqs& scanFreqs() { return *scanFreqs_; }

 private:
  void runScanner(const std::function<void()>& showScanner, bool disableFirst);
  void writeIniFile();

  Panel& p_;
  std::unique_ptr<PortSetupDialog> portSetup_;
  std::unique_ptr<CatSetupDialog> catSetup_;
  std::unique_ptr<AudioSetupDialog> audioSetup_;
  std::unique_ptr<RigServerDialog> rigServer_;
  std::unique_ptr<TxTimeoutDialog> txTimeout_;
  std::unique_ptr<ChannelSetupDialog> channelSetup_;
  std::unique_ptr<ScanBands> scanBands_;
  std::unique_ptr<ScanFreqs> scanFreqs_;
};

}  // namespace zr
