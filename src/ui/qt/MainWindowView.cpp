#include "ui/qt/MainWindowView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShortcut>
#include <string_view>

#include "ui/AccessibleText.h"
#include "ui/qt/Accessibility.h"
#include "ui/qt/ControlWidgets.h"

namespace zr::qt {

namespace {

// Multi-line text boxes of the main window.
const std::set<std::string> kMultiLine = {"txtInfo", "txtInData"};

std::string idOf(const std::string& name, int index) {
  return index < 0 ? name : name + "(" + std::to_string(index) + ")";
}

// The meter scale captions are this wide, and the bar must match them.
constexpr int kScaleChars = 38;

}  // namespace

MainWindowView::MainWindowView(const WindowModel& model, InputSink sink, QWidget* parent)
    : WindowView(model, std::move(sink), parent, Deferred{}, kMultiLine) {
  auto* page = new QVBoxLayout(centralWidget());
  page->setContentsMargins(6, 4, 6, 4);
  page->setSpacing(4);
  page->addLayout(statusRow());

  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(vfoA());
  if (QWidget* info = take("lblInfo")) left->addWidget(info);
  left->addWidget(vfoB());
  left->addWidget(splitAndChannel());
  left->addStretch();
  auto* middle = new QVBoxLayout;
  middle->addWidget(lists());
  middle->addWidget(toggles());
  middle->addWidget(transmit());
  middle->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(meter());
  right->addWidget(bands());
  auto* small = new QHBoxLayout;
  small->addWidget(amplifier());
  small->addWidget(gainAndBfo());
  right->addLayout(small);
  right->addWidget(cat());
  right->addStretch();
  columns->addLayout(left);
  columns->addLayout(middle);
  columns->addLayout(right);
  page->addLayout(columns);

  auto* boxes = new QGridLayout;
  put(boxes, "txtInfo", 0, 0);
  put(boxes, "txtInData", 0, 1);
  for (const char* name : {"txtInfo", "txtInData"})
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget(name)))
      box->setFixedHeight(box->fontMetrics().lineSpacing() * 4 + 12);
  page->addLayout(boxes);

  auto* extras = new QGridLayout;
  page->addLayout(extras);
  placeLeftovers(extras);
  announcer_ = new Announcer(centralWidget());
  sayComboValues();
  chainTabOrder();
  // The keyboard starts on VFO A; Ctrl+A and Ctrl+B come back to the VFOs.
  vfoA_->setFocus();
  for (auto [key, display] : {std::pair{Qt::CTRL | Qt::Key_A, vfoA_}, {Qt::CTRL | Qt::Key_B, vfoB_}}) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, display, [display] { display->setFocus(Qt::ShortcutFocusReason); });
  }
  showInitial(model);
}

// Qt 6.4 gives a screen reader a combo box's name but not its value (it has
// no selection on the bus), and a reader drops the change of a focused
// combo's text: both are said on the notification line instead.
void MainWindowView::sayComboValues() {
  for (QComboBox* combo : findChildren<QComboBox*>())
    connect(combo, &QComboBox::currentTextChanged, this, [this, combo](const QString& text) {
      if (combo->hasFocus() && announcer_) announcer_->say(text);
    });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    auto* combo = qobject_cast<QComboBox*>(now);
    if (combo && announcer_ && isAncestorOf(combo)) announcer_->say(combo->currentText());
  });
}

// A widget whose focus goes to a proxy follows the proxy in the chain: left
// where it was, Tab would pass to it from elsewhere, jump back to the proxy
// and go round a part of the panel for ever.
void MainWindowView::chainTabOrder() {
  QWidget* last = nullptr;
  auto chain = [&last](QWidget* w) {
    if (last) setTabOrder(last, w);
    last = w;
  };
  for (QWidget* w : shownOrder_) {
    if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy()) continue;
    chain(w);
    for (QWidget* p : shownOrder_)
      if (p->focusProxy() == w) chain(p);
  }
}

