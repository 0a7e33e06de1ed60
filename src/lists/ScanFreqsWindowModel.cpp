#include "lists/ScanFreqsWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;
using model_build::makeArray;
using K = ControlKind;

ScanFreqsWindowModel::ScanFreqsWindowModel() : WindowModel("frmScanFreqs") {
  window.caption = "Scan Freq";
  window.visible = false;
  openBesideAnchor();

  fraBand = labelled(K::Frame, "fraBand", "Freqs");
  makeArray(Check1, K::CheckBox, "Check1", "fraBand");
  for (Control& c : Check1) c.backColor = kRowIdle;
  makeArray(txtFreq, K::TextBox, "txtFreq", "fraBand");
  makeArray(txtMode, K::TextBox, "txtMode", "fraBand");
  makeArray(txtInfo, K::TextBox, "txtInfo", "fraBand");

  lblDelay = labelled(K::Label, "lblDelay", "Delay Secs");
  txtDelay = makeControl(K::TextBox, "txtDelay");
  txtDelay.text = "3";
  cmdScan = labelled(K::Button, "cmdScan", "Scan");
  cmdStop = labelled(K::Button, "cmdStop", "Stop");
  cmdStop.visible = false;
  cmdWriteFile = labelled(K::Button, "cmdWriteFile", "Write File");
  lblError = labelled(K::Label, "lblError", "Frequency Error");
  lblError.foreColor = colours::Red;
  lblError.visible = false;
}

std::unique_ptr<WindowModel> ScanFreqsWindowModel::clone() const {
  return std::make_unique<ScanFreqsWindowModel>(*this);
}

// Row by row, so a four-column layout reads as the list.
void ScanFreqsWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  f(fraBand);
  for (std::size_t i = 0; i < kRows; ++i)
    for (Control* c : {&Check1[i], &txtFreq[i], &txtMode[i], &txtInfo[i]}) f(*c);
  for (Control* c : {&lblDelay, &txtDelay, &cmdScan, &cmdStop, &cmdWriteFile, &lblError}) f(*c);
}

}  // namespace zr
