#pragma once
// Plain models of the window controls the engine works on. The engine reads and
// writes these; the Qt view only draws them and forwards input.
#include <cstdint>
#include <string>
#include <vector>

namespace zr {

// 24-bit blue-green-red colour numbers, or a system colour (0x800000nn).
using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour Black = 0x000000;
inline constexpr Colour Red = 0x0000FF;
inline constexpr Colour Green = 0x00FF00;
inline constexpr Colour Yellow = 0x00FFFF;
inline constexpr Colour White = 0xFFFFFF;
inline constexpr Colour LightGrey = 0xC0C0C0;
inline constexpr Colour GrayText = 0x80000011;
inline constexpr Colour ButtonText = 0x80000012;
inline constexpr Colour ButtonFace = 0x8000000F;
inline constexpr Colour WindowText = 0x80000008;
inline constexpr Colour WindowBackground = 0x80000005;
}  // namespace colours

enum class ControlKind {
  Window,
  Label,
  Button,
  TextBox,
  ComboBox,
  ListBox,
  OptionButton,
  CheckBox,
  ScrollBar,
  ProgressBar,
  Shape,
  Frame,
  MenuEntry,
  Timer,
};

// One control. Not every field means something for every kind:
//  caption  - label, button, option, check box, frame, menu entry, window title
//  text     - text box contents, combo box edit text, list box selected text
//  value    - option/check state (0/1), scroll bar and progress bar position
//  items    - combo and list box rows
//  interval - timer period in milliseconds (0 = stopped)
struct Control {
  ControlKind kind = ControlKind::Label;
  std::string name;     // the control's name, e.g. "cmdF"
  int index = -1;       // element of a control array, -1 when not an array
  std::string parent;   // containing frame or menu, empty for the window itself

  std::string caption;
  std::string text;
  std::string toolTip;
  Colour foreColor = colours::ButtonText;
  Colour backColor = colours::ButtonFace;
  Colour fillColor = colours::GrayText;  // shapes
  bool enabled = true;
  bool visible = true;
  bool bold = false;
  int value = 0;
  int min = 0;
  int max = 0;
  int smallChange = 1;
  int largeChange = 1;
  std::vector<std::string> items;
  int interval = 0;
  bool locked = false;  // read-only text box
  // Position and size in twips (1440 per logical inch); 0 = the view decides.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string fontName;  // empty = the view's default

  bool operator==(const Control&) const = default;

  // "cmdF(3)" for array elements, the bare name otherwise.
  std::string id() const { return index < 0 ? name : name + "(" + std::to_string(index) + ")"; }
  bool selected() const { return value != 0; }
};

// Builders that give each kind its usual defaults, so window models read like
// their designer forms.
Control makeControl(ControlKind kind, std::string name, int index = -1, std::string parent = {});

}  // namespace zr
