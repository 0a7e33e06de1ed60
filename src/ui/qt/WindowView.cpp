#include "ui/qt/WindowView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>

#include "ui/AccessibleText.h"
#include "ui/qt/Accessibility.h"
#include "ui/qt/ControlWidgets.h"

namespace zr::qt {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

int shiftState(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

InputEvent inputOf(EventKind kind) {
  InputEvent e;
  e.kind = kind;
  return e;
}

InputEvent withValue(EventKind kind, int value) {
  InputEvent e = inputOf(kind);
  e.value = value;
  return e;
}

InputEvent withText(EventKind kind, const QString& text) {
  InputEvent e = inputOf(kind);
  e.text = text.toStdString();
  return e;
}

int mouseButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

}  // namespace

WindowView::WindowView(const WindowModel& model, InputSink sink, QWidget* parent,
                       std::set<std::string> multiLineTextBoxes)
    : WindowView(model, std::move(sink), parent, Deferred{}, std::move(multiLineTextBoxes)) {
  layoutGeneric();
  showInitial(model);
}

WindowView::WindowView(const WindowModel& model, InputSink sink, QWidget* parent, Deferred,
                       std::set<std::string> multiLine)
    : QMainWindow(parent), name_(model.name()), sink_(std::move(sink)) {
  if (parent) setWindowFlag(Qt::Window);
  a11y::install();
  setObjectName(q(name_));
  setCentralWidget(new QWidget(this));
  build(model, multiLine);
  buildMenus(model);
}

void WindowView::build(const WindowModel& model, const std::set<std::string>& multiLine) {
  model.forEachControl([&](const Control& c) {
    if (c.kind == ControlKind::MenuEntry || c.kind == ControlKind::Timer) return;
    QWidget* w = createControlWidget(c, multiLine.count(c.name) > 0, centralWidget());
    if (!w) return;
    w->setObjectName(q(c.id()));
    Binding& b = bindings_[c.id()];
    b.widget = w;
    b.last = c;
    order_.push_back(c.id());
    connectInput(b);
    if (c.kind == ControlKind::Shape) a11y::markDecorative(w);
    name(b, model);
  });
  labelValueControls();
}

// On Linux a list box or text box is read as its value and named by the
// label that labels it, as the label just before it in its frame does here.
void WindowView::labelValueControls() {
  std::map<std::string, const Binding*> previous;  // by frame
  for (const auto& id : order_) {
    const Binding& b = bindings_.at(id);
    const Binding* before = previous[b.last.parent];
    previous[b.last.parent] = &b;
    const ControlKind k = b.last.kind;
    if (!before || before->last.kind != ControlKind::Label ||
        (k != ControlKind::ComboBox && k != ControlKind::TextBox && k != ControlKind::ListBox))
      continue;
    if (auto* label = qobject_cast<QLabel*>(before->widget)) label->setBuddy(b.widget);
  }
}

// Labels say their own text; the rest are named from the model.
void WindowView::name(Binding& b, const WindowModel& model) {
  if (!b.widget) return;
  QString text;
  if (b.last.kind == ControlKind::Label) {
    const std::string given = accessible::givenName(model.name(), b.last);
    if (given.empty()) return;
    const std::string caption = accessible::plainCaption(b.last.caption);
    text = q(caption.empty() ? given : given + ", " + caption);
  } else if (b.last.kind == ControlKind::Shape) {
    return;
  } else {
    text = q(accessible::nameOf(model, b.last));
  }
  if (b.widget->accessibleName() != text) b.widget->setAccessibleName(text);
  // A list that shows a text not among its rows does so in a line edit.
  if (auto* combo = qobject_cast<QComboBox*>(b.widget); combo && combo->lineEdit())
    if (combo->lineEdit()->accessibleName() != text) combo->lineEdit()->setAccessibleName(text);
}

void WindowView::assignAccessKeys() {
  std::vector<accessible::KeyCandidate> window;
  std::map<std::string, std::vector<accessible::KeyCandidate>> menus;
  for (const auto& id : order_) {
    const Control& c = bindings_.at(id).last;
    if (c.kind == ControlKind::Button || c.kind == ControlKind::OptionButton || c.kind == ControlKind::CheckBox)
      window.push_back({id, c.caption});
  }
  // Menu bar titles come first and share the window's letters; entries
  // are per menu.
  std::vector<accessible::KeyCandidate> titles;
  for (const auto& id : menuOrder_) {
    const Control& c = bindings_.at(id).last;
    if (c.parent.empty()) titles.push_back({id, c.caption});
    else menus[c.parent].push_back({id, c.caption});
  }
  window.insert(window.begin(), titles.begin(), titles.end());
  // I and D are the tuning knob's keys, whatever the modifiers.
  const std::set<char> knob = {'I', 'D'};
  auto keys = accessible::assignAccessKeys(window, knob);
  for (const auto& [parent, entries] : menus) keys.merge(accessible::assignAccessKeys(entries, {}));
  for (const auto& [id, key] : keys) {
    Binding& b = bindings_.at(id);
    b.accessKey = key;
    showAccessKey(b);
  }
}

void WindowView::showAccessKey(const Binding& b) {
  if (!b.accessKey) return;
  const QString text = q(accessible::withAccessKey(b.last.caption, b.accessKey));
  QSignalBlocker block(b.action ? static_cast<QObject*>(b.action) : b.widget);
  if (b.action) b.action->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(b.widget)) button->setText(text);
}

