// The CAT port dialog driven through the engine as the operator would, and
// its settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "cat/CatPort.h"
#include "core/MainMenus.h"
#include "core/SettingsFiles.h"
#include "setup/CatSetupDialog.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

using Items = std::vector<std::string>;

class CatSetupDialogTest : public ::testing::Test {
 protected:
  void input(double at, const std::string& control, int index = -1, std::optional<std::string> text = {}) {
    InputEvent e;
    e.window = "frmCATSetup";
    e.control = control;
    e.index = index;
    e.text = std::move(text);
    h.inputAt(at, std::move(e));
  }
  void click(double at, const std::string& control, int index = -1) { input(at, control, index); }
  void choose(double at, const std::string& combo, const std::string& text) { input(at, combo, -1, text); }
  int selectedOption() const {
    for (const Control& c : m.optHandShake)
      if (c.selected()) return c.index;
    return -1;
  }
  void openCatPort(const std::string& settings, const std::string& handshake) {
    s.gCATPort = "2";
    s.gCATSettings = settings;
    s.gCATHandshake = handshake;
    ASSERT_TRUE(h.panel.cat().SetUpCATPort());
  }

  CatSetupDialogTest() {
    h.panel.describePort = [](int n) { return "dev" + std::to_string(n); };
  }

  EngineHarness h;
  Settings& s = h.panel.settings;
  CatSetupDialog& dialog = h.panel.menus().catSetup();
  CatSetupWindowModel& m = dialog.model();
};

TEST_F(CatSetupDialogTest, DesignValuesAreThoseOfTheForm) {
  h.probe.present = {};
  dialog.Form_Load();
  EXPECT_EQ(m.window.caption, "CAT Setup");
  EXPECT_EQ(m.cmbSelectBaudRate.items, (Items{"19200 ", "9600 ", "4800 ", "2400", "600", "300"}));
  EXPECT_EQ(m.cmbSelectBaudRate.text, "19200 ");
  EXPECT_EQ(m.cmbBits.items, (Items{"N, 8, 1", "O, 7, 1", "E, 7, 1"}));
  EXPECT_EQ(m.cmbBits.text, "N, 8, 1");
  EXPECT_EQ(m.cmbRigType.items, (Items{"Kenwood", "Elecraft", "FT-450"}));
  EXPECT_EQ(m.cmbRigType.text, "Kenwood");
  EXPECT_EQ(m.Label1.caption, "Available Ports Found");
  EXPECT_EQ(m.Label2.caption, "Parity, Bits, Stops");
  EXPECT_EQ(m.optHandShake[3].caption, "RTS  XON");
  EXPECT_EQ(m.txtFound.text, "No Ports");
  EXPECT_EQ(selectedOption(), -1);
}

TEST_F(CatSetupDialogTest, LoadShowsTheOpenCatPortAndItsSettings) {
  openCatPort("4800,E, 7,1", "comRTS");
  h.probe.present = {1, 5};
  dialog.Form_Load();
  EXPECT_EQ(m.cmbSelectPort.items, (Items{"1", "5", "2"}));
  EXPECT_EQ(m.cmbSelectPort.text, "2");
  EXPECT_EQ(m.txtFound.text, "1, 5, ");
  EXPECT_EQ(m.cmbSelectBaudRate.text, "4800");
  EXPECT_EQ(m.cmbSelectBaudRate.items.back(), "4800");
  EXPECT_EQ(m.cmbBits.text, "E, 7,1");
  EXPECT_EQ(selectedOption(), 2);
  EXPECT_EQ(m.lblDevice.caption, "dev2");

  // Settings that are already list items are selected, not listed twice.
  openCatPort("9600 ,N, 8, 1", "comNone");
  h.probe.present = {2};
  dialog.Form_Load();
  EXPECT_EQ(m.cmbSelectPort.items, (Items{"2"}));
  EXPECT_EQ(m.cmbSelectBaudRate.items.size(), 6u);
  EXPECT_EQ(m.cmbBits.items.size(), 3u);
  EXPECT_EQ(m.cmbBits.text, "N, 8, 1");
}

