#include "ui/qt/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "ui/qt/WindowView.h"

namespace zr::qt {

KeyPreview::KeyPreview(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

KeyPreview::~KeyPreview() {
  if (qApp) qApp->removeEventFilter(this);
}

int KeyPreview::programKeyCode(const QKeyEvent& e) {
  const int key = e.key();
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
    return key;  // same codes
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  const bool propagated = event == lastEvent_ && lastReceiver_ && widget->isAncestorOf(lastReceiver_);
  lastEvent_ = event;
  lastReceiver_ = widget;
  if (propagated) return false;
  auto* view = qobject_cast<WindowView*>(widget->window());
  if (!view) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const int code = programKeyCode(*key);
  if (code == 0) return false;
  const auto m = key->modifiers();
  const int shift =
      (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
  view->postWindowInput(EventKind::KeyDown, code, shift);
  return false;
}

}  // namespace zr::qt
