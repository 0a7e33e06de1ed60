#include "ui/PlaceholderWindowModel.h"

namespace zr {

PlaceholderWindowModel::PlaceholderWindowModel(std::string name, std::string caption)
    : WindowModel(std::move(name)) {
  window.caption = std::move(caption);
  window.visible = false;
  lblMessage = makeControl(ControlKind::Label, "lblMessage");
  lblMessage.caption = "This window is not available yet.";
  cmdOK = makeControl(ControlKind::Button, "cmdOK");
  cmdOK.caption = "OK";
}

std::unique_ptr<WindowModel> PlaceholderWindowModel::clone() const {
  return std::make_unique<PlaceholderWindowModel>(*this);
}

void PlaceholderWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  f(lblMessage);
  f(cmdOK);
}

}  // namespace zr
