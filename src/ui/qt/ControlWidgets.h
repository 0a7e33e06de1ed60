#pragma once
// One Qt widget per control kind, and how a control's model values are shown
// on it. Stateless: the view keeps which model values a widget shows.
#include <QString>
#include <QWidget>

#include "ui/Control.h"

namespace zr::qt {

// nullptr for kinds that have no widget of their own (window, menu entry, timer).
QWidget* createControlWidget(const Control& control, bool multiLine, QWidget* parent);

// Shows `now` on `widget`; with `before` only the values that differ from it
// are touched. The caller blocks the widget's signals.
void applyControl(QWidget* widget, const Control* before, const Control& now);

// True when the operator has typed into the text box and still has it focused,
// so the model's text must wait.
bool operatorIsTyping(const QWidget* widget);

// A caption as a label shows it: "&" marks an access key, "&&" is a literal "&".
QString labelText(const std::string& caption);

// The text a widget currently shows for its model `text` (text, combo and list boxes).
QString shownText(const QWidget* widget);

}  // namespace zr::qt
