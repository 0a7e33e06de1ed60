#pragma once
// The channel setup window "frmChannelSetup": the channel list down the left,
// the file and radio buttons beside it, the progress of a run below them and
// what Verify found across the bottom.
#include "ui/qt/WindowView.h"

namespace zr::qt {

class ChannelSetupView : public WindowView {
  Q_OBJECT

 public:
  static inline const std::string windowName = "frmChannelSetup";

  ChannelSetupView(const WindowModel& model, InputSink sink, QWidget* parent = nullptr);
};

}  // namespace zr::qt
