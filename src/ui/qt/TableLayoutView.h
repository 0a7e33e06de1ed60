#pragma once
// A window laid out from a table of grid cells: each control goes into the
// grid of the frame that holds it (or of the window), at its row and column.
// Two controls may share a cell when only one of them shows at a time.
// Controls the table does not name still appear, at the bottom of their grid.
// The scanners' tables live here too.
#include <set>
#include <string>
#include <vector>

#include "ui/qt/WindowView.h"

class QGridLayout;

namespace zr::qt {

class TableLayoutView : public WindowView {
  Q_OBJECT

 public:
  struct Cell {
    std::string id;  // "Check1(3)"
    int row, column;
    int rowSpan = 1, columnSpan = 1;
    int minChars = 0;  // text boxes: room for this many characters
  };

  // The table for a window name, or nullptr when this view does not lay it out.
  static const std::vector<Cell>* layoutFor(const std::string& windowName);

  TableLayoutView(const WindowModel& model, const std::vector<Cell>& cells, InputSink sink,
                  QWidget* parent = nullptr);

 private:
  QGridLayout* gridOf(const std::string& id);

  std::set<std::string> placed_;
};

}  // namespace zr::qt