TEST_F(CatSetupDialogTest, ApplyKeepsTheBlanksOfTheListItemsAndRaisesTheFlag) {
  s.gRigType = "Kenwood";
  bool mainDisabledMeanwhile = false;
  h.clock.scheduleAt(0.5, [&] { mainDisabledMeanwhile = !h.panel.frm.window.enabled && m.window.visible; });
  choose(1.0, "cmbSelectPort", "2");
  choose(1.1, "cmbSelectBaudRate", "9600 ");
  choose(1.2, "cmbRigType", "Elecraft");
  click(1.3, "optHandShake", 1);
  click(1.4, "cmdApply");
  h.panel.frm.window.enabled = false;
  dialog.showModal();

  EXPECT_TRUE(mainDisabledMeanwhile);
  EXPECT_EQ(s.gCATSettings, "9600 ,N, 8, 1");
  EXPECT_EQ(s.gCATHandshake, "comXonXoff");
  EXPECT_EQ(s.gCATPort, "2");
  EXPECT_EQ(s.gRigType, "Kenwood") << "the rig type is not applied";
  EXPECT_TRUE(h.panel.form.gCATSetupChanged);
  EXPECT_FALSE(m.window.visible);
  EXPECT_TRUE(h.panel.frm.window.enabled);
  EXPECT_FALSE(h.cat.isOpen()) << "the menu reopens the port once the dialog has closed";
}

TEST_F(CatSetupDialogTest, ApplyWithoutAHandshakeChoiceKeepsTheOldOne) {
  s.gCATHandshake = "comRTS";
  click(1.0, "cmdApply");
  dialog.showModal();
  EXPECT_EQ(s.gCATHandshake, "comRTS");
  EXPECT_EQ(s.gCATSettings, "19200 ,N, 8, 1");
}

TEST_F(CatSetupDialogTest, CancelAndCloseChangeNothing) {
  s.gCATSettings = "4800,N,8,1";
  choose(1.0, "cmbSelectBaudRate", "300");
  click(1.1, "optHandShake", 2);
  click(1.2, "cmdCancel");
  dialog.showModal();
  InputEvent close;
  close.window = "frmCATSetup";
  close.kind = EventKind::Close;
  h.inputAt(2.0, close);
  dialog.showModal();
  EXPECT_EQ(s.gCATSettings, "4800,N,8,1");
  EXPECT_EQ(s.gCATHandshake, "");
  EXPECT_FALSE(h.panel.form.gCATSetupChanged);
  EXPECT_TRUE(h.panel.frm.window.enabled);
}

TEST_F(CatSetupDialogTest, TheMenuReopensTheCatPortOnlyAfterApply) {
  openCatPort("9600,N,8,1", "comNone");
  h.clickAt(0.1, "mnuCATSetup");
  click(0.5, "cmdCancel");
  h.panel.engine.pump(1.0);
  EXPECT_EQ(h.cat.opens(), 1);

  h.clickAt(1.1, "mnuCATSetup");
  choose(1.5, "cmbSelectBaudRate", "4800 ");
  click(1.6, "cmdApply");
  h.panel.engine.pump(1.0);
  EXPECT_EQ(h.cat.opens(), 2);
  EXPECT_TRUE(h.cat.isOpen());
  EXPECT_EQ(h.cat.settings(), "4800 ,N,8,1") << "the framing of the open port, as the dialog showed it";
  EXPECT_FALSE(h.panel.form.gCATSetupChanged);
  EXPECT_TRUE(h.panel.frm.window.enabled);
}

class CatSetupFileTest : public CatSetupDialogTest {
 protected:
  TempWorkDir cwd;
};

