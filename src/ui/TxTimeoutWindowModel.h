#pragma once
// Control model of the transmit time-out dialog "frmTxTimeout": the seconds
// a transmission may last without a break, and what is in force. Starts
// hidden; the dialog shows it modally.
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct TxTimeoutWindowModel : WindowModel {
  TxTimeoutWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control lblSeconds, txtSeconds;
  Control lblStatus;
  Control cmdApply, cmdSave, cmdCancel;
};

}  // namespace zr
