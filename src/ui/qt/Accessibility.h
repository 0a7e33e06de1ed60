#pragma once
// What Qt tells the accessibility bus beyond its own defaults: readouts
// (a row of digit buttons or the meter bar read as one value, their parts
// hidden), decorative widgets left out of the tree, and the notification
// line that speaks announcements.
#include <QString>

class QWidget;

namespace zr::qt::a11y {

// Once per application, before the first window is shown.
void install();

// `widget` is read as one value: `name` (which carries the reading, so a
// listener hears it at once), the reading as its value text, `value` as its
// number within `min`..`max` in steps of `step`. Its child widgets are not
// in the tree. Tells the bus when the name or the value changed.
void setReadout(QWidget* widget, const QString& name, const QString& reading, double value, double min, double max,
                double step = 1);

// Kept out of the tree: separators, indicator shapes.
void markDecorative(QWidget* widget);

// The widget speaks what it is given as a notification.
void markNotification(QWidget* widget);

}  // namespace zr::qt::a11y
