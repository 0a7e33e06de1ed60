#pragma once
// Control model of the help window: the operator's help text and a way out.
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct HelpWindowModel : WindowModel {
  HelpWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control txtHelp;   // read-only; filled by whoever opens the window
  Control cmdClose;
};

}  // namespace zr
