#include "setup/AudioSetupDialog.h"

#include <array>

#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"
#include "setup/ModalDialog.h"

namespace zr {

namespace {

// The code each option of a group stands for, by index.
constexpr std::array<const char*, 3> kSourceCodes = {"H1", "H2", "H3"};
constexpr std::array<const char*, 2> kPttCodes = {"'0", "'1"};
constexpr std::array<const char*, 2> kLocRemCodes = {"\"1", "\"0"};  // local, remote
constexpr std::array<const char*, 3> kVoxCodes = {"V0", "V1", "V2"};

// -1 when the code names no option.
template <std::size_t N>
int indexOf(const std::array<const char*, N>& codes, const std::string& code) {
  for (std::size_t i = 0; i < N; ++i)
    if (code == codes[i]) return static_cast<int>(i);
  return -1;
}

// Selects option `index` of the group; -1 leaves the group without a selection.
template <std::size_t N>
void select(std::array<Control, N>& group, int index) {
  for (Control& c : group) c.value = c.index == index ? 1 : 0;
}

template <std::size_t N>
void choose(std::string& working, const std::array<const char*, N>& codes, int index) {
  if (index >= 0 && index < static_cast<int>(N)) working = codes[static_cast<std::size_t>(index)];
}

int orElse(int index, int fallback) { return index < 0 ? fallback : index; }

}  // namespace

AudioSetupDialog::AudioSetupDialog(Panel& panel) : p_(panel) {
  p_.engine.addWindow(model_);
  registerHandlers();
}

void AudioSetupDialog::registerHandlers() {
  const std::string w = model_.name();
  auto on = [&](const char* control, EventKind kind, std::function<void(const InputEvent&)> f) {
    p_.engine.on(w, control, kind, std::move(f));
  };
  on("optPhoneAudio", EventKind::Click, [this](const InputEvent& e) { optPhoneAudio_Click(e.index); });
  on("optPTT", EventKind::Click, [this](const InputEvent& e) { optPTT_Click(e.index); });
  on("optLocRem", EventKind::Click, [this](const InputEvent& e) { optLocRem_Click(e.index); });
  on("optDigAudio", EventKind::Click, [this](const InputEvent& e) { optDigAudio_Click(e.index); });
  on("optDigVOX", EventKind::Click, [this](const InputEvent& e) { optDigVOX_Click(e.index); });
  on("cmdApply", EventKind::Click, [this](const InputEvent&) { cmdApply_Click(); });
  on("cmdLoad", EventKind::Click, [this](const InputEvent&) { cmdLoad_Click(); });
  on("cmdSave", EventKind::Click, [this](const InputEvent&) { cmdSave_Click(); });
  on("cmdExit", EventKind::Click, [this](const InputEvent&) { cmdExit_Click(); });
  on("", EventKind::Close, [this](const InputEvent&) { Form_QueryUnload(); });
}

void AudioSetupDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

// The first three groups show what the transceiver reports, the digital
// ones the settings in force.
void AudioSetupDialog::Form_Load() {
  // Every opening starts from the design values, as a freshly loaded form does.
  model_ = AudioSetupWindowModel{};
  const TransceiverState& st = p_.st;
  const Settings& s = p_.settings;
  working_.phoneSource = st.gSource.str();
  working_.pttEnable = st.gPttEnable.str();
  working_.localRemote = st.gLocalRemote.str();
  working_.digSource = s.gDigAudioSource;
  working_.digVox = s.gDigVox;
  select(model_.optPhoneAudio, indexOf(kSourceCodes, working_.phoneSource));
  select(model_.optPTT, indexOf(kPttCodes, working_.pttEnable));
  select(model_.optLocRem, indexOf(kLocRemCodes, working_.localRemote));
  select(model_.optDigAudio, orElse(indexOf(kSourceCodes, working_.digSource), 2));
  select(model_.optDigVOX, orElse(indexOf(kVoxCodes, working_.digVox), 0));
}

void AudioSetupDialog::optPhoneAudio_Click(int index) { choose(working_.phoneSource, kSourceCodes, index); }
void AudioSetupDialog::optPTT_Click(int index) { choose(working_.pttEnable, kPttCodes, index); }
void AudioSetupDialog::optLocRem_Click(int index) { choose(working_.localRemote, kLocRemCodes, index); }
void AudioSetupDialog::optDigAudio_Click(int index) { choose(working_.digSource, kSourceCodes, index); }
void AudioSetupDialog::optDigVOX_Click(int index) { choose(working_.digVox, kVoxCodes, index); }

void AudioSetupDialog::cmdApply_Click() {
  Settings& s = p_.settings;
  s.gPhoneAudioSource = working_.phoneSource;
  s.gPttEnableSetting = working_.pttEnable;
  s.gLocalRemoteSetting = working_.localRemote;
  s.gDigAudioSource = working_.digSource;
  s.gDigVox = working_.digVox;
  p_.form.gAudioSetupApplied = true;
}

void AudioSetupDialog::cmdLoad_Click() {
  std::optional<AudioSetupValues> read;
  try {
    // A missing file changes nothing and says nothing.
    read = readAudioSetup();
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kAudioSetupFile, e));
    return;
  }
  if (!read) return;
  const AudioSetupValues& v = *read;
  select(model_.optPhoneAudio, indexOf(kSourceCodes, v.phoneSource));
  select(model_.optPTT, indexOf(kPttCodes, v.pttEnable));
  if (const int i = indexOf(kLocRemCodes, v.localRemote); i >= 0) {
    select(model_.optLocRem, i);
    working_.localRemote = v.localRemote;
  }
  select(model_.optDigAudio, indexOf(kSourceCodes, v.digSource));
  select(model_.optDigVOX, indexOf(kVoxCodes, v.digVox));
  working_.phoneSource = v.phoneSource;
  working_.pttEnable = v.pttEnable;
  working_.digSource = v.digSource;
  working_.digVox = v.digVox;
}

void AudioSetupDialog::cmdSave_Click() {
  try {
    writeAudioSetup(working_);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kAudioSetupFile, e));
  }
}

// The modal loop ends when the window hides and then enables the main
// window; choices not applied are dropped with it.
void AudioSetupDialog::close() { model_.window.visible = false; }

}  // namespace zr
