#pragma once
// Character timing of a serial line, from the "baud,parity,bits,stop" text
// the panel and the simulator's options share.
#include <string>

namespace sim {

struct LineSettings {
  int baud = 9600;
  char parity = 'N';
  int dataBits = 8;
  double stopBits = 1;

  // Throws std::invalid_argument on text it cannot use.
  static LineSettings parse(const std::string& text);

  // Start bit + data bits + parity bit + stop bits.
  double bitsPerCharacter() const { return 1 + dataBits + (parity == 'N' ? 0 : 1) + stopBits; }
  double secondsPerCharacter() const { return bitsPerCharacter() / baud; }
};

}  // namespace sim
