#pragma once
// The band list window: the band's frame with its 14 rows (choose,
// frequency, mode, note), the error label and the button row. It opens
// beside the main window's band frame, kept on the screen.
#include <QPoint>
#include <QRect>
#include <QSize>

#include "ui/qt/WindowView.h"

namespace zr::qt {

class BandSelectView : public WindowView {
  Q_OBJECT

 public:
  BandSelectView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);

  // Where a window of `size` opens: its left edge as far from the main
  // window's right edge as the band frame is wide, its top on the main
  // window's top, then moved back inside `screen` where it would stick out.
  static QPoint besideBandFrame(const QRect& mainWindow, int bandFrameWidth, const QSize& size, const QRect& screen);

 protected:
  void placeWindow(const Control& now) override;
};

}  // namespace zr::qt
