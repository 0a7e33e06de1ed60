#pragma once
// The CAT port setup dialog: chooses port, baud rate, framing, handshaking
// and rig type, saves and loads them, and hands an applied choice to the
// menu through gCATSetupChanged (the CAT port is reopened once it closes).
#include <functional>
#include <string>

#include "ui/CatSetupWindowModel.h"

namespace zr {

class Panel;

class CatSetupDialog {
 public:
  // Where port n leads on this system, for the operator ("COM7 -> /dev/pts/3").
  using PortDescriber = std::function<std::string(int portNumber)>;

  explicit CatSetupDialog(Panel& panel, PortDescriber describePort = {});
  CatSetupDialog(const CatSetupDialog&) = delete;
  CatSetupDialog& operator=(const CatSetupDialog&) = delete;

  // Loads the dialog and runs it over the main window until it closes.
  void showModal();

  CatSetupWindowModel& model() { return model_; }

  void Form_Load();
  void cmbSelectPort_Click();
  void optHandShake_Click(int index);
  void cmdLoadPortSettings_Click();
  void cmdSavePortSettings_Click();
  void cmdApply_Click();
  void cmdCancel_Click();
  void Form_QueryUnload();

 private:
  void registerHandlers();
  void close();
  std::string settingsText() const;
  void showDevice();
  void loadDialect();
  void saveDialect();

  Panel& p_;
  PortDescriber describePort_;
  CatSetupWindowModel model_;
  // Name of the handshake option last clicked or loaded.
  std::string handshakeName_;
};

}  // namespace zr
