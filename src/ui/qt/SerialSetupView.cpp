#include "ui/qt/SerialSetupView.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <map>

namespace zr::qt {

namespace {

const std::vector<SerialSetupView::Cell> kPortSetup = {
    {"lblPort", 0, 0, 1},          {"cmbSelectPort", 0, 1, 1},     {"lblDevice", 0, 2, 2},
    {"lblDevices", 1, 0, 1},       {"cmbDevice", 1, 1, 3},
    {"Label1", 2, 0, 1},           {"txtFound", 2, 1, 3},          {"lable2", 3, 0, 4},
    {"lblBaudRate", 4, 0, 1},      {"cmbSelectBaudRate", 4, 1, 1}, {"txtDefaultSettings", 5, 0, 4},
    {"fraHandShake", 6, 0, 4},     {"chkExtPTTEna", 7, 0, 4},      {"cmdApply", 8, 0, 1},
    {"cmdCancel", 8, 1, 1},        {"cmdLoadPortSettings", 8, 2, 1}, {"cmdSavePortSettings", 8, 3, 1},
};

const std::vector<SerialSetupView::Cell> kCatSetup = {
    {"lblPort", 0, 0, 1},      {"cmbSelectPort", 0, 1, 1},     {"lblDevice", 0, 2, 2},
    {"lblDevices", 1, 0, 1},   {"cmbDevice", 1, 1, 3},
    {"Label1", 2, 0, 1},       {"txtFound", 2, 1, 3},          {"lblBaudRate", 3, 0, 1},
    {"cmbSelectBaudRate", 3, 1, 1}, {"Label2", 4, 0, 1},       {"cmbBits", 4, 1, 1},
    {"Label3", 5, 0, 1},       {"cmbRigType", 5, 1, 1},        {"chkKenwood", 5, 2, 2},
    {"fraHandShake", 6, 0, 4},
    {"cmdApply", 7, 0, 1},     {"cmdCancel", 7, 1, 1},         {"cmdLoadPortSettings", 7, 2, 1},
    {"cmdSavePortSettings", 7, 3, 1},
};

}  // namespace

const std::vector<SerialSetupView::Cell>* SerialSetupView::layoutFor(const std::string& windowName) {
  static const std::map<std::string, const std::vector<Cell>*> layouts = {{"frmPortSetup", &kPortSetup},
                                                                         {"frmCATSetup", &kCatSetup}};
  auto it = layouts.find(windowName);
  return it == layouts.end() ? nullptr : it->second;
}

SerialSetupView::SerialSetupView(const WindowModel& model, const std::vector<Cell>& layout, InputSink sink,
                                 QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}) {
  auto* grid = new QGridLayout(centralWidget());
  int row = 0;
  for (const Cell& c : layout) {
    put(grid, c.id, c.row, c.column, c.columnSpan);
    row = std::max(row, c.row + 1);
  }
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
  // Anything the layout does not name still shows, below the buttons.
  for (const auto& id : controlOrder())
    if (!placed_.count(id)) put(grid, id, row++, 0, 4);
  showInitial(model);
}

void SerialSetupView::put(QGridLayout* grid, const std::string& id, int row, int column, int columnSpan) {
  QWidget* w = widgetById(id);
  if (!w || placed_.count(id)) return;
  grid->addWidget(w, row, column, 1, columnSpan);
  placed_.insert(id);
}

}  // namespace zr::qt
