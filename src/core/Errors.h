#pragma once
// Run-time errors as the operator reads them: a number and a text, shown as
// "<routine>: Err <number>. <text>". Classic numbers where they fit; for
// operating-system failures the system's own text.
#include <stdexcept>
#include <string>

namespace zr {

namespace err {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DeviceIoError = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
// The operator cancelled a file dialog that must give a file.
inline constexpr int DialogCancelled = 32755;
// Serial port errors
inline constexpr int InvalidPortNumber = 8002;
inline constexpr int PortAlreadyOpen = 8005;
inline constexpr int PortNotOpen = 8012;
inline constexpr int InvalidPortSettings = 8010;
inline constexpr int PortUnavailable = 8015;
}  // namespace err

// The standard text for a classic error number ("Type mismatch").
std::string errorText(int number);

struct RuntimeError : std::runtime_error {
  int number;
  std::string description;
  RuntimeError(int n, std::string text)
      : std::runtime_error(std::to_string(n) + ". " + text), number(n), description(std::move(text)) {}
  explicit RuntimeError(int n) : RuntimeError(n, errorText(n)) {}
};

// "<routine>: Err <number>. <text>"
std::string errMessage(const std::string& routine, const RuntimeError& e);

// An errno turned into a RuntimeError with the system's text, and, where a
// Linux operator needs it, what to do about it.
RuntimeError osError(int errnoValue, const std::string& what);

}  // namespace zr
