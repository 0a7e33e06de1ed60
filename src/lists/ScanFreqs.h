#pragma once
// The frequency-list scanner: visits the ticked rows of a list of thirteen
// frequencies in turn, each with its mode and note, dwelling a whole number
// of seconds on each, and starts again at the top until stopped. The list
// and the dwell are kept in "ScanFreqs.txt". The scan runs inside the Scan
// button's handler; Stop and closing only set a flag it reads at every wait.
#include <optional>
#include <string>

#include "lists/ScanFreqsWindowModel.h"
#include "lists/ScanRadio.h"

namespace zr {

class Panel;

class ScanFreqs {
 public:
  explicit ScanFreqs(Panel& panel);  // registers the window's handlers
  ScanFreqs(const ScanFreqs&) = delete;
  ScanFreqs& operator=(const ScanFreqs&) = delete;

  // Loads the window and runs it over the main window until it closes.
  void showModal();

  ScanFreqsWindowModel& model() { return model_; }
  int scanDelay() const { return scanDelay_; }

  void Form_Load();
  void cmdScan_Click();
  void cmdStop_Click();
  void cmdWriteFile_Click();
  void txtDelay_Change(const std::string& text);
  void Form_QueryUnload();

 private:
  void registerHandlers();
  // Reads the dwell for the next cycle: a dwell typed during the scan wins.
  int takeDwell();
  bool anyTicked() const;
  // One row: false when the scan ends there.
  bool scanRow(std::size_t row, int dwell);
  // Counts the dwell in the dwell box with the link kept alive; false when stopped.
  bool dwellOn(int seconds);
  // The dwell the scan runs with next, as the dwell box shows it between rows.
  std::string dwellText() const;
  void endScan();

  Panel& p_;
  ScanFreqsWindowModel model_;
  ScanRadio radio_;
  int scanDelay_ = 3;
  bool stopScan_ = false;
  bool scanning_ = false;
  // Typed into the dwell box during a scan, which shows the seconds counted.
  std::optional<std::string> typedDelay_;
  int visiting_ = -1;
  bool rowFailed_ = false;
};

}  // namespace zr
