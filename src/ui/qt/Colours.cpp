#include "ui/qt/Colours.h"

namespace zr::qt {

namespace {

QColor systemColour(unsigned index, const QPalette& p) {
  switch (index) {
    case 0x05: return p.color(QPalette::Base);                         // window background
    case 0x08: return p.color(QPalette::Text);                         // window text
    case 0x0D: return p.color(QPalette::Highlight);
    case 0x0E: return p.color(QPalette::HighlightedText);
    case 0x0F: return p.color(QPalette::Button);                       // button face
    case 0x10: return p.color(QPalette::Dark);                         // button shadow
    case 0x11: return p.color(QPalette::Disabled, QPalette::WindowText);  // grey text
    case 0x12: return p.color(QPalette::ButtonText);
    case 0x14: return p.color(QPalette::Light);                        // button highlight
    case 0x17: return p.color(QPalette::ToolTipText);
    case 0x18: return p.color(QPalette::ToolTipBase);
    case 0x04: return p.color(QPalette::Window);                       // menu
    case 0x07: return p.color(QPalette::WindowText);                   // menu text
    default: return p.color(QPalette::Window);
  }
}

}  // namespace

QColor toQColor(Colour colour, const QPalette& palette) {
  if (colour & 0x80000000u) return systemColour(colour & 0xFFu, palette);
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace zr::qt