void WindowView::buildMenus(const WindowModel& model) {
  std::set<std::string> parents;
  model.forEachControl([&](const Control& c) {
    if (c.kind == ControlKind::MenuEntry && !c.parent.empty()) parents.insert(c.parent);
  });
  std::map<std::string, QMenu*> menus;
  model.forEachControl([&](const Control& c) {
    if (c.kind != ControlKind::MenuEntry) return;
    QAction* a = nullptr;
    QMenu* owner = c.parent.empty() ? nullptr : menus[c.parent];
    if (parents.count(c.name)) {
      QMenu* menu = owner ? owner->addMenu(QString()) : menuBar()->addMenu(QString());
      menus[c.name] = menu;
      a = menu->menuAction();
      // Opening a menu is its Click, as the program knows it.
      connect(menu, &QMenu::aboutToShow, this,
              [this, id = c.id()] { post(bindings_.at(id), inputOf(EventKind::Click)); });
    } else {
      a = new QAction(this);
      if (owner) owner->addAction(a);
      else menuBar()->addAction(a);
    }
    a->setObjectName(q(c.id()));
    menuOrder_.push_back(c.id());
    Binding& b = bindings_[c.id()];
    b.action = a;
    b.last = c;
    connect(a, &QAction::triggered, this, [this, id = c.id()] { post(bindings_.at(id), inputOf(EventKind::Click)); });
  });
}

void WindowView::connectInput(Binding& b) {
  QWidget* w = b.widget;
  const std::string id = b.last.id();
  auto send = [this, id](InputEvent e) { post(bindings_.at(id), std::move(e)); };

  if (auto* option = qobject_cast<QRadioButton*>(w)) {
    connect(option, &QRadioButton::clicked, this, [this, option, id, send] {
      // Clicking a chosen option must not clear it: the engine owns the group.
      QSignalBlocker block(option);
      option->setChecked(true);
      // It shows chosen now, so a handler that refuses the choice is seen.
      bindings_.at(id).last.value = 1;
      send(inputOf(EventKind::Click));
    });
  } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
    connect(check, &QCheckBox::clicked, this,
            [send](bool on) { send(withValue(EventKind::Click, on ? 1 : 0)); });
  } else if (auto* button = qobject_cast<QPushButton*>(w)) {
    // Right presses must reach the button itself, not open a context menu.
    button->setContextMenuPolicy(Qt::PreventContextMenu);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [send] { send(inputOf(EventKind::Click)); });
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    connect(combo, &QComboBox::activated, this,
            [combo, send](int i) { send(withText(EventKind::Click, combo->itemText(i))); });
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    connect(list, &QListWidget::currentRowChanged, this, [list, send](int row) {
      const QListWidgetItem* item = list->item(row);
      InputEvent e = withText(EventKind::Click, item ? item->text() : QString());
      e.value = row;
      send(std::move(e));
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [send] { send(inputOf(EventKind::DblClick)); });
  } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
    connect(bar, &QScrollBar::valueChanged, this, [send](int v) { send(withValue(EventKind::Change, v)); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    connect(edit, &QLineEdit::textEdited, this,
            [send](const QString& t) { send(withText(EventKind::Change, t)); });
    edit->installEventFilter(this);
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
    connect(box, &QPlainTextEdit::textChanged, this,
            [box, send] { send(withText(EventKind::Change, box->toPlainText())); });
    box->installEventFilter(this);
  }
}

