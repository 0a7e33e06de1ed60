// The server on real loopback sockets: several clients at once, and clients
// that misbehave harm nobody else. Waits are bounded generously and end as
// soon as the awaited bytes arrive, so a busy machine only makes them slower.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "FakeRigBackend.h"
#include "netctl/RigServer.h"

namespace zr {
namespace {

constexpr int kPatienceMs = 20000;

class Connection {
 public:
  Connection(int port, bool ipv6 = false) {
    fd_ = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (ipv6) {
      sockaddr_in6 a{};
      a.sin6_family = AF_INET6;
      a.sin6_port = htons(static_cast<uint16_t>(port));
      a.sin6_addr = in6addr_loopback;
      connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    } else {
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_port = htons(static_cast<uint16_t>(port));
      a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
  }
  ~Connection() { close(); }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool connected() const { return connected_; }
  bool send(const std::string& bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  // Reads until `expected` bytes arrived or the server closed or the
  // patience ran out.
  std::string read(std::size_t expected) {
    std::string out;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (out.size() < expected) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
      pollfd p{fd_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buf[4096];
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) {
        closedByPeer_ = true;
        break;
      }
      out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
  }
  // Sends `line` and reads as much as `expected` holds.
  std::string ask(const std::string& line, const std::string& expected) {
    send(line);
    return read(expected.size());
  }
  // True once the server has closed this connection.
  bool closedByServer() {
    if (!closedByPeer_) read(static_cast<std::size_t>(-1));
    return closedByPeer_;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
  bool closedByPeer_ = false;
};

// `c` answers `line` with exactly `want`.
::testing::AssertionResult answers(Connection& c, const std::string& line, const std::string& want) {
  const std::string got = c.ask(line, want);
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << line << "\" answered \"" << got << "\"";
}

template <typename F>
bool eventually(F done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

struct RigServerTest : ::testing::Test {
  void SetUp() override {
    backend.answerAtOnce(rprt::Ok);
    ASSERT_FALSE(server.start("", 0));
    ASSERT_GT(server.port(), 0);
  }
  test::FakeRigBackend backend;
  RigServer server{backend};
};

TEST_F(RigServerTest, SeveralClientsAreServedWhileOthersMisbehave) {
  Connection silent(server.port());
  Connection flood(server.port());
  Connection logger(server.port());
  Connection digital(server.port(), true);
  ASSERT_TRUE(silent.connected() && flood.connected() && logger.connected());
  if (!digital.connected()) GTEST_SKIP() << "no IPv6 loopback here";

  // A megabyte without a line end gets its sender dropped, nobody else.
  flood.send(std::string(1 << 20, 'x'));
  EXPECT_TRUE(answers(logger, "f\n", "14250000\n"));
  EXPECT_TRUE(answers(digital, "F 7074000\nm\n", "RPRT 0\nUSB\n2400\n"));
  EXPECT_TRUE(flood.closedByServer());
  EXPECT_TRUE(answers(logger, "+\\get_mode\n", "get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n"));
  EXPECT_TRUE(eventually([&] { return backend.gone().size() == 1; }));
  ASSERT_EQ(backend.submitted().size(), 1u);
}

TEST_F(RigServerTest, AClientGoneMidCommandIsForgottenAndItsKeyingEnds) {
  {
    Connection quitter(server.port());
    quitter.send("T 1\nF 70");
  }
  EXPECT_TRUE(eventually([&] { return backend.gone().size() == 1; }));
  ASSERT_EQ(backend.submitted().size(), 1u);
  EXPECT_EQ(backend.submitted()[0].client, backend.gone()[0]);
  Connection next(server.port());
  EXPECT_TRUE(answers(next, "t\n", "0\n"));
}

TEST_F(RigServerTest, QuitClosesTheConnectionAfterTheAnswer) {
  Connection c(server.port());
  EXPECT_TRUE(answers(c, "f\nq\nf\n", "14250000\nRPRT 0\n"));
  EXPECT_TRUE(c.closedByServer());
}

TEST_F(RigServerTest, TooManyClientsAreTurnedAway) {
  std::vector<std::unique_ptr<Connection>> clients;
  for (std::size_t i = 0; i < RigServer::kMaxClients; ++i) {
    clients.push_back(std::make_unique<Connection>(server.port()));
    ASSERT_TRUE(answers(*clients.back(), "v\n", "VFOA\n"));
  }
  Connection extra(server.port());
  EXPECT_TRUE(extra.closedByServer());
  clients.front()->close();
  EXPECT_TRUE(eventually([&] { return backend.gone().size() == 1; }));
  Connection again(server.port());
  EXPECT_TRUE(answers(again, "v\n", "VFOA\n"));
}

TEST(RigServerFull, ANewcomerTakesThePlaceOfTheClientSilentLongest) {
  test::FakeRigBackend backend;
  backend.answerAtOnce(rprt::Ok);
  constexpr double kSilence = 0.2;
  RigServer server(backend, kSilence);
  ASSERT_FALSE(server.start("127.0.0.1", 0));
  std::vector<std::unique_ptr<Connection>> clients;
  for (std::size_t i = 0; i < RigServer::kMaxClients; ++i) {
    clients.push_back(std::make_unique<Connection>(server.port()));
    // The first keys, the last polls: neither is silent.
    if (i == 0) {
      ASSERT_TRUE(answers(*clients.back(), "T 1\n", "RPRT 0\n"));
    }
  }
  ASSERT_TRUE(answers(*clients.back(), "v\n", "VFOA\n"));
  std::this_thread::sleep_for(std::chrono::duration<double>(kSilence * 2));
  ASSERT_TRUE(answers(*clients.back(), "v\n", "VFOA\n"));
  Connection newcomer(server.port());
  EXPECT_TRUE(answers(newcomer, "f\n", "14250000\n"));
  // The second arrived first of those that never spoke.
  EXPECT_TRUE(clients[1]->closedByServer());
  EXPECT_TRUE(answers(*clients[0], "t\n", "0\n"));
  EXPECT_TRUE(answers(*clients.back(), "v\n", "VFOA\n"));
  EXPECT_EQ(backend.gone().size(), 1u);
}

TEST_F(RigServerTest, StoppingEndsEveryClientsKeying) {
  Connection a(server.port());
  Connection b(server.port());
  EXPECT_TRUE(answers(a, "T 1\n", "RPRT 0\n"));
  EXPECT_TRUE(answers(b, "v\n", "VFOA\n"));
  server.stop();
  EXPECT_EQ(backend.gone().size(), 2u);
  EXPECT_TRUE(a.closedByServer());
}

TEST(RigServerListen, ABusyPortIsReportedAndNothingRuns) {
  test::FakeRigBackend backend;
  RigServer first(backend);
  ASSERT_FALSE(first.start("127.0.0.1", 0));
  RigServer second(backend);
  const auto failure = second.start("127.0.0.1", first.port());
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("port " + std::to_string(first.port())), std::string::npos) << *failure;
  EXPECT_FALSE(second.running());
  // An address this machine does not have (a documentation network).
  EXPECT_TRUE(second.start("192.0.2.1", 0));
}

}  // namespace
}  // namespace zr
