#pragma once
// Control model of the CAT port setup dialog "frmCATSetup": port, baud rate,
// framing, handshaking and the rig type. Starts hidden; the dialog shows it
// modally.
#include <array>
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct CatSetupWindowModel : WindowModel {
  CatSetupWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control lblPort, cmbSelectPort;
  Control lblDevice;  // where the chosen port number leads on this system
  Control lblDevices, cmbDevice;  // the machine's serial devices; choosing one links it as a port
  Control Label1, txtFound;
  Control lblBaudRate, cmbSelectBaudRate;
  Control Label2, cmbBits;
  Control Label3, cmbRigType;
  Control chkKenwood;  // the full Kenwood dialect (its own settings file)
  Control fraHandShake;
  std::array<Control, 4> optHandShake;
  Control cmdApply, cmdCancel, cmdLoadPortSettings, cmdSavePortSettings;
};

}  // namespace zr
