#pragma once
// Every key pressed in one of our windows reaches that window first (as the
// program's form-level KeyDown), whichever widget has the focus; the widget
// still gets the key afterwards, so text boxes keep their typing.
#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace zr::qt {

class KeyPreview : public QObject {
  Q_OBJECT

 public:
  // Installs itself on the application.
  explicit KeyPreview(QObject* parent = nullptr);
  ~KeyPreview() override;

  // The program's key code for a Qt key (letters and digits as their
  // capital ASCII codes), 0 when it has none.
  static int programKeyCode(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Qt hands an ignored key on to the parents; it is the same press.
  const QEvent* lastEvent_ = nullptr;
  QPointer<QWidget> lastReceiver_;
};

}  // namespace zr::qt
