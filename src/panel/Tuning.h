#pragma once
// Tuning by the digit buttons and the keyboard: VFO A digits step and send
// the transceiver's frequency, repeating while held; VFO B digits step the
// panel's second VFO only; the channel digits choose a memory channel.
#include <string>

namespace zr {

class Panel;
struct Control;

class Tuning {
 public:
  explicit Tuning(Panel& panel);  // registers the digit and key handlers

  static constexpr long kMinFreq = 160000;
  static constexpr long kMaxFreq = 2999999;
  // A held digit whose release never comes (the GUI lost it) ends the repeat
  // loop as if released after this long.
  static constexpr double kMaxHoldSeconds = 60.0;
  static constexpr double kRepeatWait = 0.25;
  static constexpr int kKeyUp = 73;    // 'I'
  static constexpr int kKeyDown = 68;  // 'D'

  // Step of digit position 0..6 in units of 10 Hz.
  static long stepOf(int position);
  // The digit position a `cmbStepSize` text selects; 0 = no step.
  static int stepCode(const std::string& text);
  // Seven digits with leading zeros.
  static std::string freqText(long value);
  // A frequency typed in kHz ("14250", "14 250.5", "7,074.00") as seven
  // digits; empty when it is none or outside the panel's range.
  static std::string typedFreq(const std::string& text);

  void cmdF_MouseDown(int index, int button);
  void cmdF_MouseUp() { digitHeld = false; }
  void Form_KeyDown(int keyCode);
  void cmdVFOB_MouseDown(int index, int button);
  void cmdVFOB_MouseUp() { vfoBDigitHeld = false; }
  // A frequency typed on a VFO display: VFO A is tuned to it and sent
  // like a digit press; VFO B only shows it. Anything else beeps.
  void cmdF_Typed(const std::string& text);
  void cmdVFOB_Typed(const std::string& text);
  void cmdM_MouseDown(int index, int button);
  void cmdM_MouseUp() { chanDigitHeld = false; }

  bool digitHeld = false;
  bool keyStepPending = false;
  int digitPos = 0;
  int stepDir = 1;  // 1 up, 2 down
  bool vfoBDigitHeld = false;
  bool chanDigitHeld = false;

 private:
  // A held loop goes on while its release can still arrive.
  bool holdGoesOn(const Control& digit, double start) const;
  void sendFreq(const std::string& digits);

  Panel& p_;
  bool vfoABusy_ = false;
  bool keyBusy_ = false;
  bool vfoBBusy_ = false;
  bool chanBusy_ = false;
};

}  // namespace zr
