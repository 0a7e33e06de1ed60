#pragma once
// Decodes input read from a tty in PARMRK mode (IGNBRK, BRKINT and IGNPAR
// off), where the line discipline marks what it received:
//   \377 \377   a data byte 0xFF
//   \377 \0 \0  a break
//   \377 \0 X   byte X received with a parity or framing error
// A mark may be split across reads; the unfinished part is kept for the next
// chunk. A byte 0x00 received with an error is indistinguishable from a
// break and is taken as one.
#include <string>
#include <string_view>
#include <vector>

namespace zr {

class MarkedInputDecoder {
 public:
  struct Result {
    std::string data;
    std::vector<int> events;  // comm::Break, comm::RxParity, oldest first
  };

  // Replaces a byte received with an error; empty keeps the byte itself.
  void setParityReplace(std::string replacement) { replace_ = std::move(replacement); }
  // Drops 0x00 data bytes (not replacement text, not kept error bytes).
  void setNullDiscard(bool on) { nullDiscard_ = on; }

  Result decode(std::string_view chunk);
  // Forget an unfinished mark (input discarded, port reopened).
  void reset() { state_ = State::Plain; }
  bool midMark() const { return state_ != State::Plain; }

 private:
  enum class State { Plain, Escape, Marked };

  void plainByte(char c, Result& out);

  State state_ = State::Plain;
  std::string replace_;
  bool nullDiscard_ = false;
};

}  // namespace zr
