#pragma once
// The receiver's toggles, BFO and RF gain, TEST, Refresh and the raw-data
// view: handlers raise request flags (TEST acts at once); workers send.
#include <string>

namespace zr {

class Panel;

class ReceiverToggles {
 public:
  explicit ReceiverToggles(Panel& panel);  // registers the handlers

  void bfoCmd();
  void bfoOffsetCmd();
  void rfGainCmd();
  void muteCmd();
  void clipCmd();
  void sideToneCmd();
  void voxCmd();
  void pttEnCmd();
  void refreshCmd();
  void viewDataCmd();
  // Handlers that code also calls directly.
  void vscBFO_Change();
  void vscRFG_Change();
  void cmdTest_Click();

  bool bfoPending = false;
  bool bfoOffsetPending = false;
  bool rfGainPending = false;
  bool mutePending = false;
  bool clipPending = false;
  bool sideTonePending = false;
  bool voxPending = false;
  bool pttEnPending = false;
  bool refreshPending = false;
  bool viewDataPending = false;


 private:
  Panel& p_;
};

}  // namespace zr
