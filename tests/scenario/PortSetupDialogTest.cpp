// The radio port dialog driven through the engine as the operator would: clicks
// are queued at virtual times and the dialog runs in its own modal loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/MainMenus.h"
#include "core/RadioLink.h"
#include "core/SettingsFiles.h"
#include "setup/PortList.h"
#include "setup/PortSetupDialog.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

class PortSetupDialogTest : public ::testing::Test {
 protected:
  // Operator input on the dialog at virtual time `at`.
  void input(double at, const std::string& control, int index = -1, std::optional<std::string> text = {},
             std::optional<int> value = {}, EventKind kind = EventKind::Click) {
    InputEvent e;
    e.window = "frmPortSetup";
    e.control = control;
    e.index = index;
    e.kind = kind;
    e.text = std::move(text);
    e.value = value;
    h.inputAt(at, std::move(e));
  }
  void click(double at, const std::string& control, int index = -1) { input(at, control, index); }
  void choose(double at, const std::string& combo, const std::string& text) { input(at, combo, -1, text); }
  void tick(double at, bool on) { input(at, "chkExtPTTEna", -1, {}, on ? 1 : 0); }
  int selectedOption() const {
    for (const Control& c : m.optHandShake)
      if (c.selected()) return c.index;
    return -1;
  }

  PortSetupDialogTest() {
    h.panel.describePort = [](int n) { return "dev" + std::to_string(n); };
  }

  EngineHarness h;
  Settings& settings = h.panel.settings;
  PortSetupDialog& dialog = h.panel.menus().portSetup();
  PortSetupWindowModel& m = dialog.model();
};

