#pragma once
// Brings the main window up to date from the transceiver state: every item
// flagged as changed is shown and its flag cleared; transmit permission is
// re-evaluated on every update.
#include <cstdint>
#include <string>

namespace zr {

class Panel;

class StatusDisplay {
 public:
  explicit StatusDisplay(Panel& panel) : p_(panel) {}

  void gUpdateDisplay();
  // True when a line was decoded since the last update began, or something
  // transmit permission depends on changed since: the service loop must
  // not sleep before it is shown.
  bool updateDue() const;
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
  // What the transmit controls were last evaluated on.
  std::string permissionInputs() const;
  Panel& p_;
  std::uint64_t shownLines_ = 0;
  std::string shownPermission_;
};

}  // namespace zr
