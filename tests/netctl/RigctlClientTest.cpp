// The real station-side client: rigctl with the network model, against the
// panel's engine, the simulator executable on a pseudo-terminal and the rig
// server on a free loopback port. Real time: every wait ends as soon as what
// it waits for has happened, and its bound holds on a busy machine.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/Eventually.h"
#include "support/RigctlOutput.h"
#include "PanelWithRigServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "core/InputEvent.h"
#include "core/Panel.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigServer.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
constexpr double kPatience = 60.0;


using RigctlClientTest = PanelWithRigServer;

TEST_F(RigctlClientTest, FrequencyModeAndPttThroughThePanel) {
  // The simulator starts on 14 250.00 kHz USB.
  EXPECT_EQ(rigctl("f m v s"), "14250000\nUSB\n2400\nVFOA\n0\nVFOA\n");

  // A setting is answered at once; the next query, even from another
  // client, sees it, and the transceiver gets it.
  EXPECT_EQ(rigctl("F 7074000"), "");
  EXPECT_EQ(rigctl("f"), "7074000\n");
  EXPECT_TRUE(eventually([&] { return simReceived("F0707400"); }));

  EXPECT_EQ(rigctl("M LSB 2400"), "");
  EXPECT_EQ(rigctl("m"), "LSB\n2400\n");
  EXPECT_TRUE(eventually([&] { return simReceived("M2"); }));
  EXPECT_TRUE(eventually([&] { return backend_->view().mode == "M2"; }));

  // Keyed while the client holds it, unkeyed by its T 0.
  const std::string port = std::to_string(server_->port());
  FILE* client = ::popen(("timeout 60 rigctl -m 2 -r 127.0.0.1:" + port + " > /dev/null 2>&1").c_str(), "w");
  ASSERT_NE(client, nullptr);
  std::fputs("T 1\n", client);
  std::fflush(client);
  EXPECT_TRUE(eventually([&] { return lastKey() == "K"; }));
  EXPECT_TRUE(eventually([&] { return backend_->view().transmitting; }));
  EXPECT_EQ(rigctl("t"), "1\n");
  std::fputs("T 0\n", client);
  std::fflush(client);
  EXPECT_TRUE(eventually([&] { return lastKey() == "U"; }));
  std::fputs("q\n", client);
  ::pclose(client);
  EXPECT_TRUE(eventually([&] { return !backend_->view().transmitting; }));
  EXPECT_EQ(rigctl("t"), "0\n");

  // A client that keys and goes away leaves the transmitter unkeyed.
  auto keyDowns = [&] {
    const auto c = simCommands();
    return std::count(c.begin(), c.end(), "K");
  };
  const auto before = keyDowns();
  EXPECT_EQ(rigctl("T 1"), "");
  EXPECT_TRUE(eventually([&] { return keyDowns() > before && lastKey() == "U"; }));
  EXPECT_TRUE(eventually([&] { return !backend_->view().transmitting; }));
}

