#include "core/SettingsFiles.h"

#include <cmath>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <vector>

#include "core/Convert.h"
#include "core/Errors.h"
#include "core/FileReplace.h"

namespace zr {

namespace {

// The first `count` lines of a file; lines past the end read as empty.
std::optional<std::vector<std::string>> readLines(const std::string& path, std::size_t count) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::vector<std::string> lines(count);
  std::size_t n = 0;
  errno = 0;
  int c = std::getc(f);
  while (n < count && c != EOF) {
    std::string& line = lines[n++];
    while (c != EOF && c != '\r' && c != '\n') {
      line += static_cast<char>(c);
      c = std::getc(f);
    }
    if (c == '\r') {
      c = std::getc(f);
      if (c == '\n') c = std::getc(f);
    } else if (c == '\n') {
      c = std::getc(f);
    }
  }
  // A failed read must not pass for a short file.
  const bool failed = std::ferror(f) != 0;
  const int error = errno != 0 ? errno : EIO;
  std::fclose(f);
  if (failed) throw fileError(error);
  return lines;
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

std::optional<IniFileValues> readIniFile(const std::string& path) {
  const auto lines = readLines(path, 6);
  if (!lines) return std::nullopt;
  const auto& l = *lines;
  return IniFileValues{leadingNumber(l[0]), leadingNumber(l[1]), l[2], l[3], l[4], l[5]};
}

std::optional<PortSetupValues> readPortSetup(const std::string& path) {
  const auto lines = readLines(path, 4);
  if (!lines) return std::nullopt;
  const auto& l = *lines;
  return PortSetupValues{l[0], l[1], l[2], l[3]};
}

std::optional<CatSetupValues> readCatSetup(const std::string& path) {
  const auto lines = readLines(path, 4);
  if (!lines) return std::nullopt;
  const auto& l = *lines;
  return CatSetupValues{l[0], l[1], l[2], l[3]};
}

std::optional<AudioSetupValues> readAudioSetup(const std::string& path) {
  const auto lines = readLines(path, 5);
  if (!lines) return std::nullopt;
  const auto& l = *lines;
  return AudioSetupValues{fixedText(l[0], 2), fixedText(l[1], 2), fixedText(l[2], 2), fixedText(l[3], 2),
                          fixedText(l[4], 2)};
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
