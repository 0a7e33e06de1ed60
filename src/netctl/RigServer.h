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
  explicit RigServer(RigBackend& backend);
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

  // More connections than this are closed as they arrive.
  static constexpr std::size_t kMaxClients = 16;
  // A client that leaves this much of its answers unread is dropped.
  static constexpr std::size_t kMaxUnsent = 1 << 20;

 private:
  struct Wake;
  struct Client {
    int fd;
    RigSession session;
  };

  std::optional<std::string> listenOn(const std::string& address, int port, bool optional);
  void run();
  void accept(int listener);
  // False when the connection has ended.
  bool readFrom(Client& c);
  bool writeTo(Client& c);
  void drop(int fd);
  double now() const;

  RigBackend& backend_;
  std::shared_ptr<Wake> wake_;
  std::vector<int> listeners_;
  std::map<int, std::unique_ptr<Client>> clients_;  // by descriptor
  int nextId_ = 1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace zr
