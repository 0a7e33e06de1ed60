#include "ui/qt/CatSetupView.h"

#include <QBoxLayout>
#include <QGridLayout>

namespace zr::qt {

CatSetupView::CatSetupView(const WindowModel& model, InputSink sink, QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}) {
  auto* grid = new QGridLayout(centralWidget());
  put(grid, "lblPort", 0, 0);
  put(grid, "cmbSelectPort", 0, 1);
  put(grid, "lblDevice", 0, 2, 2);
  put(grid, "Label1", 1, 0);
  put(grid, "txtFound", 1, 1, 3);
  put(grid, "lblBaudRate", 2, 0);
  put(grid, "cmbSelectBaudRate", 2, 1);
  put(grid, "Label2", 3, 0);
  put(grid, "cmbBits", 3, 1);
  put(grid, "Label3", 4, 0);
  put(grid, "cmbRigType", 4, 1);
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
  put(grid, "cmdApply", 6, 0);
  put(grid, "cmdCancel", 6, 1);
  put(grid, "cmdLoadPortSettings", 6, 2);
  put(grid, "cmdSavePortSettings", 6, 3);
  // Anything the layout does not name still shows, below the buttons.
  int row = 7;
  for (const auto& id : controlOrder())
    if (!placed_.count(id)) put(grid, id, row++, 0, 4);
  showInitial(model);
}

void CatSetupView::put(QGridLayout* grid, const std::string& id, int row, int column, int columnSpan) {
  QWidget* w = widgetById(id);
  if (!w || placed_.count(id)) return;
  grid->addWidget(w, row, column, 1, columnSpan);
  placed_.insert(id);
}

}  // namespace zr::qt