// Design order, four cells to a row; a frame starts a row of its own.
void WindowView::layoutGeneric() {
  constexpr int columns = 4;
  struct Grid {
    QGridLayout* layout;
    int row = 0, column = 0;
  };
  std::map<std::string, Grid> grids;
  grids.emplace("", Grid{new QGridLayout(centralWidget())});
  for (const auto& id : order_) {
    const Binding& b = bindings_.at(id);
    if (b.last.kind == ControlKind::Frame) grids.emplace(b.last.name, Grid{new QGridLayout(b.widget)});
  }
  for (const auto& id : order_) {
    const Binding& b = bindings_.at(id);
    auto it = grids.find(b.last.parent);
    Grid& g = it != grids.end() && b.last.parent != b.last.name ? it->second : grids.at("");
    if (b.last.kind == ControlKind::Frame) {
      if (g.column > 0) ++g.row;
      g.layout->addWidget(b.widget, g.row++, 0, 1, columns);
      g.column = 0;
      continue;
    }
    g.layout->addWidget(b.widget, g.row, g.column);
    if (++g.column == columns) {
      g.column = 0;
      ++g.row;
    }
  }
}

void WindowView::showInitial(const WindowModel& model) {
  for (auto& [id, b] : bindings_) applyBinding(b, nullptr, b.last);
  window_ = model.window;
  afterApply(model);
  applyWindow(nullptr, window_);
}

void WindowView::apply(const WindowModel& model) {
  model.forEachControl([&](const Control& c) {
    auto it = bindings_.find(c.id());
    if (it == bindings_.end()) return;
    Binding& b = it->second;
    if (b.last == c) {
      if (b.textStale) showStaleText(b);
      return;
    }
    const bool recaptioned = b.last.caption != c.caption || b.last.toolTip != c.toolTip;
    applyBinding(b, &b.last, c);
    b.last = c;
    if (recaptioned || b.last.kind == ControlKind::ComboBox) {
      showAccessKey(b);
      name(b, model);
    }
  });
  afterApply(model);
  if (!(window_ == model.window)) {
    applyWindow(&window_, model.window);
    window_ = model.window;
  }
}

void WindowView::applyBinding(Binding& b, const Control* before, const Control& now) {
  if (b.action) {
    applyAction(b.action, before, now);
    return;
  }
  QSignalBlocker block(b.widget);
  applyControl(b.widget, before, now);
  if (!before || before->text != now.text) b.textStale = operatorIsTyping(b.widget);
}

void WindowView::showStaleText(Binding& b) {
  if (operatorIsTyping(b.widget)) return;
  Control shown = b.last;
  shown.text = shownText(b.widget).toStdString();
  QSignalBlocker block(b.widget);
  applyControl(b.widget, &shown, b.last);
  b.textStale = false;
}

void WindowView::applyAction(QAction* a, const Control* before, const Control& now) {
  QSignalBlocker block(a);
  if (!before || before->caption != now.caption) {
    a->setSeparator(now.caption == "-");
    a->setText(q(now.caption));
  }
  if (!before || before->enabled != now.enabled) a->setEnabled(now.enabled);
  if (!before || before->visible != now.visible) a->setVisible(now.visible);
  if (!before || before->value != now.value) {
    if (now.value) a->setCheckable(true);
    a->setChecked(now.value != 0);
  }
}

void WindowView::applyWindow(const Control* before, const Control& now) {
  if (!before || before->caption != now.caption) setWindowTitle(q(now.caption));
  if (!before || before->enabled != now.enabled) {
    // Not the window itself: Qt would disable the dialogs it owns as well.
    // Disabling drops the focus; it comes back where it was, so a dialog
    // closed from the keyboard does not leave the operator nowhere.
    if (!now.enabled && focusWidget()) focusBeforeModal_ = focusWidget();
    centralWidget()->setEnabled(now.enabled);
    if (QWidget* bar = menuWidget()) bar->setEnabled(now.enabled);
    if (now.enabled) {
      if (focusBeforeModal_ && focusBeforeModal_->isEnabled()) focusBeforeModal_->setFocus(Qt::OtherFocusReason);
      focusBeforeModal_.clear();
    }
  }
  if (!before || before->visible != now.visible) {
    if (now.visible) {
      show();
      // A window that opens takes the keyboard, as a dialog is expected to.
      raise();
      activateWindow();
    } else {
      hide();
      reported_.clear();
    }
  }
  if (now.visible && (!before || !before->visible || before->left != now.left || before->top != now.top))
    placeWindow(now);
}

