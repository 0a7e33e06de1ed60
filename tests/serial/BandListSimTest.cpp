// End to end on the real clock: the panel with its termios backend against
// zr3817-sim over a pseudo-terminal. Pressing "40" and choosing the row
// "7.074 lsb" puts the frequency and the LSB mode command in the simulator's
// log and 7 074.00 kHz on VFO A. Deadlines are generous: the machine may be
// busy, and only the outcome is checked, never the speed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "core/Host.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

using namespace std::chrono_literals;

// Keeps the latest models the engine published, for the test thread.
class SnapshotHost : public Host {
 public:
  void publish(std::shared_ptr<const Snapshot> s) override {
    std::lock_guard lock(mutex_);
    latest_ = std::move(s);
    changed_.notify_all();
  }
  void beep() override {}
  void messageBox(const std::string&, const std::string&) override {}
  std::optional<std::string> fileDialog(const FileDialogRequest&) override { return std::nullopt; }
  void openHelp(const std::string&) override {}
  void quit() override {}

  // Waits until `ready` holds for a published snapshot.
  bool waitFor(const std::function<bool(const Snapshot&)>& ready, std::chrono::seconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return latest_ && ready(*latest_); });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::shared_ptr<const Snapshot> latest_;
};

std::string caption(const Snapshot& s, const std::string& window, const std::string& control, int index = -1) {
  const WindowModel* w = s.find(window);
  const Control* c = w ? w->find(control, index) : nullptr;
  return c ? c->caption : std::string();
}

std::string vfoA(const Snapshot& s) {
  std::string digits;
  for (int i = 0; i < 7; ++i) digits += caption(s, "frmZR3817", "cmdF", i);
  return digits;
}

bool visible(const Snapshot& s, const std::string& window) {
  const WindowModel* w = s.find(window);
  return w && w->window.visible;
}

InputEvent click(const std::string& window, const std::string& control, int index = -1) {
  InputEvent e;
  e.window = window;
  e.control = control;
  e.index = index;
  return e;
}

TEST(BandListSim, ChosenRowTunesTheSimulatedTransceiver) {
  TempWorkDir dir;
  const auto here = std::filesystem::current_path();
  TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
  TempWorkDir::write("M40List.txt", "7.074 lsb\r\n");
  SimulatorProcess sim(here, {"--log", (here / "sim.log").string()});
  for (int i = 0; i < 300 && !std::filesystem::exists("COM1"); ++i) std::this_thread::sleep_for(100ms);
  ASSERT_TRUE(std::filesystem::exists("COM1"));

  SnapshotHost host;
  PanelOnPty run(here, &host);
  Panel& panel = run.panel;
  std::thread engine([&] { panel.run(); });
  struct Stop {
    Panel& panel;
    std::thread& engine;
    ~Stop() {
      panel.engine.requestQuit();
      engine.join();
    }
  } stop{panel, engine};

  ASSERT_TRUE(host.waitFor(
      [](const Snapshot& s) {
        return caption(s, "frmZR3817", "lblREMOTE") == "REMOTE" && vfoA(s) == "1425000";
      },
      60s));
  panel.engine.post(click("frmZR3817", "cmd40M"));
  ASSERT_TRUE(host.waitFor([](const Snapshot& s) { return visible(s, "frmBandSelect"); }, 60s));
  panel.engine.post(click("frmBandSelect", "Option1", 0));
  ASSERT_TRUE(host.waitFor([](const Snapshot& s) { return vfoA(s) == "0707400"; }, 60s));
  panel.engine.post(click("frmBandSelect", "cmdExit"));
  ASSERT_TRUE(host.waitFor(
      [](const Snapshot& s) { return !visible(s, "frmBandSelect") && s.find("frmZR3817")->window.enabled; }, 60s));

  const auto commands = loggedCommands(here / "sim.log");
  const auto f = std::find(commands.begin(), commands.end(), "F0707400");
  ASSERT_NE(f, commands.end());
  EXPECT_NE(std::find(f, commands.end(), "M2"), commands.end());
}

}  // namespace
}  // namespace zr::test
