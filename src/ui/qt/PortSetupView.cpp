#include "ui/qt/PortSetupView.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLineEdit>

namespace zr::qt {

PortSetupView::PortSetupView(const WindowModel& model, InputSink sink, QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}) {
  auto* grid = new QGridLayout(centralWidget());
  put(grid, "lblPort", 0, 0);
  put(grid, "cmbSelectPort", 0, 1);
  put(grid, "lblDevice", 0, 2, 2);
  put(grid, "Label1", 1, 0);
  put(grid, "txtFound", 1, 1, 3);
  put(grid, "lable2", 2, 0, 4);
  put(grid, "lblBaudRate", 3, 0);
  put(grid, "cmbSelectBaudRate", 3, 1);
  put(grid, "txtDefaultSettings", 4, 0, 4);
  put(grid, "fraHandShake", 5, 0, 4);
  if (QWidget* frame = widgetById("fraHandShake")) {
    auto* options = new QHBoxLayout(frame);
    for (int i = 0; i < 4; ++i) {
      const std::string id = "optHandShake(" + std::to_string(i) + ")";
      if (QWidget* w = widgetById(id)) {
        options->addWidget(w);
        placed_.insert(id);
      }
    }
  }
  put(grid, "chkExtPTTEna", 6, 0, 4);
  put(grid, "cmdApply", 7, 0);
  put(grid, "cmdCancel", 7, 1);
  put(grid, "cmdLoadPortSettings", 7, 2);
  put(grid, "cmdSavePortSettings", 7, 3);
  // Anything the layout does not name still shows, below the buttons.
  int row = 8;
  for (const auto& id : controlOrder())
    if (!placed_.count(id)) put(grid, id, row++, 0, 4);
  showInitial(model);
}

void PortSetupView::put(QGridLayout* grid, const std::string& id, int row, int column, int columnSpan) {
  QWidget* w = widgetById(id);
  if (!w || placed_.count(id)) return;
  grid->addWidget(w, row, column, 1, columnSpan);
  placed_.insert(id);
}

}  // namespace zr::qt