// Positions are kept in twips, 1440 to the logical inch, so a position saved
// by one run restores the same place on the same desktop.
int WindowView::toPixels(int twips) const { return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0)); }
int WindowView::toTwips(int pixels) const { return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpiX())); }

QPoint WindowView::insideArea(QPoint at, const QSize& size, const QRect& area) {
  if (at.x() + size.width() > area.x() + area.width()) at.setX(area.x() + area.width() - size.width());
  if (at.y() + size.height() > area.y() + area.height()) at.setY(area.y() + area.height() - size.height());
  return {std::max(at.x(), area.x()), std::max(at.y(), area.y())};
}

QPoint WindowView::besideAnchor(const QRect& mainWindow, int anchorWidth, const QSize& size, const QRect& screen) {
  return insideArea(QPoint(mainWindow.x() + mainWindow.width() - anchorWidth, mainWindow.y()), size, screen);
}

namespace {

QPoint centredIn(const QRect& area, const QSize& size) {
  return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 3};
}

// The screen a saved position is on; off every screen, the window's own.
const QScreen* screenOf(QPoint at, const QWidget* window) {
  if (const QScreen* s = QGuiApplication::screenAt(at)) return s;
  return window->screen();
}

}  // namespace

void WindowView::placeWindow(const Control& now) {
  QPoint target;
  if (now.left == WindowModel::kBesideAnchor) {
    auto* owner = qobject_cast<WindowView*>(parentWidget());
    QWidget* frame =
        owner && owner->windowName() == WindowModel::kAnchorWindow ? owner->widget(WindowModel::kAnchorFrame) : nullptr;
    const QScreen* screen = frame ? owner->screen() : nullptr;
    if (!screen) return;
    adjustSize();
    centred_ = false;
    target = besideAnchor(owner->frameGeometry(), frame->width(), frameGeometry().size(), screen->availableGeometry());
  } else if (now.left == kCentred || now.top == kCentred) {
    const QScreen* screen = this->screen();
    if (!screen) return;
    centred_ = true;
    const QRect area = screen->availableGeometry();
    target = insideArea(centredIn(area, frameGeometry().size()), frameGeometry().size(), area);
  } else {
    // The model hands back the places this window told it, in order and a
    // little later: moving back to one would undo a later move (the centred
    // window growing as it fills).
    const auto echo = std::find(reported_.begin(), reported_.end(), QPoint(now.left, now.top));
    if (echo != reported_.end()) {
      reported_.erase(reported_.begin(), echo + 1);
      return;
    }
    reported_.clear();
    target = QPoint(toPixels(now.left), toPixels(now.top));
    centred_ = false;
    // A position saved on a larger desktop (or at another scale) must not
    // leave the window out of reach.
    if (const QScreen* screen = screenOf(target, this))
      target = insideArea(target, frameGeometry().size(), screen->availableGeometry());
  }
  moveTo(target);
  keepOnScreen();
}

void WindowView::keepOnScreen() {
  const QScreen* screen = this->screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  scrollIfLargerThan(area);
  const QSize size = frameGeometry().size();
  // Moved by the operator (or the desktop) since, it is no longer centred.
  if (pos() != placedAt_) centred_ = false;
  const QPoint target = insideArea(centred_ ? centredIn(area, size) : pos(), size, area);
  if (target != pos()) moveTo(target);
}

// Larger than the screen (a large scale on a small one), the window's
// contents scroll inside a window the size of the screen, and the control
// with the keyboard is scrolled into view.
void WindowView::scrollIfLargerThan(const QRect& area) {
  const QSize frame = frameGeometry().size();
  if (scrolls_ || (frame.width() <= area.width() && frame.height() <= area.height())) return;
  scrolls_ = true;
  const QSize decoration = frame - size();
  QPointer<QWidget> focus = focusWidget();
  placing_ = true;
  QWidget* page = takeCentralWidget();
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);
  scroll->setWidgetResizable(true);
  scroll->setWidget(page);
  // The window's enabled state is the central widget's.
  scroll->setEnabled(page->isEnabled());
  page->setEnabled(true);
  setCentralWidget(scroll);
  // The layout made the unscrolled size the window's minimum; scrolled, it
  // has none of note.
  setMinimumSize(0, 0);
  resize(std::min(frame.width(), area.width()) - decoration.width(),
         std::min(frame.height(), area.height()) - decoration.height());
  placing_ = false;
  if (focus) focus->setFocus(Qt::OtherFocusReason);
}

