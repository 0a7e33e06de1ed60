#include "ui/AudioSetupWindowModel.h"

#include <initializer_list>

#include "ui/ModelBuild.h"

namespace zr {

using model_build::labelled;

namespace {
template <std::size_t N>
void options(std::array<Control, N>& group, const char* name, const char* frame,
             std::initializer_list<const char*> captions) {
  int i = 0;
  for (const char* caption : captions) {
    group[static_cast<std::size_t>(i)] = labelled(ControlKind::OptionButton, name, caption, i, frame);
    ++i;
  }
}
}  // namespace

AudioSetupWindowModel::AudioSetupWindowModel() : WindowModel("frmAudioSetup") {
  window.caption = "Audio Setup";
  window.visible = false;

  fraAudioSource = labelled(ControlKind::Frame, "fraAudioSource", "Phone Audio Source");
  options(optPhoneAudio, "optPhoneAudio", "fraAudioSource", {"Mic", "Audio 2", "Patch"});
  fraPTT = labelled(ControlKind::Frame, "fraPTT", "PTT");
  options(optPTT, "optPTT", "fraPTT", {"PTT Off", "PTT On"});
  frmAudio = labelled(ControlKind::Frame, "frmAudio", "Audio");
  options(optLocRem, "optLocRem", "frmAudio", {"Local Audio", "Remote Audio"});
  Frame1 = labelled(ControlKind::Frame, "Frame1", "Digital Audio Source");
  options(optDigAudio, "optDigAudio", "Frame1", {"Mic", "Audio 2", "Patch"});
  Frame2 = labelled(ControlKind::Frame, "Frame2", "Digital VOX");
  options(optDigVOX, "optDigVOX", "Frame2", {"OFF", "Voice", "Data"});

  cmdApply = labelled(ControlKind::Button, "cmdApply", "Apply");
  cmdLoad = labelled(ControlKind::Button, "cmdLoad", "Load");
  cmdSave = labelled(ControlKind::Button, "cmdSave", "Save");
  cmdExit = labelled(ControlKind::Button, "cmdExit", "Exit");
}

std::unique_ptr<WindowModel> AudioSetupWindowModel::clone() const {
  return std::make_unique<AudioSetupWindowModel>(*this);
}

void AudioSetupWindowModel::forEachControl(const std::function<void(Control&)>& f) {
  f(fraAudioSource);
  for (Control& c : optPhoneAudio) f(c);
  f(fraPTT);
  for (Control& c : optPTT) f(c);
  f(frmAudio);
  for (Control& c : optLocRem) f(c);
  f(Frame1);
  for (Control& c : optDigAudio) f(c);
  f(Frame2);
  for (Control& c : optDigVOX) f(c);
  for (Control* c : {&cmdApply, &cmdLoad, &cmdSave, &cmdExit}) f(*c);
}

}  // namespace zr
