#include "ui/qt/ChannelSetupView.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <set>

namespace zr::qt {

namespace {

struct Place {
  const char* id;
  int row, column, rowSpan, columnSpan;
};

// Column 0 is the list; columns 1-3 the rest.
constexpr Place kPlaces[] = {
    {"lsbChList", 0, 0, 7, 1},   {"txtFilename", 0, 1, 1, 3}, {"cmdBrowse", 1, 1, 1, 1},
    {"cmdOpenFile", 1, 2, 1, 1}, {"txtSaveFilename", 2, 1, 1, 2}, {"cmdSaveFile", 2, 3, 1, 1},
    {"cmdLoad", 3, 1, 1, 1},     {"cmdStore", 3, 2, 1, 1},    {"cmdVerify", 3, 3, 1, 1},
    {"txtResp", 4, 1, 1, 2},     {"cmdCancel", 4, 3, 1, 1},   {"lblStatus", 5, 1, 1, 3},
    {"prgProgress", 6, 1, 1, 3}, {"lsbVerify", 7, 0, 1, 4},   {"cmdOK", 8, 3, 1, 1},
};

}  // namespace

ChannelSetupView::ChannelSetupView(const WindowModel& model, InputSink sink, QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}) {
  auto* grid = new QGridLayout(centralWidget());
  std::set<std::string> placed;
  int rows = 0;
  for (const Place& p : kPlaces) {
    if (QWidget* w = widgetById(p.id)) {
      grid->addWidget(w, p.row, p.column, p.rowSpan, p.columnSpan);
      placed.insert(p.id);
      rows = std::max(rows, p.row + p.rowSpan);
    }
  }
  for (const auto& id : controlOrder())
    if (!placed.count(id)) grid->addWidget(widgetById(id), rows++, 0, 1, 4);
  // Records line up digit under digit.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (const char* id : {"lsbChList", "lsbVerify"})
    if (QWidget* w = widgetById(id)) w->setFont(fixed);
  if (QWidget* list = widgetById("lsbChList")) list->setMinimumWidth(list->fontMetrics().horizontalAdvance("0000000000") + 40);
  // A long outcome (a file's whole path) wraps onto the lines kept for it
  // instead of widening the window and moving its buttons.
  if (auto* status = qobject_cast<QLabel*>(widgetById("lblStatus"))) {
    status->setWordWrap(true);
    status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status->setMinimumHeight(status->fontMetrics().lineSpacing() * 4);
  }
  showInitial(model);
}

}  // namespace zr::qt
