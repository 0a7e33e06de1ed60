#pragma once
// The main window's menus, its About window and how the program ends.
#include <memory>
#include <string>

#include "ui/AboutWindowModel.h"
#include "ui/PlaceholderWindowModel.h"

namespace zr {

class Panel;
class PortSetupDialog;
class AudioSetupDialog;
class CatSetupDialog;
class ChannelSetupDialog;

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
  ChannelSetupDialog& channelSetup() { return *channelSetup_; }

 private:
  void runScanner(PlaceholderWindowModel& window, bool disableFirst);
  void writeIniFile();

  Panel& p_;
  std::unique_ptr<PortSetupDialog> portSetup_;
  std::unique_ptr<CatSetupDialog> catSetup_;
  std::unique_ptr<AudioSetupDialog> audioSetup_;
  std::unique_ptr<ChannelSetupDialog> channelSetup_;
  PlaceholderWindowModel frmScanBands{"frmScanBands", "Scan Bands"};
  PlaceholderWindowModel frmScanFreqs{"frmScanFreqs", "Scan Freqs"};
};

}  // namespace zr
