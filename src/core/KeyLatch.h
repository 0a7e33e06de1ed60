#pragma once
// What the radio link last told the transmitter. The link shows the latch
// every byte it writes to the radio port; a "K" or "U" at the start of a
// command (the way the transceiver reads the stream) moves it. Whatever path
// keyed the transmitter, the latch knows, so every way out can ask it.
//
// A mirror of the latch and of the open port's descriptor can be kept in
// lock-free storage for lastResortUnkey(), which a fatal-signal handler may
// call: it unkeys with write(2) alone.
#include <cstddef>
#include <string_view>

namespace zr {

class KeyLatch {
 public:
  KeyLatch() = default;
  ~KeyLatch();
  KeyLatch(const KeyLatch&) = delete;
  KeyLatch& operator=(const KeyLatch&) = delete;

  // Before a write: a text that keys counts as keyed already, so a write
  // that fails half way still leaves the unkey owed.
  void beforeWrite(std::string_view bytes);
  // After a write that went out whole.
  void afterWrite(std::string_view bytes);

  // The port (re)opened with `descriptor` (-1 when it has none): a new
  // command starts. The key state is kept: an unkey owed stays owed.
  void portOpened(int descriptor);
  // Before the descriptor goes away.
  void portClosing();

  // True when the last key command written was "K".
  bool keyed() const { return keyed_; }

  // Keep the lock-free mirror for lastResortUnkey (one link per process).
  void mirrorForLastResort();

 private:
  // Runs the transceiver's command reading over `bytes`; returns whether the
  // last key command among them keys, or `keyed` when there is none.
  bool scan(std::string_view bytes, bool keyed, std::size_t& length, bool& quote) const;
  void publish() const;

  bool keyed_ = false;
  std::size_t length_ = 0;  // bytes of the command under way
  bool quote_ = false;      // the command under way is a lone "'"
  int descriptor_ = -1;
  bool mirrored_ = false;
};

// Async-signal-safe: writes "U" to the mirrored port when the mirrored latch
// says keyed. Safe at any moment, from any thread, any number of times.
// True when it wrote.
bool lastResortUnkey() noexcept;

}  // namespace zr