// A client that stays connected, as station programs do: commands written to
// rigctl's input, its answers collected in a file.
class RigctlSession {
 public:
  RigctlSession(int port, const fs::path& out) : out_(out) {
    pipe_ = ::popen(("timeout 120 rigctl -m 2 -r 127.0.0.1:" + std::to_string(port) + " > " + out.string() + " 2>&1").c_str(),
                    "w");
  }
  ~RigctlSession() { quit(); }
  bool running() const { return pipe_ != nullptr; }
  void send(const std::string& line) {
    std::fputs((line + "\n").c_str(), pipe_);
    std::fflush(pipe_);
  }
  void quit() {
    if (!pipe_) return;
    send("q");
    ::pclose(pipe_);
    pipe_ = nullptr;
  }
  std::string output() const {
    std::ifstream in(out_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool said(const std::string& text) const { return output().find(text) != std::string::npos; }

 private:
  fs::path out_;
  FILE* pipe_ = nullptr;
};

TEST_F(RigctlClientTest, SplitTheWayADigitalModeProgramTunesWithIt) {
  RigctlSession client(server_->port(), dir_ / "client.out");
  ASSERT_TRUE(client.running());
  for (const char* line : {"S 1 VFOB", "V VFOB", "F 7074000", "V VFOA", "X USB -1", "s", "i", "x"}) client.send(line);
  ASSERT_TRUE(eventually([&] { return client.said("TX Mode: USB"); })) << client.output();
  EXPECT_TRUE(client.said("Split: 1\nTX VFO: VFOB")) << client.output();
  EXPECT_TRUE(client.said("TX Frequency: 7074000")) << client.output();
  EXPECT_EQ(client.output().find("error"), std::string::npos) << client.output();
  EXPECT_TRUE(eventually([&] { return backend_->view().split && backend_->view().vfoBFreqCmd == "F0707400"; }));
  // Receive stays on VFO A.
  EXPECT_EQ(rigctl("f"), "14250000\n");

  // Keyed, the transceiver transmits on VFO B; unkeyed, it is back on A.
  const long backOnA = simCount("F1425000");
  client.send("T 1");
  EXPECT_TRUE(eventually([&] { return lastKey() == "K"; }));
  const auto c = simCommands();
  const auto key = std::find(c.rbegin(), c.rend(), "K");
  ASSERT_NE(key, c.rend());
  EXPECT_NE(std::find(key, c.rend(), "F0707400"), c.rend()) << "no retune to VFO B before the key";
  client.send("T 0");
  EXPECT_TRUE(eventually([&] { return lastKey() == "U" && simCount("F1425000") > backOnA; }));

  // The split a program turned on ends with it.
  client.quit();
  EXPECT_TRUE(eventually([&] { return !backend_->view().split; }));
  EXPECT_EQ(rigctl("s"), "0\nVFOA\n");
}

TEST_F(RigctlClientTest, ASplitOnAFreshPanelTransmitsWhereItReadsAndKeyDownsMayRepeat) {
  // VFO B was never set, so it reads as VFO A and a client sees no need to
  // set it; the transmission must then be on that frequency, not refused
  // as out of band. A key-down repeated while keyed is taken, not refused.
  RigctlSession client(server_->port(), dir_ / "client.out");
  ASSERT_TRUE(client.running());
  for (const char* line : {"S 1 VFOB", "i", "T 1"}) client.send(line);
  EXPECT_TRUE(eventually([&] { return lastKey() == "K"; })) << client.output();
  for (const char* line : {"T 1", "t", "T 0"}) client.send(line);
  EXPECT_TRUE(eventually([&] { return lastKey() == "U"; }));
  // Keyed again at once after an unkey, while the transmission before is
  // still ending: a new transmission, not a refusal.
  const long keys = simCount("K");
  for (const char* line : {"T 1", "T 0", "T 1"}) client.send(line);
  EXPECT_TRUE(eventually([&] { return simCount("K") > keys && lastKey() == "K"; })) << client.output();
  client.send("T 0");
  EXPECT_TRUE(eventually([&] { return lastKey() == "U"; }));
  client.quit();
  EXPECT_TRUE(client.said("TX Frequency: 14250000")) << client.output();
  EXPECT_TRUE(client.said("PTT: 1")) << client.output();
  EXPECT_EQ(client.output().find("error"), std::string::npos) << client.output();
  EXPECT_EQ(panel_->rigState.latest()->vfoBFreqCmd, "F1425000");
}

TEST_F(RigctlClientTest, ASplitTheOperatorChoseAgainOutlivesTheProgram) {
  RigctlSession client(server_->port(), dir_ / "client.out");
  client.send("S 1 VFOB");
  client.send("s");
  ASSERT_TRUE(eventually([&] { return backend_->view().split; }));
  // The operator clicks "Transmit using VFO B" again.
  InputEvent click;
  click.kind = EventKind::Click;
  click.window = panel_->frm.name();
  click.control = "optTXVFO";
  click.index = 1;
  click.value = 1;
  panel_->engine.post(click);
  client.send("v");
  ASSERT_TRUE(eventually([&] { return client.said("VFOA"); }));
  client.quit();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(rigctl("s"), "1\nVFOB\n");
}

class SlowRadioRigctlTest : public RigctlClientTest {
 protected:
  // The transceiver takes 0.3 s over every answer: the panel is busy for a
  // long while with each exchange of its own.
  std::vector<std::string> extraSimArgs() const override { return {"--processing-delay", "0.3"}; }
};

TEST_F(SlowRadioRigctlTest, SettingsAreAnsweredBeforeTheRadioHasThemAndDuplicatesMerge) {
  EXPECT_EQ(rigctl("F 7174000 f"), "7174000\n");
  EXPECT_TRUE(eventually([&] { return backend_->view().freqCmd == "F0717400"; }));

  // A program that resends the setting while the transceiver is still
  // taking it (0.3 s): each is answered, and the radio gets one.
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(server_->port()));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  double slowest = 0;
  // The resends follow the first answer at once: the first is surely still
  // on its way then, however busy the machine.
  for (const std::string request : {"F 7074000\n", "F 7074000\nF 7074000.0\n"}) {
    const std::string want = request.size() > 10 ? "RPRT 0\nRPRT 0\n" : "RPRT 0\n";
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(::send(fd, request.data(), request.size(), MSG_NOSIGNAL), static_cast<ssize_t>(request.size()));
    std::string got;
    char buf[64];
    while (got.size() < want.size()) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(kPatience * 1000)) <= 0) break;
      const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      got.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, want);
    slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count());
  }
  ::close(fd);
  std::printf("slowest setting answer: %.3f s\n", slowest);
  // Generous: the transceiver alone takes 0.3 s to answer each command.
  EXPECT_LT(slowest, 10.0);
  EXPECT_TRUE(eventually([&] { return backend_->view().freqCmd == "F0707400"; }));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(simCount("F0707400"), 1);

  EXPECT_EQ(rigctl("M CW 500 m"), "CW\n500\n");
  EXPECT_TRUE(eventually([&] { return backend_->view().mode == "M4"; }));
  const long usbBefore = simCount("M1");
  const auto started = std::chrono::steady_clock::now();
  // A data mode is the transceiver's sideband; this client reads back what it set.
  EXPECT_EQ(rigctl("M PKTUSB 2400 m"), "PKTUSB\n2400\n");
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("rigctl run with one setting: %.3f s\n", took);
  EXPECT_TRUE(eventually([&] { return backend_->view().mode == "M1"; }));
  EXPECT_EQ(rigctl("m"), "USB\n2400\n");
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(simCount("M1"), usbBefore + 1);
}

}  // namespace
}  // namespace zr
