#pragma once
// The mode, AGC, audio source and digital mode lists: their click handlers
// raise request flags; the service loop runs the workers.
#include <string>

namespace zr {

class Panel;

class ModeControls {
 public:
  explicit ModeControls(Panel& panel);  // registers the list handlers

  static std::string ModeCmdString(const std::string& mode);
  // The mode list's text for a mode code; empty for anything else.
  static std::string ModeText(const std::string& code);
  void modeCmd();
  void agcCmd();
  void sourceCmd();
  void digCmd();
  void setLocalRemote(const std::string& target);
  void setAudioSource(const std::string& target);
  void toggleLocalRemote();

  bool modePending = false;
  bool agcPending = false;
  bool sourcePending = false;
  bool digPending = false;

 private:
  // Steps VOX (a bounded number of times) until it reports `vox`.
  void stepVoxTo(const std::string& vox);

  Panel& p_;
  std::string digSavedSource_, digSavedVox_, digSavedLocalRemote_;
};

}  // namespace zr