DigitDisplay* MainWindowView::digitDisplay(const std::string& name, const QString& accessibleName, QWidget* parent,
                                           bool frequency) {
  static const std::vector<QString> kFrequencyDigits = {QStringLiteral("10 MHz"), QStringLiteral("1 MHz"),
                                                        QStringLiteral("100 kHz"), QStringLiteral("10 kHz"),
                                                        QStringLiteral("1 kHz"), QStringLiteral("100 Hz"),
                                                        QStringLiteral("10 Hz")};
  static const std::vector<QString> kChannelDigits = {QStringLiteral("tens"), QStringLiteral("units")};
  DigitDisplay::ReadOff readOff;
  if (frequency) {
    readOff = [](const QString& digits) {
      return DigitDisplay::Reading{QString::fromStdString(accessible::frequencyReading(digits.toStdString())),
                                   digits.toDouble() / 100.0, 1600.0, 29999.99, 0.01};
    };
  } else {
    readOff = [](const QString& digits) { return DigitDisplay::Reading{digits, digits.toDouble(), 0, 99, 1}; };
  }
  auto press = [this, name](int index, EventKind kind, int button) {
    InputEvent e;
    e.kind = kind;
    e.button = button;
    postInput(name + "(" + std::to_string(index) + ")", std::move(e));
  };
  DigitDisplay::Typed typed;
  if (frequency)
    typed = [this, name](const QString& text) {
      InputEvent e;
      e.kind = EventKind::Change;
      e.text = text.toStdString();
      postInput(name + "(0)", std::move(e));
    };
  auto* display = new DigitDisplay(accessibleName, frequency ? kFrequencyDigits : kChannelDigits, std::move(readOff),
                                   std::move(press), std::move(typed), parent);
  display->setObjectName(QString::fromStdString(name + "Display"));
  display->setAnnounce([this](const QString& text) {
    if (announcer_) announcer_->say(text);
  });
  shownOrder_.push_back(display);
  return display;
}

void MainWindowView::announce(const std::vector<std::string>& texts) {
  QString all;
  for (const auto& t : texts) all += (all.isEmpty() ? QString() : QStringLiteral(". ")) + QString::fromStdString(t);
  if (announcer_) announcer_->say(all);
}

void MainWindowView::afterApply(const WindowModel& model) {
  for (DigitDisplay* d : {vfoA_, vfoB_, channel_})
    if (d) d->refresh();
  // The meter is named by its source and reads as its scale.
  const Control* bar = model.find("pbMeter");
  const Control* scale = model.find("lblMeterScale");
  QWidget* barWidget = widget("pbMeter");
  if (!bar || !barWidget) return;
  QString source;
  for (int k = 0; k < 6; ++k)
    if (const Control* option = model.find("optMeter", k); option && option->selected())
      source = QString::fromStdString(accessible::nameOf(model, *option));
  const QString name = source.isEmpty() ? QStringLiteral("Meter") : source;
  const QString reading =
      scale ? QString::fromStdString(accessible::meterReading(scale->caption, bar->value, bar->max)) : QString();
  a11y::setReadout(barWidget, name + QStringLiteral(", ") + reading, reading, bar->value, bar->min, bar->max);
}

QWidget* MainWindowView::take(const std::string& name, int index) {
  const std::string id = idOf(name, index);
  QWidget* w = widgetById(id);
  if (!w) {
    missing_.push_back(id);
    return nullptr;
  }
  placed_.insert(id);
  shownOrder_.push_back(w);
  return w;
}

void MainWindowView::put(QGridLayout* grid, const std::string& name, int row, int column, int rowSpan,
                         int columnSpan) {
  if (QWidget* w = take(name)) grid->addWidget(w, row, column, rowSpan, columnSpan);
}

void MainWindowView::putAt(QGridLayout* grid, const std::string& name, int index, int row, int column) {
  if (QWidget* w = take(name, index)) grid->addWidget(w, row, column);
}

QGroupBox* MainWindowView::frame(const std::string& name) {
  if (auto* box = qobject_cast<QGroupBox*>(take(name))) return box;
  return new QGroupBox(centralWidget());
}

QFont MainWindowView::digitFont(int pointSize) const {
  QFont f(font());
  // Sizes are as designed for a 10 pt desktop font and follow the desktop's.
  const double base = f.pointSizeF() > 0 ? f.pointSizeF() : 10.0;
  // Courier New where it is installed, else the nearest fixed-pitch face.
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"),
                 QStringLiteral("monospace")});
  f.setPointSizeF(pointSize * base / 10.0);
  f.setBold(true);
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

