#include "ui/Control.h"

namespace zr {

Control makeControl(ControlKind kind, std::string name, int index, std::string parent) {
  Control c;
  c.kind = kind;
  c.name = std::move(name);
  c.index = index;
  c.parent = std::move(parent);
  switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
      c.foreColor = colours::WindowText;
      c.backColor = colours::WindowBackground;
      break;
    case ControlKind::ProgressBar:
      c.max = 100;
      break;
    case ControlKind::ScrollBar:
      c.max = 32767;
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      c.max = 1;
      break;
    default:
      break;
  }
  return c;
}

}  // namespace zr
