#include "ui/qt/BandSelectView.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLineEdit>

#include "lists/BandSelectWindowModel.h"

namespace zr::qt {

namespace {
using Model = BandSelectWindowModel;

std::string idOf(const char* name, int index) { return std::string(name) + "(" + std::to_string(index) + ")"; }
}  // namespace

BandSelectView::BandSelectView(const WindowModel& model, InputSink sink, QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}) {
  auto* page = new QVBoxLayout(centralWidget());
  if (QWidget* frame = widgetById("fraBand")) {
    auto* rows = new QGridLayout(frame);
    rows->setVerticalSpacing(2);
    const QFontMetrics fm(frame->font());
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("00.000000")), fm.horizontalAdvance(QStringLiteral("WWWW")),
                          fm.horizontalAdvance(QString(30, QLatin1Char('x')))};
    for (int i = 0; i < Model::kRows; ++i) {
      if (QWidget* option = widgetById(idOf("Option1", i))) rows->addWidget(option, i, 0);
      int column = 1;
      for (const char* name : {"txtFreq", "txtMode", "txtInfo"}) {
        if (auto* edit = qobject_cast<QLineEdit*>(widgetById(idOf(name, i)))) {
          // The note takes whatever room is left.
          if (column < 3) edit->setFixedWidth(widths[column - 1] + 12);
          else edit->setMinimumWidth(widths[column - 1] + 12);
          rows->addWidget(edit, i, column);
        }
        ++column;
      }
    }
    rows->setColumnStretch(3, 1);
    page->addWidget(frame);
  }
  if (QWidget* error = widgetById("lblError")) page->addWidget(error);
  auto* buttons = new QHBoxLayout;
  for (const char* name : {"cmdGetFreq", "cmdSort", "cmdWriteFile", "cmdExit"})
    if (QWidget* w = widgetById(name)) buttons->addWidget(w);
  page->addLayout(buttons);
  showInitial(model);
}

}  // namespace zr::qt
