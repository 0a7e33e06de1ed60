#include "core/serial/PortMapping.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDir.h"
#include "core/Errors.h"

namespace fs = std::filesystem;

namespace zr {
namespace {

TEST(PortMapping, FallsBackToTheBuiltInPortsWhenNoComLinkExists) {
  TempDir dir;
  EXPECT_EQ(serialDevicePath(1, dir.path()), fs::path("/dev/ttyS0"));
  EXPECT_EQ(serialDevicePath(12, dir.path()), fs::path("/dev/ttyS11"));
  EXPECT_EQ(describeSerialPort(3, dir.path()), "/dev/ttyS2");
}

TEST(PortMapping, PrefersAComLinkOrFileInTheDirectory) {
  TempDir dir;
  std::ofstream(dir.path() / "target").put('x');
  fs::create_symlink(dir.path() / "target", dir.path() / "COM3");
  std::ofstream(dir.path() / "COM4").put('x');

  EXPECT_EQ(serialDevicePath(3, dir.path()), dir.path() / "COM3");
  EXPECT_EQ(describeSerialPort(3, dir.path()), "COM3 -> " + fs::canonical(dir.path() / "target").string());
  EXPECT_EQ(serialDevicePath(4, dir.path()), dir.path() / "COM4");
  EXPECT_EQ(describeSerialPort(4, dir.path()), "COM4");
  // COM3 must not shadow COM30.
  EXPECT_EQ(serialDevicePath(30, dir.path()), fs::path("/dev/ttyS29"));
}

TEST(PortMapping, ADanglingLinkStillCountsAndIsDescribedAsMissing) {
  TempDir dir;
  fs::create_symlink("/dev/ttyUSB-unplugged", dir.path() / "COM2");
  EXPECT_EQ(serialDevicePath(2, dir.path()), dir.path() / "COM2");
  EXPECT_EQ(describeSerialPort(2, dir.path()), "COM2 -> /dev/ttyUSB-unplugged (missing)");
}

// The route is what a recovery keeps to: an entry that is there, even
// dangling, is the route; only no entry at all means the built-in device.
TEST(PortMapping, TheRouteIsTheComEntryWheneverOneExists) {
  TempDir dir;
  fs::create_symlink("/dev/ttyUSB-unplugged", dir.path() / "COM2");
  std::ofstream(dir.path() / "COM4").put('x');
  const PortRoute dangling = choosePortRoute(2, dir.path(), "/x/ttyS");
  EXPECT_TRUE(dangling.viaLink);
  EXPECT_EQ(dangling.path, dir.path() / "COM2");
  EXPECT_FALSE(routeReady(dangling));
  EXPECT_TRUE(routeReady(choosePortRoute(4, dir.path())));

  const PortRoute none = choosePortRoute(3, dir.path(), "/x/ttyS");
  EXPECT_FALSE(none.viaLink);
  EXPECT_EQ(none.path, fs::path("/x/ttyS2"));
  EXPECT_FALSE(routeReady(none));
  EXPECT_EQ(describeRoute(none), "/x/ttyS2");

  // Once chosen, a link that goes away is described as missing, never as
  // the built-in device, and is ready again when it is back.
  const PortRoute link = choosePortRoute(4, dir.path());
  fs::remove(dir.path() / "COM4");
  EXPECT_EQ(describeRoute(link), "COM4 (missing)");
  EXPECT_FALSE(routeReady(link));
  std::ofstream(dir.path() / "target").put('x');
  fs::create_symlink(dir.path() / "target", dir.path() / "COM4");
  EXPECT_TRUE(routeReady(link));
  EXPECT_EQ(describeRoute(link), "COM4 -> " + fs::canonical(dir.path() / "target").string());
}

TEST(PortMapping, PortNumbersBelowOneAreRefused) {
  for (int n : {0, -1}) {
    try {
      serialDevicePath(n);
      ADD_FAILURE() << n;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number, err::InvalidPortNumber);
    }
    EXPECT_THROW(describeSerialPort(n), RuntimeError);
    EXPECT_THROW(choosePortRoute(n), RuntimeError);
  }
}

}  // namespace
}  // namespace zr
