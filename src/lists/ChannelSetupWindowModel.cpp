#include "lists/ChannelSetupWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::make;

ChannelSetupWindowModel::ChannelSetupWindowModel() : WindowModel("frmChannelSetup") {
  window.caption = "Channel Setup";
  window.visible = false;

  lsbChList = make(ControlKind::ListBox, "lsbChList");
  txtFilename = make(ControlKind::TextBox, "txtFilename", {}, {}, "Directory");
  cmdBrowse = make(ControlKind::Button, "cmdBrowse", {}, "Find File", "Browse to Select File");
  cmdOpenFile = make(ControlKind::Button, "cmdOpenFile", {}, "Open File", "Read File into List");
  // Shows the file last written; the save dialog chooses it.
  txtSaveFilename = model_build::readOnlyText("txtSaveFilename", {}, {}, "File Name");
  cmdSaveFile = make(ControlKind::Button, "cmdSaveFile", {}, "Save File", "Write List into File");
  cmdLoad = make(ControlKind::Button, "cmdLoad", {}, "Load", "Get Channel Data from Radio");
  cmdStore = make(ControlKind::Button, "cmdStore", {}, "Store", "Put Channel Data in radio.");
  cmdVerify = make(ControlKind::Button, "cmdVerify", {}, "Verify", "Compare the List with the Radio's Channels");
  cmdCancel = make(ControlKind::Button, "cmdCancel", {}, "Cancel", "Stop after the Current Channel");
  cmdCancel.enabled = false;  // only while a run goes
  lblStatus = make(ControlKind::Label, "lblStatus");
  prgProgress = make(ControlKind::ProgressBar, "prgProgress");
  prgProgress.max = 100;
  txtResp = model_build::readOnlyText("txtResp", {}, "OK");
  lsbVerify = make(ControlKind::ListBox, "lsbVerify");
  lsbVerify.visible = false;  // until Verify has something to say
  cmdOK = make(ControlKind::Button, "cmdOK", {}, "OK", "Exit Setup");
}

std::unique_ptr<WindowModel> ChannelSetupWindowModel::clone() const {
  return std::make_unique<ChannelSetupWindowModel>(*this);
}

void ChannelSetupWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&lsbChList, &txtFilename, &cmdBrowse, &cmdOpenFile, &txtSaveFilename, &cmdSaveFile, &cmdLoad,
                     &cmdStore, &cmdVerify, &cmdCancel, &lblStatus, &prgProgress, &txtResp, &lsbVerify, &cmdOK})
    f(*c);
}

}  // namespace zr
