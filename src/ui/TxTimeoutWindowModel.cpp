#include "ui/TxTimeoutWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;

TxTimeoutWindowModel::TxTimeoutWindowModel() : WindowModel("frmTxTimeout") {
  window.caption = "Transmit Time-out";
  window.visible = false;

  lblSeconds = labelled(ControlKind::Label, "lblSeconds",
                        "Unkey after this many seconds keyed without a break (0 = never, at most 3600)");
  txtSeconds = makeControl(ControlKind::TextBox, "txtSeconds");
  lblStatus = makeControl(ControlKind::Label, "lblStatus");
  cmdApply = labelled(ControlKind::Button, "cmdApply", "Apply");
  cmdSave = labelled(ControlKind::Button, "cmdSave", "Save");
  cmdCancel = labelled(ControlKind::Button, "cmdCancel", "Close");
}

std::unique_ptr<WindowModel> TxTimeoutWindowModel::clone() const {
  return std::make_unique<TxTimeoutWindowModel>(*this);
}

void TxTimeoutWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&lblSeconds, &txtSeconds, &lblStatus, &cmdApply, &cmdSave, &cmdCancel}) f(*c);
}

}  // namespace zr
