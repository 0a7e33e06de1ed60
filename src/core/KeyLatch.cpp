#include "core/KeyLatch.h"

#include <time.h>
#include <unistd.h>

#include <atomic>

namespace zr {

namespace {

// Read by a signal handler: lock-free atomics only.
std::atomic<int> gLastResortFd{-1};
std::atomic<bool> gLastResortKeyed{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

}  // namespace

KeyLatch::~KeyLatch() {
  if (mirrored_) gLastResortFd.store(-1);
}

bool KeyLatch::scan(std::string_view bytes, bool keyed, std::size_t& length, bool& quote) const {
  for (char c : bytes) {
    // A lone "'" (the PTT-enable toggle, sent without a line feed) is a
    // whole command unless "0" or "1" follows.
    if (quote && c != '0' && c != '1') length = 0;
    quote = false;
    if (c == '\n') {
      length = 0;
    } else if (length == 0 && (c == 'K' || c == 'U')) {
      keyed = c == 'K';
    } else {
      quote = length == 0 && c == '\'';
      ++length;
    }
  }
  return keyed;
}

void KeyLatch::beforeWrite(std::string_view bytes) {
  std::size_t length = length_;
  bool quote = quote_;
  if (scan(bytes, keyed_, length, quote) && !keyed_) {
    keyed_ = true;
    publish();
  }
}

void KeyLatch::afterWrite(std::string_view bytes) {
  const bool keyed = scan(bytes, keyed_, length_, quote_);
  if (keyed != keyed_) {
    keyed_ = keyed;
    publish();
  }
}

void KeyLatch::portOpened(int descriptor) {
  length_ = 0;
  quote_ = false;
  descriptor_ = descriptor;
  publish();
}

void KeyLatch::portClosing() {
  descriptor_ = -1;
  publish();
}

void KeyLatch::mirrorForLastResort() {
  mirrored_ = true;
  publish();
}

void KeyLatch::publish() const {
  if (!mirrored_) return;
  // The descriptor last, so the handler never pairs a new port with an old key.
  gLastResortKeyed.store(keyed_);
  gLastResortFd.store(descriptor_);
}

bool lastResortUnkey() noexcept {
  const int fd = gLastResortFd.load();
  if (fd < 0 || !gLastResortKeyed.load()) return false;
  // One byte to a non-blocking descriptor: it goes out or it does not.
  if (::write(fd, "U", 1) != 1) return false;
  // The program is about to end and its descriptors with it: give the byte
  // a moment to reach the far end of a pseudo-terminal (a UART drains its
  // queue on close by itself). No tcdrain: under RTS/CTS with the radio
  // off it could wait for ever.
  const timespec pause{0, 50'000'000};
  ::nanosleep(&pause, nullptr);
  return true;
}

}  // namespace zr
