#pragma once
// Control model of the About window: credits, a dedication and the version.
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct AboutWindowModel : WindowModel {
  AboutWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control Label1;  // project history and credits, built when the window loads
  Control Label2;  // dedication
  Control Label3;  // version text, set when the window loads
  Control lblWorkDir;  // the directory the settings files are in
  Control cmdOK;
};

}  // namespace zr