QLayout* MainWindowView::statusRow() {
  auto* row = new QHBoxLayout;
  for (const char* name : {"lblREMOTE", "lblComStat", "shaTrace", "lblU", "lblFWType", "lblFault", "lblInBand"}) {
    QWidget* w = take(name);
    if (!w) continue;
    if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setMargin(2);
      // Room for the longest link texts, so the row does not jump.
      if (std::string_view(name) == "lblComStat" || std::string_view(name) == "lblREMOTE")
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Com2 Error")) + 4);
    }
    row->addWidget(w);
  }
  row->addStretch();
  return row;
}

static std::vector<QAbstractButton*> buttons(const std::vector<QWidget*>& widgets) {
  std::vector<QAbstractButton*> out;
  for (QWidget* w : widgets) out.push_back(qobject_cast<QAbstractButton*>(w));
  return out;
}

// A row of digit buttons with the group separators after the given digits.
static void digitRow(QBoxLayout* row, const std::vector<QWidget*>& digits, QWidget* comma, QWidget* dot,
                     const QFont& font) {
  const QFontMetrics fm(font);
  const int width = fm.horizontalAdvance(QLatin1Char('0')) + fm.height() / 2;
  const int height = fm.height() + fm.height() / 3;
  for (QWidget* sep : {comma, dot}) {
    if (!sep) continue;
    sep->setFont(font);
    sep->setFixedSize(fm.horizontalAdvance(QLatin1Char(',')) + 6, height);
    sep->setFocusPolicy(Qt::NoFocus);
    if (auto* b = qobject_cast<QAbstractButton*>(sep)) b->setStyleSheet(QStringLiteral("border: none;"));
  }
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (QWidget* d = digits[i]) {
      d->setFont(font);
      d->setFixedSize(width, height);
      row->addWidget(d);
    }
    if (i == 1 && comma) row->addWidget(comma);
    if (i == 4 && dot) row->addWidget(dot);
  }
  row->addStretch();
}

QWidget* MainWindowView::vfoA() {
  QGroupBox* box = frame("fraFreq");
  auto* inBox = new QHBoxLayout(box);
  vfoA_ = digitDisplay("cmdF", tr("VFO A frequency"), box, true);
  inBox->addWidget(vfoA_);
  auto* row = new QHBoxLayout(vfoA_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  std::vector<QWidget*> digits;
  for (int i = 0; i < 7; ++i) digits.push_back(take("cmdF", i));
  digitRow(row, digits, take("Command1"), take("Command2"), digitFont(26));
  vfoA_->setDigits(buttons(digits));
  return box;
}

QWidget* MainWindowView::vfoB() {
  auto* holder = new QWidget(centralWidget());
  auto* column = new QVBoxLayout(holder);
  column->setContentsMargins(0, 0, 0, 0);
  QGroupBox* box = frame("Frame4");
  auto* rows = new QVBoxLayout(box);
  vfoB_ = digitDisplay("cmdVFOB", tr("VFO B frequency"), box, true);
  auto* digitsRow = new QHBoxLayout(vfoB_);
  digitsRow->setContentsMargins(0, 0, 0, 0);
  digitsRow->setSpacing(1);
  std::vector<QWidget*> digits;
  for (int i = 0; i < 7; ++i) digits.push_back(take("cmdVFOB", i));
  digitRow(digitsRow, digits, take("cmdCma"), take("cmdDot"), digitFont(15));
  vfoB_->setDigits(buttons(digits));
  rows->addWidget(vfoB_);
  auto* modeRow = new QHBoxLayout;
  for (const char* name : {"Label9", "cmbVFOBMode"})
    if (QWidget* w = take(name)) modeRow->addWidget(w);
  modeRow->addStretch();
  rows->addLayout(modeRow);
  column->addWidget(box);
  auto* buttons = new QHBoxLayout;
  for (const char* name : {"cmdA2B", "cmdSwap"})
    if (QWidget* w = take(name)) buttons->addWidget(w);
  buttons->addStretch();
  column->addLayout(buttons);
  return holder;
}

QWidget* MainWindowView::splitAndChannel() {
  auto* holder = new QWidget(centralWidget());
  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);

  QGroupBox* split = frame("Frame1");
  auto* g = new QGridLayout(split);
  putAt(g, "optTXVFO", 0, 0, 0);
  put(g, "Label7", 0, 1);
  putAt(g, "optTXVFO", 1, 1, 0);
  put(g, "Label8", 1, 1);
  put(g, "lblSplit", 2, 0, 1, 2);
  row->addWidget(split);

  QGroupBox* chan = frame("Frame3");
  auto* c = new QGridLayout(chan);
  putAt(c, "optChan", 0, 0, 0);
  putAt(c, "optChan", 1, 1, 0);
  channel_ = digitDisplay("cmdM", tr("Channel"), chan, false);
  auto* digits = new QHBoxLayout(channel_);
  digits->setContentsMargins(0, 0, 0, 0);
  digits->setSpacing(1);
  const std::vector<QWidget*> channelDigits = {take("cmdM", 0), take("cmdM", 1)};
  digitRow(digits, channelDigits, nullptr, nullptr, digitFont(15));
  channel_->setDigits(buttons(channelDigits));
  c->addWidget(channel_, 0, 1, 2, 1);
  put(c, "lblChan", 2, 0);
  put(c, "Label6", 2, 1);
  put(c, "cmdV2M", 3, 0);
  put(c, "cmdM2V", 3, 1);
  row->addWidget(chan);
  return holder;
}

