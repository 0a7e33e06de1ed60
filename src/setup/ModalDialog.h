#pragma once
// Opening a setup dialog: load it, then run it over the main window until it
// closes. A load that fails is reported and the dialog still opens, since
// the operator asked for it.
#include <functional>

#include "ui/WindowModel.h"

namespace zr {

class Panel;

void showDialog(Panel& panel, WindowModel& dialog, const std::function<void()>& formLoad);

}  // namespace zr
