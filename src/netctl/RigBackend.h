#pragma once
// What the rig server needs from the panel: the state queries are answered
// from, and a way to hand over settings, which the panel carries out with
// its own workers. Every member may be called from the server's thread.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/RigClient.h"
#include "core/RigState.h"

namespace zr {

// A setting on its way into the engine. Until the engine takes it, the
// server may withdraw it (its client stopped waiting); once taken, it is
// carried out and its result is final.
class RigTicket {
 public:
  explicit RigTicket(std::function<void()> notify = {}) : notify_(std::move(notify)) {}

  // Engine: false when the setting was withdrawn.
  bool take();
  // Engine, after take(): the result code; wakes the server.
  void finish(int code);
  // Server: false when the engine has already taken it.
  bool withdraw();
  std::optional<int> result() const;

 private:
  enum State : int { Pending, Taken, Done, Withdrawn };
  std::atomic<int> state_{Pending};
  std::atomic<int> code_{0};
  std::function<void()> notify_;
};

class RigBackend {
 public:
  virtual ~RigBackend() = default;
  // The panel's state as the engine last published it.
  virtual RigStateSnapshot view() const = 0;
  // `notify` runs on the engine's thread once the ticket has its result.
  virtual std::shared_ptr<RigTicket> submit(const RigSetting& setting, int client, std::function<void()> notify) = 0;
  // The client has gone: whatever it keyed is unkeyed.
  virtual void clientGone(int client) = 0;
};

}  // namespace zr
