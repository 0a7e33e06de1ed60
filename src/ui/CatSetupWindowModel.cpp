#include "ui/CatSetupWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;
using model_build::list;

CatSetupWindowModel::CatSetupWindowModel() : WindowModel("frmCATSetup") {
  window.caption = "CAT Setup";
  window.visible = false;

  lblPort = labelled(ControlKind::Label, "lblPort", "Select Port");
  cmbSelectPort = makeControl(ControlKind::ComboBox, "cmbSelectPort");
  lblDevice = makeControl(ControlKind::Label, "lblDevice");
  lblDevices = labelled(ControlKind::Label, "lblDevices", "Or a device of this computer");
  cmbDevice = makeControl(ControlKind::ComboBox, "cmbDevice");
  Label1 = labelled(ControlKind::Label, "Label1", "Available Ports Found");
  txtFound = makeControl(ControlKind::TextBox, "txtFound");
  // A readout: typing into it would change nothing.
  txtFound.locked = true;

  lblBaudRate = labelled(ControlKind::Label, "lblBaudRate", "Select Baud Rate");
  cmbSelectBaudRate = list("cmbSelectBaudRate", {"19200 ", "9600 ", "4800 ", "2400", "600", "300"});
  Label2 = labelled(ControlKind::Label, "Label2", "Parity, Bits, Stops");
  cmbBits = list("cmbBits", {"N, 8, 1", "O, 7, 1", "E, 7, 1"});
  Label3 = labelled(ControlKind::Label, "Label3", "Rig Type");
  cmbRigType = list("cmbRigType", {"Kenwood", "Elecraft", "FT-450"});
  chkKenwood = labelled(ControlKind::CheckBox, "chkKenwood", "Full Kenwood dialect (TS-2000: IF, ID, FB, split, TX/RX)");

  fraHandShake = labelled(ControlKind::Frame, "fraHandShake", "Handshake Mode");
  const char* options[] = {"NONE", "XON", "RTS", "RTS  XON"};
  for (int i = 0; i < 4; ++i)
    optHandShake[i] = labelled(ControlKind::OptionButton, "optHandShake", options[i], i, "fraHandShake");

  cmdApply = labelled(ControlKind::Button, "cmdApply", "Apply");
  cmdCancel = labelled(ControlKind::Button, "cmdCancel", "Cancel");
  cmdLoadPortSettings = labelled(ControlKind::Button, "cmdLoadPortSettings", "Load");
  cmdSavePortSettings = labelled(ControlKind::Button, "cmdSavePortSettings", "Save");
}

std::unique_ptr<WindowModel> CatSetupWindowModel::clone() const {
  return std::make_unique<CatSetupWindowModel>(*this);
}

void CatSetupWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&lblPort, &cmbSelectPort, &lblDevice, &lblDevices, &cmbDevice, &Label1, &txtFound, &lblBaudRate, &cmbSelectBaudRate,
                     &Label2, &cmbBits, &Label3, &cmbRigType, &chkKenwood, &fraHandShake})
    f(*c);
  for (Control& c : optHandShake) f(c);
  for (Control* c : {&cmdApply, &cmdCancel, &cmdLoadPortSettings, &cmdSavePortSettings}) f(*c);
}

}  // namespace zr
