#pragma once
// The "baud,parity,bits,stop" text of a serial port, e.g. "9600,O,7,1",
// checked and split into values termios can use.
#include <string>

namespace zr {

enum class Parity { None, Odd, Even, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct PortSettings {
  int baud = 9600;
  Parity parity = Parity::None;
  int dataBits = 8;
  StopBits stopBits = StopBits::One;

  bool operator==(const PortSettings&) const = default;
};

// Blanks around the fields are accepted (the setup dialogs leave one after
// the baud rate); parity letters in any case. Throws RuntimeError
// (err::InvalidPortSettings) naming what is wrong.
PortSettings parsePortSettings(const std::string& text);

// True for the baud rates the termios layer can set.
bool isSupportedBaud(int baud);

}  // namespace zr