QWidget* MainWindowView::lists() {
  auto* holder = new QWidget(centralWidget());
  auto* g = new QGridLayout(holder);
  g->setContentsMargins(0, 0, 0, 0);
  int row = 0;
  for (auto [label, combo] : {std::pair{"lblMode", "cmbMode"}, {"lblAGC", "cmbAGC"}, {"lblSource", "cmbSource"},
                              {"lblDig", "cmbDig"}}) {
    put(g, label, row, 0);
    put(g, combo, row++, 1);
  }
  QGroupBox* knob = frame("fraExtKnob");
  auto* k = new QGridLayout(knob);
  put(k, "cmbStepSize", 0, 0, 2, 1);
  put(k, "Label2", 0, 1);
  put(k, "Label4", 1, 1);
  g->addWidget(knob, row, 0, 1, 2);
  return holder;
}

QWidget* MainWindowView::toggles() {
  QGroupBox* box = frame("fraLeftButtons");
  auto* g = new QGridLayout(box);
  const std::pair<const char*, const char*> pairs[] = {{"cmdMute", "lblMute"},
                                                       {"cmdClipping", "lblClipping"},
                                                       {"cmdSideTone", "lblSideTone"},
                                                       {"cmdVOX", "lblVox"},
                                                       {"cmdPTTEn", "lblPTTEn"}};
  int row = 0;
  for (auto [button, state] : pairs) {
    put(g, button, row, 0);
    put(g, state, row++, 1);
  }
  put(g, "cmdTest", row, 0);
  put(g, "cmdGetStatus", row++, 1);
  put(g, "cmdViewInData", row, 0, 1, 2);
  return box;
}

QWidget* MainWindowView::transmit() {
  QGroupBox* box = frame("fraRightButtons");
  auto* g = new QGridLayout(box);
  put(g, "cmdXmit", 0, 0);
  put(g, "lblXMTRCV", 0, 1);
  put(g, "cmdPTT", 1, 0);
  put(g, "lblExtPTT", 1, 1);
  put(g, "cmdTune", 2, 0);
  for (const char* name : {"lblXMTRCV", "lblExtPTT"})
    if (auto* label = qobject_cast<QLabel*>(widget(name))) label->setAlignment(Qt::AlignCenter);
  return box;
}

QWidget* MainWindowView::meter() {
  QGroupBox* box = frame("fraMeter");
  auto* v = new QVBoxLayout(box);
  auto* sources = new QHBoxLayout;
  for (int k = 0; k < 6; ++k) {
    if (QWidget* w = take("optMeter", k)) sources->addWidget(w);
    if (QWidget* w = take("lblMeter", k)) sources->addWidget(w);
    sources->addSpacing(6);
  }
  sources->addStretch();
  v->addLayout(sources);

  QFont scaleFont = digitFont(10);
  scaleFont.setBold(false);
  const int width = QFontMetrics(scaleFont).horizontalAdvance(QString(kScaleChars, QLatin1Char('0')));
  if (QWidget* bar = take("pbMeter")) {
    bar->setFixedWidth(width);
    v->addWidget(bar);
  }
  if (QWidget* scale = take("lblMeterScale")) {
    scale->setFont(scaleFont);
    scale->setFixedWidth(width);
    v->addWidget(scale);
  }
  return box;
}

