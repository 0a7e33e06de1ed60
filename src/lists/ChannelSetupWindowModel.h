#pragma once
// Control model of the channel setup window "frmChannelSetup": the channel
// list, the file boxes and buttons, the radio buttons (Load, Store, Verify)
// with the progress of a run and its Cancel, and what Verify found. Starts
// hidden; the menu shows it modally.
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct ChannelSetupWindowModel : WindowModel {
  ChannelSetupWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control lsbChList;
  Control txtFilename, cmdBrowse, cmdOpenFile;
  Control txtSaveFilename, cmdSaveFile;
  Control cmdLoad, cmdStore, cmdVerify, cmdCancel;
  Control lblStatus, prgProgress;
  Control txtResp;
  Control lsbVerify;
  Control cmdOK;
};

}  // namespace zr
