// End to end on the real clock: the channel window over the termios backend
// against zr3817-sim on a pseudo-terminal. Store three channels, Load them
// back, Verify; then a channel changes in the simulator and Verify says so.
// A full Load takes 100 x 0.25 s, so this test takes about half a minute.
// On a loaded machine a reply may come after its 0.25 s wait; it still
// counts for its channel, and the last one gets the reply timeout, so the
// outcomes below hold with up to about a second of delay.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "TempDir.h"
#include "core/MainMenus.h"
#include "lists/ChannelSetupDialog.h"

namespace zr::test {
namespace {

using namespace std::chrono_literals;

TEST(ChannelSimTest, StoreLoadAndVerifyAgainstTheSimulator) {
  TempDir dir;
  const auto plan = dir.path() / "plan.txt";
  const auto log = dir.path() / "sim.log";
  std::ofstream(plan).close();  // every channel empty
  SimulatorProcess sim(dir.path(), {"--channels", plan.string(), "--log", log.string()});
  for (int i = 0; i < 1500 && !std::filesystem::exists(dir.path() / "COM1"); ++i) std::this_thread::sleep_for(20ms);

  PanelOnPty run(dir.path());
  ASSERT_TRUE(run.openRadioPort()) << run.panel.frm.txtInfo.text;

  ChannelSetupDialog& dialog = run.panel.menus().channelSetup();
  ChannelSetupWindowModel& m = dialog.model();
  dialog.Form_Load();
  const std::vector<std::string> list = {"0507074002", "1214074004", "3321074001"};
  m.lsbChList.items = list;
  dialog.cmdStore_Click();
  EXPECT_EQ(m.lblStatus.caption, "Store: 3 channels sent, 3 confirmed by the radio.");

  m.lsbChList.items.clear();
  dialog.cmdLoad_Click();
  EXPECT_EQ(m.lsbChList.items, list);
  EXPECT_EQ(m.lblStatus.caption, "Load: 3 channels read, 97 empty.");

  dialog.cmdVerify_Click();
  EXPECT_EQ(m.lblStatus.caption, "Verify: 3 channels match the radio.");

  std::ofstream(plan, std::ios::trunc) << "12,14075.00,CW\r\n";
  ASSERT_EQ(::kill(sim.pid(), SIGHUP), 0);
  // The simulator takes the signal in its own time.
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  do {
    std::this_thread::sleep_for(100ms);
    dialog.cmdVerify_Click();
  } while (m.lsbVerify.items.front() == "No differences." && std::chrono::steady_clock::now() < deadline);
  EXPECT_EQ(m.lsbVerify.items, std::vector<std::string>{"12: other frequency (radio 14075.00 CW, list 14074.00 CW)"});
  EXPECT_EQ(m.lblStatus.caption, "Verify: 1 of 3 channels differ from the radio.");
  run.radio.close();

  // What reached the simulator: the stores, the 100 requests, the verify requests.
  auto commands = loggedCommands(log);
  // Every open of the radio port starts with the unkey.
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.front(), "U");
  commands.erase(commands.begin());
  ASSERT_GE(commands.size(), 3u + 100u + 6u);
  EXPECT_EQ(std::vector<std::string>(commands.begin(), commands.begin() + 3),
            (std::vector<std::string>{"P0507074002", "P1214074004", "P3321074001"}));
  for (int n = 0; n < 100; ++n) {
    char expected[8];
    std::snprintf(expected, sizeof expected, "L%02d", n);
    EXPECT_EQ(commands[3 + static_cast<std::size_t>(n)], expected);
  }
  EXPECT_EQ(std::vector<std::string>(commands.begin() + 103, commands.begin() + 106),
            (std::vector<std::string>{"L05", "L12", "L33"}));
}

}  // namespace
}  // namespace zr::test
