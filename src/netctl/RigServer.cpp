#include "netctl/RigServer.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>

namespace zr {

// Wakes the poll loop from other threads. Shared with the tickets in flight,
// so an engine that finishes one after the server has gone writes into a
// pipe that is still open rather than into a closed descriptor.
struct RigServer::Wake {
  int fds[2] = {-1, -1};
  Wake() {
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) fds[0] = fds[1] = -1;
  }
  ~Wake() {
    for (int fd : fds)
      if (fd >= 0) ::close(fd);
  }
  void signal() const {
    const char c = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] ssize_t n = ::write(fds[1], &c, 1);
  }
  void drain() const {
    char buf[64];
    while (::read(fds[0], buf, sizeof buf) > 0) {
    }
  }
};

namespace {

std::string describe(const std::string& address, int port, int error) {
  return address + " port " + std::to_string(port) + ": " + std::strerror(error);
}

}  // namespace

RigServer::RigServer(RigBackend& backend, double silentLongEnough)
    : backend_(backend), silentLongEnough_(silentLongEnough), wake_(std::make_shared<Wake>()) {}

RigServer::~RigServer() { stop(); }

std::optional<std::string> RigServer::listenOn(const std::string& address, int port, bool optional) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int rc = ::getaddrinfo(address.c_str(), service.c_str(), &hints, &found); rc != 0)
    return address + ": " + ::gai_strerror(rc);
  std::optional<std::string> failure;
  bool bound = false;
  for (addrinfo* a = found; a; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) {
      failure = describe(address, port, errno);
      continue;
    }
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    // IPv4 and IPv6 get listeners of their own.
    if (a->ai_family == AF_INET6) ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, 8) != 0) {
      failure = describe(address, port, errno);
      ::close(fd);
      continue;
    }
    sockaddr_storage local{};
    socklen_t len = sizeof local;
    if (port_ == 0 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) == 0)
      port_ = ntohs(local.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&local)->sin6_port
                                                 : reinterpret_cast<sockaddr_in*>(&local)->sin_port);
    listeners_.push_back(fd);
    bound = true;
  }
  ::freeaddrinfo(found);
  if (bound || optional) return std::nullopt;
  return failure;
}

std::optional<std::string> RigServer::start(const std::string& address, int port) {
  stop();
  if (wake_->fds[0] < 0) return std::string("no wake-up pipe: ") + std::strerror(errno);
  port_ = port;
  std::optional<std::string> failure;
  if (address.empty()) {
    // Loopback: IPv4 must work; IPv6 where the system has it, on the same port.
    failure = listenOn("127.0.0.1", port_, false);
    if (!failure) listenOn("::1", port_, true);
  } else {
    failure = listenOn(address, port_, false);
  }
  if (failure || listeners_.empty()) {
    for (int fd : listeners_) ::close(fd);
    listeners_.clear();
    return failure ? failure : std::optional<std::string>("nothing to listen on");
  }
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
  return std::nullopt;
}

void RigServer::stop() {
  if (thread_.joinable()) {
    stopping_ = true;
    wake_->signal();
    thread_.join();
  }
  for (auto& [fd, c] : clients_) {
    ::close(fd);
    backend_.clientGone(c->session.id());
  }
  clients_.clear();
  for (int fd : listeners_) ::close(fd);
  listeners_.clear();
}

double RigServer::now() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void RigServer::run() {
  std::vector<pollfd> fds;
  while (!stopping_) {
    fds.clear();
    fds.push_back({wake_->fds[0], POLLIN, 0});
    for (int fd : listeners_) fds.push_back({fd, POLLIN, 0});
    int timeoutMs = -1;
    const double t = now();
    for (auto& [fd, c] : clients_) {
      short events = 0;
      if (c->session.wantsInput()) events |= POLLIN;
      if (!c->session.output().empty()) events |= POLLOUT;
      fds.push_back({fd, events, 0});
      if (auto d = c->session.deadline()) {
        const int ms = std::max(0, static_cast<int>(std::ceil((*d - t) * 1000)));
        timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
      }
    }
    if (::poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR) break;
    if (stopping_) break;
    if (fds[0].revents) wake_->drain();
    for (std::size_t i = 1; i <= listeners_.size(); ++i)
      if (fds[i].revents & POLLIN) accept(fds[i].fd);
    for (std::size_t i = 1 + listeners_.size(); i < fds.size(); ++i) {
      auto it = clients_.find(fds[i].fd);
      if (it == clients_.end() || !fds[i].revents) continue;
      if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) && !readFrom(*it->second)) drop(fds[i].fd);
    }
    // Every session gets its turn: results of tickets and deadlines arrive
    // without any traffic on its socket.
    const double later = now();
    std::vector<int> gone;
    for (auto& [fd, c] : clients_) {
      c->session.advance(later);
      if (!writeTo(*c) || (c->session.closing() && c->session.output().empty())) gone.push_back(fd);
    }
    for (int fd : gone) drop(fd);
  }
}

void RigServer::accept(int listener) {
  for (;;) {
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (clients_.size() >= kMaxClients && !makeRoom()) {
      ::close(fd);
      continue;
    }
    auto wake = wake_;
    clients_[fd] = std::make_unique<Client>(
        Client{fd, RigSession(backend_, nextId_++, [wake] { wake->signal(); }, inFlight_), now()});
  }
}

bool RigServer::readFrom(Client& c) {
  char buf[4096];
  while (c.session.wantsInput()) {
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
    if (n > 0) {
      c.session.receive(std::string_view(buf, static_cast<std::size_t>(n)));
      c.lastHeard = now();
      continue;
    }
    if (n == 0) {
      c.session.endOfInput();
      return true;
    }
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  }
  return true;
}

bool RigServer::writeTo(Client& c) {
  std::string& out = c.session.output();
  while (!out.empty()) {
    const ssize_t n = ::send(c.fd, out.data(), out.size(), MSG_NOSIGNAL);
    if (n > 0) {
      out.erase(0, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) break;
    return false;
  }
  return out.size() <= kMaxUnsent;
}

bool RigServer::makeRoom() {
  // Connections that never speak must not lock out the programs that do;
  // a client waiting on a setting is speaking, and one that keyed is kept.
  const Client* quietest = nullptr;
  for (const auto& [fd, c] : clients_)
    if (!c->session.deadline() && !c->session.keying() && (!quietest || c->lastHeard < quietest->lastHeard)) quietest = c.get();
  if (!quietest || now() - quietest->lastHeard < silentLongEnough_) return false;
  drop(quietest->fd);
  return true;
}

void RigServer::drop(int fd) {
  auto it = clients_.find(fd);
  if (it == clients_.end()) return;
  const int id = it->second->session.id();
  ::close(fd);
  clients_.erase(it);
  // Whatever this client keyed ends with it.
  backend_.clientGone(id);
}

}  // namespace zr