TEST_F(PortSetupDialogTest, FindPortsListsOnlyPortsOneToSixteenThatAnswer) {
  Control list = makeControl(ControlKind::ComboBox, "cmbSelectPort");
  Control found = makeControl(ControlKind::TextBox, "txtFound");
  list.items = {"9"};
  list.text = "9";

  h.probe.present = {1, 3, 17};
  findPorts(h.panel, list, found);
  EXPECT_EQ(list.items, (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(list.text, "");
  EXPECT_EQ(found.text, "1, 3, ");
  EXPECT_EQ(h.probe.probes, 16);

  h.probe.present = {17, 20};
  findPorts(h.panel, list, found);
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(found.text, "No Ports");
}

TEST_F(PortSetupDialogTest, LoadShowsTheOpenRadioPortAndItsSettings) {
  h.openRadioPort("9600 ,O,7,1");
  settings.gRadioHandshake = "comRTSXonXoff";
  settings.gExtPttEnabled = true;

  h.probe.present = {2, 5};
  dialog.Form_Load();
  EXPECT_EQ(m.cmbSelectPort.items, (std::vector<std::string>{"2", "5", "1"}));
  EXPECT_EQ(m.cmbSelectPort.text, "1");
  EXPECT_EQ(m.txtFound.text, "2, 5, ");
  EXPECT_EQ(m.cmbSelectBaudRate.text, "9600 ");
  EXPECT_EQ(selectedOption(), 0) << "opened by the harness without handshaking";
  EXPECT_TRUE(m.chkExtPTTEna.selected());
  EXPECT_EQ(m.lblDevice.caption, "dev1");

  // A probe that still sees the open port must not list it twice.
  h.probe.present = {1, 2};
  dialog.Form_Load();
  EXPECT_EQ(m.cmbSelectPort.items, (std::vector<std::string>{"1", "2"}));
}

TEST_F(PortSetupDialogTest, LoadWithNoPortsAndClosedRadioPortStartsFromDesignValues) {
  h.probe.present = {};
  m.chkExtPTTEna.value = 1;  // left over from an earlier opening
  m.cmbSelectPort.text = "4";
  dialog.Form_Load();
  EXPECT_TRUE(m.cmbSelectPort.items.empty());
  EXPECT_EQ(m.cmbSelectPort.text, "");
  EXPECT_EQ(m.txtFound.text, "No Ports");
  EXPECT_FALSE(m.chkExtPTTEna.selected());
  EXPECT_EQ(selectedOption(), 0);
  EXPECT_EQ(m.lblDevice.caption, "");
  EXPECT_FALSE(m.window.visible);
}

TEST_F(PortSetupDialogTest, ApplyHandsTheChoiceToTheServiceLoopAndCloses) {
  h.openRadioPort();
  bool mainDisabledMeanwhile = false;
  h.clock.scheduleAt(0.5, [&] { mainDisabledMeanwhile = !h.panel.frm.window.enabled && m.window.visible; });
  choose(1.0, "cmbSelectBaudRate", "9600 ");
  click(1.1, "optHandShake", 2);
  click(1.2, "cmdApply");
  dialog.showModal();

  EXPECT_TRUE(mainDisabledMeanwhile);
  EXPECT_EQ(settings.gRadioSettings, "9600 ,O,7,1");
  EXPECT_EQ(settings.gRadioHandshake, "comRTS");
  EXPECT_EQ(settings.gRadioPort, "1");
  EXPECT_TRUE(h.panel.form.gPortSetupDone);
  EXPECT_FALSE(m.window.visible);
  EXPECT_TRUE(h.panel.frm.window.enabled);
  EXPECT_NEAR(h.now(), 1.2, 0.05);
}

TEST_F(PortSetupDialogTest, ApplySetsOrClearsExternalPttAsTicked) {
  settings.gExtPttEnabled = true;
  h.panel.form.extPttIdle = false;  // DSR held when the operator switches it off
  tick(1.0, false);
  click(1.1, "cmdApply");
  dialog.showModal();
  EXPECT_FALSE(settings.gExtPttEnabled);
  EXPECT_TRUE(h.panel.form.extPttIdle);

  tick(2.0, true);
  click(2.1, "cmdApply");
  dialog.showModal();
  EXPECT_TRUE(settings.gExtPttEnabled);
}

TEST_F(PortSetupDialogTest, CancelAndCloseChangeNothing) {
  h.openRadioPort();
  const Settings before = settings;
  choose(1.0, "cmbSelectBaudRate", "300");
  click(1.1, "optHandShake", 2);
  tick(1.2, true);
  click(1.3, "cmdCancel");
  dialog.showModal();

  input(2.0, "cmbSelectPort", -1, std::string("2"));
  input(2.1, "", -1, {}, {}, EventKind::Close);
  dialog.showModal();

  EXPECT_EQ(settings.gRadioPort, before.gRadioPort);
  EXPECT_EQ(settings.gRadioSettings, before.gRadioSettings);
  EXPECT_EQ(settings.gRadioHandshake, before.gRadioHandshake);
  EXPECT_EQ(settings.gExtPttEnabled, before.gExtPttEnabled);
  EXPECT_FALSE(h.panel.form.gPortSetupDone);
  EXPECT_FALSE(m.window.visible);
  EXPECT_TRUE(h.panel.frm.window.enabled);
}

TEST_F(PortSetupDialogTest, PortChoiceShowsWhereThePortLeads) {
  h.probe.present = {1, 3};
  dialog.Form_Load();
  EXPECT_EQ(m.lblDevice.caption, "");
  input(1.0, "cmbSelectPort", -1, std::string("3"));
  h.clock.scheduleAt(1.5, [&] { EXPECT_EQ(m.lblDevice.caption, "dev3"); });
  input(2.0, "cmbSelectPort", -1, std::string("COM"));
  click(2.1, "cmdCancel");
  h.panel.engine.runModal(m, h.panel.frm);
  EXPECT_EQ(m.lblDevice.caption, "");
}

class PortSetupFileTest : public PortSetupDialogTest {
 protected:
  TempWorkDir cwd;
};

TEST_F(PortSetupFileTest, SaveThenLoadRestoresTheChoiceWithoutApplyingIt) {
  h.probe.present = {1, 3};
  choose(1.0, "cmbSelectPort", "3");
  choose(1.1, "cmbSelectBaudRate", "4800 ");
  click(1.2, "optHandShake", 3);
  tick(1.3, true);
  click(1.4, "cmdSavePortSettings");
  click(1.5, "cmdCancel");
  dialog.showModal();

  const std::string saved = TempWorkDir::read("PortSetup.txt");
  EXPECT_EQ(saved.rfind("3\r\n4800 ,O,7,1\r\ncomRTSXonXoff\r\n1\r\nLine 1: ", 0), 0u) << saved;
  EXPECT_EQ(settings.gRadioSettings, "");
  EXPECT_FALSE(h.panel.form.gPortSetupDone);

  click(2.0, "cmdLoadPortSettings");
  h.clock.scheduleAt(2.5, [&] {
    EXPECT_EQ(m.cmbSelectPort.text, "3 ");
    EXPECT_EQ(m.cmbSelectBaudRate.text, "4800 ");
    EXPECT_EQ(selectedOption(), 3);
    EXPECT_TRUE(m.chkExtPTTEna.selected());
    EXPECT_EQ(m.lblDevice.caption, "dev3");
  });
  click(3.0, "cmdApply");
  dialog.showModal();
  EXPECT_EQ(settings.gRadioPort, "3 ");
  EXPECT_EQ(settings.gRadioSettings, "4800 ,O,7,1");
  EXPECT_EQ(settings.gRadioHandshake, "comRTSXonXoff");
  EXPECT_TRUE(settings.gExtPttEnabled);
}

TEST_F(PortSetupFileTest, OpeningShowsTheHandshakingThePortRunsWithAndSaveKeepsIt) {
  const struct {
    const char* applied;
    int shown;
    const char* saved;
  } cases[] = {{"comNone", 0, "comNone"},
               {"comXonXoff", 0, "comNone"},
               {"comRTS", 2, "comRTS"},
               {"comRTSXonXoff", 2, "comRTS"},
               {"comrts", 0, "comNone"}};
  h.attachSimulator(2);
  settings.gRadioPort = "1";
  settings.gRadioSettings = "9600 ,O,7,1";
  for (const auto& c : cases) {
    settings.gRadioHandshake = c.applied;
    ASSERT_TRUE(h.panel.link().SetUpRadioPort());
    dialog.Form_Load();
    EXPECT_EQ(selectedOption(), c.shown) << c.applied;
    dialog.cmdSavePortSettings_Click();
    const std::string saved = TempWorkDir::read("PortSetup.txt");
    EXPECT_EQ(saved.substr(0, saved.find("\r\nLine 1")), std::string("1\r\n9600 ,O,7,1\r\n") + c.saved + "\r\n0")
        << c.applied;
  }
}

TEST_F(PortSetupFileTest, LoadTakesTwoCharactersOfThePortAndMatchesHandshakeExactly) {
  writePortSetup({"12", "2400,O,7,1", "comrts", "0"});
  dialog.Form_Load();
  m.chkExtPTTEna.value = 1;
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.cmbSelectPort.text, "12");
  EXPECT_EQ(m.cmbSelectBaudRate.text, "2400");
  EXPECT_EQ(selectedOption(), 0);
  EXPECT_FALSE(m.chkExtPTTEna.selected());

  writePortSetup({"3", "600", "comXonXoff", "1"});
  dialog.cmdLoadPortSettings_Click();
  EXPECT_EQ(m.cmbSelectPort.text, "3 ");
  EXPECT_EQ(m.cmbSelectBaudRate.text, "600");
  EXPECT_EQ(selectedOption(), 1);
  EXPECT_TRUE(m.chkExtPTTEna.selected());
}

TEST_F(PortSetupFileTest, LoadWithoutFileLeavesTheDialogAsItWas) {
  dialog.Form_Load();
  choose(1.0, "cmbSelectBaudRate", "300");
  click(1.1, "cmdLoadPortSettings");
  click(1.2, "cmdCancel");
  dialog.Form_Load();
  h.panel.engine.runModal(m, h.panel.frm);
  EXPECT_EQ(m.cmbSelectBaudRate.text, "300");
  EXPECT_EQ(selectedOption(), 0);
}

TEST_F(PortSetupFileTest, SaveFailureIsReportedAndTheDialogStaysOpen) {
  std::filesystem::create_directory("PortSetup.txt");
  h.panel.frm.txtInfo.text.clear();
  click(1.0, "cmdSavePortSettings");
  bool stillOpen = false;
  h.clock.scheduleAt(1.5, [&] { stillOpen = m.window.visible; });
  click(2.0, "cmdCancel");
  dialog.showModal();

  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(h.panel.frm.txtInfo.text.rfind("PortSetup.txt: Err ", 0), 0u) << h.panel.frm.txtInfo.text;
  EXPECT_TRUE(h.panel.frm.txtInfo.visible);
  EXPECT_TRUE(std::filesystem::is_directory("PortSetup.txt"));
  EXPECT_FALSE(h.panel.form.gPortSetupDone);
}

}  // namespace
}  // namespace zr::test

