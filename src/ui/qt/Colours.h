#pragma once
// The models keep colours as 24-bit blue-green-red numbers or system colours
// (0x800000nn); only the view turns them into Qt colours.
#include <QColor>
#include <QPalette>

#include "ui/Control.h"

namespace zr::qt {

// A system colour resolves through `palette`, so the panel follows the desktop theme.
QColor toQColor(Colour colour, const QPalette& palette);

}  // namespace zr::qt
