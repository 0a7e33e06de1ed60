// The network rig server's settings: its own file, and the dialog that
// applies and saves them.
#include <gtest/gtest.h>

#include "core/MainMenus.h"
#include "setup/RigServerDialog.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

TEST(RigServerSetupFile, MissingFileIsOffAndAWrittenFileReadsBack) {
  TempWorkDir dir;
  std::string problem = "x";
  EXPECT_EQ(readRigServerSetup(problem), RigServerSetup{});
  EXPECT_EQ(problem, "");

  const RigServerSetup on{true, 4534, "192.168.1.5"};
  writeRigServerSetup(on);
  EXPECT_EQ(readRigServerSetup(problem), on);
  EXPECT_EQ(problem, "");
  const std::string text = TempWorkDir::read(kRigServerFile);
  EXPECT_EQ(text.substr(0, 26), "1\r\n4534\r\n192.168.1.5\r\nLine");
}

TEST(RigServerSetupFile, ABadFileLeavesTheServerOffAndSaysWhy) {
  TempWorkDir dir;
  std::string problem;
  TempWorkDir::write(kRigServerFile, "1\r\n45x2\r\n\r\n");
  EXPECT_FALSE(readRigServerSetup(problem).enabled);
  EXPECT_NE(problem.find("line 2"), std::string::npos) << problem;

  TempWorkDir::write(kRigServerFile, "1\n99999\n");
  EXPECT_FALSE(readRigServerSetup(problem).enabled);
  EXPECT_FALSE(problem.empty());

  std::filesystem::create_directory(kRigServerFile + std::string(".d"));
  EXPECT_FALSE(readRigServerSetup(problem, kRigServerFile + std::string(".d")).enabled);
  EXPECT_FALSE(problem.empty());

  TempWorkDir::write(kRigServerFile, "1\n4532");  // no address line, no line end
  const RigServerSetup s = readRigServerSetup(problem);
  EXPECT_TRUE(s.enabled);
  EXPECT_EQ(s.port, 4532);
  EXPECT_EQ(s.address, "");
  EXPECT_EQ(problem, "");
}

TEST(RigServerSetupFile, PortsAreWholeNumbersInRange) {
  EXPECT_EQ(parseRigServerPort("4532"), 4532);
  EXPECT_EQ(parseRigServerPort("65535"), 65535);
  for (const char* bad : {"", "0", "65536", "-1", " 4532", "4532 ", "45.3", "0x11d4"})
    EXPECT_EQ(parseRigServerPort(bad), 0) << bad;
}

class RigServerDialogTest : public ::testing::Test {
 protected:
  RigServerDialogTest() {
    h.panel.restartRigServer = [this](const RigServerSetup& s) {
      applied.push_back(s);
      return "running " + describeRigServer(s);
    };
  }
  RigServerDialog& dialog() { return h.panel.menus().rigServer(); }
  RigServerWindowModel& m() { return dialog().model(); }

  TempWorkDir dir;
  EngineHarness h;
  std::vector<RigServerSetup> applied;
};

TEST_F(RigServerDialogTest, ApplyRestartsTheServerAndSaveWritesTheFile) {
  h.panel.settings.rigServer = RigServerSetup{true, 4532, ""};
  h.panel.frm.lblRigServer.caption = "Network rig server on 127.0.0.1 and ::1 port 4532";
  dialog().Form_Load();
  EXPECT_EQ(m().chkEnabled.value, 1);
  EXPECT_EQ(m().txtPort.text, "4532");
  EXPECT_EQ(m().lblStatus.caption, h.panel.frm.lblRigServer.caption);
  EXPECT_FALSE(m().lblWarning.visible);

  m().txtPort.text = "4534";
  m().txtAddress.text = "0.0.0.0";
  dialog().txtAddress_Change();
  EXPECT_TRUE(m().lblWarning.visible);
  dialog().cmdApply_Click();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0], (RigServerSetup{true, 4534, "0.0.0.0"}));
  EXPECT_EQ(h.panel.settings.rigServer, applied[0]);
  EXPECT_EQ(h.panel.frm.lblRigServer.caption, "running 0.0.0.0 port 4534");

  dialog().cmdSave_Click();
  std::string problem;
  EXPECT_EQ(readRigServerSetup(problem), applied[0]);
}

TEST_F(RigServerDialogTest, ANonsensePortIsRefusedAndNothingChanges) {
  dialog().Form_Load();
  m().chkEnabled.value = 1;
  m().txtPort.text = "port";
  dialog().cmdApply_Click();
  dialog().cmdSave_Click();
  EXPECT_TRUE(applied.empty());
  EXPECT_FALSE(h.panel.settings.rigServer.enabled);
  EXPECT_EQ(m().lblStatus.caption, "The port must be a number from 1 to 65535.");
  EXPECT_FALSE(std::filesystem::exists(kRigServerFile));
}

TEST_F(RigServerDialogTest, TheMenuOpensItModallyOverTheMainWindow) {
  EXPECT_TRUE(h.opensModallyAndCloses("mnuRigServer", m()));
}

}  // namespace
}  // namespace zr::test
