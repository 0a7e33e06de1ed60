#pragma once
// The list of serial ports a setup dialog offers: ports 1 to 16 that exist
// and can be opened now.
#include <array>
#include <functional>
#include <string>

#include "core/SerialPort.h"
#include "ui/Control.h"

namespace zr {

class Panel;

inline constexpr int kFirstListedPort = 1;
inline constexpr int kLastListedPort = 16;

// Fills `portList` (a combo box) with the numbers of the ports found and
// `found` (a text box) with "1, 3, ", or "No Ports" when there are none.
void findPorts(Panel& panel, Control& portList, Control& found);

// Puts `text` into a list once and selects it. A port in use fails the probe,
// so a dialog adds it this way to keep it choosable.
void addAndSelect(Control& list, const std::string& text);

// Where the port number in `portText` leads, for the operator; empty when it
// is no port number or nothing can be said.
std::string describePortText(const std::function<std::string(int)>& describe, const std::string& portText);

// The handshake option that shows how a port runs: 0 "NONE" or 2 "RTS" (the
// ports never run XON/XOFF, whatever name was applied).
int handshakeOption(Handshaking handshaking);

// The index of the chosen option of a group, -1 when none is chosen.
template <std::size_t N>
int selectedOption(const std::array<Control, N>& group) {
  for (const Control& c : group)
    if (c.selected()) return c.index;
  return -1;
}

template <std::size_t N>
void selectOption(std::array<Control, N>& group, int index) {
  for (Control& c : group) c.value = c.index == index ? 1 : 0;
}

}  // namespace zr
