#include "ui/RigServerWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;

RigServerWindowModel::RigServerWindowModel() : WindowModel("frmRigServer") {
  window.caption = "Network Rig Server";
  window.visible = false;

  chkEnabled = labelled(ControlKind::CheckBox, "chkEnabled", "Let station programs control the radio over the network");
  lblPort = labelled(ControlKind::Label, "lblPort", "TCP port (station programs expect 4532)");
  txtPort = makeControl(ControlKind::TextBox, "txtPort");
  lblAddress = labelled(ControlKind::Label, "lblAddress", "Listen on (empty: this computer only)");
  txtAddress = makeControl(ControlKind::TextBox, "txtAddress");
  lblWarning = labelled(ControlKind::Label, "lblWarning",
                        "Anyone who can reach this address can tune the radio and key the transmitter: "
                        "the protocol has no password.");
  lblWarning.foreColor = colours::Red;
  lblWarning.visible = false;
  lblStatus = makeControl(ControlKind::Label, "lblStatus");
  cmdApply = labelled(ControlKind::Button, "cmdApply", "Apply");
  cmdSave = labelled(ControlKind::Button, "cmdSave", "Save");
  cmdCancel = labelled(ControlKind::Button, "cmdCancel", "Close");
}

std::unique_ptr<WindowModel> RigServerWindowModel::clone() const {
  return std::make_unique<RigServerWindowModel>(*this);
}

void RigServerWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&chkEnabled, &lblPort, &txtPort, &lblAddress, &txtAddress, &lblWarning, &lblStatus, &cmdApply,
                     &cmdSave, &cmdCancel})
    f(*c);
}

}  // namespace zr
