#pragma once
// Brings the main window up to date from the transceiver state: every item
// flagged as changed is shown and its flag cleared; transmit permission is
// re-evaluated on every update.
#include <string>

namespace zr {

class Panel;

class StatusDisplay {
 public:
  explicit StatusDisplay(Panel& panel) : p_(panel) {}

  void gUpdateDisplay();
  // Throws Type mismatch for a frequency that is not a number.
  bool gTxAllowed(const std::string& freqCmd) const;
  void gShowBandState(bool allowed);
  void gShowInfo(const std::string& message);
  bool fileExists(const std::string& name);

  void gShowRemote();
  void gShowAgc();
  void gShowMode();
  void gShowFreq();
  void gShowSource();
  void gShowLocalRemote();
  void gShowClip();
  void gShowPttEnable();
  void gShowSpeaker();
  void gShowSideTone();
  void gShowVox();
  void gShowAmpState();
  void gShowAmpTune();

 private:
  void updateAll();
  Panel& p_;
};

}  // namespace zr
