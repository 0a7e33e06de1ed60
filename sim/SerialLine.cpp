#include "sim/SerialLine.h"

#include <algorithm>

namespace sim {

namespace {
// Bytes handed on together: a line, or this many of a long one.
constexpr std::size_t kMaxChunk = 16;
}  // namespace

SerialLine::SerialLine(int firmware, LineSettings settings) : model_(firmware), settings_(settings) {}

std::vector<Chunk> SerialLine::receive(std::string_view bytes, double now) {
  return serve(splitter_.push(bytes, now), now);
}

std::vector<Chunk> SerialLine::poll(double now) { return serve(splitter_.expire(now), now); }

std::vector<Chunk> SerialLine::serve(const std::vector<std::string>& commands, double now) {
  std::vector<Chunk> out;
  for (const auto& command : commands) {
    if (onCommand_) onCommand_(now, command);
    if (faults_.silent) continue;
    const std::string answer = model_.handle(command, now);
    if (!answer.empty()) transmit(answer, now + processingDelay_ + faults_.extraDelay, true, out);
  }
  return out;
}

std::vector<Chunk> SerialLine::sendGarbage(std::string_view bytes, double now) {
  std::vector<Chunk> out;
  if (!bytes.empty()) transmit(std::string(bytes), now, false, out);
  return out;
}

void SerialLine::transmit(const std::string& bytes, double readyAt, bool answer, std::vector<Chunk>& out) {
  const double perByte = settings_.secondsPerCharacter();
  double t = std::max(readyAt, lineFreeAt_);
  std::string pending;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    t += perByte;
    pending.push_back(bytes[i]);
    const bool splitHere = answer && faults_.splitAfter > 0 && i + 1 == faults_.splitAfter && i + 1 < bytes.size();
    if (bytes[i] == '\n' || pending.size() >= kMaxChunk || splitHere || i + 1 == bytes.size()) {
      out.push_back({t, std::move(pending)});
      pending.clear();
    }
    if (splitHere) t += faults_.splitGap;
  }
  lineFreeAt_ = t;
}

}  // namespace sim
