#pragma once
// The network rig server dialog: switches the server on or off, sets its
// port and address, applies them at once and saves them in its own file.
#include <optional>

#include "setup/RigServerSetup.h"
#include "ui/RigServerWindowModel.h"

namespace zr {

class Panel;

class RigServerDialog {
 public:
  explicit RigServerDialog(Panel& panel);
  RigServerDialog(const RigServerDialog&) = delete;
  RigServerDialog& operator=(const RigServerDialog&) = delete;

  void showModal();
  RigServerWindowModel& model() { return model_; }

  void Form_Load();
  void txtAddress_Change();
  void cmdApply_Click();
  void cmdSave_Click();
  void close() { model_.window.visible = false; }

 private:
  // The choice in the window; nullopt (and the reason shown) when the port is no port.
  std::optional<RigServerSetup> chosen();

  Panel& p_;
  RigServerWindowModel model_;
};

}  // namespace zr
