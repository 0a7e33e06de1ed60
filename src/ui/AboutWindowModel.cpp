#include "ui/AboutWindowModel.h"

namespace zr {

AboutWindowModel::AboutWindowModel() : WindowModel("frmHelp") {
  window.caption = "About ";
  window.visible = false;
  Label1 = makeControl(ControlKind::Label, "Label1");
  Label2 = makeControl(ControlKind::Label, "Label2");
  Label2.caption = "Dedicated to everyone who keeps the HF bands alive.";
  Label3 = makeControl(ControlKind::Label, "Label3");
  lblWorkDir = makeControl(ControlKind::Label, "lblWorkDir");
  cmdOK = makeControl(ControlKind::Button, "cmdOK");
  cmdOK.caption = "OK";
}

std::unique_ptr<WindowModel> AboutWindowModel::clone() const { return std::make_unique<AboutWindowModel>(*this); }

void AboutWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&Label1, &Label2, &Label3, &lblWorkDir, &cmdOK}) f(*c);
}

}  // namespace zr
