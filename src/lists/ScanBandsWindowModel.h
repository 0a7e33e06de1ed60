#pragma once
// Control model of the band scanner "frmScanBands": the range boxes, the
// band buttons that fill them, the step and speed choices, and the scan
// buttons. Starts hidden; the scan menu shows it modally.
#include <array>
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct ScanBandsWindowModel : WindowModel {
  ScanBandsWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control Label1, txtScanLow, Label2, txtScanHi;
  std::array<Control, 2> Label3;  // "MHz" beside each limit
  Control txtFreq;
  Control cmdScanUp, cmdStop, cmdPauseCont;
  Control cmd160M, cmd75M, cmd40M, cmd30M, cmd20M, cmd17M, cmd15M, cmd12M, cmd10M;
  Control Frame1;
  std::array<Control, 5> Option1;  // step
  Control Frame2;
  std::array<Control, 2> Option2;  // speed
};

}  // namespace zr
