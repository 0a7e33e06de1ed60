#pragma once
// The radio port setup dialog: chooses port, baud rate, handshaking and the
// external PTT input, saves and loads them, and hands an applied choice to
// the service loop through gPortSetupDone.
#include <functional>
#include <string>

#include "ui/PortSetupWindowModel.h"

namespace zr {

class Panel;

class PortSetupDialog {
 public:
  // Where port n leads on this system, for the operator ("COM3 -> /dev/ttyUSB0").
  using PortDescriber = std::function<std::string(int portNumber)>;

  explicit PortSetupDialog(Panel& panel, PortDescriber describePort = {});
  PortSetupDialog(const PortSetupDialog&) = delete;
  PortSetupDialog& operator=(const PortSetupDialog&) = delete;

  // Loads the dialog and runs it over the main window until it closes.
  void showModal();

  PortSetupWindowModel& model() { return model_; }

  void Form_Load();
  void cmbSelectPort_Click();
  void cmbSelectBaudRate_Click();
  void optHandShake_Click(int index);
  void cmdLoadPortSettings_Click();
  void cmdSavePortSettings_Click();
  void cmdApply_Click();
  void cmdCancel_Click();
  void Form_QueryUnload();

 private:
  void registerHandlers();
  void close();
  void showDevice();

  Panel& p_;
  PortDescriber describePort_;
  PortSetupWindowModel model_;
  // Name of the handshake option last clicked or loaded.
  std::string handshakeName_;
};

}  // namespace zr
