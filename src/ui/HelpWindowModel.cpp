#include "ui/HelpWindowModel.h"

namespace zr {

HelpWindowModel::HelpWindowModel() : WindowModel("frmHelp") {
  window.caption = "ZR-3817 Help";
  window.visible = false;
  txtHelp = makeControl(ControlKind::TextBox, "txtHelp");
  txtHelp.locked = true;
  cmdClose = makeControl(ControlKind::Button, "cmdClose");
  cmdClose.caption = "Close";
}

std::unique_ptr<WindowModel> HelpWindowModel::clone() const { return std::make_unique<HelpWindowModel>(*this); }

void HelpWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&txtHelp, &cmdClose}) f(*c);
}

}  // namespace zr
