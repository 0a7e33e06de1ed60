#include "ui/qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QProgressBar>
#include <QVariant>
#include <QWidget>

namespace zr::qt::a11y {

namespace {

constexpr const char* kReadout = "zrReadout";
constexpr const char* kName = "zrReadoutName";
constexpr const char* kReading = "zrReadoutReading";
constexpr const char* kValue = "zrReadoutValue";
constexpr const char* kMin = "zrReadoutMin";
constexpr const char* kMax = "zrReadoutMax";
constexpr const char* kStep = "zrReadoutStep";
constexpr const char* kDecorative = "zrDecorative";
constexpr const char* kNotification = "zrNotification";

double number(const QWidget* w, const char* property) { return w->property(property).toDouble(); }

class Readout : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit Readout(QWidget* w)
      : QAccessibleWidget(w, qobject_cast<QProgressBar*>(w) ? QAccessible::ProgressBar : QAccessible::SpinBox) {}

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name: return widget()->property(kName).toString();
      case QAccessible::Value: return widget()->property(kReading).toString();
      default: return QAccessibleWidget::text(t);
    }
  }
  // One control: its digit buttons and separators are parts of the reading.
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QVariant currentValue() const override { return number(widget(), kValue); }
  void setCurrentValue(const QVariant&) override {}  // operated by its keys only
  QVariant maximumValue() const override { return number(widget(), kMax); }
  QVariant minimumValue() const override { return number(widget(), kMin); }
  // A reader shows the value with the decimals of its step: 14 250.01 kHz
  // was spoken "14250" with none.
  QVariant minimumStepSize() const override { return number(widget(), kStep); }
};

class Decorative : public QAccessibleWidget {
 public:
  explicit Decorative(QWidget* w) : QAccessibleWidget(w, QAccessible::Separator) {}
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.invisible = true;
    s.focusable = false;
    return s;
  }
};

class Notification : public QAccessibleWidget {
 public:
  explicit Notification(QWidget* w) : QAccessibleWidget(w, QAccessible::Notification) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return widget()->property("text").toString();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  if (w->property(kReadout).toBool()) return new Readout(w);
  if (w->property(kDecorative).toBool()) return new Decorative(w);
  if (w->property(kNotification).toBool()) return new Notification(w);
  return nullptr;
}

// Qt keeps the first interface it made for a widget: one made before the
// widget was marked is dropped, so the next query gets the marked kind.
template <class Kind>
void reinterpret(QWidget* w) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
  if (iface && !dynamic_cast<Kind*>(iface)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

}  // namespace

void install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(factory);
}

void setReadout(QWidget* w, const QString& name, const QString& reading, double value, double min, double max,
                double step) {
  const bool first = !w->property(kReadout).toBool();
  const QString oldName = w->property(kName).toString();
  const double oldValue = number(w, kValue);
  w->setProperty(kReadout, true);
  w->setProperty(kName, name);
  w->setProperty(kReading, reading);
  w->setProperty(kValue, value);
  w->setProperty(kMin, min);
  w->setProperty(kMax, max);
  w->setProperty(kStep, step);
  if (first) reinterpret<Readout>(w);
  if (first || !QAccessible::isActive()) return;
  if (name != oldName) {
    QAccessibleEvent event(w, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
  }
  if (value != oldValue) {
    QAccessibleValueChangeEvent event(w, value);
    QAccessible::updateAccessibility(&event);
  }
}

void markDecorative(QWidget* w) {
  w->setProperty(kDecorative, true);
  reinterpret<Decorative>(w);
}

void markNotification(QWidget* w) {
  w->setProperty(kNotification, true);
  reinterpret<Notification>(w);
}

}  // namespace zr::qt::a11y
