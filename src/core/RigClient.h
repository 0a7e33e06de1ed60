#pragma once
// What station programs on the network see of the panel and may ask of it.
// Plain values: the rig server reads them on its own thread, the engine
// fills and carries them out on its.
#include <string>

namespace zr {

// The panel as a station program sees it, as the engine last published it.
struct RigView {
  std::string freqCmd;     // "F" + seven digits: the transceiver's frequency
  std::string modeCode;    // "M1".."M4"
  bool transmitting = false;
  bool split = false;      // transmitting on VFO B
  std::string vfoBDigits;  // the panel's VFO B, seven digits
  std::string vfoBMode;    // its mode as a code, "M1".."M4"
  bool txUnrestricted = false;
  // False while the panel takes no settings: a modal window is open, a scan
  // runs, the transceiver is under local control or not set up yet, or the
  // transmitter is keyed.
  bool takesSettings = false;
  bool operator==(const RigView&) const = default;
};

struct RigSetting {
  enum class Kind { Frequency, Mode, VfoBFrequency, VfoBMode, Split, Ptt };
  Kind kind = Kind::Frequency;
  std::string value;  // seven frequency digits, or a mode code "M1".."M4"
  bool on = false;    // Split, Ptt
};

}  // namespace zr