void WindowView::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const QSize before = event->oldSize();
  const bool grew =
      before.isValid() && (event->size().width() > before.width() || event->size().height() > before.height());
  if (isVisible() && !placing_ && (grew || centred_)) keepOnScreen();
}

void WindowView::moveTo(QPoint target) {
  placing_ = true;
  move(target);
  placing_ = false;
  placedAt_ = pos();
  reportPosition();
}

void WindowView::reportPosition() {
  const int left = toTwips(pos().x());
  const int top = toTwips(pos().y());
  if (left == window_.left && top == window_.top) return;
  InputEvent e = inputOf(EventKind::Move);
  e.window = name_;
  e.x = left;
  e.y = top;
  if (sink_) sink_(std::move(e));
  // A move the engine drops (the window disabled) never comes back.
  if (reported_.size() >= 32) reported_.erase(reported_.begin());
  reported_.emplace_back(left, top);
}

void WindowView::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (!placing_ && isVisible()) reportPosition();
}

QWidget* WindowView::widget(const std::string& name, int index) const {
  return widgetById(index < 0 ? name : name + "(" + std::to_string(index) + ")");
}

QWidget* WindowView::widgetById(const std::string& id) const {
  auto it = bindings_.find(id);
  return it == bindings_.end() ? nullptr : it->second.widget;
}

const Control* WindowView::control(const std::string& id) const {
  auto it = bindings_.find(id);
  return it == bindings_.end() ? nullptr : &it->second.last;
}

QAction* WindowView::action(const std::string& name, int index) const {
  auto it = bindings_.find(index < 0 ? name : name + "(" + std::to_string(index) + ")");
  return it == bindings_.end() ? nullptr : it->second.action;
}

void WindowView::post(const Binding& b, InputEvent e) {
  e.window = name_;
  e.control = b.last.name;
  e.index = b.last.index;
  if (sink_) sink_(std::move(e));
}

void WindowView::postInput(const std::string& id, InputEvent e) {
  auto it = bindings_.find(id);
  if (it != bindings_.end()) post(it->second, std::move(e));
}

void WindowView::postWindowInput(EventKind kind, int keyCode, int shift) {
  InputEvent e = inputOf(kind);
  e.window = name_;
  e.shift = shift;
  e.keyCode = keyCode;
  if (sink_) sink_(std::move(e));
}

WindowView::Binding* WindowView::bindingOf(const QObject* object) {
  auto it = bindings_.find(object->objectName().toStdString());
  return it != bindings_.end() && it->second.widget == object ? &it->second : nullptr;
}

bool WindowView::eventFilter(QObject* watched, QEvent* ev) {
  Binding* b = bindingOf(watched);
  if (!b) return QMainWindow::eventFilter(watched, ev);
  switch (ev->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:  // Qt's second press of a double click
    case QEvent::MouseButtonRelease: {
      auto* m = static_cast<QMouseEvent*>(ev);
      const int button = mouseButton(m->button());
      if (button == 0 || b->last.kind != ControlKind::Button) break;
      InputEvent e = inputOf(ev->type() == QEvent::MouseButtonRelease ? EventKind::MouseUp : EventKind::MouseDown);
      e.button = button;
      e.shift = shiftState(m->modifiers());
      post(*b, std::move(e));
      break;
    }
    case QEvent::FocusOut:
      if (b->textStale) showStaleText(*b);
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, ev);
}

void WindowView::keyPressEvent(QKeyEvent* key) {
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && parentWidget()) {
    key->accept();
    close();
    return;
  }
  QMainWindow::keyPressEvent(key);
}

void WindowView::closeEvent(QCloseEvent* close) {
  if (closable_) {
    close->accept();
    return;
  }
  // The engine decides; the window hides when its model says so.
  close->ignore();
  InputEvent e = inputOf(EventKind::Close);
  e.window = name_;
  if (sink_) sink_(std::move(e));
}

}  // namespace zr::qt
