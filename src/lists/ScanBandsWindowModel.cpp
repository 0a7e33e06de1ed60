#include "lists/ScanBandsWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;
using K = ControlKind;

ScanBandsWindowModel::ScanBandsWindowModel() : WindowModel("frmScanBands") {
  window.caption = "Scan Bands";
  window.visible = false;
  openBesideAnchor();

  Label1 = labelled(K::Label, "Label1", "Lower");
  txtScanLow = makeControl(K::TextBox, "txtScanLow");
  Label2 = labelled(K::Label, "Label2", "Upper Limit");
  txtScanHi = makeControl(K::TextBox, "txtScanHi");
  for (int i = 0; i < 2; ++i) Label3[static_cast<std::size_t>(i)] = labelled(K::Label, "Label3", "MHz", i);
  txtFreq = makeControl(K::TextBox, "txtFreq");

  cmdScanUp = labelled(K::Button, "cmdScanUp", "Scan");
  cmdStop = labelled(K::Button, "cmdStop", "Stop");
  cmdPauseCont = labelled(K::Button, "cmdPauseCont", "Pause");

  cmd160M = labelled(K::Button, "cmd160M", "160");
  cmd75M = labelled(K::Button, "cmd75M", "75");
  cmd40M = labelled(K::Button, "cmd40M", "40");
  cmd30M = labelled(K::Button, "cmd30M", "30");
  cmd20M = labelled(K::Button, "cmd20M", "20");
  cmd17M = labelled(K::Button, "cmd17M", "17");
  cmd15M = labelled(K::Button, "cmd15M", "15");
  cmd12M = labelled(K::Button, "cmd12M", "12");
  cmd10M = labelled(K::Button, "cmd10M", "10");

  Frame1 = labelled(K::Frame, "Frame1", "Step");
  const char* steps[] = {"10Hz", "50Hz", "100Hz", "500Hz", "1KHz"};
  for (int i = 0; i < 5; ++i) Option1[static_cast<std::size_t>(i)] = labelled(K::OptionButton, "Option1", steps[i], i, "Frame1");
  Option1[2].value = 1;
  Frame2 = labelled(K::Frame, "Frame2", "Speed");
  Option2[0] = labelled(K::OptionButton, "Option2", "Fast Scan", 0, "Frame2");
  Option2[1] = labelled(K::OptionButton, "Option2", "Slow Scan", 1, "Frame2");
  Option2[0].value = 1;
}

std::unique_ptr<WindowModel> ScanBandsWindowModel::clone() const {
  return std::make_unique<ScanBandsWindowModel>(*this);
}

void ScanBandsWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  for (Control* c : {&Label1, &txtScanLow, &Label3[0], &Label2, &txtScanHi, &Label3[1], &txtFreq}) f(*c);
  for (Control* c : {&cmdScanUp, &cmdStop, &cmdPauseCont}) f(*c);
  for (Control* c : {&cmd160M, &cmd75M, &cmd40M, &cmd30M, &cmd20M, &cmd17M, &cmd15M, &cmd12M, &cmd10M}) f(*c);
  f(Frame1);
  for (Control& c : Option1) f(c);
  f(Frame2);
  for (Control& c : Option2) f(c);
}

}  // namespace zr
