#include "ui/qt/DigitDisplay.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "ui/qt/Accessibility.h"

namespace zr::qt {

namespace {
constexpr int kMarkHeight = 4;
}

DigitDisplay::DigitDisplay(QString name, std::vector<QString> digitNames, ReadOff readOff, Press press, Typed typed,
                           QWidget* parent)
    : QWidget(parent),
      name_(std::move(name)),
      digitNames_(std::move(digitNames)),
      readOff_(std::move(readOff)),
      press_(std::move(press)),
      typed_(std::move(typed)) {
  setFocusPolicy(Qt::StrongFocus);
  setToolTip(typed_ ? tr("Up, Down: step the marked digit; Left, Right: move the mark; Page Up, Page Down: ten "
                         "steps; type a frequency in kHz and press Enter")
                    : tr("Up, Down: step the marked digit; Left, Right: move the mark; Page Up, Page Down: ten "
                         "steps"));
  entryLabel_ = new QLabel(this);
  entryLabel_->setTextFormat(Qt::PlainText);
  entryLabel_->hide();
  a11y::setReadout(this, name_, QString(), 0, 0, 0);
}

void DigitDisplay::setDigits(std::vector<QAbstractButton*> digits) {
  digits_ = std::move(digits);
  marked_ = digits_.empty() ? 0 : static_cast<int>(digits_.size()) - 1;
  for (QAbstractButton* d : digits_)
    if (d) d->setFocusPolicy(Qt::NoFocus);
  if (auto* row = qobject_cast<QBoxLayout*>(layout())) {
    row->addWidget(entryLabel_);
    QMargins m = row->contentsMargins();
    m.setBottom(std::max(m.bottom(), kMarkHeight + 1));
    row->setContentsMargins(m);
  }
  refresh();
}

void DigitDisplay::refresh() {
  QString digits;
  for (QAbstractButton* d : digits_) digits += d ? d->text() : QString();
  reading_ = readOff_ ? readOff_(digits) : Reading{digits, digits.toDouble(), 0, 0, 1};
  tell();
}

void DigitDisplay::tell() {
  QString name = name_ + QLatin1Char(' ') + reading_.text;
  if (marked_ >= 0 && marked_ < static_cast<int>(digitNames_.size()))
    name += tr(", %1 digit").arg(digitNames_[static_cast<std::size_t>(marked_)]);
  if (!entry_.isEmpty()) name += tr(", typing %1").arg(entry_);
  a11y::setReadout(this, name, reading_.text, reading_.value, reading_.min, reading_.max, reading_.step);
}

void DigitDisplay::sayMarked() {
  if (!announce_ || marked_ < 0 || marked_ >= static_cast<int>(digitNames_.size())) return;
  const QAbstractButton* d = marked_ < static_cast<int>(digits_.size()) ? digits_[static_cast<std::size_t>(marked_)] : nullptr;
  announce_(tr("%1 digit, %2").arg(digitNames_[static_cast<std::size_t>(marked_)], d ? d->text() : QString()));
}

bool DigitDisplay::stepKey(int key, int& index, int& button) const {
  switch (key) {
    case Qt::Key_Up: index = marked_, button = 1; return true;
    case Qt::Key_Down: index = marked_, button = 2; return true;
    // Ten steps of a digit are one step of the digit to its left.
    case Qt::Key_PageUp: index = marked_ - 1, button = 1; return true;
    case Qt::Key_PageDown: index = marked_ - 1, button = 2; return true;
    default: return false;
  }
}

void DigitDisplay::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  int index = 0, button = 0;
  if (stepKey(key, index, button)) {
    // Held keys repeat as held mouse buttons do: the engine's loop repeats.
    if (e->isAutoRepeat() || heldKey_) return;
    if (index < 0) {
      QApplication::beep();
      return;
    }
    heldKey_ = key;
    heldIndex_ = index;
    heldButton_ = button;
    if (press_) press_(index, EventKind::MouseDown, button);
    return;
  }
  const int last = static_cast<int>(digits_.size()) - 1;
  if (key == Qt::Key_Left || key == Qt::Key_Right) {
    marked_ = std::clamp(marked_ + (key == Qt::Key_Left ? -1 : 1), 0, std::max(0, last));
    update();
    tell();
    sayMarked();
    return;
  }
  if (key == Qt::Key_Home || key == Qt::Key_End) {
    marked_ = key == Qt::Key_Home ? 0 : std::max(0, last);
    update();
    tell();
    sayMarked();
    return;
  }
  if (typed_) {
    const QString text = e->text();
    if (!text.isEmpty() && (text[0].isDigit() || text == QLatin1String(".") || text == QLatin1String(",") ||
                            (text == QLatin1String(" ") && !entry_.isEmpty()))) {
      entry_ += text;
      showEntry();
      return;
    }
    if (!entry_.isEmpty()) {
      if (key == Qt::Key_Backspace) {
        entry_.chop(1);
        showEntry();
        return;
      }
      if (key == Qt::Key_Escape) {
        entry_.clear();
        showEntry();
        return;
      }
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const QString typed = entry_;
        entry_.clear();
        showEntry();
        typed_(typed);
        return;
      }
    }
  }
  QWidget::keyPressEvent(e);
}

void DigitDisplay::keyReleaseEvent(QKeyEvent* e) {
  if (!e->isAutoRepeat() && e->key() == heldKey_) {
    release();
    return;
  }
  QWidget::keyReleaseEvent(e);
}

void DigitDisplay::release() {
  if (!heldKey_) return;
  heldKey_ = 0;
  if (press_) press_(heldIndex_, EventKind::MouseUp, heldButton_);
}

// A key let go elsewhere would never reach us: the digit must not stay held.
void DigitDisplay::focusOutEvent(QFocusEvent* e) {
  release();
  if (!entry_.isEmpty()) {
    entry_.clear();
    showEntry();
  }
  update();
  QWidget::focusOutEvent(e);
}

void DigitDisplay::hideEvent(QHideEvent* e) {
  release();
  QWidget::hideEvent(e);
}

void DigitDisplay::focusInEvent(QFocusEvent* e) {
  update();
  QWidget::focusInEvent(e);
}

void DigitDisplay::showEntry() {
  entryLabel_->setText(entry_.isEmpty() ? QString() : tr("%1 kHz_").arg(entry_));
  entryLabel_->setVisible(!entry_.isEmpty());
  tell();
}

void DigitDisplay::paintEvent(QPaintEvent* e) {
  QWidget::paintEvent(e);
  if (!hasFocus() || marked_ < 0 || marked_ >= static_cast<int>(digits_.size()) || !digits_[marked_]) return;
  const QRect digit = digits_[static_cast<std::size_t>(marked_)]->geometry();
  QPainter painter(this);
  painter.fillRect(QRect(digit.left(), digit.bottom() + 1, digit.width(), kMarkHeight),
                   palette().color(QPalette::Highlight));
}

}  // namespace zr::qt
