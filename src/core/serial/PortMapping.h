#pragma once
// Port number -> device. "COMn" in the given directory (the working directory
// for the program) when such a file or symbolic link exists, e.g.
// `ln -s /dev/ttyUSB0 COM3`; otherwise /dev/ttyS<n-1>.
#include <filesystem>
#include <string>

namespace zr {

// A dangling COMn link still counts: opening it then fails with a message
// that shows where it points. Throws RuntimeError (err::InvalidPortNumber)
// for n < 1.
std::filesystem::path serialDevicePath(int portNumber, const std::filesystem::path& dir = {});

// Where port n leads, for the operator: "COM3 -> /dev/ttyUSB0", "COM3" for a
// plain file, or "/dev/ttyS2".
std::string describeSerialPort(int portNumber, const std::filesystem::path& dir = {});

}  // namespace zr
