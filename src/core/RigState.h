#pragma once
// What station software may ask about the transceiver, as one value the
// engine publishes whenever it changes and any thread may read: the CAT port
// answers its queries from it while the engine waits on the radio link, and
// a network rig server can answer from it without touching the engine.
#include <memory>
#include <mutex>
#include <string>

namespace zr {

struct RigStateSnapshot {
  std::string freqCmd;      // "F" + seven digits (10 Hz units) as last reported, or blanks
  bool freqValid = false;   // the last frequency line was "F" + seven digits
  std::string mode;         // "M1".."M4" (USB, LSB, AME, CW), or blanks
  std::string digitalMode;  // the digital mode shown: "OFF", "PSK", "FSK", "RTTY"
  bool transmitting = false;  // the transceiver reports transmit
  std::string keyCmd;         // the sync character the panel asks for: "U" or "K"
  bool keyed = false;         // the last key command written to the radio keys ("K")
  bool split = false;         // "Split On"
  bool transmitOnVfoB = false;
  std::string vfoBFreqCmd;  // "F" + the seven VFO B digits
  std::string vfoBMode;     // the VFO B mode text ("USB", ...)
  std::string control;      // "REMOTE", "LOCAL", "NoComm", ... as the panel shows it
  bool txUnrestricted = false;  // Permissions.txt lifts the band limits
  bool portLost = false;        // the radio port is not open: the values above are stale
  // The panel takes settings from station programs now: no modal window, no
  // scan, remote control, transmitter not keyed, radio port open.
  bool takesSettings = false;
  // A client's key-down would be carried out: now, or once the transmission
  // ending now has ended.
  bool takesKeyDown = false;
  bool operator==(const RigStateSnapshot&) const = default;
};

class RigStatePublisher {
 public:
  // Engine thread: makes `state` the published one when it differs.
  void publish(const RigStateSnapshot& state);
  // Any thread: the state last published; never null.
  std::shared_ptr<const RigStateSnapshot> latest() const;

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const RigStateSnapshot> latest_ = std::make_shared<const RigStateSnapshot>();
};

}  // namespace zr
