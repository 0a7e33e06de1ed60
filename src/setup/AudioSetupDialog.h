#pragma once
// The audio setup dialog: edits the five audio settings that the remote
// setup brings the transceiver to. It sends nothing itself: Apply hands the
// values to the service loop through gAudioSetupApplied, which realigns the
// transceiver once the dialog has closed.
#include "core/SettingsFiles.h"
#include "ui/AudioSetupWindowModel.h"

namespace zr {

class Panel;

class AudioSetupDialog {
 public:
  explicit AudioSetupDialog(Panel& panel);
  AudioSetupDialog(const AudioSetupDialog&) = delete;
  AudioSetupDialog& operator=(const AudioSetupDialog&) = delete;

  // Loads the dialog and runs it over the main window until it closes.
  void showModal();

  AudioSetupWindowModel& model() { return model_; }
  // The codes chosen so far; only Apply makes them the settings.
  const AudioSetupValues& working() const { return working_; }

  void Form_Load();
  void optPhoneAudio_Click(int index);
  void optPTT_Click(int index);
  void optLocRem_Click(int index);
  void optDigAudio_Click(int index);
  void optDigVOX_Click(int index);
  void cmdApply_Click();
  void cmdLoad_Click();
  void cmdSave_Click();
  void cmdExit_Click() { close(); }
  void Form_QueryUnload() { close(); }

 private:
  void registerHandlers();
  void close();

  Panel& p_;
  AudioSetupWindowModel model_;
  AudioSetupValues working_;
};

}  // namespace zr
