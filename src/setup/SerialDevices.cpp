#include "setup/SerialDevices.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/Errors.h"
#include "setup/PortList.h"

namespace fs = std::filesystem;

namespace zr {
namespace {

bool present(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

bool sameDevice(const fs::path& a, const fs::path& b) {
  if (a == b) return true;
  std::error_code ea, eb;
  const fs::path ca = fs::canonical(a, ea), cb = fs::canonical(b, eb);
  return !ea && !eb && ca == cb;
}

// "ttyUSB10" after "ttyUSB9": by prefix, then by number.
bool naturalLess(const std::string& a, const std::string& b) {
  const auto digits = [](const std::string& s) { return s.find_first_of("0123456789"); };
  const std::string pa = a.substr(0, digits(a)), pb = b.substr(0, digits(b));
  if (pa != pb) return pa < pb;
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// The kernel makes ttyS nodes whether or not a UART answers; sysfs says.
bool hasUart(const fs::path& sysRoot, const std::string& name) {
  std::ifstream type(sysRoot / "class" / "tty" / name / "type");
  int t = -1;
  if (!(type >> t)) return true;  // cannot tell: offer it
  return t != 0;
}

SerialDevice device(const fs::path& path, const std::string& kernelName) {
  return {path.string(), kernelName, ::access(path.c_str(), R_OK | W_OK) == 0};
}

}  // namespace

std::vector<SerialDevice> listSerialDevices(const fs::path& devRoot, const fs::path& sysRoot) {
  std::vector<SerialDevice> out;
  std::set<std::string> named;  // kernel names a by-id link already offers
  std::error_code ec;

  std::vector<fs::path> byId;
  for (const auto& entry : fs::directory_iterator(devRoot / "serial" / "by-id", ec)) byId.push_back(entry.path());
  std::sort(byId.begin(), byId.end());
  for (const fs::path& link : byId) {
    std::error_code lec;
    const fs::path target = fs::canonical(link, lec);
    if (lec) continue;  // dangling: the adapter is gone
    named.insert(target.filename().string());
    out.push_back(device(link, target.filename().string()));
  }

  std::vector<std::string> usb, builtIn;
  for (const auto& entry : fs::directory_iterator(devRoot, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) {
      if (!named.count(name)) usb.push_back(name);
    } else if (name.rfind("ttyS", 0) == 0 && name.size() > 4 && hasUart(sysRoot, name)) {
      builtIn.push_back(name);
    }
  }
  std::sort(usb.begin(), usb.end(), naturalLess);
  std::sort(builtIn.begin(), builtIn.end(), naturalLess);
  for (const auto& name : usb) out.push_back(device(devRoot / name, name));
  for (const auto& name : builtIn) out.push_back(device(devRoot / name, name));
  return out;
}

std::string deviceLabel(const SerialDevice& d) {
  std::string label = d.path;
  if (fs::path(d.path).filename() != d.kernelName) label += " (" + d.kernelName + ")";
  if (!d.accessible) label += " - no access";
  return label;
}

std::set<int> builtInPortNumbers(const std::vector<SerialDevice>& devices) {
  std::set<int> numbers;
  for (const SerialDevice& d : devices) {
    const std::string& k = d.kernelName;
    if (k.rfind("ttyS", 0) != 0 || k.size() > 7 || k.find_first_not_of("0123456789", 4) != std::string::npos)
      continue;
    numbers.insert(std::stoi(k.substr(4)) + 1);
  }
  return numbers;
}

int linkPortFor(const std::string& devicePath, const std::set<int>& reserved, const fs::path& dir) {
  auto link = [&](int n) { return dir / ("COM" + std::to_string(n)); };
  for (int n = kFirstListedPort; n <= kLastListedPort; ++n) {
    const fs::path leadsTo = present(link(n)) ? link(n) : fs::path("/dev/ttyS" + std::to_string(n - 1));
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(link(n), ec)) && fs::read_symlink(link(n), ec) == devicePath) return n;
    if (sameDevice(leadsTo, devicePath)) return n;
  }
  for (int n = kFirstListedPort; n <= kLastListedPort; ++n) {
    if (present(link(n)) || reserved.count(n)) continue;
    std::error_code ec;
    fs::create_symlink(devicePath, link(n), ec);
    if (ec)
      throw RuntimeError(err::PathFileAccessError, "Cannot make the link COM" + std::to_string(n) + " -> " +
                                                       devicePath + ": " + ec.message());
    return n;
  }
  throw RuntimeError(err::InvalidPortNumber, "No port number from 1 to 16 is free for " + devicePath +
                                                 ": remove a COMn link you no longer use");
}

}  // namespace zr
