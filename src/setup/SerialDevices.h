#pragma once
// The serial devices this machine really has, by the names that stay put
// (a USB adapter's /dev/serial/by-id link survives replugging, its ttyUSBn
// may not), and the COMn link in the working directory that makes one of
// them a numbered port for the setup files.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace zr {

struct SerialDevice {
  std::string path;        // what the COMn link points at
  std::string kernelName;  // "ttyUSB0": what it is now
  bool accessible = true;  // this user may open it for reading and writing
};

// /dev/serial/by-id/* first, then the /dev/ttyUSB* and /dev/ttyACM* no by-id
// link names, then the /dev/ttyS* that have a UART behind them (the kernel
// makes nodes for absent ones). The roots are for tests.
std::vector<SerialDevice> listSerialDevices(const std::filesystem::path& devRoot = "/dev",
                                            const std::filesystem::path& sysRoot = "/sys");

// The text a dialog lists: "/dev/serial/by-id/usb-FTDI...-port0 (ttyUSB0)",
// with " - no access" when this user cannot open it.
std::string deviceLabel(const SerialDevice& device);

// Port numbers whose /dev/ttyS<n-1> fallback is one of `devices`: giving
// such a number a COMn link would take that port away.
std::set<int> builtInPortNumbers(const std::vector<SerialDevice>& devices);

// The port number that reaches `device`: the n from 1 to 16 that already
// leads there (its COMn in `dir`, or /dev/ttyS<n-1> when there is no COMn),
// else the lowest n with no COMn entry and not in `reserved`, for which the
// link COMn -> device is made. Throws RuntimeError when no number is free or
// the link cannot be made.
int linkPortFor(const std::string& device, const std::set<int>& reserved, const std::filesystem::path& dir = {});

}  // namespace zr
