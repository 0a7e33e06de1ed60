// The audio setup dialog: what it shows on opening, the code each option
// stands for, Apply, Load and Save in a scratch folder, and — in a full run —
// the transceiver brought to the applied settings once the dialog closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "setup/AudioSetupDialog.h"
#include "core/MainMenus.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

template <std::size_t N>
int selected(const std::array<Control, N>& group) {
  for (const Control& c : group)
    if (c.selected()) return c.index;
  return -1;
}

class AudioSetupDialogTest : public ::testing::Test {
 protected:
  void click(double at, const std::string& control, int index = -1, const std::string& window = "frmAudioSetup") {
    InputEvent e;
    e.window = window;
    e.control = control;
    e.index = index;
    h.inputAt(at, e);
  }
  void closeBox(double at) {
    InputEvent e;
    e.window = "frmAudioSetup";
    e.kind = EventKind::Close;
    h.inputAt(at, e);
  }
  void reported(const std::string& source, const std::string& ptt, const std::string& locRem) {
    h.panel.st.gSource = source;
    h.panel.st.gPttEnable = ptt;
    h.panel.st.gLocalRemote = locRem;
  }
  // Which option each group shows: phone, PTT, local/remote, digital, VOX.
  std::array<int, 5> shown() {
    return {selected(m.optPhoneAudio), selected(m.optPTT), selected(m.optLocRem), selected(m.optDigAudio),
            selected(m.optDigVOX)};
  }

  TempWorkDir dir;
  EngineHarness h;
  AudioSetupDialog& dialog = h.panel.menus().audioSetup();
  AudioSetupWindowModel& m = dialog.model();
  Settings& settings = h.panel.settings;
};

TEST_F(AudioSetupDialogTest, OpensOnTheReportedStateAndTheDigitalSettings) {
  reported("H2", "'0", "\"0");
  settings.gDigAudioSource = "H1";
  settings.gDigVox = "V1";
  dialog.Form_Load();
  EXPECT_EQ(shown(), (std::array<int, 5>{1, 0, 1, 0, 1}));
  EXPECT_EQ(dialog.working(), (AudioSetupValues{"H2", "'0", "\"0", "H1", "V1"}));
}

TEST_F(AudioSetupDialogTest, UnknownCodesShowNothingOrTheDigitalFallbackButAreKept) {
  reported("H4", "  ", "\"7");
  settings.gDigAudioSource = "H9";
  settings.gDigVox = "V7";
  dialog.Form_Load();
  EXPECT_EQ(shown(), (std::array<int, 5>{-1, -1, -1, 2, 0}));
  dialog.cmdApply_Click();
  EXPECT_EQ(settings.gPhoneAudioSource, "H4");
  EXPECT_EQ(settings.gPttEnableSetting, "  ");
  EXPECT_EQ(settings.gLocalRemoteSetting, "\"7");
  EXPECT_EQ(settings.gDigAudioSource, "H9");
  EXPECT_EQ(settings.gDigVox, "V7");
  EXPECT_TRUE(h.panel.form.gAudioSetupApplied);
}

