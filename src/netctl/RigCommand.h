#pragma once
// The network rig-control dialect that station programs speak over TCP: one
// command per line, a one-letter name ("f", "F 7074000") or a backslash and a
// long name ("\get_freq"), then its arguments separated by blanks. A leading
// punctuation character asks for the extended response protocol, with that
// character as the record separator ('+' separates by line feeds).
//
// Parsing is pure: a line in, a command or the error code to answer out.
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// Result codes of the dialect's "RPRT n" answers, as clients name them.
namespace rprt {
inline constexpr int Ok = 0;
inline constexpr int InvalidParameter = -1;
inline constexpr int NotImplemented = -4;
inline constexpr int TimedOut = -5;
inline constexpr int IoError = -6;
inline constexpr int Rejected = -9;
inline constexpr int NotAvailable = -11;
}  // namespace rprt

enum class RigOp {
  GetFreq,
  SetFreq,
  GetMode,
  SetMode,
  GetVfo,
  SetVfo,
  GetPtt,
  SetPtt,
  GetSplitVfo,
  SetSplitVfo,
  GetSplitFreq,
  SetSplitFreq,
  GetSplitMode,
  SetSplitMode,
  GetSplitFreqMode,
  SetSplitFreqMode,
  GetVfoInfo,
  DumpState,
  ChkVfo,
  GetPowerstat,
  GetLockMode,
  Quit,
};

// The VFO names the panel has a meaning for. VFOA/Main name the VFO the
// transceiver works on, VFOB/Sub the panel's second VFO.
enum class RigVfo { A, B, Current, Tx, Rx };

struct RigCommand {
  RigOp op = RigOp::GetFreq;
  double hz = 0;         // SetFreq, SetSplitFreq, SetSplitFreqMode: finite
  std::string mode;      // SetMode, SetSplitMode, SetSplitFreqMode: the token as sent ("USB")
  long passband = 0;     // Hz; 0 when not given, -1 "keep"
  int ptt = 0;           // SetPtt: 0 off; 1, 2 (microphone), 3 (data) on
  RigVfo vfo = RigVfo::Current;  // SetVfo, GetVfoInfo; SetSplitVfo: the transmit VFO
  bool split = false;    // SetSplitVfo
  bool listChoices = false;  // "M ?" / "V ?": the client asks which tokens exist
};

struct RigLine {
  bool blank = false;    // nothing to do and nothing to answer
  char separator = 0;    // 0: default protocol; else the extended protocol's separator
  std::string name;      // long name ("set_freq"), echoed by the extended protocol
  std::string args;      // the arguments as received, joined by single blanks
  std::optional<RigCommand> command;
  int error = rprt::Ok;  // without a command: NotImplemented or InvalidParameter

  // The answer acknowledges with "RPRT 0" also in the default protocol.
  bool isSetting() const;
};

// `line` without its line end.
RigLine parseRigLine(std::string_view line);

// The VFO a token names; nullopt for names the panel has no VFO for.
std::optional<RigVfo> parseRigVfo(std::string_view token);

}  // namespace zr
