#include "setup/SerialDevices.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "TempDir.h"
#include "core/Errors.h"
#include "core/serial/DeviceAccess.h"

namespace fs = std::filesystem;

namespace zr {
namespace {

// A /dev and /sys of a machine with a USB adapter (by-id link), a bare
// ACM device, two ttyS nodes of which only one has a UART.
class SerialDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dev() / "serial" / "by-id");
    for (const char* name : {"ttyUSB0", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS10", "tty0"})
      std::ofstream(dev() / name).put('x');
    fs::create_symlink("../../ttyUSB0", dev() / "serial" / "by-id" / "usb-FTDI_A1-port0");
    fs::create_symlink("../../ttyUSB9", dev() / "serial" / "by-id" / "usb-gone-port0");
    uart("ttyS0", 4);
    uart("ttyS1", 0);
  }
  fs::path dev() const { return root.path() / "dev"; }
  fs::path sys() const { return root.path() / "sys"; }
  void uart(const char* name, int type) {
    fs::create_directories(sys() / "class" / "tty" / name);
    std::ofstream(sys() / "class" / "tty" / name / "type") << type << "\n";
  }
  std::vector<std::string> paths() const {
    std::vector<std::string> out;
    for (const auto& d : listSerialDevices(dev(), sys())) out.push_back(d.path);
    return out;
  }

  TempDir root;
};

TEST_F(SerialDevicesTest, StableNamesFirstThenUnnamedAdaptersThenBuiltInPortsWithAUart) {
  const std::vector<std::string> expected = {
      (dev() / "serial/by-id/usb-FTDI_A1-port0").string(),  // ttyUSB0 only by its stable name
      (dev() / "ttyACM0").string(),
      (dev() / "ttyUSB2").string(),
      (dev() / "ttyUSB10").string(),  // numbers in numeric order
      (dev() / "ttyS0").string(),
      // ttyS1 has no UART; ttyS10 has no sysfs entry, so it cannot be ruled out
      (dev() / "ttyS10").string(),
  };
  EXPECT_EQ(paths(), expected);
  const auto devices = listSerialDevices(dev(), sys());
  EXPECT_EQ(devices[0].kernelName, "ttyUSB0");
  EXPECT_EQ(deviceLabel(devices[0]), devices[0].path + " (ttyUSB0)");
  EXPECT_EQ(deviceLabel(devices[1]), devices[1].path);
  SerialDevice refused{"/dev/ttyS0", "ttyS0", false};
  EXPECT_EQ(deviceLabel(refused), "/dev/ttyS0 - no access");
  EXPECT_EQ(builtInPortNumbers(devices), (std::set<int>{1, 11}));
}

TEST_F(SerialDevicesTest, AMachineWithoutSerialDevicesListsNothing) {
  TempDir empty;
  EXPECT_TRUE(listSerialDevices(empty.path() / "dev", empty.path() / "sys").empty());
}

TEST(SerialDeviceLink, ReusesTheNumberThatLeadsThereElseLinksTheLowestFreeOne) {
  TempDir dir;
  const std::string adapter = "/dev/serial/by-id/usb-FTDI_A1-port0";
  // COM1 is taken by a file, 2 is reserved (another port's setting).
  std::ofstream(dir.path() / "COM1").put('x');
  EXPECT_EQ(linkPortFor(adapter, {2}, dir.path()), 3);
  EXPECT_EQ(fs::read_symlink(dir.path() / "COM3"), fs::path(adapter));
  // Chosen again (even while unplugged): the same number, no new link.
  EXPECT_EQ(linkPortFor(adapter, {2}, dir.path()), 3);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "COM4")));
  // A built-in port already reached through its number needs no link.
  EXPECT_EQ(linkPortFor("/dev/ttyS1", {}, dir.path()), 2);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "COM2")));
}

TEST(SerialDeviceLink, NoFreeNumberOrNoLinkIsAnErrorThatSaysWhy) {
  TempDir dir;
  std::set<int> all;
  for (int n = 1; n <= 16; ++n) all.insert(n);
  try {
    linkPortFor("/dev/ttyUSB7", all, dir.path());
    FAIL() << "no number was free";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description.find("No port number from 1 to 16 is free"), std::string::npos);
  }
  try {
    linkPortFor("/dev/ttyUSB7", {}, dir.path() / "missing");
    FAIL() << "the directory is missing";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description.find("Cannot make the link COM1 -> /dev/ttyUSB7"), std::string::npos);
  }
}

TEST(DeviceAccessHint, NamesTheOwningGroupAndHowToJoinIt) {
  TempDir dir;
  const fs::path device = dir.path() / "ttyUSB0";
  std::ofstream(device).put('x');
  EXPECT_EQ(accessHint(dir.path() / "absent"), "");

  const group* dialout = ::getgrnam("dialout");
  if (!dialout || ::chown(device.c_str(), 0, dialout->gr_gid) != 0) GTEST_SKIP() << "needs root and a dialout group";
  ::chmod(device.c_str(), 0660);
  const std::string hint = accessHint(device);
  EXPECT_NE(hint.find("belongs to group 'dialout'"), std::string::npos) << hint;
  EXPECT_NE(hint.find("sudo usermod -aG dialout $USER"), std::string::npos) << hint;

  // A device only its owner may open: joining a group would not help.
  ::chmod(device.c_str(), 0600);
  EXPECT_NE(accessHint(device).find("only its owner may open it"), std::string::npos);
  ::chown(device.c_str(), 0, 0);
  ::chmod(device.c_str(), 0660);
  EXPECT_NE(accessHint(device).find(":root with mode 0660"), std::string::npos) << accessHint(device);
}

}  // namespace
}  // namespace zr
