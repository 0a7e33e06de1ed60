#include "ui/qt/Announcer.h"

#include "ui/qt/Accessibility.h"

namespace zr::qt {

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("announcer"));
  setTextFormat(Qt::PlainText);
  setFixedSize(1, 1);
  a11y::markNotification(this);
}

void Announcer::say(const QString& text) {
  if (text.isEmpty()) return;
  setText(text);
  // Readers speak a notification as it appears: show it anew each time.
  if (isVisible()) {
    hide();
    show();
  }
}

}  // namespace zr::qt
