#pragma once
// The band scanner: steps the transceiver upward through a range, one fixed
// step at a time, dwelling on each frequency, and starts again at the bottom
// after the top, until Stop or closing. The scan runs inside the Scan
// button's handler; Stop, Pause and closing only set flags that the scan
// reads at every wait.
#include "lists/ScanBandsWindowModel.h"
#include "lists/ScanRadio.h"

namespace zr {

class Panel;

class ScanBands {
 public:
  explicit ScanBands(Panel& panel);  // registers the window's handlers
  ScanBands(const ScanBands&) = delete;
  ScanBands& operator=(const ScanBands&) = delete;

  static constexpr double kFirstDwell = 0.4;
  static constexpr double kWrapPause = 2.0;
  static constexpr double kPausePass = 0.3;

  // Loads the window and runs it over the main window until it closes.
  void showModal();

  ScanBandsWindowModel& model() { return model_; }
  int scanStep() const { return scanStep_; }
  double scanDwell() const { return scanDwell_; }

  void Form_Load();
  void cmdScanUp_Click();
  void cmdStop_Click() { stopScan_ = true; }
  void cmdPauseCont_Click();
  void Option1_Click(int index);
  void Option2_Click(int index);
  void band_Click(const char* low, const char* high);
  void Form_QueryUnload();

 private:
  void registerHandlers();
  // One run from the lower limit; true when it passed the upper limit and
  // the scan starts again.
  bool scanRange();
  // Waits out a pause with the link kept alive; false when the window closes.
  bool whilePaused();
  bool stopped() const { return stopScan_ || closing_; }
  // The transceiver is under front-panel control: the scan cannot go on.
  bool controlIsLocal();
  bool limitInRange(Control& box, long value);
  void hideScanBands();

  Panel& p_;
  ScanBandsWindowModel model_;
  ScanRadio radio_;
  bool stopScan_ = false;
  bool closing_ = false;
  bool paused_ = false;
  int scanStep_ = 10;
  double scanDwell_ = kFirstDwell;
  bool infoWasVisible_ = false;
  bool lblInfoWasVisible_ = true;
};

}  // namespace zr
