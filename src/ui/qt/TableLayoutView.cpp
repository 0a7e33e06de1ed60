#include "ui/qt/TableLayoutView.h"

#include <QGridLayout>
#include <map>

namespace zr::qt {

namespace {

std::string at(const char* name, int index) { return std::string(name) + "(" + std::to_string(index) + ")"; }

// Limits and band buttons side by side, the step and speed frames under
// them, the scan buttons last.
std::vector<TableLayoutView::Cell> scanBandsTable() {
  std::vector<TableLayoutView::Cell> t = {
      {"Label1", 0, 0},       {"txtScanLow", 0, 1},   {"Label3(0)", 0, 2},   {"Label2", 1, 0},
      {"txtScanHi", 1, 1},    {"Label3(1)", 1, 2},    {"txtFreq", 2, 0, 1, 3}, {"Frame1", 3, 0, 1, 3},
      {"Frame2", 3, 3, 1, 3}, {"cmdScanUp", 4, 3},    {"cmdStop", 4, 4},     {"cmdPauseCont", 4, 5},
  };
  const char* bands[] = {"cmd160M", "cmd75M", "cmd40M", "cmd30M", "cmd20M",
                         "cmd17M",  "cmd15M", "cmd12M", "cmd10M"};
  for (int i = 0; i < 9; ++i) t.push_back({bands[i], i / 3, 3 + i % 3});
  for (int i = 0; i < 5; ++i) t.push_back({at("Option1", i), i, 0});
  for (int i = 0; i < 2; ++i) t.push_back({at("Option2", i), i, 0});
  return t;
}

// One line per row: tick, frequency, mode, note; Scan and Stop share a
// place, since only one of them shows.
std::vector<TableLayoutView::Cell> scanFreqsTable() {
  std::vector<TableLayoutView::Cell> t = {
      {"fraBand", 0, 0, 1, 5}, {"lblDelay", 1, 0},     {"txtDelay", 1, 1}, {"cmdScan", 1, 2},
      {"cmdStop", 1, 2},       {"cmdWriteFile", 1, 3}, {"lblError", 1, 4},
  };
  for (int i = 0; i < 13; ++i) {
    t.push_back({at("Check1", i), i, 0});
    t.push_back({at("txtFreq", i), i, 1, 1, 1, 9});
    t.push_back({at("txtMode", i), i, 2, 1, 1, 4});
    t.push_back({at("txtInfo", i), i, 3, 1, 1, 30});
  }
  return t;
}

}  // namespace

const std::vector<TableLayoutView::Cell>* TableLayoutView::layoutFor(const std::string& windowName) {
  static const std::map<std::string, std::vector<Cell>> tables = {{"frmScanBands", scanBandsTable()},
                                                                 {"frmScanFreqs", scanFreqsTable()}};
  auto it = tables.find(windowName);
  return it == tables.end() ? nullptr : &it->second;
}

TableLayoutView::TableLayoutView(const WindowModel& model, const std::vector<Cell>& cells, InputSink sink,
                                 QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}) {
  new QGridLayout(centralWidget());
  for (const Cell& c : cells) {
    QWidget* w = widgetById(c.id);
    QGridLayout* grid = gridOf(c.id);
    if (!w || !grid || placed_.count(c.id)) continue;
    grid->addWidget(w, c.row, c.column, c.rowSpan, c.columnSpan);
    if (c.minChars > 0) w->setMinimumWidth(w->fontMetrics().averageCharWidth() * (c.minChars + 2));
    placed_.insert(c.id);
  }
  for (const auto& id : controlOrder()) {
    if (placed_.count(id)) continue;
    QGridLayout* grid = gridOf(id);
    grid->addWidget(widgetById(id), grid->rowCount(), 0, 1, -1);
    placed_.insert(id);
  }
  showInitial(model);
}

// The grid of the frame holding the control, made on first use; the
// window's own grid otherwise.
QGridLayout* TableLayoutView::gridOf(const std::string& id) {
  const Control* c = control(id);
  QWidget* holder = c && !c->parent.empty() ? widgetById(c->parent) : nullptr;
  if (!holder) holder = centralWidget();
  if (auto* grid = qobject_cast<QGridLayout*>(holder->layout())) return grid;
  return new QGridLayout(holder);
}

}  // namespace zr::qt
