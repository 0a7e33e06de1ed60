#pragma once
// The panel's second VFO: copy A to B, swap the two (retuning the
// transceiver), and the choice of the transmitting VFO (split).
#include <string>

namespace zr {

class Panel;

class VfoSplit {
 public:
  explicit VfoSplit(Panel& panel);  // registers the buttons and options

  static constexpr const char* kSplitOn = "Split On";
  static constexpr const char* kSplitOff = "Split Off";
  static constexpr const char* kModesDiffer = "Modes must be same for Split";
  static constexpr double kSwapDelay = 0.4;

  void optTXVFO_Click(int index);
  void a2bCmd();
  void swapCmd();

  bool a2bPending = false;
  // Every choice of the transmitting VFO, the operator's and the clients'.
  int splitClicks = 0;
  bool swapPending = false;

 private:
  Panel& p_;
};

}  // namespace zr
