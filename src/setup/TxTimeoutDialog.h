#pragma once
// The transmit time-out dialog: sets how long a transmission may last
// without a break, applies it at once and saves it in its own file.
#include <optional>

#include "setup/TxTimeoutSetup.h"
#include "ui/TxTimeoutWindowModel.h"

namespace zr {

class Panel;

class TxTimeoutDialog {
 public:
  explicit TxTimeoutDialog(Panel& panel);
  TxTimeoutDialog(const TxTimeoutDialog&) = delete;
  TxTimeoutDialog& operator=(const TxTimeoutDialog&) = delete;

  void showModal();
  TxTimeoutWindowModel& model() { return model_; }

  void Form_Load();
  void cmdApply_Click();
  void cmdSave_Click();
  void close() { model_.window.visible = false; }

 private:
  // The seconds in the window; nullopt (and the reason shown) when they are no time-out.
  std::optional<int> chosen();

  Panel& p_;
  TxTimeoutWindowModel model_;
};

}  // namespace zr
