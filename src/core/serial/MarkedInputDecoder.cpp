#include "core/serial/MarkedInputDecoder.h"

#include "core/SerialPort.h"

namespace zr {

namespace {
constexpr char kMark = '\377';
}

void MarkedInputDecoder::plainByte(char c, Result& out) {
  if (c == kMark) {
    state_ = State::Escape;
  } else if (c != '\0' || !nullDiscard_) {
    out.data += c;
  }
}

MarkedInputDecoder::Result MarkedInputDecoder::decode(std::string_view chunk) {
  Result out;
  out.data.reserve(chunk.size());
  for (const char c : chunk) {
    switch (state_) {
      case State::Plain:
        plainByte(c, out);
        break;
      case State::Escape:
        if (c == kMark) {
          out.data += kMark;
          state_ = State::Plain;
        } else if (c == '\0') {
          state_ = State::Marked;
        } else {
          // Not a mark the line discipline makes: keep both bytes as data.
          out.data += kMark;
          state_ = State::Plain;
          plainByte(c, out);
        }
        break;
      case State::Marked:
        state_ = State::Plain;
        if (c == '\0') {
          out.events.push_back(comm::Break);
        } else {
          out.events.push_back(comm::RxParity);
          out.data += replace_.empty() ? std::string(1, c) : replace_;
        }
        break;
    }
  }
  return out;
}

}  // namespace zr
