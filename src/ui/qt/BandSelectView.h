#pragma once
// The band list window: the band's frame with its 14 rows (choose,
// frequency, mode, note), the error label and the button row.
#include "ui/qt/WindowView.h"

namespace zr::qt {

class BandSelectView : public WindowView {
  Q_OBJECT

 public:
  BandSelectView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);
};

}  // namespace zr::qt
