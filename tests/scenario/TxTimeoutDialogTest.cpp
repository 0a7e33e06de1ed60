// The transmit time-out's settings: its own file, how a limit reads, and
// the dialog that applies and saves it.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/MainMenus.h"
#include "panel/TransmitTimeout.h"
#include "setup/TxTimeoutDialog.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

TEST(TxTimeoutSetupFile, MissingOrBadFilesGiveTheDefaultAndAWrittenFileReadsBack) {
  TempWorkDir dir;
  std::string problem = "x";
  EXPECT_EQ(readTxTimeoutSetup(problem), kTxTimeoutDefault);
  EXPECT_EQ(problem, "");

  writeTxTimeoutSetup(90);
  EXPECT_EQ(readTxTimeoutSetup(problem), 90);
  EXPECT_EQ(problem, "");
  EXPECT_EQ(TempWorkDir::read(kTxTimeoutFile).substr(0, 8), "90\r\nLine");
  writeTxTimeoutSetup(0);
  EXPECT_EQ(readTxTimeoutSetup(problem), 0);

  const std::string noise(4096, '\x01');
  for (const std::string& bad : {std::string(), std::string("ten\r\n"), std::string("3601\r\n"),
                                 std::string("-5\r\n"), std::string("600 \r\n"), noise}) {
    TempWorkDir::write(kTxTimeoutFile, bad);
    EXPECT_EQ(readTxTimeoutSetup(problem), kTxTimeoutDefault) << bad;
    EXPECT_NE(problem.find("line 1"), std::string::npos) << problem;
  }
  std::filesystem::remove(kTxTimeoutFile);
  std::filesystem::create_directory(kTxTimeoutFile);
  EXPECT_EQ(readTxTimeoutSetup(problem), kTxTimeoutDefault);
  EXPECT_FALSE(problem.empty());
}

TEST(TxTimeoutSetupFile, LimitsAreWholeSecondsAndReadAsTheOperatorSaysThem) {
  EXPECT_EQ(parseTxTimeout("0"), 0);
  EXPECT_EQ(parseTxTimeout("3600"), 3600);
  for (const char* bad : {"", "3601", "-1", " 60", "60 ", "1.5", "1e3", "0x10"}) EXPECT_EQ(parseTxTimeout(bad), -1) << bad;
  EXPECT_EQ(TransmitTimeout::message(600), "Transmit time-out: unkeyed after 10 min");
  EXPECT_EQ(TransmitTimeout::message(120), "Transmit time-out: unkeyed after 2 min");
  EXPECT_EQ(TransmitTimeout::message(90), "Transmit time-out: unkeyed after 90 s");
  EXPECT_EQ(TransmitTimeout::message(45), "Transmit time-out: unkeyed after 45 s");
  EXPECT_EQ(describeTxTimeout(0), "off");
}

class TxTimeoutDialogTest : public ::testing::Test {
 protected:
  TxTimeoutDialog& dialog() { return h.panel.menus().txTimeout(); }
  TxTimeoutWindowModel& m() { return dialog().model(); }

  TempWorkDir dir;
  EngineHarness h;
};

TEST_F(TxTimeoutDialogTest, ApplySetsTheLimitInForceAndSaveWritesTheFile) {
  h.panel.settings.txTimeoutSeconds = 45;  // as the command line may have set it
  dialog().Form_Load();
  EXPECT_EQ(m().txtSeconds.text, "45");
  EXPECT_EQ(m().lblStatus.caption, "Transmit time-out: 45 s");

  m().txtSeconds.text = "120";
  dialog().cmdApply_Click();
  EXPECT_EQ(h.panel.settings.txTimeoutSeconds, 120);
  EXPECT_EQ(m().lblStatus.caption, "Transmit time-out: 2 min");
  EXPECT_FALSE(std::filesystem::exists(kTxTimeoutFile));
  dialog().cmdSave_Click();
  std::string problem;
  EXPECT_EQ(readTxTimeoutSetup(problem), 120);
}

TEST_F(TxTimeoutDialogTest, ANonsenseLimitIsRefusedAndNothingChanges) {
  dialog().Form_Load();
  for (const char* bad : {"ten", "99999", "-1"}) {
    m().txtSeconds.text = bad;
    dialog().cmdApply_Click();
    dialog().cmdSave_Click();
    EXPECT_EQ(h.panel.settings.txTimeoutSeconds, kTxTimeoutDefault);
    EXPECT_EQ(m().lblStatus.caption, "The time-out must be a whole number of seconds from 0 to 3600.");
  }
  EXPECT_FALSE(std::filesystem::exists(kTxTimeoutFile));
}

TEST_F(TxTimeoutDialogTest, TheSetupMenuOpensItModallyOverTheMainWindow) {
  EXPECT_TRUE(h.opensModallyAndCloses("mnuTxTimeout", m()));
}

}  // namespace
}  // namespace zr::test
