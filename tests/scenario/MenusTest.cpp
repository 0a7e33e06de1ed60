// The menus while the panel runs: each window opens modally over the main
// window, holds up the service loop, and gives the main window back.
#include <gtest/gtest.h>

#include <map>

#include "core/MainMenus.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

class MenusTest : public ::testing::Test {
 protected:
  MenusTest() {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    h.attachSimulator(2);
  }
  void click(double at, const std::string& window, const std::string& control) {
    InputEvent e;
    e.window = window;
    e.control = control;
    h.inputAt(at, e);
  }
  void runUntil(double end) { h.runUntilClosedAt(end); }
  std::vector<double> syncTimes() {
    std::vector<double> t;
    for (const auto& c : h.simulator().commands())
      if (c.text == "U") t.push_back(c.time);
    return t;
  }
  TempWorkDir dir;
  EngineHarness h;
};

TEST_F(MenusTest, ADialogHoldsUpTheLoopAndGivesTheMainWindowBack) {
  bool mainDisabled = false;
  click(10, "frmZR3817", "mnuAudioSetup");
  h.clock.scheduleAt(12, [&] { mainDisabled = !h.panel.frm.window.enabled; });
  click(20, "frmAudioSetup", "cmdExit");
  h.runUntilClosed(30);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(h.panel.frm.window.enabled);
  // No sync while the dialog was open; syncs again afterwards.
  int during = 0, after = 0;
  for (double t : syncTimes()) {
    if (t > 10.5 && t < 20) ++during;
    if (t > 20) ++after;
  }
  EXPECT_EQ(during, 0);
  EXPECT_GE(after, 3);
}

TEST_F(MenusTest, InputToTheMainWindowIsRefusedWhileADialogIsOpen) {
  click(10, "frmZR3817", "mnuChannelSetup");
  click(11, "frmZR3817", "cmdGetStatus");  // dropped: the main window is disabled
  click(12, "frmChannelSetup", "cmdOK");
  h.runUntilClosed(13);
  int queriesAfterStartup = 0;
  for (const auto& c : h.simulator().commands())
    if (c.text == "?" && c.time > 10) ++queriesAfterStartup;
  EXPECT_EQ(queriesAfterStartup, 0);
}

TEST_F(MenusTest, AboutShowsTheVersion) {
  std::string caption, version;
  click(10, "frmZR3817", "mnuHelpAbout");
  h.clock.scheduleAt(11, [&] {
    caption = h.panel.menus().frmHelp.window.caption;
    version = h.panel.menus().frmHelp.Label3.caption;
  });
  click(12, "frmHelp", "cmdOK");
  h.runUntilClosed(13);
  EXPECT_EQ(caption, "About ");
  EXPECT_EQ(version, "ZR-3817 0.962 : 11-21-17 : 1600");
  EXPECT_TRUE(h.panel.frm.window.enabled);
  const std::string& credits = h.panel.menus().frmHelp.Label1.caption;
  EXPECT_EQ(credits.rfind("\r\nThe ZR-3817/QTA Software project:\r\n", 0), 0u);
}

TEST_F(MenusTest, HelpOpensTheOperatorsHelp) {
  click(10, "frmZR3817", "mnuHelpZR3817");
  h.runUntilClosed(11);
  EXPECT_EQ(h.host.helpFiles, (std::vector<std::string>{"ZR3817V0961.hlp"}));
}

TEST_F(MenusTest, ScanBlocksTransmitUntilTheScannerCloses) {
  bool blocked = false;
  click(10, "frmZR3817", "mnuScanBands");
  h.clock.scheduleAt(11, [&] { blocked = h.panel.frm.lblInBand.caption == "Scanning" && !h.panel.frm.cmdPTT.enabled; });
  InputEvent close;
  close.window = "frmScanBands";
  close.kind = EventKind::Close;
  h.inputAt(12, close);
  h.runUntilClosed(14);
  EXPECT_TRUE(blocked);
  EXPECT_FALSE(h.panel.st.gScanning);
  EXPECT_EQ(h.panel.frm.lblInBand.caption, "");  // 14.250 MHz is in band
  EXPECT_TRUE(h.panel.frm.cmdPTT.enabled);
}

TEST_F(MenusTest, ACloseWhileADialogIsOpenEndsItAndExitsTheNormalWay) {
  click(10, "frmZR3817", "cmdXmit");
  click(11, "frmZR3817", "mnuPortSetup");
  bool dialogOpen = false;
  h.clock.scheduleAt(11.5, [&] { dialogOpen = h.panel.engine.window("frmPortSetup")->window.visible; });
  runUntil(12);  // as a terminal closing or SIGTERM asks it
  ASSERT_TRUE(dialogOpen);
  EXPECT_FALSE(h.panel.engine.window("frmPortSetup")->window.visible);
  const auto& cmds = h.simulator().commands();
  ASSERT_GE(cmds.size(), 2u);
  EXPECT_EQ(cmds[cmds.size() - 2].text, "U");
  EXPECT_EQ(cmds.back().text, "G00");
  EXPECT_GE(cmds.back().time, 12.0);
  EXPECT_FALSE(h.simulator().model().state().transmitting);
  EXPECT_FALSE(TempWorkDir::read("ZR3817ini.txt").empty());
}

TEST_F(MenusTest, ScannersOpenBesideTheBandFrameEveryTimeWhereverTheyWereMoved) {
  // Where each opening asks the view to put the window, and where the
  // operator then dragged it.
  std::map<std::string, std::vector<int>> placed;
  double t = 10;
  for (const std::string scanner : {"frmScanBands", "frmScanFreqs"}) {
    const auto place = [this, scanner, &placed] {
      placed[scanner].push_back(h.panel.engine.window(scanner)->window.left);
    };
    for (int opening = 0; opening < 2; ++opening, t += 4) {
      click(t, "frmZR3817", scanner == "frmScanBands" ? "mnuScanBands" : "mnuScanFreqs");
      h.clock.scheduleAt(t + 1, place);
      InputEvent e;
      e.window = scanner;
      e.kind = EventKind::Move;
      e.x = 2000;
      e.y = 3000;
      h.inputAt(t + 2, e);
      h.clock.scheduleAt(t + 2.5, place);
      e.kind = EventKind::Close;
      h.inputAt(t + 3, e);
    }
  }
  h.runUntilClosed(t);
  const std::vector<int> expected = {WindowModel::kBesideAnchor, 2000, WindowModel::kBesideAnchor, 2000};
  EXPECT_EQ(placed["frmScanBands"], expected);
  EXPECT_EQ(placed["frmScanFreqs"], expected);
}

TEST_F(MenusTest, ExitWithTheRadioPortClosedWritesTheFileAndSendsNothing) {
  TempWorkDir::write("PortSetup.txt", "5\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
  h.radio.setDevicePresent(false);  // port 5 is not there, and is retried
  click(3, "frmZR3817", "mnuFileExit");
  h.panel.run();
  EXPECT_TRUE(h.simulator().commands().empty());
  EXPECT_FALSE(TempWorkDir::read("ZR3817ini.txt").empty());
}

}  // namespace
}  // namespace zr::test
