#include "netctl/RigCommand.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

namespace zr {

namespace {

struct OpName {
  char letter;  // 0: long name only
  const char* name;
  RigOp op;
  std::size_t minArgs;
  std::size_t maxArgs;
};

constexpr std::array<OpName, 23> kOps = {{
    {'f', "get_freq", RigOp::GetFreq, 0, 0},
    {'F', "set_freq", RigOp::SetFreq, 1, 1},
    {'m', "get_mode", RigOp::GetMode, 0, 0},
    // The passband may be left out: the panel has no filter to set.
    {'M', "set_mode", RigOp::SetMode, 1, 2},
    {'v', "get_vfo", RigOp::GetVfo, 0, 0},
    {'V', "set_vfo", RigOp::SetVfo, 1, 1},
    {'t', "get_ptt", RigOp::GetPtt, 0, 0},
    {'T', "set_ptt", RigOp::SetPtt, 1, 1},
    {'s', "get_split_vfo", RigOp::GetSplitVfo, 0, 0},
    {'S', "set_split_vfo", RigOp::SetSplitVfo, 1, 2},
    {'i', "get_split_freq", RigOp::GetSplitFreq, 0, 0},
    {'I', "set_split_freq", RigOp::SetSplitFreq, 1, 1},
    {'x', "get_split_mode", RigOp::GetSplitMode, 0, 0},
    {'X', "set_split_mode", RigOp::SetSplitMode, 1, 2},
    {0, "get_split_freq_mode", RigOp::GetSplitFreqMode, 0, 0},
    {0, "set_split_freq_mode", RigOp::SetSplitFreqMode, 2, 3},
    // The VFO is optional here: without it the client's own is meant.
    {0, "get_vfo_info", RigOp::GetVfoInfo, 0, 1},
    {0, "dump_state", RigOp::DumpState, 0, 0},
    {0, "chk_vfo", RigOp::ChkVfo, 0, 0},
    {0, "get_powerstat", RigOp::GetPowerstat, 0, 0},
    {0, "get_lock_mode", RigOp::GetLockMode, 0, 0},
    {'q', "quit", RigOp::Quit, 0, 0},
    {'Q', "quit", RigOp::Quit, 0, 0},
}};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> splitBlanks(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t p = 0;
  while (p < text.size()) {
    while (p < text.size() && isBlank(text[p])) ++p;
    std::size_t e = p;
    while (e < text.size() && !isBlank(text[e])) ++e;
    if (e > p) out.push_back(text.substr(p, e - p));
    p = e;
  }
  return out;
}

const OpName* findOp(std::string_view token) {
  for (const OpName& o : kOps) {
    if (token.size() == 1 && o.letter == token[0]) return &o;
    // Long names are lower case and only ever written with the backslash.
    if (token.size() > 1 && token[0] == '\\' && token.substr(1) == o.name && o.op != RigOp::Quit) return &o;
  }
  return nullptr;
}

// The whole token as a number, nothing left over.
template <typename T>
std::optional<T> number(std::string_view token) {
  T value{};
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// Fills the command's arguments; false when they do not fit it.
bool readHz(RigCommand& c, std::string_view token) {
  const auto hz = number<double>(token);
  if (!hz || !std::isfinite(*hz)) return false;
  c.hz = *hz;
  return true;
}

// A mode token and the passband after it, when there is one.
bool readMode(RigCommand& c, const std::vector<std::string_view>& a, std::size_t at) {
  c.mode = std::string(a[at]);
  if (a.size() <= at + 1) return true;
  const auto passband = number<long>(a[at + 1]);
  if (!passband) return false;
  c.passband = *passband;
  return true;
}

// Fills the command's arguments; false when they do not fit it.
bool readArgs(RigCommand& c, const std::vector<std::string_view>& a) {
  switch (c.op) {
    case RigOp::SetFreq:
    case RigOp::SetSplitFreq:
      return readHz(c, a[0]);
    case RigOp::SetMode:
    case RigOp::SetSplitMode:
      c.listChoices = a[0] == "?";
      if (c.listChoices) return a.size() == 1;
      return readMode(c, a, 0);
    case RigOp::SetSplitFreqMode:
      return readHz(c, a[0]) && readMode(c, a, 1);
    case RigOp::SetVfo: {
      c.listChoices = a[0] == "?";
      if (c.listChoices) return true;
      const auto vfo = parseRigVfo(a[0]);
      if (!vfo) return false;
      c.vfo = *vfo;
      return true;
    }
    case RigOp::GetVfoInfo: {
      if (a.empty()) return true;
      const auto vfo = parseRigVfo(a[0]);
      if (!vfo) return false;
      c.vfo = *vfo;
      return true;
    }
    case RigOp::SetPtt: {
      const auto ptt = number<int>(a[0]);
      if (!ptt || *ptt < 0 || *ptt > 3) return false;
      c.ptt = *ptt;
      return true;
    }
    case RigOp::SetSplitVfo: {
      if (a[0] != "0" && a[0] != "1") return false;
      c.split = a[0] == "1";
      c.vfo = c.split ? RigVfo::B : RigVfo::A;
      if (a.size() < 2) return true;
      const auto vfo = parseRigVfo(a[1]);
      if (!vfo) return false;
      c.vfo = *vfo;
      return true;
    }
    default:
      return true;
  }
}

}  // namespace

bool RigLine::isSetting() const {
  if (!command) return true;
  switch (command->op) {
    case RigOp::SetFreq:
    case RigOp::SetMode:
    case RigOp::SetVfo:
    case RigOp::SetPtt:
    case RigOp::SetSplitVfo:
    case RigOp::SetSplitFreq:
    case RigOp::SetSplitMode:
    case RigOp::SetSplitFreqMode:
    case RigOp::Quit:
      return true;
    default:
      return false;
  }
}

std::optional<RigVfo> parseRigVfo(std::string_view token) {
  if (token == "VFOA" || token == "Main" || token == "MainA") return RigVfo::A;
  if (token == "VFOB" || token == "Sub" || token == "MainB") return RigVfo::B;
  if (token == "currVFO" || token == "VFO") return RigVfo::Current;
  if (token == "TX") return RigVfo::Tx;
  if (token == "RX") return RigVfo::Rx;
  return std::nullopt;
}

RigLine parseRigLine(std::string_view line) {
  RigLine out;
  std::size_t p = 0;
  while (p < line.size() && isBlank(line[p])) ++p;
  // Punctuation before the command selects the extended protocol; the
  // backslash starts a long name, and '?', '_' and '#' mean other things.
  if (p < line.size()) {
    const unsigned char c = static_cast<unsigned char>(line[p]);
    if (std::ispunct(c) && c != '\\' && c != '?' && c != '_' && c != '#') {
      out.separator = c == '+' ? '\n' : static_cast<char>(c);
      ++p;
    }
  }
  const std::vector<std::string_view> tokens = splitBlanks(line.substr(p));
  if (tokens.empty()) {
    out.blank = true;
    return out;
  }
  const OpName* op = findOp(tokens[0]);
  if (!op) {
    out.error = rprt::NotImplemented;
    return out;
  }
  out.name = op->name;
  const std::vector<std::string_view> args(tokens.begin() + 1, tokens.end());
  for (std::string_view a : args) out.args += (out.args.empty() ? "" : " ") + std::string(a);
  RigCommand command;
  command.op = op->op;
  if (args.size() < op->minArgs || args.size() > op->maxArgs || !readArgs(command, args)) {
    out.error = rprt::InvalidParameter;
    return out;
  }
  out.command = std::move(command);
  return out;
}

}  // namespace zr