namespace zr::test {
namespace {

class PortSetupDeviceTest : public PortSetupFileTest {
 protected:
  PortSetupDeviceTest() {
    dialog.setDeviceLister([] {
      return std::vector<SerialDevice>{{"/dev/serial/by-id/usb-FTDI_A1-port0", "ttyUSB0", true},
                                       {"/dev/ttyS0", "ttyS0", true}};
    });
  }
  static constexpr const char* kAdapter = "/dev/serial/by-id/usb-FTDI_A1-port0 (ttyUSB0)";
};

TEST_F(PortSetupDeviceTest, ADeviceBecomesTheNextFreeNumberedPortAndSaveKeepsTheNumber) {
  // 1 is the built-in ttyS0, 2 the CAT port's, 3 has a COM3 of its own.
  settings.gCATPort = "2";
  TempWorkDir::write("COM3", "x");
  choose(1.0, "cmbDevice", kAdapter);
  h.clock.scheduleAt(1.5, [&] {
    EXPECT_EQ(m.cmbSelectPort.text, "4");
    EXPECT_EQ(m.lblDevice.caption, "dev4");
  });
  click(2.0, "cmdSavePortSettings");
  click(2.1, "cmdCancel");
  dialog.showModal();
  EXPECT_EQ(std::filesystem::read_symlink("COM4"), "/dev/serial/by-id/usb-FTDI_A1-port0");
  EXPECT_EQ(TempWorkDir::read("PortSetup.txt").rfind("4\r\n", 0), 0u);
  EXPECT_EQ(settings.gRadioPort, "");  // chosen, saved, not applied

  // Chosen again, and the built-in port: the numbers they already have.
  choose(3.0, "cmbDevice", kAdapter);
  h.clock.scheduleAt(3.5, [&] { EXPECT_EQ(m.cmbSelectPort.text, "4"); });
  choose(4.0, "cmbDevice", "/dev/ttyS0");
  click(4.5, "cmdApply");
  dialog.showModal();
  EXPECT_EQ(settings.gRadioPort, "1");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status("COM5")));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status("COM1")));
}

TEST_F(PortSetupDeviceTest, WithEveryNumberTakenTheDialogSaysSoAndKeepsThePort) {
  for (int n = 1; n <= 16; ++n) TempWorkDir::write("COM" + std::to_string(n), "x");
  choose(1.0, "cmbDevice", kAdapter);
  h.clock.scheduleAt(1.5, [&] {
    EXPECT_EQ(m.cmbSelectPort.text, "");
    EXPECT_NE(m.lblDevice.caption.find("No port number from 1 to 16 is free"), std::string::npos);
  });
  click(2.0, "cmdCancel");
  dialog.showModal();
}

TEST_F(PortSetupDialogTest, WithoutDevicesTheDeviceListIsEmptyAndDisabled) {
  dialog.Form_Load();
  EXPECT_TRUE(m.cmbDevice.items.empty());
  EXPECT_FALSE(m.cmbDevice.enabled);
}

}  // namespace
}  // namespace zr::test
