#pragma once
// The list of serial ports a setup dialog offers: ports 1 to 16 that exist
// and can be opened now.
#include "ui/Control.h"

namespace zr {

class Panel;

inline constexpr int kFirstListedPort = 1;
inline constexpr int kLastListedPort = 16;

// Fills `portList` (a combo box) with the numbers of the ports found and
// `found` (a text box) with "1, 3, ", or "No Ports" when there are none.
void findPorts(Panel& panel, Control& portList, Control& found);

}  // namespace zr
