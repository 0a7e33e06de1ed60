#pragma once
// The ZR-3817 and its amplifier as the panel sees them: a pure model with no
// I/O and no threads. It takes one complete command at a time, with the time
// it arrived, and returns the status lines it answers with.
//
// Answers: a command that sets something answers with that item's status line
// (a refused setting answers with the value still in force); "?" answers with
// the full report and the firmware's markers; "U"/"K" are echoed with the
// transmit state actually in force, plus a "J" meter line while transmitting.
// Changes that happen by themselves (amplifier warmed up, tune finished,
// control switched at the front panel) are reported in front of the next
// answer, since the panel only ever reads after it has written.
//
// Under local control ("R0") the front panel owns the radio: only "?", the
// sync characters (the key is not obeyed), "L" and "Z" are answered; firmware
// type 2 also takes frequency and absolute mode commands, which is what lets
// the panel scan in local control. Anything else is ignored without answer,
// as are malformed commands.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

struct MemoryChannel {
  int frequency = 0;  // 10 Hz units
  int mode = 1;       // 1 USB, 2 LSB, 3 AME, 4 CW
};

struct TransceiverState {
  int frequency = 1425000;  // 10 Hz units
  int mode = 1;             // M1..M4
  int agc = 2;              // A1..A4
  int meterSource = 1;      // D1..D6
  int source = 1;           // H1..H4
  int localAudio = 1;       // '"' + 0 remote, + 1 local
  bool pttEnabled = true;   // "'1"
  bool speaker = true;      // "(1"
  bool clipping = false;    // "I1"
  bool sideTone = false;    // "S1"
  int vox = 0;              // V0..V2
  bool remoteControl = true;
  int amplifier = 1;        // O1 off, O2 warming up, O3 standby, O4 operate
  int tune = 1;             // T1..T4
  std::string fault = "Z0";
  int channel = -1;         // -1: working on the VFO
  int rfGain = 0;           // G00..G63
  int bfo = 100;            // B000..B200, 100 = no offset
  bool transmitting = false;
  int meterReading = -1;    // J value while transmitting; -1: by meter source
  std::array<std::optional<MemoryChannel>, 100> memory{};
};

class Transceiver {
 public:
  static constexpr int kDefaultMinFrequency = 160000;  // 1 600.00 kHz

  // `firmware`: 1 step commands and toggles, 2 absolute commands, 3 step
  // commands with absolute audio and PTT-enable codes.
  explicit Transceiver(int firmware = 2);

  // One command without its line feed; returns the answer (lines ended by
  // line feeds), empty when the command is ignored.
  std::string handle(std::string_view command, double now);
  // Let time-driven changes happen (called by handle() as well).
  void advance(double now);

  TransceiverState& state() { return s_; }
  const TransceiverState& state() const { return s_; }
  int firmware() const { return firmware_; }
  void setFirmware(int type) { firmware_ = type; }
  void setWarmupTime(double seconds) { warmupTime_ = seconds; }
  void setTuneTime(double seconds) { tuneTime_ = seconds; }
  // The lowest frequency the radio tunes to (10 Hz units); a setting below
  // it is refused.
  void setMinFrequency(int frequency) { minFrequency_ = frequency; }
  int minFrequency() const { return minFrequency_; }
  // A fault: settings of a frequency from `low` to `high` (10 Hz units) are
  // refused, as a radio with a bad synthesizer range would.
  void refuseFrequencies(int low, int high) {
    refuseLow_ = low;
    refuseHigh_ = high;
  }

  // Control taken or handed back at the front panel; reported with the next
  // answer.
  void setRemoteControl(bool remote);
  // The code the fault test ("Z") and the report answer with, e.g. "Z3".
  void setFault(const std::string& code);

  // The status line of one item ('F', 'M', '"', ...) without line feed.
  std::string statusLine(char item) const;
  // Every status line and the firmware's markers.
  std::string fullReport() const;

 private:
  std::string dispatch(std::string_view c, double now);
  std::string setFrequency(int frequency);
  std::string stepMode(int steps);
  std::string selectChannel(int channel);
  std::string storeChannel(std::string_view c);
  std::string readChannel(int channel) const;
  std::string amplifierCommand(int code, double now);
  std::string sync(char key, double now);
  std::string leaveTunedState();
  std::string line(char item) const { return statusLine(item) + '\n'; }

  int firmware_;
  TransceiverState s_;
  int minFrequency_ = kDefaultMinFrequency;
  int refuseLow_ = -1;
  int refuseHigh_ = -1;
  double warmupTime_ = 10.0;
  double tuneTime_ = 3.0;
  double warmupEnds_ = 0;
  double tuneEnds_ = 0;
  std::string unreported_;
};

}  // namespace sim
