#pragma once
// A setting a station program on the network asks of the panel: made on the
// rig server's thread, carried out on the engine's.
#include <string>

namespace zr {

struct RigSetting {
  enum class Kind { Frequency, Mode, VfoBFrequency, VfoBMode, Split, Ptt };
  Kind kind = Kind::Frequency;
  std::string value;  // seven frequency digits, or a mode code "M1".."M4"
  bool on = false;    // Split, Ptt
};

}  // namespace zr
