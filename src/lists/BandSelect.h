#pragma once
// The band list window: the operator's favourite frequencies of one band,
// read from the band's list file, tuned by choosing a row, filled from the
// transceiver, sorted and written back. While it is open the service loop
// is held up, so its timer keeps the link alive.
#include <string>

#include "lists/BandSelectWindowModel.h"

namespace zr {

class Panel;

class BandSelect {
 public:
  explicit BandSelect(Panel& panel);
  BandSelect(const BandSelect&) = delete;
  BandSelect& operator=(const BandSelect&) = delete;

  // Opens the list of the band named by `bandKey` and runs the window over
  // the main window until it closes, however that happens.
  void showModal(const std::string& bandKey);

  BandSelectWindowModel& model() { return m_; }
  // The list file of the band last opened, by bare name.
  const std::string& listFile() const { return listFile_; }

  static constexpr int kTimerInterval = 100;  // ms
  // The timer's sync goes out when ticks x interval passes this (every 31st tick).
  static constexpr int kSyncAfterMs = 3000;

  void Form_Load(const std::string& bandKey);
  void Option1_Click(int index);
  void cmdGetFreq_Click();
  void cmdSort_Click();
  void cmdWriteFile_Click();
  void cmdExit_Click() { Form_Unload(); }
  void SyncTimer_Timer();
  void Form_Unload();

 private:
  void readList();
  void tuneRow(int index, const std::string& digits);
  void showFrequencyError(int index);
  void setButtonsEnabled(bool enabled);
  // Decodes a reply only when one waits: a read with nothing to read would
  // wait out the reply timeout and report a lost link that is not lost.
  void readWaitingReply();

  Panel& p_;
  BandSelectWindowModel m_;
  std::string listFile_;
  int ticks_ = 0;
};

}  // namespace zr
