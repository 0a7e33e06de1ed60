#pragma once
// A window whose contents are still to come: it says so and closes again,
// so the menus that open it already disable and re-enable the main window
// the way the finished window will.
#include <memory>
#include <string>

#include "ui/WindowModel.h"

namespace zr {

struct PlaceholderWindowModel : WindowModel {
  PlaceholderWindowModel(std::string name, std::string caption);

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control lblMessage;
  Control cmdOK;
};

}  // namespace zr
