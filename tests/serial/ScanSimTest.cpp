// Both scanners end to end, on the real clock: the whole panel on its own
// thread with the termios backend, zr3817-sim on a pseudo-terminal logging
// what it receives, and the operator's clicks posted as the view would.
// Deadlines are generous: the machine may be busy.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

using namespace std::chrono_literals;

// Keeps the latest snapshot for the test thread to read.
class SnapshotHost : public zr::NullHost {
 public:
  bool showsWindows() const override { return true; }
  void publish(std::shared_ptr<const Snapshot> snapshot) override {
    std::lock_guard lock(mutex_);
    latest_ = std::move(snapshot);
  }
  std::shared_ptr<const Snapshot> latest() {
    std::lock_guard lock(mutex_);
    return latest_;
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<const Snapshot> latest_;
};

struct LogLine {
  double time;
  std::string command;
};

class ScanSimTest : public ::testing::Test {
 protected:
  ScanSimTest() {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    TempWorkDir::write("ScanFreqs.txt", "7.1 USB forty\r\n\r\n14.2 LSB twenty\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                                        "\r\n\r\n1\r\n");
  }
  ~ScanSimTest() override {
    if (engine_.joinable()) {
      panel.engine.requestQuit();
      engine_.join();
    }
  }

  void start() {
    for (int i = 0; i < 2000 && !std::filesystem::exists(here / "COM1"); ++i) std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(std::filesystem::exists(here / "COM1"));
    engine_ = std::thread([this] { panel.run(); });
  }
  void stopProgram() {
    post("frmZR3817", "", EventKind::Close);
    engine_.join();
  }

  void post(const std::string& window, const std::string& control, EventKind kind = EventKind::Click,
            int index = -1, std::optional<int> value = {}, std::optional<std::string> text = {}) {
    InputEvent e;
    e.window = window;
    e.control = control;
    e.kind = kind;
    e.index = index;
    e.value = value;
    e.text = std::move(text);
    panel.engine.post(std::move(e));
  }

  // The control as last published, or nullptr.
  std::optional<Control> shown(const std::string& window, const std::string& control, int index = -1) {
    const auto snapshot = host.latest();
    const WindowModel* w = snapshot ? snapshot->find(window) : nullptr;
    const Control* c = w ? w->find(control, index) : nullptr;
    return c ? std::optional<Control>(*c) : std::nullopt;
  }
  bool eventually(const std::function<bool()>& ready, std::chrono::seconds timeout = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      if (ready()) return true;
      std::this_thread::sleep_for(20ms);
    }
    return ready();
  }
  bool visible(const std::string& window) {
    auto w = shown(window, "");
    return w && w->visible;
  }
  bool mainEnabled() {
    auto w = shown("frmZR3817", "");
    return w && w->enabled;
  }

  std::vector<LogLine> simLog() {
    std::vector<LogLine> out;
    std::ifstream in(here / "sim.log");
    for (std::string line; std::getline(in, line);) {
      std::istringstream fields(line);
      LogLine l;
      fields >> l.time;
      std::getline(fields, l.command);
      if (!l.command.empty() && l.command.front() == ' ') l.command.erase(0, 1);
      out.push_back(l);
    }
    return out;
  }

  TempWorkDir dir;
  std::filesystem::path here = std::filesystem::current_path();
  SimulatorProcess sim{here, {"--log", (here / "sim.log").string()}};
  SnapshotHost host;
  PanelOnPty run{here, &host};
  Panel& panel = run.panel;
  std::thread engine_;
};

TEST_F(ScanSimTest, BandAndListScansReachTheTransceiverAndStopLeavesThePanelUsable) {
  start();
  ASSERT_TRUE(eventually([&] {
    auto menu = shown("frmZR3817", "mnuScanBands");
    return menu && menu->enabled;
  })) << "the panel never heard the simulator";

  // A band scan of a few 1 kHz steps from 14.000 MHz.
  post("frmZR3817", "mnuScanBands");
  ASSERT_TRUE(eventually([&] { return visible("frmScanBands"); }));
  post("frmScanBands", "cmd20M");
  post("frmScanBands", "Option1", EventKind::Click, 4);
  post("frmScanBands", "cmdScanUp");
  ASSERT_TRUE(eventually([&] {
    auto f = shown("frmScanBands", "txtFreq");
    return f && f->text >= "F14003000";
  }));
  post("frmScanBands", "cmdStop");
  ASSERT_TRUE(eventually([&] {
    auto scan = shown("frmScanBands", "cmdScanUp");
    return scan && scan->enabled;
  }));
  post("frmScanBands", "", EventKind::Close);
  ASSERT_TRUE(eventually([&] { return !visible("frmScanBands") && mainEnabled(); }));

  // A list scan of rows 0 and 2, one second on each, for two cycles.
  post("frmZR3817", "mnuScanFreqs");
  ASSERT_TRUE(eventually([&] { return visible("frmScanFreqs"); }));
  post("frmScanFreqs", "Check1", EventKind::Click, 0, 1);
  post("frmScanFreqs", "Check1", EventKind::Click, 2, 1);
  post("frmScanFreqs", "cmdScan");
  ASSERT_TRUE(eventually([&] {
    int rows = 0;
    for (const auto& l : simLog())
      if (l.command == "F1420000") ++rows;
    return rows >= 4;  // row 2 twice, each after its mode change
  }));
  post("frmScanFreqs", "cmdStop");
  ASSERT_TRUE(eventually([&] {
    auto scan = shown("frmScanFreqs", "cmdScan");
    return scan && scan->visible;
  }));
  post("frmScanFreqs", "", EventKind::Close);
  ASSERT_TRUE(eventually([&] { return !visible("frmScanFreqs") && mainEnabled(); }));
  EXPECT_TRUE(eventually([&] {
    auto band = shown("frmZR3817", "lblInBand");
    auto ptt = shown("frmZR3817", "cmdPTT");
    return band && band->caption != "Scanning" && ptt && ptt->enabled;
  }));

  // The service loop serves the operator again.
  const double before = simLog().empty() ? 0 : simLog().back().time;
  post("frmZR3817", "cmbMode", EventKind::Click, -1, std::nullopt, std::string("CW"));
  EXPECT_TRUE(eventually([&] {
    for (const auto& l : simLog())
      if (l.time > before && l.command == "M4") return true;
    return false;
  }));
  stopProgram();

  const auto log = simLog();
  std::vector<std::string> band20;
  for (const auto& l : log)
    if (l.command.rfind("F140", 0) == 0) band20.push_back(l.command);
  ASSERT_GE(band20.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(band20[i], "F1400" + std::to_string(i) + "00");

  std::vector<std::string> list;
  for (const auto& l : log)
    if (l.command == "F0710000" || l.command == "F1420000" || l.command == "M1" || l.command == "M2")
      list.push_back(l.command);
  const std::vector<std::string> cycle = {"F0710000", "M2", "F0710000", "F1420000",
                                          "M1",       "F1420000", "F0710000"};
  ASSERT_GE(list.size(), cycle.size());
  EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + cycle.size()), cycle);
  bool syncDuringList = false;
  for (const auto& l : log) syncDuringList = syncDuringList || l.command == "U";
  EXPECT_TRUE(syncDuringList);
}

}  // namespace
}  // namespace zr::test
