#pragma once
// The rig-control network server: plain POSIX sockets served by poll() on a
// thread of its own, so no client can block the engine or another client.
// Listens on the loopback addresses unless the operator names another.
#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "netctl/RigBackend.h"
#include "netctl/RigSession.h"

namespace zr {

class RigServer {
 public:
  // `silentLongEnough`: see kSilentLongEnough.
  explicit RigServer(RigBackend& backend, double silentLongEnough = kSilentLongEnough);
  ~RigServer();
  RigServer(const RigServer&) = delete;
  RigServer& operator=(const RigServer&) = delete;

  // Listens on `address` (empty: 127.0.0.1 and ::1) and `port` (0: any
  // free one, see port()) and starts serving; on failure nothing runs and
  // the reason is returned ("127.0.0.1 port 4532: Address already in use").
  std::optional<std::string> start(const std::string& address, int port);
  // Closes every connection (each client's keying ends) and the listeners.
  void stop();
  bool running() const { return thread_.joinable(); }
  int port() const { return port_; }

  // With this many connections, a newcomer takes the place of the client
  // silent longest, when that one has been silent this long; otherwise the
  // newcomer is closed.
  static constexpr std::size_t kMaxClients = 16;
  static constexpr double kSilentLongEnough = 10.0;
  // A client that leaves this much of its answers unread is dropped.
  static constexpr std::size_t kMaxUnsent = 1 << 20;

 private:
  struct Wake;
  struct Client {
    int fd;
    RigSession session;
    double lastHeard;  // steady seconds of its last bytes, or of its arrival
  };

  std::optional<std::string> listenOn(const std::string& address, int port, bool optional);
  void run();
  void accept(int listener);
  // False when the connection has ended.
  bool readFrom(Client& c);
  bool writeTo(Client& c);
  void drop(int fd);
  // Closes the longest-silent client if it has been silent long enough.
  bool makeRoom();
  double now() const;

  RigBackend& backend_;
  double silentLongEnough_;
  std::shared_ptr<Wake> wake_;
  std::shared_ptr<SettingsInFlight> inFlight_ = std::make_shared<SettingsInFlight>();
  std::vector<int> listeners_;
  std::map<int, std::unique_ptr<Client>> clients_;  // by descriptor
  int nextId_ = 1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace zr