TEST_F(AudioSetupDialogTest, EachOptionChoosesItsCode) {
  using Click = void (AudioSetupDialog::*)(int);
  const std::tuple<Click, int, std::string AudioSetupValues::*, const char*> cases[] = {
      {&AudioSetupDialog::optPhoneAudio_Click, 0, &AudioSetupValues::phoneSource, "H1"},
      {&AudioSetupDialog::optPhoneAudio_Click, 1, &AudioSetupValues::phoneSource, "H2"},
      {&AudioSetupDialog::optPhoneAudio_Click, 2, &AudioSetupValues::phoneSource, "H3"},
      {&AudioSetupDialog::optPTT_Click, 0, &AudioSetupValues::pttEnable, "'0"},
      {&AudioSetupDialog::optPTT_Click, 1, &AudioSetupValues::pttEnable, "'1"},
      {&AudioSetupDialog::optLocRem_Click, 0, &AudioSetupValues::localRemote, "\"1"},
      {&AudioSetupDialog::optLocRem_Click, 1, &AudioSetupValues::localRemote, "\"0"},
      {&AudioSetupDialog::optDigAudio_Click, 0, &AudioSetupValues::digSource, "H1"},
      {&AudioSetupDialog::optDigAudio_Click, 1, &AudioSetupValues::digSource, "H2"},
      {&AudioSetupDialog::optDigAudio_Click, 2, &AudioSetupValues::digSource, "H3"},
      {&AudioSetupDialog::optDigVOX_Click, 0, &AudioSetupValues::digVox, "V0"},
      {&AudioSetupDialog::optDigVOX_Click, 1, &AudioSetupValues::digVox, "V1"},
      {&AudioSetupDialog::optDigVOX_Click, 2, &AudioSetupValues::digVox, "V2"},
  };
  reported("H4", "  ", "  ");
  settings.gDigAudioSource = settings.gDigVox = "xx";
  AudioSetupDialog& d = dialog;
  for (const auto& c : cases) {
    d.Form_Load();
    const Click choose = std::get<0>(c);
    (d.*choose)(std::get<1>(c));
    EXPECT_EQ(d.working().*std::get<2>(c), std::get<3>(c)) << std::get<1>(c);
  }
}

TEST_F(AudioSetupDialogTest, ApplyKeepsTheDialogOpenAndClosingDropsLaterChoices) {
  reported("H1", "'1", "\"1");
  bool openAfterApply = false, mainDisabled = false;
  click(1.0, "optPhoneAudio", 2);
  click(1.1, "cmdApply");
  click(1.2, "optDigVOX", 0);  // chosen after Apply: dropped
  h.clock.scheduleAt(1.15, [&] {
    openAfterApply = m.window.visible;
    mainDisabled = !h.panel.frm.window.enabled;
  });
  closeBox(1.3);
  dialog.showModal();
  EXPECT_TRUE(openAfterApply);
  EXPECT_TRUE(mainDisabled);
  EXPECT_EQ(settings.gPhoneAudioSource, "H3");
  EXPECT_EQ(settings.gDigVox, "V2");
  EXPECT_TRUE(h.panel.form.gAudioSetupApplied);
  EXPECT_FALSE(m.window.visible);
  EXPECT_TRUE(h.panel.frm.window.enabled);
}

TEST_F(AudioSetupDialogTest, SaveWritesTheWorkingCodesInTheFileLayout) {
  reported("H2", "'1", "\"1");
  dialog.Form_Load();
  dialog.optLocRem_Click(1);
  dialog.optPTT_Click(0);
  dialog.cmdSave_Click();
  EXPECT_EQ(TempWorkDir::read("AudioSetup.txt"),
            "H2 Phone Audio Source\r\n"
            "'0 PTT Enable\r\n"
            "\"0 LocalRemote Audio\r\n"
            "H3 Digital Audio Source\r\n"
            "V2 Digital VOX: [V1|V2|V3]\r\n"
            "Comments:\r\n"
            "Phone & DigAudio Source: H1 -> MIC, H2 -> Audio2, H3 -> Patch\r\n"
            "Digital VOX: V0 -> OFF, V1 -> VOICE, V2 -> DATA\r\n"
            "PTT: '0 -> Disable, '1 -> Enable\r\n"
            "LocalRemote: \"0 -> Remote, \"1 -> Local\r\n");
  EXPECT_FALSE(h.panel.form.gAudioSetupApplied);
}

TEST_F(AudioSetupDialogTest, LoadRestoresWhatWasSavedWithoutApplyingIt) {
  reported("H3", "'0", "\"0");
  settings.gDigAudioSource = "H1";
  settings.gDigVox = "V1";
  dialog.Form_Load();
  dialog.cmdSave_Click();

  reported("H1", "'1", "\"1");
  settings.gDigAudioSource = "H2";
  settings.gDigVox = "V0";
  const Settings before = settings;
  dialog.Form_Load();
  dialog.cmdLoad_Click();
  EXPECT_EQ(shown(), (std::array<int, 5>{2, 0, 1, 0, 1}));
  EXPECT_EQ(dialog.working(), (AudioSetupValues{"H3", "'0", "\"0", "H1", "V1"}));
  EXPECT_EQ(settings.gDigVox, before.gDigVox);
  EXPECT_FALSE(h.panel.form.gAudioSetupApplied);
}

