#pragma once
// A row of digit buttons taken as one control for the keyboard and the
// screen reader: it holds the focus with one digit marked; Left/Right move
// the mark, Up/Down press that digit as the left/right mouse button does
// (held while the key is held), Page Up/Down the digit to its left, ten
// steps at once; digits typed and Enter hand over a typed value. It reads as
// one value ("14 250.00 kHz").
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/InputEvent.h"

class QAbstractButton;
class QLabel;

namespace zr::qt {

class DigitDisplay : public QWidget {
  Q_OBJECT

 public:
  struct Reading {
    QString text;  // "14 250.00 kHz"
    double value = 0;
    double min = 0;
    double max = 0;
    double step = 1;  // the value's smallest step (0.01 for a frequency in kHz)
  };
  using ReadOff = std::function<Reading(const QString& digits)>;
  // A press or release of digit `index` with mouse button 1 (up) or 2 (down).
  using Press = std::function<void(int index, EventKind kind, int button)>;
  using Typed = std::function<void(const QString& text)>;

  // `digitNames` say which digit is marked ("10 Hz"); `typed` empty: typing
  // does nothing here.
  DigitDisplay(QString name, std::vector<QString> digitNames, ReadOff readOff, Press press, Typed typed,
               QWidget* parent);

  // The digit buttons, left to right; they are laid out by the caller.
  void setDigits(std::vector<QAbstractButton*> digits);
  // Reads the digits again after the view drew them; tells the bus if the
  // reading changed.
  void refresh();

  // Where the marked digit is said when it moves: the bus's own name-change
  // event is not spoken by every reader.
  void setAnnounce(std::function<void(const QString&)> announce) { announce_ = std::move(announce); }

  int markedDigit() const { return marked_; }
  QString entry() const { return entry_; }
  QString accessibleReading() const { return reading_.text; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool stepKey(int key, int& index, int& button) const;
  void sayMarked();
  void release();
  void showEntry();
  void tell();

  QString name_;
  std::vector<QString> digitNames_;
  ReadOff readOff_;
  Press press_;
  Typed typed_;
  std::function<void(const QString&)> announce_;
  std::vector<QAbstractButton*> digits_;
  QLabel* entryLabel_ = nullptr;
  Reading reading_;
  int marked_ = 0;
  QString entry_;
  // The key holding a digit down, and which digit and button it holds.
  int heldKey_ = 0;
  int heldIndex_ = -1;
  int heldButton_ = 0;
};

}  // namespace zr::qt
