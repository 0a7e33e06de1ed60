#pragma once
// What the view forwards to the engine: one operator action on one control,
// carrying the control's new value where the action changes it.
#include <functional>
#include <optional>
#include <string>

namespace zr {

enum class EventKind {
  Click,      // button, option, check box, menu entry, combo/list choice
  DblClick,
  MouseDown,  // button: 1 left, 2 right
  MouseUp,
  KeyDown,    // keyCode as the program's key codes (73 'I', 68 'D', ...)
  KeyUp,
  Change,     // scroll bar moved, text box edited
  GotFocus,
  LostFocus,
  Close,      // the window's close box
  Move,       // the window was moved: x, y = new left and top edge in twips
  Timer,      // raised by the engine itself for a timer control
  Task,       // work handed over by another thread (the rig server): `task`
};

struct InputEvent {
  std::string window;
  std::string control;  // empty: the window itself (form-level keys, Close)
  int index = -1;
  EventKind kind = EventKind::Click;
  int button = 0;
  int shift = 0;
  int keyCode = 0;
  std::optional<std::string> text;  // new text of a combo box, list box or text box
  std::optional<int> value;         // new value of a scroll bar, check box, list index
  int x = 0;
  int y = 0;
  // Task: run at the pump in turn with the operator's input, whatever
  // window is open; it makes its own checks. `control` names it in errors.
  std::function<void()> task;
};

}  // namespace zr
