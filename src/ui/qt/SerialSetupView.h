#pragma once
// The two serial port dialogs ("frmPortSetup", "frmCATSetup") laid out as
// small forms from a table: the rows of labels and lists, the handshake
// frame with its four options side by side, and the button row.
#include <set>
#include <string>
#include <vector>

#include "ui/qt/WindowView.h"

class QGridLayout;

namespace zr::qt {

class SerialSetupView : public WindowView {
  Q_OBJECT

 public:
  struct Cell {
    const char* id;
    int row, column, columnSpan;
  };

  // The layout for a window name, or nullptr when this view does not lay it out.
  static const std::vector<Cell>* layoutFor(const std::string& windowName);

  SerialSetupView(const WindowModel& model, const std::vector<Cell>& layout, InputSink sink,
                  QWidget* parent = nullptr);

 private:
  void put(QGridLayout* grid, const std::string& id, int row, int column, int columnSpan = 1);

  std::set<std::string> placed_;
};

}  // namespace zr::qt
