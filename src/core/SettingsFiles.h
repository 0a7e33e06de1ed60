#pragma once
// The four settings files and the permissions marker. Values are positional,
// one per line; the lines a writer appends after them are notes for a human.
// Every file lives in the working directory under its bare name.
//
// Readers take the first lines of a file (ended by CR LF, CR or LF; a missing
// line reads as empty text) and return nullopt when there is no file of that
// name. Anything else that keeps the file from being read, including a name
// that is not a small regular file (a folder, a device, a link to one),
// throws RuntimeError with the reason. They do not report a missing file:
// callers ask StatusDisplay::fileExists first. The parse functions do the
// same on text already read.
//
// Writers replace a file as a whole and atomically: the old file stays as it
// was unless the new one is complete on disk. On failure they throw
// RuntimeError (61 disk full, 70 permission denied, 76 path not found,
// 75 other access errors, 57 I/O errors) with the system's text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

inline constexpr const char* kIniFile = "ZR3817ini.txt";
inline constexpr const char* kPortSetupFile = "PortSetup.txt";
inline constexpr const char* kCatSetupFile = "CATSetup.txt";
inline constexpr const char* kAudioSetupFile = "AudioSetup.txt";
inline constexpr const char* kPermissionsFile = "Permissions.txt";

// Main window position (twips) and VFO B state of the previous run.
struct IniFileValues {
  long left = 0;  // read through a leading-number conversion: 0 when none
  long top = 0;
  std::string vfoB;      // the VFO B digit captions joined
  std::string vfoBMode;  // cmbVFOBMode text
  std::string split;     // lblSplit caption
  std::string stepSize;  // cmbStepSize text
  bool operator==(const IniFileValues&) const = default;
};

// Radio port: lines as they stand ("1", "9600,O,7,1", "comRTS", "1").
struct PortSetupValues {
  std::string port, settings, handshake, extPtt;
  bool operator==(const PortSetupValues&) const = default;
};

// CAT port: lines as they stand.
struct CatSetupValues {
  std::string port, settings, handshake, rigType;
  bool operator==(const CatSetupValues&) const = default;
};

// Audio: two-character codes. The initial values are those used when the
// file is missing.
struct AudioSetupValues {
  std::string phoneSource = "H1";
  std::string pttEnable = "'1";
  std::string localRemote = "\"1";
  std::string digSource = "H3";
  std::string digVox = "V2";
  bool operator==(const AudioSetupValues&) const = default;
};

std::optional<IniFileValues> readIniFile(const std::string& path = kIniFile);
std::optional<PortSetupValues> readPortSetup(const std::string& path = kPortSetupFile);
std::optional<CatSetupValues> readCatSetup(const std::string& path = kCatSetupFile);
// Each code is the first two characters of its line, blank-padded.
std::optional<AudioSetupValues> readAudioSetup(const std::string& path = kAudioSetupFile);

IniFileValues parseIniFile(std::string_view text);
PortSetupValues parsePortSetup(std::string_view text);
CatSetupValues parseCatSetup(std::string_view text);
AudioSetupValues parseAudioSetup(std::string_view text);

// Why the radio port settings cannot be used, naming the line; empty when
// they can (the port settings text is checked when the port opens).
std::string portSetupProblem(const PortSetupValues& values);
// Puts the default in place of every code the transceiver would not know,
// so the remote setup never steps towards a setting it cannot reach; one
// description per line replaced.
std::vector<std::string> repairAudioSetup(AudioSetupValues& values);

void writeIniFile(const IniFileValues& values, const std::string& path = kIniFile);
void writePortSetup(const PortSetupValues& values, const std::string& path = kPortSetupFile);
void writeCatSetup(const CatSetupValues& values, const std::string& path = kCatSetupFile);
void writeAudioSetup(const AudioSetupValues& values, const std::string& path = kAudioSetupFile);

// Whether the marker that lifts the amateur-band transmit restriction exists.
bool permissionsFilePresent(const std::string& path = kPermissionsFile);

// Handshake option index 0..3 for a name, matched exactly; 0 for any other.
int handshakeIndex(const std::string& name);
// "comNone", "comXonXoff", "comRTS", "comRTSXonXoff"; "comNone" out of range.
const char* handshakeName(int index);

// A number as the file format prints it: " 1440 ", "-5 ".
std::string printNumber(long value);
// The leading number of a text, rounded and kept within long; 0 for none.
long leadingNumber(const std::string& text);
// The first `width` characters of `text`, padded with blanks to `width`.
std::string fixedText(const std::string& text, std::size_t width);

}  // namespace zr
