#include "core/Errors.h"

#include <cerrno>
#include <cstring>

namespace zr {

std::string errorText(int number) {
  switch (number) {
    case err::InvalidArgument: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::FileAlreadyOpen: return "File already open";
    case err::DeviceIoError: return "Device I/O error";
    case err::DiskFull: return "Disk full";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccessError: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::DialogCancelled: return "Cancel was selected.";
    case err::InvalidPortNumber: return "Invalid Port Number";
    case err::PortAlreadyOpen: return "Port already open";
    case err::PortNotOpen: return "Operation valid only when the port is open";
    case err::InvalidPortSettings: return "The hardware is not available or the settings are invalid";
    case err::PortUnavailable: return "Could not set comm state";
    default: return "Application-defined or object-defined error";
  }
}

std::string errMessage(const std::string& routine, const RuntimeError& e) {
  return routine + ": Err " + std::to_string(e.number) + ". " + e.description;
}

RuntimeError osError(int errnoValue, const std::string& what) {
  std::string text = what.empty() ? std::string(std::strerror(errnoValue))
                                  : what + ": " + std::strerror(errnoValue);
  int number = err::DeviceIoError;
  switch (errnoValue) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      number = err::FileNotFound;
      text += " (no such device: is the adapter plugged in?)";
      break;
    case EACCES:
    case EPERM:
      number = err::PermissionDenied;
      text += " (add your user to the 'dialout' group, then log in again)";
      break;
    case EBUSY:
      number = err::PortAlreadyOpen;
      text += " (another program is using this port)";
      break;
    case ENOSPC:
      number = err::DiskFull;
      break;
    default:
      break;
  }
  return RuntimeError(number, text);
}

}  // namespace zr
