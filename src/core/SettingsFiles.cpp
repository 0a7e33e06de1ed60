#include "core/SettingsFiles.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/Convert.h"
#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/TextFile.h"

namespace zr {

namespace {

// The first `count` lines of a text; lines past the end read as empty.
std::vector<std::string> firstLines(std::string_view text, std::size_t count) {
  std::vector<std::string> lines = splitLines(text, count);
  lines.resize(count);
  return lines;
}

// The whole file, or nothing when there is none under that name. Anything
// that is not a small regular file is refused with the reason.
std::optional<std::string> readIfPresent(const std::string& path) {
  try {
    return readTextFile(path);
  } catch (const RuntimeError& e) {
    if (e.number == err::FileNotFound) return std::nullopt;
    throw;
  }
}

template <class Values>
std::optional<Values> readAndParse(const std::string& path, Values (*parse)(std::string_view)) {
  const auto text = readIfPresent(path);
  if (!text) return std::nullopt;
  return parse(*text);
}

void addLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
}

const char* const kHandshakeNames[] = {"comNone", "comXonXoff", "comRTS", "comRTSXonXoff"};

const char* const kPortComments[] = {
    "Line 1: Port Number, COM1 = 1, COM2 = 2, etc..",
    "Line 2: Baud,Parity,Bits,Stop",
    "Line 3: comNone, comXonXoff, comRTS, comRTSXonXoff",
};

}  // namespace

std::string printNumber(long value) {
  return (value < 0 ? "" : " ") + std::to_string(value) + " ";
}

long leadingNumber(const std::string& text) {
  const double v = vbVal(text);
  constexpr double hi = static_cast<double>(std::numeric_limits<long>::max());
  constexpr double lo = static_cast<double>(std::numeric_limits<long>::min());
  if (std::isnan(v)) return 0;
  if (v >= hi) return std::numeric_limits<long>::max();
  if (v <= lo) return std::numeric_limits<long>::min();
  return std::lround(v);
}

std::string fixedText(const std::string& text, std::size_t width) {
  std::string out = text.substr(0, width);
  out.resize(width, ' ');
  return out;
}

int handshakeIndex(const std::string& name) {
  for (int i = 0; i < 4; ++i)
    if (name == kHandshakeNames[i]) return i;
  return 0;
}

const char* handshakeName(int index) {
  return index >= 0 && index < 4 ? kHandshakeNames[index] : kHandshakeNames[0];
}

bool permissionsFilePresent(const std::string& path) { return pathIsFile(path); }

IniFileValues parseIniFile(std::string_view text) {
  const auto l = firstLines(text, 6);
  return IniFileValues{leadingNumber(l[0]), leadingNumber(l[1]), l[2], l[3], l[4], l[5]};
}

PortSetupValues parsePortSetup(std::string_view text) {
  const auto l = firstLines(text, 4);
  return PortSetupValues{l[0], l[1], l[2], l[3]};
}

CatSetupValues parseCatSetup(std::string_view text) {
  const auto l = firstLines(text, 4);
  return CatSetupValues{l[0], l[1], l[2], l[3]};
}

AudioSetupValues parseAudioSetup(std::string_view text) {
  const auto l = firstLines(text, 5);
  return AudioSetupValues{fixedText(l[0], 2), fixedText(l[1], 2), fixedText(l[2], 2), fixedText(l[3], 2),
                          fixedText(l[4], 2)};
}

std::optional<IniFileValues> readIniFile(const std::string& path) { return readAndParse(path, parseIniFile); }

std::optional<PortSetupValues> readPortSetup(const std::string& path) { return readAndParse(path, parsePortSetup); }

std::optional<CatSetupValues> readCatSetup(const std::string& path) { return readAndParse(path, parseCatSetup); }

std::optional<AudioSetupValues> readAudioSetup(const std::string& path) { return readAndParse(path, parseAudioSetup); }

std::string portSetupProblem(const PortSetupValues& values) {
  bool number = false;
  try {
    number = vbCInt(values.port) >= 1;
  } catch (const RuntimeError&) {
  }
  return number ? std::string() : "line 1 (\"" + values.port + "\") is not a port number";
}

std::vector<std::string> repairAudioSetup(AudioSetupValues& values) {
  struct Line {
    std::string AudioSetupValues::*code;
    std::initializer_list<const char*> allowed;
    const char* what;
  };
  static const Line lines[] = {
      {&AudioSetupValues::phoneSource, {"H1", "H2", "H3"}, "a phone audio source"},
      {&AudioSetupValues::pttEnable, {"'0", "'1"}, "a PTT enable code"},
      {&AudioSetupValues::localRemote, {"\"0", "\"1"}, "a local/remote audio code"},
      {&AudioSetupValues::digSource, {"H1", "H2", "H3"}, "a digital audio source"},
      {&AudioSetupValues::digVox, {"V0", "V1", "V2"}, "a digital VOX code"},
  };
  const AudioSetupValues defaults;
  std::vector<std::string> problems;
  for (std::size_t i = 0; i < std::size(lines); ++i) {
    std::string& code = values.*lines[i].code;
    bool known = false;
    for (const char* a : lines[i].allowed) known = known || code == a;
    if (known) continue;
    const std::string& fallback = defaults.*lines[i].code;
    problems.push_back("line " + std::to_string(i + 1) + " (\"" + code + "\") is not " + lines[i].what + ", " +
                       fallback + " is used");
    code = fallback;
  }
  return problems;
}

void writeIniFile(const IniFileValues& v, const std::string& path) {
  std::string out;
  addLine(out, printNumber(v.left));
  addLine(out, printNumber(v.top));
  addLine(out, v.vfoB);
  addLine(out, v.vfoBMode);
  addLine(out, v.split);
  addLine(out, v.stepSize);
  replaceFile(path, out);
}

void writePortSetup(const PortSetupValues& v, const std::string& path) {
  std::string out;
  for (const std::string* s : {&v.port, &v.settings, &v.handshake, &v.extPtt}) addLine(out, *s);
  for (const char* c : kPortComments) addLine(out, c);
  addLine(out, "Line 4: External PTT Enable: Enabled = " + printNumber(1));
  replaceFile(path, out);
}

void writeCatSetup(const CatSetupValues& v, const std::string& path) {
  std::string out;
  for (const std::string* s : {&v.port, &v.settings, &v.handshake, &v.rigType}) addLine(out, *s);
  for (const char* c : kPortComments) addLine(out, c);
  addLine(out, "Line 4: RigType");
  replaceFile(path, out);
}

void writeAudioSetup(const AudioSetupValues& v, const std::string& path) {
  std::string out;
  addLine(out, v.phoneSource + " Phone Audio Source");
  addLine(out, v.pttEnable + " PTT Enable");
  addLine(out, v.localRemote + " LocalRemote Audio");
  addLine(out, v.digSource + " Digital Audio Source");
  addLine(out, v.digVox + " Digital VOX: [V1|V2|V3]");
  addLine(out, "Comments:");
  addLine(out, "Phone & DigAudio Source: H1 -> MIC, H2 -> Audio2, H3 -> Patch");
  addLine(out, "Digital VOX: V0 -> OFF, V1 -> VOICE, V2 -> DATA");
  addLine(out, "PTT: '0 -> Disable, '1 -> Enable");
  addLine(out, "LocalRemote: \"0 -> Remote, \"1 -> Local");
  replaceFile(path, out);
}

}  // namespace zr
