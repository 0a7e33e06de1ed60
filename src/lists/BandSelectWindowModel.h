#pragma once
// Control model of the band list window "frmBandSelect": the band's frame
// with 14 editable rows (choose, frequency, mode, note), the four buttons,
// the error label and the timer that keeps the link alive while it is open.
#include <array>
#include <functional>
#include <memory>

#include "lists/BandList.h"
#include "ui/WindowModel.h"

namespace zr {

struct BandSelectWindowModel : WindowModel {
  static constexpr const char* kName = "frmBandSelect";
  static constexpr int kRows = static_cast<int>(kBandListRows);

  BandSelectWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  // The texts of row i.
  ListRow row(int i) const;
  void setRow(int i, const ListRow& row);
  BandRows rows() const;
  void setRows(const BandRows& rows);

  Control fraBand;
  std::array<Control, kRows> Option1;
  std::array<Control, kRows> txtFreq;
  std::array<Control, kRows> txtMode;
  std::array<Control, kRows> txtInfo;
  Control lblError;
  Control cmdGetFreq, cmdSort, cmdWriteFile, cmdExit;
  Control SyncTimer;
};

}  // namespace zr
