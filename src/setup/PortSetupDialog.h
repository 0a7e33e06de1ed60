#pragma once
// The radio port setup dialog: chooses port, baud rate, handshaking and the
// external PTT input, saves and loads them, and hands an applied choice to
// the service loop through gPortSetupDone.
#include "setup/PortChoice.h"
#include "ui/PortSetupWindowModel.h"

namespace zr {

class Panel;

class PortSetupDialog {
 public:
  using PortDescriber = PortChoice::PortDescriber;

  explicit PortSetupDialog(Panel& panel, PortDescriber describePort = {});
  PortSetupDialog(const PortSetupDialog&) = delete;
  PortSetupDialog& operator=(const PortSetupDialog&) = delete;

  // Loads the dialog and runs it over the main window until it closes.
  void showModal();

  PortSetupWindowModel& model() { return model_; }

  void setDeviceLister(PortChoice::DeviceLister lister) { choice_.setDeviceLister(std::move(lister)); }

  void Form_Load();
  void cmdLoadPortSettings_Click();
  void cmdSavePortSettings_Click();
  void cmdApply_Click();

 private:
  void close();

  Panel& p_;
  PortSetupWindowModel model_;
  PortChoice choice_;
};

}  // namespace zr
