#include "ui/PortSetupWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;
using model_build::list;

PortSetupWindowModel::PortSetupWindowModel() : WindowModel("frmPortSetup") {
  window.caption = "Port Setup";
  window.visible = false;

  lblPort = labelled(ControlKind::Label, "lblPort", "Select Port");
  cmbSelectPort = makeControl(ControlKind::ComboBox, "cmbSelectPort");
  lblDevice = makeControl(ControlKind::Label, "lblDevice");
  lblDevices = labelled(ControlKind::Label, "lblDevices", "Or a device of this computer");
  cmbDevice = makeControl(ControlKind::ComboBox, "cmbDevice");
  Label1 = labelled(ControlKind::Label, "Label1", "Available Ports");
  txtFound = makeControl(ControlKind::TextBox, "txtFound");
  // A readout: typing into it would change nothing.
  txtFound.locked = true;
  lable2 = labelled(ControlKind::Label, "lable2", "Only Ports 1 through 16 are useable.");

  lblBaudRate = labelled(ControlKind::Label, "lblBaudRate", "Select Baud Rate");
  cmbSelectBaudRate = list("cmbSelectBaudRate", {"19200 ", "9600 ", "4800 ", "2400", "600", "300"});
  txtDefaultSettings =
      labelled(ControlKind::Label, "txtDefaultSettings", " Default Settings:  7 Data Bits, Odd Parity, 1 Stop Bit");

  fraHandShake = labelled(ControlKind::Frame, "fraHandShake", "Handshake Mode");
  const char* options[] = {"NONE", "XON", "RTS", "RTS  XON"};
  for (int i = 0; i < 4; ++i)
    optHandShake[i] = labelled(ControlKind::OptionButton, "optHandShake", options[i], i, "fraHandShake");

  chkExtPTTEna = labelled(ControlKind::CheckBox, "chkExtPTTEna", "Enable DSR as External PTT");
  chkExtPTTEna.max = 1;  // the engine keeps a check box's value within min..max
  cmdApply = labelled(ControlKind::Button, "cmdApply", "Apply");
  cmdCancel = labelled(ControlKind::Button, "cmdCancel", "Cancel");
  cmdLoadPortSettings = labelled(ControlKind::Button, "cmdLoadPortSettings", "Load");
  cmdSavePortSettings = labelled(ControlKind::Button, "cmdSavePortSettings", "Save");
}

std::unique_ptr<WindowModel> PortSetupWindowModel::clone() const {
  return std::make_unique<PortSetupWindowModel>(*this);
}

void PortSetupWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&lblPort, &cmbSelectPort, &lblDevice, &lblDevices, &cmbDevice, &Label1, &txtFound, &lable2, &lblBaudRate,
                     &cmbSelectBaudRate, &txtDefaultSettings, &fraHandShake})
    f(*c);
  for (Control& c : optHandShake) f(c);
  for (Control* c : {&chkExtPTTEna, &cmdApply, &cmdCancel, &cmdLoadPortSettings, &cmdSavePortSettings}) f(*c);
}

}  // namespace zr
