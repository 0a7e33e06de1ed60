#include "sim/Transceiver.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace sim {

namespace {

// The value of `s` when it is exactly `n` decimal digits.
std::optional<int> digits(std::string_view s, std::size_t n) {
  if (s.size() != n) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// How often `letter` is repeated when `s` consists of nothing else; 0 otherwise.
int repeats(std::string_view s, char letter) {
  if (s.empty() || std::any_of(s.begin(), s.end(), [&](char c) { return c != letter; })) return 0;
  return static_cast<int>(s.size());
}

// A single digit code in [lo, hi] after the item character ("M3" -> 3).
std::optional<int> code(std::string_view s, int lo, int hi) {
  auto v = digits(s.substr(1), 1);
  if (!v || *v < lo || *v > hi) return std::nullopt;
  return v;
}

std::string padded(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

constexpr int kMaxFrequency = 2999999;  // 29 999.99 kHz
constexpr int kMaxRfGain = 63;
constexpr int kMaxBfo = 200;

}  // namespace

Transceiver::Transceiver(int firmware) : firmware_(firmware) {
  // A few channels filled in, as a radio out of the box would have.
  s_.memory[0] = MemoryChannel{707400, 2};
  s_.memory[1] = MemoryChannel{1407000, 1};
  s_.memory[2] = MemoryChannel{1000000, 3};
  s_.memory[3] = MemoryChannel{353500, 4};
}

std::string Transceiver::statusLine(char item) const {
  const auto flag = [](bool on) { return on ? '1' : '0'; };
  switch (item) {
    case 'F': return "F" + padded(s_.frequency, 7);
    case 'M': return "M" + std::to_string(s_.mode);
    case 'A': return "A" + std::to_string(s_.agc);
    case 'D': return "D" + std::to_string(s_.meterSource);
    case 'H': return "H" + std::to_string(s_.source);
    case '"': return "\"" + std::to_string(s_.localAudio);
    case '\'': return std::string("'") + flag(s_.pttEnabled);
    case '(': return std::string("(") + flag(s_.speaker);
    case 'I': return std::string("I") + flag(s_.clipping);
    case 'S': return std::string("S") + flag(s_.sideTone);
    case 'V': return "V" + std::to_string(s_.vox);
    case 'R': return std::string("R") + flag(s_.remoteControl);
    case 'O': return "O" + std::to_string(s_.amplifier);
    case 'T': return "T" + std::to_string(s_.tune);
    case 'Z': return s_.fault;
    case 'C': return s_.channel < 0 ? "C--" : "C" + padded(s_.channel, 2);
    case 'G': return "G" + padded(s_.rfGain, 2);
    case 'B': return "B" + padded(s_.bfo, 3);
    case 'U': return s_.transmitting ? "K" : "U";
    default: return {};
  }
}

std::string Transceiver::fullReport() const {
  std::string out;
  for (char item : std::string_view("RFMADH\"'(ISVOTZCGB")) out += line(item);
  if (firmware_ == 1 || firmware_ == 3) out += "!\n";
  if (firmware_ == 3) out += "QT" + std::to_string(s_.tune) + "\n";
  out += "#\n.\n";
  return out;
}

void Transceiver::advance(double now) {
  if (s_.amplifier == 2 && now >= warmupEnds_) {
    s_.amplifier = 3;
    unreported_ += line('O');
  }
  if (s_.tune == 3 && s_.transmitting && now >= tuneEnds_) {
    s_.tune = 4;
    unreported_ += line('T');
  }
}

void Transceiver::setRemoteControl(bool remote) {
  if (remote == s_.remoteControl) return;
  s_.remoteControl = remote;
  if (!remote && s_.transmitting) {
    // The front panel takes over: a remote key does not survive that.
    s_.transmitting = false;
    if (s_.tune == 3) s_.tune = 2;
  }
  unreported_ += line('R');
}

void Transceiver::setFault(const std::string& code) { s_.fault = code; }

std::string Transceiver::handle(std::string_view command, double now) {
  advance(now);
  while (!command.empty() && command.back() == '\r') command.remove_suffix(1);
  if (command == "?") {
    unreported_.clear();  // the report carries everything
    return fullReport();
  }
  std::string reply = dispatch(command, now);
  if (reply.empty()) return reply;
  reply.insert(0, unreported_);
  unreported_.clear();
  return reply;
}

std::string Transceiver::dispatch(std::string_view c, double now) {
  if (c.empty()) return {};
  if (c == "U" || c == "K") return sync(c[0], now);
  const std::string_view rest = c.substr(1);
  if (c[0] == 'L') {
    if (auto n = digits(rest, 2)) return readChannel(*n);
    return {};
  }
  if (c == "Z") return line('Z');

  if (!s_.remoteControl) {
    const bool scanCommand = c[0] == 'F' || (c[0] == 'M' && c.size() == 2);
    if (firmware_ != 2 || !scanCommand) return {};
  }

  const bool absolute = firmware_ == 2;
  const bool stepType1 = firmware_ == 1;
  switch (c[0]) {
    case 'F':
      if (auto f = digits(rest, 7); f && *f <= kMaxFrequency) return setFrequency(*f);
      return {};
    case 'G':
      if (auto g = digits(rest, 2); g && *g <= kMaxRfGain) {
        s_.rfGain = *g;
        return line('G');
      }
      return {};
    case 'B':
      if (auto b = digits(rest, 3); b && *b <= kMaxBfo) {
        s_.bfo = *b;
        return line('B');
      }
      return {};
    case 'C':
      if (auto n = digits(rest, 2)) return selectChannel(*n);
      return {};
    case 'P':
      return storeChannel(c);
    case 'O':
      if (auto o = code(c, 1, 4)) return amplifierCommand(*o, now);
      return {};
    case '(':
      if (auto v = code(c, 0, 1)) {
        s_.speaker = *v == 1;
        return line('(');
      }
      return {};
    case '"':
      if (stepType1 && c.size() == 1) {
        s_.localAudio = 1 - s_.localAudio;
        return line('"');
      }
      if (auto v = code(c, 0, 1); v && !stepType1) {
        s_.localAudio = *v;
        return line('"');
      }
      return {};
    case '\'':
      if (stepType1 && c.size() == 1) {
        s_.pttEnabled = !s_.pttEnabled;
        return line('\'');
      }
      if (auto v = code(c, 0, 1); v && !stepType1) {
        s_.pttEnabled = *v == 1;
        return line('\'');
      }
      return {};
    default:
      break;
  }

  if (absolute) {
    if (c.size() == 2 && c[0] == 'M') {
      if (auto m = code(c, 1, 4)) { s_.mode = *m; return line('M'); }
      return {};
    }
    if (c.size() == 2 && c[0] == 'A') {
      if (auto a = code(c, 1, 4)) { s_.agc = *a; return line('A'); }
      return {};
    }
    if (c.size() == 2 && c[0] == 'D') {
      if (auto d = code(c, 1, 6)) { s_.meterSource = *d; return line('D'); }
      return {};
    }
  } else {
    if (int n = repeats(c, stepType1 ? 'M' : 'm')) return stepMode(n);
    if (int n = repeats(c, stepType1 ? 'A' : 'a')) {
      // A1 (off) is not on the step cycle: A2 -> A3 -> A4 -> A2.
      for (int i = 0; i < n; ++i) s_.agc = s_.agc == 2 ? 3 : s_.agc == 3 ? 4 : 2;
      return line('A');
    }
    if (int n = repeats(c, stepType1 ? 'd' : 'D')) {
      s_.meterSource = (s_.meterSource - 1 + n) % 6 + 1;
      return line('D');
    }
  }
  if (int n = repeats(c, 'H')) {
    // H4 (off/CW) steps back onto the cycle H1 -> H2 -> H3 -> H1.
    for (int i = 0; i < n; ++i) s_.source = s_.source >= 3 ? 1 : s_.source + 1;
    return line('H');
  }
  if (int n = repeats(c, 'V')) {
    s_.vox = (s_.vox + n) % 3;
    return line('V');
  }
  if (int n = repeats(c, 'I')) {
    if (n % 2) s_.clipping = !s_.clipping;
    return line('I');
  }
  if (int n = repeats(c, 'S')) {
    if (n % 2) s_.sideTone = !s_.sideTone;
    return line('S');
  }
  return {};
}

std::string Transceiver::setFrequency(int frequency) {
  // Refused: the answer is the frequency still in force.
  const bool refused = frequency >= refuseLow_ && frequency <= refuseHigh_;
  if (frequency < minFrequency_ || refused) return line('F');
  s_.frequency = frequency;
  std::string reply = line('F');
  if (s_.channel >= 0) {
    s_.channel = -1;  // a frequency command takes the radio back to its VFO
    reply += line('C');
  }
  return reply + leaveTunedState();
}

std::string Transceiver::leaveTunedState() {
  // A new frequency needs a new amplifier tune.
  if (s_.amplifier != 4 || s_.tune != 4) return {};
  s_.tune = 2;
  return line('T');
}

std::string Transceiver::stepMode(int steps) {
  const bool pttBefore = s_.pttEnabled;
  for (int i = 0; i < steps; ++i) {
    const int next = s_.mode % 4 + 1;
    // This firmware flips PTT enable when a step enters or leaves CW.
    if (firmware_ == 1 && (next == 4 || s_.mode == 4)) s_.pttEnabled = !s_.pttEnabled;
    s_.mode = next;
  }
  std::string reply = line('M');
  if (s_.pttEnabled != pttBefore) reply += line('\'');
  return reply;
}

std::string Transceiver::selectChannel(int channel) {
  s_.channel = channel;
  std::string reply = line('C');
  if (const auto& m = s_.memory[static_cast<std::size_t>(channel)]) {
    s_.frequency = m->frequency;
    s_.mode = m->mode;
    reply += line('F') + line('M') + leaveTunedState();
  }
  return reply;
}

std::string Transceiver::storeChannel(std::string_view c) {
  if (c.size() != 11) return {};
  const auto n = digits(c.substr(1, 2), 2);
  const auto f = digits(c.substr(3, 7), 7);
  const auto m = digits(c.substr(10, 1), 1);
  if (!n || !f || !m || *f > kMaxFrequency || *m < 1 || *m > 4) return {};
  s_.memory[static_cast<std::size_t>(*n)] = MemoryChannel{*f, *m};
  return readChannel(*n);
}

std::string Transceiver::readChannel(int channel) const {
  const auto& m = s_.memory[static_cast<std::size_t>(channel)];
  if (!m) return {};  // an empty channel does not answer
  return "P" + padded(channel, 2) + padded(m->frequency, 7) + std::to_string(m->mode) + "\n";
}

std::string Transceiver::amplifierCommand(int code, double now) {
  const int tuneBefore = s_.tune;
  switch (code) {
    case 1:
      s_.amplifier = 1;
      s_.tune = 1;
      break;
    case 2:
      if (s_.amplifier == 1) {
        s_.amplifier = 2;
        warmupEnds_ = now + warmupTime_;
      }
      break;
    case 3:
      if (s_.amplifier == 4) {
        s_.amplifier = 3;
        s_.tune = 1;
      }
      break;
    case 4:
      if (s_.amplifier == 3) {
        s_.amplifier = 4;
        s_.tune = 2;
      }
      break;
  }
  std::string reply = line('O');
  if (s_.tune != tuneBefore) reply += line('T');
  return reply;
}

std::string Transceiver::sync(char key, double now) {
  const int tuneBefore = s_.tune;
  if (key == 'K' && s_.remoteControl && s_.pttEnabled) {
    if (!s_.transmitting && s_.amplifier == 4 && s_.tune == 2) {
      s_.tune = 3;  // keying an amplifier that is ready to tune starts the cycle
      tuneEnds_ = now + tuneTime_;
    }
    s_.transmitting = true;
  } else if (key == 'U' || s_.remoteControl) {
    // "U", or a key this radio refuses (PTT disabled)
    s_.transmitting = false;
    if (s_.tune == 3) s_.tune = 2;
  }
  std::string reply = line('U');
  if (s_.tune != tuneBefore) reply += line('T');
  if (s_.transmitting) {
    static constexpr int kReading[7] = {0, 12, 10, 8, 15, 2, 3};
    const int j = s_.meterReading >= 0 ? s_.meterReading : kReading[std::clamp(s_.meterSource, 1, 6)];
    reply += "J" + padded(std::clamp(j, 0, 99), 2) + "\n";
  }
  return reply;
}

}  // namespace sim