TEST_F(AudioSetupDialogTest, LoadOfUnknownCodesSelectsNothingButKeepsLocalRemote) {
  TempWorkDir::write("AudioSetup.txt", "H\r\n'1\r\nxx\r\nH7\r\nV1 Digital VOX\r\n");
  reported("H2", "'0", "\"0");
  dialog.Form_Load();
  dialog.cmdLoad_Click();
  EXPECT_EQ(shown(), (std::array<int, 5>{-1, 1, 1, -1, 1}));
  EXPECT_EQ(dialog.working(), (AudioSetupValues{"H ", "'1", "\"0", "H7", "V1"}));
}

TEST_F(AudioSetupDialogTest, LoadWithoutAFileChangesNothingAndSaysNothing) {
  reported("H2", "'0", "\"0");
  dialog.Form_Load();
  const AudioSetupValues before = dialog.working();
  const auto shownBefore = shown();
  dialog.cmdLoad_Click();
  EXPECT_EQ(dialog.working(), before);
  EXPECT_EQ(shown(), shownBefore);
  EXPECT_EQ(h.panel.frm.txtInfo.text, "");
}

TEST_F(AudioSetupDialogTest, SaveFailureIsReportedInTheInformationBox) {
  std::filesystem::create_directory("AudioSetup.txt");  // cannot be replaced by a file
  dialog.Form_Load();
  dialog.cmdSave_Click();
  EXPECT_EQ(h.panel.frm.txtInfo.text.rfind("AudioSetup.txt: Err ", 0), 0u) << h.panel.frm.txtInfo.text;
  EXPECT_TRUE(h.panel.frm.txtInfo.visible);
}

// The whole program: the dialog opened from the menu, Apply, Exit, and the
// service loop bringing the transceiver to the new settings each time.
TEST_F(AudioSetupDialogTest, AppliedSettingsReachTheTransceiverAfterTheDialogCloses) {
  TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
  sim::VirtualTransceiver& radio = h.attachSimulator(2);
  const auto& s = radio.model().state();
  std::optional<bool> unchangedWhileOpen, sourceAfterFirst;
  click(10, "mnuAudioSetup", -1, "frmZR3817");
  click(11, "optPhoneAudio", 1);
  click(11.1, "cmdApply");
  h.clock.scheduleAt(15, [&] { unchangedWhileOpen = s.source == 1; });
  click(20, "cmdExit");

  click(30, "mnuAudioSetup", -1, "frmZR3817");
  h.clock.scheduleAt(30.5, [&] { sourceAfterFirst = s.source == 2 && s.localAudio == 1; });
  click(31, "optLocRem", 1);
  click(31.1, "cmdApply");
  click(31.2, "cmdExit");
  InputEvent quit;
  quit.window = "frmZR3817";
  quit.kind = EventKind::Close;
  h.inputAt(45, quit);
  h.panel.run();

  ASSERT_TRUE(unchangedWhileOpen.has_value() && sourceAfterFirst.has_value());
  EXPECT_TRUE(*unchangedWhileOpen);
  EXPECT_TRUE(*sourceAfterFirst);
  EXPECT_EQ(s.source, 2);
  EXPECT_EQ(s.localAudio, 0);
  EXPECT_EQ(h.panel.frm.cmbSource.text, "REMOTE");
  EXPECT_FALSE(h.panel.form.gAudioSetupApplied);
  EXPECT_TRUE(h.panel.frm.window.enabled);
  EXPECT_TRUE(h.panel.frm.cmdXmit.enabled);  // the alignment ran to its end
}

}  // namespace
}  // namespace zr::test