TEST_F(CatSetupFileTest, SaveThenLoadRestoresEveryChoiceWithoutApplyingIt) {
  h.probe.present = {1, 7};
  choose(1.0, "cmbSelectPort", "7");
  choose(1.1, "cmbSelectBaudRate", "4800 ");
  choose(1.2, "cmbBits", "O, 7, 1");
  choose(1.3, "cmbRigType", "FT-450");
  click(1.4, "optHandShake", 3);
  click(1.5, "cmdSavePortSettings");
  click(1.6, "cmdCancel");
  dialog.showModal();
  EXPECT_EQ(TempWorkDir::read("CATSetup.txt"),
            "7\r\n4800 ,O, 7, 1\r\ncomRTSXonXoff\r\nFT-450\r\n"
            "Line 1: Port Number, COM1 = 1, COM2 = 2, etc..\r\nLine 2: Baud,Parity,Bits,Stop\r\n"
            "Line 3: comNone, comXonXoff, comRTS, comRTSXonXoff\r\nLine 4: RigType\r\n");
  EXPECT_FALSE(h.panel.form.gCATSetupChanged);

  click(2.0, "cmdLoadPortSettings");
  h.clock.scheduleAt(2.5, [&] {
    EXPECT_EQ(m.cmbSelectPort.text, "7 ");
    EXPECT_EQ(m.cmbSelectBaudRate.text, "4800 ");
    EXPECT_EQ(m.cmbBits.text, "O, 7, 1");
    EXPECT_EQ(m.cmbRigType.text, "FT-450");
    EXPECT_EQ(m.cmbRigType.items.size(), 3u);
    EXPECT_EQ(selectedOption(), 3);
    EXPECT_EQ(m.lblDevice.caption, "dev7");
  });
  click(3.0, "cmdApply");
  dialog.showModal();
  EXPECT_EQ(s.gCATPort, "7 ");
  EXPECT_EQ(s.gCATSettings, "4800 ,O, 7, 1");
  EXPECT_EQ(s.gCATHandshake, "comRTSXonXoff");
}

TEST_F(CatSetupFileTest, TheKenwoodDialectHasItsOwnFileAndTakesEffectOnApply) {
  dialog.Form_Load();
  EXPECT_EQ(m.chkKenwood.value, 0);
  m.chkKenwood.value = 1;
  dialog.cmdSavePortSettings_Click();
  EXPECT_EQ(TempWorkDir::read("CATDialect.txt").rfind("1\r\n", 0), 0u);
  // "CATSetup.txt" keeps its eight lines.
  const std::string setup = TempWorkDir::read("CATSetup.txt");
  EXPECT_EQ(std::count(setup.begin(), setup.end(), '\n'), 8);
  EXPECT_EQ(setup.find("Kenwood dialect"), std::string::npos);
  EXPECT_FALSE(h.panel.cat().kenwoodDialect()) << "Save applies nothing";

  // Opening shows what the port speaks; Load what the file says.
  dialog.Form_Load();
  EXPECT_EQ(m.chkKenwood.value, 0);
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.chkKenwood.value, 1);
  dialog.cmdApply_Click();
  EXPECT_TRUE(h.panel.cat().kenwoodDialect());
  EXPECT_TRUE(h.panel.form.gCATSetupChanged);
  dialog.Form_Load();
  EXPECT_EQ(m.chkKenwood.value, 1);

  // A file that says neither is named and changes nothing.
  TempWorkDir::write("CATDialect.txt", "on\r\n");
  m.chkKenwood.value = 0;
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.chkKenwood.value, 0);
  EXPECT_NE(h.panel.frm.txtInfo.text.find("CATDialect.txt"), std::string::npos) << h.panel.frm.txtInfo.text;
  m.chkKenwood.value = 0;
  dialog.cmdApply_Click();
  EXPECT_FALSE(h.panel.cat().kenwoodDialect());
}

