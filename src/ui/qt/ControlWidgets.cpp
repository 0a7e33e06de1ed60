#include "ui/qt/ControlWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "ui/qt/Colours.h"

namespace zr::qt {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

bool isSystem(Colour c) { return (c & 0x80000000u) != 0; }

// Foreground follows the enabled state (Qt greys disabled text itself);
// background is the same in every state.
void setColours(QWidget* w, QPalette::ColorRole fgRole, QPalette::ColorRole bgRole, const Control& c,
                bool paintBackground) {
  const QPalette base = QApplication::palette(w);
  QPalette p = w->palette();
  const QColor fg = toQColor(c.foreColor, base);
  const QColor bg = toQColor(c.backColor, base);
  p.setColor(QPalette::Active, fgRole, fg);
  p.setColor(QPalette::Inactive, fgRole, fg);
  p.setColor(bgRole, bg);
  w->setPalette(p);
  if (paintBackground) w->setAutoFillBackground(!isSystem(c.backColor));
}

void applyColours(QWidget* w, const Control& c) {
  switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
      setColours(w, QPalette::WindowText, QPalette::Window, c, true);
      break;
    case ControlKind::Button:
      setColours(w, QPalette::ButtonText, QPalette::Button, c, false);
      break;
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
      setColours(w, QPalette::Text, QPalette::Base, c, false);
      if (c.kind == ControlKind::ComboBox) {
        QPalette p = w->palette();
        p.setColor(QPalette::Active, QPalette::ButtonText, p.color(QPalette::Active, QPalette::Text));
        p.setColor(QPalette::Inactive, QPalette::ButtonText, p.color(QPalette::Inactive, QPalette::Text));
        w->setPalette(p);
      }
      break;
    case ControlKind::Frame:
      setColours(w, QPalette::WindowText, QPalette::Window, c, true);
      break;
    case ControlKind::Shape: {
      QPalette p = w->palette();
      p.setColor(QPalette::Window, toQColor(c.fillColor, QApplication::palette(w)));
      w->setPalette(p);
      w->setAutoFillBackground(true);
      break;
    }
    default:
      break;
  }
}

void showItems(QComboBox* box, const Control& c) {
  box->clear();
  for (const auto& item : c.items) box->addItem(q(item));
}

void showComboText(QComboBox* box, const Control& c) {
  const int i = box->findText(q(c.text), Qt::MatchExactly);
  if (i >= 0 || c.text.empty()) {
    if (box->isEditable() && box->lineEdit()->isReadOnly()) box->setEditable(false);
    box->setCurrentIndex(i);
    return;
  }
  // A text that is not one of the rows is shown as it is, still not typeable.
  box->setEditable(true);
  box->lineEdit()->setReadOnly(true);
  box->setEditText(q(c.text));
}

void showListSelection(QListWidget* list, const Control& c) {
  const auto found = list->findItems(q(c.text), Qt::MatchExactly);
  list->setCurrentItem(found.isEmpty() ? nullptr : found.first());
}

void showText(QWidget* w, const Control& c) {
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(q(c.text));
    edit->setModified(false);
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
    QString text = q(c.text);
    text.replace("\r\n", "\n").replace('\r', '\n');
    box->setPlainText(text);
    box->document()->setModified(false);
  }
}

void showRange(QAbstractSlider* s, const Control& c) {
  // A scroll bar whose minimum is above its maximum counts the other way.
  s->setInvertedAppearance(c.min > c.max);
  s->setInvertedControls(c.min > c.max);
  s->setRange(std::min(c.min, c.max), std::max(c.min, c.max));
  s->setSingleStep(std::max(1, c.smallChange));
  s->setPageStep(std::max(1, c.largeChange));
}

}  // namespace

QString labelText(const std::string& caption) {
  QString out;
  QString in = q(caption);
  in.replace("\r\n", "\n");
  for (int i = 0; i < in.size(); ++i) {
    if (in[i] == '&' && i + 1 < in.size()) ++i;
    else if (in[i] == '&') continue;
    out += in[i];
  }
  return out;
}

