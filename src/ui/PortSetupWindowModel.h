#pragma once
// Control model of the radio port setup dialog "frmPortSetup": port, baud
// rate, handshaking and the external PTT input. Starts hidden; the dialog
// shows it modally.
#include <array>
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct PortSetupWindowModel : WindowModel {
  PortSetupWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control lblPort, cmbSelectPort;
  Control lblDevice;  // where the chosen port number leads on this system
  Control lblDevices, cmbDevice;  // the machine's serial devices; choosing one links it as a port
  Control Label1, txtFound, lable2;
  Control lblBaudRate, cmbSelectBaudRate, txtDefaultSettings;
  Control fraHandShake;
  std::array<Control, 4> optHandShake;
  Control chkExtPTTEna;
  Control cmdApply, cmdCancel, cmdLoadPortSettings, cmdSavePortSettings;
};

}  // namespace zr
