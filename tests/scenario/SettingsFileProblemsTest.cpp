// Settings files that cannot be used at startup: the operator is told which
// file and why, and the panel carries on with what it can use.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/MainLoop.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

namespace fs = std::filesystem;

const char* const kPortSetup = "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";

class SettingsFileProblemsTest : public ::testing::Test {
 protected:
  int count(const std::string& prefix) {
    int n = 0;
    for (const auto& c : h.simulator().commands()) n += c.text.rfind(prefix, 0) == 0;
    return n;
  }
  // The information box at virtual time `at`.
  std::string& infoAt(double at) {
    seen_.push_back(std::make_unique<std::string>());
    std::string& text = *seen_.back();
    h.clock.scheduleAt(at, [this, &text] { text = h.panel.frm.txtInfo.visible ? h.panel.frm.txtInfo.text : ""; });
    return text;
  }

  TempWorkDir dir;
  EngineHarness h;
  std::vector<std::unique_ptr<std::string>> seen_;
};

TEST_F(SettingsFileProblemsTest, UnreadablePortSetupIsNamedAndTheDialogOpens) {
  fs::create_directory("PortSetup.txt");
  h.attachSimulator(2);
  std::string& info = infoAt(3);
  std::string& dialogShown = infoAt(0);
  h.clock.scheduleAt(3, [&] { dialogShown = h.panel.engine.window("frmPortSetup")->window.visible ? "yes" : "no"; });
  InputEvent cancel;
  cancel.window = "frmPortSetup";
  cancel.control = "cmdCancel";
  h.inputAt(4, cancel);
  std::string& waiting = infoAt(6);
  h.runUntilClosedAt(8);
  EXPECT_EQ(dialogShown, "yes");
  EXPECT_EQ(info, "PortSetup.txt: Err 75. is a folder, not a file");
  EXPECT_EQ(waiting, "PortSetup.txt: Err 75. is a folder, not a file\r\nPort is not available. Use Setup menu or Exit.");
}

TEST_F(SettingsFileProblemsTest, CorruptPortNumberIsNamedBesideThePortMessage) {
  TempWorkDir::write("PortSetup.txt", "\x01\x02zz\r\n9600,N,8,1\r\n");
  h.attachSimulator(2);
  std::string& waiting = infoAt(5);
  h.runUntilClosedAt(6);
  EXPECT_EQ(waiting,
            "PortSetup.txt: line 1 (\"\x01\x02zz\") is not a port number\r\n"
            "Port is not available. Use Setup menu or Exit.");
  EXPECT_TRUE(h.simulator().commands().empty());
}

TEST_F(SettingsFileProblemsTest, CorruptAudioSetupFallsBackWithoutAToggleBurst) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  TempWorkDir::write("AudioSetup.txt", "H2 Phone\r\n\xff\xfe PTT\r\n\"0\r\nzz\r\nV9\r\n");
  auto& sim = h.attachSimulator(2);
  std::string& info = infoAt(15);
  h.runUntilClosedAt(16);
  // The transceiver already has PTT enabled, as the default wants it.
  EXPECT_EQ(count("'"), 0);
  EXPECT_TRUE(sim.model().state().pttEnabled);
  EXPECT_EQ(sim.model().state().source, 2) << "the usable lines still count";
  EXPECT_EQ(info,
            "AudioSetup.txt: line 2 (\"\xff\xfe\") is not a PTT enable code, '1 is used; "
            "line 4 (\"zz\") is not a digital audio source, H3 is used; "
            "line 5 (\"V9\") is not a digital VOX code, V2 is used");
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
}

TEST_F(SettingsFileProblemsTest, AudioSetupLinkedToADeviceIsRefusedAndTheDefaultsUsed) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  fs::create_symlink("/dev/zero", "AudioSetup.txt");
  fs::create_symlink("/dev/zero", "ZR3817ini.txt");
  auto& sim = h.attachSimulator(2);
  sim.model().state().source = 3;
  std::string& info = infoAt(15);
  h.runUntilClosedAt(16);
  EXPECT_EQ(info,
            "AudioSetup.txt: Err 75. is not a regular file, the defaults are used\r\n"
            "ZR3817ini.txt: Err 75. is not a regular file");
  EXPECT_EQ(sim.model().state().source, 1) << "the default phone source is MIC";
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
  // Saving at the end does not write through the link to the device.
  EXPECT_TRUE(fs::is_symlink("ZR3817ini.txt"));
}

TEST_F(SettingsFileProblemsTest, TemporariesOfAPanelKilledMidWriteAreRemovedAtStart) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  // No process can have an id that large.
  const std::string stale = ".ZR3817ini.txt.1999999999.4.tmp";
  TempWorkDir::write(stale, " 1440 \r\n");
  h.attachSimulator(2);
  h.clock.scheduleAt(1, [&] { EXPECT_FALSE(fs::exists(stale)); });
  h.runUntilClosed(2);
  EXPECT_FALSE(fs::exists(stale));
}

TEST_F(SettingsFileProblemsTest, DamagedIniFileIsWrittenBackWithUsableValuesOnly) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  // Good position and VFO B lines, then 4 KiB of noise with NULs in line 4.
  std::mt19937 noise(3817);
  std::string junk(4096, '\0');
  for (std::size_t i = 1; i < junk.size(); ++i) junk[i] = static_cast<char>(noise() & 0xff);
  TempWorkDir::write("ZR3817ini.txt", " 1440 \r\n 990 \r\n0712345\r\n" + junk);
  h.attachSimulator(2);
  h.runUntilClosed(12);
  EXPECT_EQ(TempWorkDir::read("ZR3817ini.txt"), " 1440 \r\n 990 \r\n0712345\r\nUSB\r\nSplit Off\r\nOFF\r\n");
  EXPECT_EQ(h.panel.frm.cmbVFOBMode.text, "USB");
}

}  // namespace
}  // namespace zr::test
