#pragma once
// The radio port dialog "frmPortSetup" laid out as a small form: port and
// where it leads, baud rate, handshake frame, the PTT box and a button row.
#include "ui/qt/WindowView.h"

class QGridLayout;

namespace zr::qt {

class PortSetupView : public WindowView {
  Q_OBJECT

 public:
  PortSetupView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);

  static inline const std::string windowName = "frmPortSetup";

 private:
  void put(QGridLayout* grid, const std::string& id, int row, int column, int columnSpan = 1);

  std::set<std::string> placed_;
};

}  // namespace zr::qt
