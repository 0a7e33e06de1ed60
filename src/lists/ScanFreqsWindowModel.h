#pragma once
// Control model of the frequency-list scanner "frmScanFreqs": thirteen rows
// of tick box, frequency, mode and note, the dwell box and the scan
// buttons. Starts hidden; the scan menu shows it modally.
#include <array>
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct ScanFreqsWindowModel : WindowModel {
  static constexpr std::size_t kRows = 13;
  static constexpr Colour kRowIdle = 0xE0E0E0;  // light grey

  ScanFreqsWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control fraBand;
  std::array<Control, kRows> Check1, txtFreq, txtMode, txtInfo;
  Control lblDelay, txtDelay;
  Control cmdScan, cmdStop, cmdWriteFile;
  Control lblError;
};

}  // namespace zr
