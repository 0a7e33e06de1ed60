#include "sim/VirtualTransceiver.h"

#include <stdexcept>

namespace sim {

VirtualTransceiver::VirtualTransceiver(zr::FakeSerialPort& port, zr::FakeClock& clock, int firmware)
    : port_(port), clock_(clock), line_(firmware) {
  line_.onCommand([log = commands_](double t, const std::string& c) { log->push_back({t, c}); });
  port_.setPeer([this](std::string_view bytes) { onWrite(bytes); });
}

VirtualTransceiver::~VirtualTransceiver() {
  *alive_ = false;
  port_.setPeer(nullptr);
}

void VirtualTransceiver::onWrite(std::string_view bytes) {
  try {
    line_.setSettings(LineSettings::parse(port_.settings()));
  } catch (const std::invalid_argument&) {
    // keep the last usable settings
  }
  schedule(line_.receive(bytes, clock_.elapsed()));
  schedulePoll();
}

void VirtualTransceiver::sendGarbage(std::string_view bytes) { schedule(line_.sendGarbage(bytes, clock_.elapsed())); }

void VirtualTransceiver::schedule(const std::vector<Chunk>& chunks) {
  for (const auto& c : chunks)
    clock_.scheduleAt(c.time, [this, alive = alive_, bytes = c.bytes] {
      if (*alive) port_.deliver(bytes);
    });
}

void VirtualTransceiver::schedulePoll() {
  const auto due = line_.nextDeadline();
  if (!due) return;
  clock_.scheduleAt(*due, [this, alive = alive_] {
    if (!*alive) return;
    schedule(line_.poll(clock_.elapsed()));
  });
}

}  // namespace sim
