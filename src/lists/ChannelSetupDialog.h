#pragma once
// The channel setup window: the radio's memory channels between a list, a
// channel file and the transceiver. The file side lives here; the runs
// against the transceiver are ChannelTransfer's. While a run goes, only
// Cancel and OK (or closing) are live, and either ends the run after the
// channel in progress.
#include <filesystem>
#include <string>

#include "lists/ChannelSetupWindowModel.h"
#include "lists/ChannelTransfer.h"

namespace zr {

class Panel;

class ChannelSetupDialog {
 public:
  explicit ChannelSetupDialog(Panel& panel);
  ChannelSetupDialog(const ChannelSetupDialog&) = delete;
  ChannelSetupDialog& operator=(const ChannelSetupDialog&) = delete;

  // Loads the window and runs it over the main window until it closes.
  void showModal();

  ChannelSetupWindowModel& model() { return model_; }
  bool running() const { return running_; }

  static constexpr const char* kDefaultFileName = "Channel List.txt";

  void Form_Load();
  void cmdBrowse_Click();
  void cmdOpenFile_Click();
  void cmdSaveFile_Click();
  void cmdLoad_Click() { run("cmdLoad_Click", &ChannelTransfer::load); }
  void cmdStore_Click() { run("cmdStore_Click", &ChannelTransfer::store); }
  void cmdVerify_Click() { run("cmdVerify_Click", &ChannelTransfer::verify); }
  void cmdCancel_Click() { transfer_.requestStop(); }
  void cmdOK_Click();
  void Form_Unload();

 private:
  void registerHandlers();
  void run(const char* routine, std::string (ChannelTransfer::*what)());
  void showRunning(bool running);
  // An outcome or failure: in the main window's information box and on the
  // window's own status line.
  void report(const std::string& text);

  Panel& p_;
  ChannelSetupWindowModel model_;
  ChannelTransfer transfer_{p_, model_};
  std::filesystem::path openingDir_;
  bool running_ = false;
  bool closeAfterRun_ = false;
};

}  // namespace zr