QWidget* createControlWidget(const Control& c, bool multiLine, QWidget* parent) {
  switch (c.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);  // captions are never markup
      return label;
    }
    case ControlKind::Button: return new QPushButton(parent);
    case ControlKind::TextBox:
      if (multiLine) {
        auto* box = new QPlainTextEdit(parent);
        box->setTabChangesFocus(true);
        return box;
      }
      return new QLineEdit(parent);
    case ControlKind::ComboBox: return new QComboBox(parent);
    case ControlKind::ListBox: return new QListWidget(parent);
    case ControlKind::OptionButton: {
      // Groups are the engine's business (one control array = one group).
      auto* option = new QRadioButton(parent);
      option->setAutoExclusive(false);
      return option;
    }
    case ControlKind::CheckBox: return new QCheckBox(parent);
    case ControlKind::ScrollBar: {
      auto* bar = new QScrollBar(Qt::Vertical, parent);
      // A setting, not a view's scroll: the keyboard must reach it.
      bar->setFocusPolicy(Qt::StrongFocus);
      return bar;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      return bar;
    }
    case ControlKind::Shape: {
      auto* shape = new QFrame(parent);
      shape->setFrameShape(QFrame::Box);
      shape->setFixedSize(14, 14);
      return shape;
    }
    case ControlKind::Frame: return new QGroupBox(parent);
    case ControlKind::Window:
    case ControlKind::MenuEntry:
    case ControlKind::Timer: return nullptr;
  }
  return nullptr;
}

bool operatorIsTyping(const QWidget* w) {
  if (!w->hasFocus()) return false;
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->isModified();
  if (auto* box = qobject_cast<const QPlainTextEdit*>(w)) return box->document()->isModified();
  return false;
}

QString shownText(const QWidget* w) {
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
  if (auto* box = qobject_cast<const QPlainTextEdit*>(w)) return box->toPlainText();
  if (auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentText();
  if (auto* list = qobject_cast<const QListWidget*>(w))
    return list->currentItem() ? list->currentItem()->text() : QString();
  return {};
}

void applyControl(QWidget* w, const Control* before, const Control& now) {
  auto changed = [&](auto member) { return !before || !(before->*member == now.*member); };

  if (changed(&Control::enabled)) w->setEnabled(now.enabled);
  if (changed(&Control::toolTip)) w->setToolTip(q(now.toolTip));
  if (changed(&Control::bold)) {
    QFont f = w->font();
    f.setBold(now.bold);
    w->setFont(f);
  }
  if (changed(&Control::foreColor) || changed(&Control::backColor) || changed(&Control::fillColor))
    applyColours(w, now);

  if (changed(&Control::caption)) {
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(labelText(now.caption));
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(q(now.caption));
    else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(q(now.caption));
  }

  if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable()) {
    if (changed(&Control::value)) button->setChecked(now.value != 0);
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
    const bool range = changed(&Control::min) || changed(&Control::max) || changed(&Control::smallChange) ||
                       changed(&Control::largeChange);
    if (range) showRange(slider, now);
    if ((range || changed(&Control::value)) && !slider->isSliderDown()) slider->setValue(now.value);
  } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
    if (changed(&Control::min) || changed(&Control::max)) bar->setRange(now.min, now.max);
    if (changed(&Control::value) || changed(&Control::min) || changed(&Control::max)) bar->setValue(now.value);
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (changed(&Control::items)) showItems(combo, now);
    if (changed(&Control::items) || changed(&Control::text)) showComboText(combo, now);
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (changed(&Control::items)) {
      list->clear();
      for (const auto& item : now.items) list->addItem(q(item));
    }
    if (changed(&Control::items) || changed(&Control::text)) showListSelection(list, now);
  } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
    if (changed(&Control::locked)) {
      if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setReadOnly(now.locked);
      if (auto* box = qobject_cast<QPlainTextEdit*>(w)) box->setReadOnly(now.locked);
    }
    if (changed(&Control::text) && !operatorIsTyping(w)) showText(w, now);
  }

  // Last, so a widget is complete before it appears.
  if (changed(&Control::visible)) w->setVisible(now.visible);
}

}  // namespace zr::qt
