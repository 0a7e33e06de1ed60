#pragma once
// Control model of the audio setup dialog "frmAudioSetup": the five audio
// settings as groups of options. Starts hidden; the dialog shows it modally.
#include <array>
#include <functional>
#include <memory>

#include "ui/WindowModel.h"

namespace zr {

struct AudioSetupWindowModel : WindowModel {
  AudioSetupWindowModel();

  std::unique_ptr<WindowModel> clone() const override;
  void forEachControl(const std::function<void(Control&)>& f) override;
  using WindowModel::forEachControl;

  Control fraAudioSource;
  std::array<Control, 3> optPhoneAudio;
  Control fraPTT;
  std::array<Control, 2> optPTT;
  Control frmAudio;
  std::array<Control, 2> optLocRem;
  Control Frame1;
  std::array<Control, 3> optDigAudio;
  Control Frame2;
  std::array<Control, 3> optDigVOX;
  Control cmdApply, cmdLoad, cmdSave, cmdExit;
};

}  // namespace zr
