#include "ui/qt/BandSelectView.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>

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

QPoint BandSelectView::besideBandFrame(const QRect& mainWindow, int bandFrameWidth, const QSize& size,
                                       const QRect& screen) {
  QPoint at(mainWindow.x() + mainWindow.width() - bandFrameWidth, mainWindow.y());
  if (at.x() + size.width() > screen.x() + screen.width()) at.setX(screen.x() + screen.width() - size.width());
  if (at.y() + size.height() > screen.y() + screen.height()) at.setY(screen.y() + screen.height() - size.height());
  // A window larger than the screen keeps its title bar and left edge in reach.
  return {std::max(at.x(), screen.x()), std::max(at.y(), screen.y())};
}

void BandSelectView::placeWindow(const Control& now) {
  if (now.left != Model::kBesideAnchor) {
    WindowView::placeWindow(now);
    return;
  }
  auto* owner = qobject_cast<WindowView*>(parentWidget());
  QWidget* frame = owner && owner->windowName() == Model::kAnchorWindow ? owner->widget(Model::kAnchorFrame) : nullptr;
  const QScreen* screen = owner ? owner->screen() : this->screen();
  if (!frame || !screen) return;
  adjustSize();
  moveTo(besideBandFrame(owner->frameGeometry(), frame->width(), frameGeometry().size(), screen->availableGeometry()));
}

}  // namespace zr::qt