QWidget* MainWindowView::bands() {
  QGroupBox* box = frame("fraBand");
  auto* g = new QGridLayout(box);
  g->setSpacing(2);
  const char* names[] = {"cmd160M", "cmd75M", "cmd60M", "cmd40M", "cmd30M",  "cmd20M",
                         "cmd17M",  "cmd15M", "cmd12M", "cmd10M", "cmdWWV", "cmdMARS"};
  for (int i = 0; i < 12; ++i) put(g, names[i], i / 6, i % 6);
  return box;
}

QWidget* MainWindowView::amplifier() {
  QGroupBox* box = frame("fraAmp");
  auto* g = new QGridLayout(box);
  const std::pair<const char*, const char*> rows[] = {
      {"cmdAmpPwr", "lblAmpPwr"}, {"cmdAmpOpr", "lblAmpOpStby"}, {"cmdTuneAmp", "lblAmpTuned"}};
  int row = 0;
  for (auto [button, state] : rows) {
    put(g, button, row, 0);
    put(g, state, row++, 1);
    if (auto* label = qobject_cast<QLabel*>(widget(state))) {
      label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("STBY")) + 8);
      label->setAlignment(Qt::AlignCenter);
    }
  }
  return box;
}

QWidget* MainWindowView::gainAndBfo() {
  auto* holder = new QWidget(centralWidget());
  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  const int textWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000"));

  QGroupBox* rf = frame("fraRF");
  auto* r = new QGridLayout(rf);
  put(r, "vscRFG", 0, 0, 2, 1);
  put(r, "txtRFG", 0, 1);
  put(r, "Label1", 0, 2);
  row->addWidget(rf);

  QGroupBox* bfo = frame("fraBFO");
  auto* b = new QGridLayout(bfo);
  put(b, "vscBFO", 0, 0, 3, 1);
  put(b, "cmdBFO", 0, 1);
  put(b, "lblBFOOn", 0, 2);
  put(b, "lblPorM", 1, 1);
  put(b, "txtBFO", 2, 1);
  put(b, "lblBFOHz", 2, 2);
  row->addWidget(bfo);

  for (const char* name : {"txtRFG", "txtBFO"})
    if (QWidget* w = widget(name)) w->setFixedWidth(textWidth + 12);
  for (const char* name : {"vscRFG", "vscBFO"})
    if (QWidget* w = widget(name)) w->setMinimumHeight(fontMetrics().height() * 5);
  // The two boxes only display: focus that lands on one goes to its scroll
  // bar, so the arrow keys move the setting.
  if (QWidget* t = widget("txtRFG")) t->setFocusProxy(widget("vscRFG"));
  if (QWidget* t = widget("txtBFO")) t->setFocusProxy(widget("vscBFO"));
  return holder;
}

QWidget* MainWindowView::cat() {
  QGroupBox* box = frame("fraCAT");
  auto* column = new QVBoxLayout(box);
  auto* row = new QHBoxLayout;
  for (const char* name : {"txtInCat", "txtOutCAT"})
    if (QWidget* w = take(name)) row->addWidget(w);
  column->addLayout(row);
  for (const char* name : {"lblCatIgnored", "lblCatHint", "lblRigServer"})
    if (QWidget* w = take(name)) {
      if (auto* label = qobject_cast<QLabel*>(w)) label->setWordWrap(true);
      column->addWidget(w);
    }
  return box;
}

// Whatever the hand layout does not name still shows: in its frame when the
// frame has a grid, else below the panel.
void MainWindowView::placeLeftovers(QGridLayout* extras) {
  int row = 0, column = 0;
  for (const auto& id : controlOrder()) {
    if (placed_.count(id)) continue;
    const Control* c = control(id);
    QWidget* w = widgetById(id);
    auto* parentGrid = c && !c->parent.empty() && widget(c->parent)
                           ? qobject_cast<QGridLayout*>(widget(c->parent)->layout())
                           : nullptr;
    if (parentGrid) {
      parentGrid->addWidget(w, parentGrid->rowCount(), 0, 1, -1);
    } else {
      extras->addWidget(w, row, column);
      if (++column == 6) {
        column = 0;
        ++row;
      }
    }
    placed_.insert(id);
  }
}

}  // namespace zr::qt
