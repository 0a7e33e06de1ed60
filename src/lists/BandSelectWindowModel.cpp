#include "lists/BandSelectWindowModel.h"

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;
using model_build::makeArray;

BandSelectWindowModel::BandSelectWindowModel() : WindowModel(kName) {
  window.caption = "Frequency Select";
  window.visible = false;
  openBesideAnchor();

  fraBand = labelled(ControlKind::Frame, "fraBand", "Band");
  makeArray(Option1, ControlKind::OptionButton, "Option1", "fraBand");
  makeArray(txtFreq, ControlKind::TextBox, "txtFreq", "fraBand");
  makeArray(txtMode, ControlKind::TextBox, "txtMode", "fraBand");
  makeArray(txtInfo, ControlKind::TextBox, "txtInfo", "fraBand");

  lblError = labelled(ControlKind::Label, "lblError", "Frequency Error");
  lblError.visible = false;
  cmdGetFreq = labelled(ControlKind::Button, "cmdGetFreq", "Get Freq");
  cmdSort = labelled(ControlKind::Button, "cmdSort", "Sort");
  cmdWriteFile = labelled(ControlKind::Button, "cmdWriteFile", "Write File");
  cmdExit = labelled(ControlKind::Button, "cmdExit", "Exit");
  SyncTimer = makeControl(ControlKind::Timer, "SyncTimer");
  SyncTimer.enabled = false;
}

std::unique_ptr<WindowModel> BandSelectWindowModel::clone() const {
  return std::make_unique<BandSelectWindowModel>(*this);
}

void BandSelectWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  f(fraBand);
  for (std::size_t i = 0; i < Option1.size(); ++i) {
    f(Option1[i]);
    f(txtFreq[i]);
    f(txtMode[i]);
    f(txtInfo[i]);
  }
  for (Control* c : {&lblError, &cmdGetFreq, &cmdSort, &cmdWriteFile, &cmdExit, &SyncTimer}) f(*c);
}

ListRow BandSelectWindowModel::row(int i) const {
  const auto k = static_cast<std::size_t>(i);
  return {txtFreq[k].text, txtMode[k].text, txtInfo[k].text};
}

void BandSelectWindowModel::setRow(int i, const ListRow& r) {
  const auto k = static_cast<std::size_t>(i);
  txtFreq[k].text = r.freq;
  txtMode[k].text = r.mode;
  txtInfo[k].text = r.note;
}

BandRows BandSelectWindowModel::rows() const {
  BandRows out;
  for (int i = 0; i < kRows; ++i) out[static_cast<std::size_t>(i)] = row(i);
  return out;
}

void BandSelectWindowModel::setRows(const BandRows& r) {
  for (int i = 0; i < kRows; ++i) setRow(i, r[static_cast<std::size_t>(i)]);
}

}  // namespace zr