TEST_F(CatSetupFileTest, OpeningShowsTheHandshakingThePortRunsWithAndSaveKeepsIt) {
  const std::tuple<const char*, int, const char*> cases[] = {{"comNone", 0, "comNone"},
                                                             {"comXonXoff", 0, "comNone"},
                                                             {"comRTS", 2, "comRTS"},
                                                             {"comRTSXonXoff", 2, "comRTS"}};
  for (const auto& [applied, shown, saved] : cases) {
    openCatPort("9600,N,8,1", applied);
    dialog.Form_Load();
    EXPECT_EQ(selectedOption(), shown) << applied;
    dialog.cmdSavePortSettings_Click();
    EXPECT_EQ(TempWorkDir::read("CATSetup.txt").rfind(std::string("2\r\n9600,N,8,1\r\n") + saved + "\r\n", 0), 0u)
        << applied;
  }
}

TEST_F(CatSetupFileTest, LoadSplitsTheSettingsAndTakesAnyRigType) {
  writeCatSetup({"12", "4800,E,7,1", "comrts", "Homebrew"});
  dialog.Form_Load();
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.cmbSelectPort.text, "12");
  EXPECT_EQ(m.cmbSelectBaudRate.text, "4800");
  EXPECT_EQ(m.cmbBits.text, "E,7,1");
  EXPECT_EQ(m.cmbRigType.items, (Items{"Kenwood", "Elecraft", "FT-450", "Homebrew"}));
  EXPECT_EQ(m.cmbRigType.text, "Homebrew");
  EXPECT_EQ(selectedOption(), 0) << "handshake names match exactly";

  // Only four fields; a line without framing keeps the framing shown.
  writeCatSetup({"3", "600,N,8,1,extra", "comXonXoff", "Kenwood"});
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.cmbBits.text, "N,8,1,extra");
  writeCatSetup({"3", "300", "comXonXoff", "Kenwood"});
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.cmbSelectBaudRate.text, "300");
  EXPECT_EQ(m.cmbBits.text, "N,8,1,extra");
  EXPECT_EQ(selectedOption(), 1);
}

TEST_F(CatSetupFileTest, LoadWithoutFileLeavesTheDialogAsItWas) {
  dialog.Form_Load();
  choose(1.0, "cmbSelectBaudRate", "300");
  click(1.1, "cmdLoadPortSettings");
  click(1.2, "cmdCancel");
  h.panel.engine.runModal(m, h.panel.frm);
  EXPECT_EQ(m.cmbSelectBaudRate.text, "300");
  EXPECT_EQ(m.cmbRigType.text, "Kenwood");
}

TEST_F(CatSetupFileTest, SaveFailureIsReportedAndTheDialogStaysOpen) {
  std::filesystem::create_directory("CATSetup.txt");
  h.panel.frm.txtInfo.text.clear();
  click(1.0, "cmdSavePortSettings");
  bool stillOpen = false;
  h.clock.scheduleAt(1.5, [&] { stillOpen = m.window.visible; });
  click(2.0, "cmdCancel");
  dialog.showModal();
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(h.panel.frm.txtInfo.text.rfind("CATSetup.txt: Err ", 0), 0u) << h.panel.frm.txtInfo.text;
  EXPECT_FALSE(h.panel.form.gCATSetupChanged);
}

}  // namespace
}  // namespace zr::test

namespace zr::test {
namespace {

// The port part is shared with the radio dialog; here only that the CAT
// dialog takes its devices the same way and keeps off the radio's number.
TEST_F(CatSetupFileTest, ADeviceIsLinkedUnderANumberTheRadioPortDoesNotUse) {
  s.gRadioPort = "1";
  dialog.setDeviceLister([] { return std::vector<SerialDevice>{{"/dev/ttyACM0", "ttyACM0", false}}; });
  choose(1.0, "cmbDevice", "/dev/ttyACM0 - no access");
  h.clock.scheduleAt(1.5, [&] { EXPECT_EQ(m.lblDevice.caption, "dev2"); });
  click(2.0, "cmdApply");
  dialog.showModal();
  EXPECT_EQ(s.gCATPort, "2");
  EXPECT_EQ(std::filesystem::read_symlink("COM2"), "/dev/ttyACM0");
  EXPECT_TRUE(h.panel.form.gCATSetupChanged);
}

}  // namespace
}  // namespace zr::test
