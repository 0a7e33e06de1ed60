#pragma once
// Control model of the network rig server dialog "frmRigServer": on or off,
// the TCP port, the address to listen on, and what the server is doing.
// Starts hidden; the dialog shows it modally.
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct RigServerWindowModel : WindowModel {
  RigServerWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control chkEnabled;
  Control lblPort, txtPort;
  Control lblAddress, txtAddress, lblWarning;
  Control lblStatus;
  Control cmdApply, cmdSave, cmdCancel;
};

}  // namespace zr
