#pragma once
// The CAT port setup dialog: chooses port, baud rate, framing, handshaking
// and rig type, saves and loads them, and hands an applied choice to the
// menu through gCATSetupChanged (the CAT port is reopened once it closes).
#include <string>

#include "setup/PortChoice.h"
#include "ui/CatSetupWindowModel.h"

namespace zr {

class Panel;

class CatSetupDialog {
 public:
  using PortDescriber = PortChoice::PortDescriber;

  explicit CatSetupDialog(Panel& panel, PortDescriber describePort = {});
  CatSetupDialog(const CatSetupDialog&) = delete;
  CatSetupDialog& operator=(const CatSetupDialog&) = delete;

  // Loads the dialog and runs it over the main window until it closes.
  void showModal();

  CatSetupWindowModel& model() { return model_; }

  void setDeviceLister(PortChoice::DeviceLister lister) { choice_.setDeviceLister(std::move(lister)); }

  void Form_Load();
  void cmdLoadPortSettings_Click();
  void cmdSavePortSettings_Click();
  void cmdApply_Click();

 private:
  void close();
  std::string settingsText() const;
  void loadDialect();
  void saveDialect();

  Panel& p_;
  CatSetupWindowModel model_;
  PortChoice choice_;
};

}  // namespace zr
