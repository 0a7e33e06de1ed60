#pragma once
// The line a screen reader speaks from: each announcement is shown on it
// as a notification, so the reader says it whatever has the focus. It takes
// no room on the screen; what it says is on the panel anyway.
#include <QLabel>

namespace zr::qt {

class Announcer : public QLabel {
  Q_OBJECT

 public:
  explicit Announcer(QWidget* parent);
  void say(const QString& text);
};

}  // namespace zr::qt
