#pragma once
// The CAT port dialog "frmCATSetup" laid out as a small form: port and where
// it leads, baud rate, framing, rig type, handshake frame and a button row.
#include "ui/qt/WindowView.h"

class QGridLayout;

namespace zr::qt {

class CatSetupView : public WindowView {
  Q_OBJECT

 public:
  CatSetupView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);

  static inline const std::string windowName = "frmCATSetup";

 private:
  void put(QGridLayout* grid, const std::string& id, int row, int column, int columnSpan = 1);

  std::set<std::string> placed_;
};

}  // namespace zr::qt
