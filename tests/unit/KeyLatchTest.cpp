// The key latch reads the written stream as the transceiver does, and its
// last-resort mirror unkeys through a bare descriptor.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/KeyLatch.h"

namespace zr {
namespace {

// Feeds each piece as one whole write; the latch after the last.
bool keyedAfter(const std::vector<std::string>& writes) {
  KeyLatch latch;
  latch.portOpened(-1);
  for (const auto& w : writes) {
    latch.beforeWrite(w);
    latch.afterWrite(w);
  }
  return latch.keyed();
}

TEST(KeyLatch, KeyCommandsCountOnlyAtTheStartOfACommand) {
  EXPECT_TRUE(keyedAfter({"K"}));
  EXPECT_FALSE(keyedAfter({"K", "U"}));
  EXPECT_TRUE(keyedAfter({"U", "F1425000\n", "K"}));
  EXPECT_TRUE(keyedAfter({"M3\nF1425000\n", "K", "?\n"}));  // a key needs no line feed
  EXPECT_FALSE(keyedAfter({"K", "F1420000\nU"}));
  EXPECT_TRUE(keyedAfter({"K", "XU\n"})) << "a U inside a command is no unkey";
  EXPECT_TRUE(keyedAfter({"K", "F14", "U\n"})) << "a command split over writes";
  EXPECT_FALSE(keyedAfter({"K", "F14\n", "U"}));
  EXPECT_FALSE(keyedAfter({"K", "'", "U"})) << "a lone toggle ends before the next byte";
  EXPECT_TRUE(keyedAfter({"K", "'1U"})) << "\"'1U\" is one command, no unkey";
  EXPECT_TRUE(keyedAfter({"KU\n", "K"}));
  EXPECT_FALSE(keyedAfter({"KU"})) << "both are whole commands";
}

TEST(KeyLatch, AKeyCountsBeforeItIsWrittenAnUnkeyOnlyAfter) {
  KeyLatch latch;
  latch.portOpened(-1);
  latch.beforeWrite("K");  // the write then fails half way
  EXPECT_TRUE(latch.keyed());
  latch.afterWrite("K");
  latch.beforeWrite("U");  // fails: the unkey is still owed
  EXPECT_TRUE(latch.keyed());
  latch.portClosing();
  latch.portOpened(-1);
  EXPECT_TRUE(latch.keyed()) << "a new port does not forget the owed unkey";
  latch.beforeWrite("U");
  latch.afterWrite("U");
  EXPECT_FALSE(latch.keyed());
}

TEST(KeyLatch, LastResortWritesUOnlyWhileKeyedAndOpen) {
  int fds[2];
  ASSERT_EQ(::pipe2(fds, O_NONBLOCK), 0);
  auto drain = [&] {
    char buf[16];
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
  };
  {
    KeyLatch latch;
    latch.mirrorForLastResort();
    latch.portOpened(fds[1]);
    lastResortUnkey();
    EXPECT_EQ(drain(), "") << "not keyed";
    latch.beforeWrite("K");
    latch.afterWrite("K");
    lastResortUnkey();
    EXPECT_EQ(drain(), "U");
    latch.portClosing();
    lastResortUnkey();
    EXPECT_EQ(drain(), "") << "no descriptor once the port closes";
    latch.portOpened(fds[1]);
  }
  lastResortUnkey();
  EXPECT_EQ(drain(), "") << "nothing once the latch is gone";

  KeyLatch unmirrored;  // tests' panels never reach the mirror
  unmirrored.portOpened(fds[1]);
  unmirrored.beforeWrite("K");
  lastResortUnkey();
  EXPECT_EQ(drain(), "");
  ::close(fds[0]);
  ::close(fds[1]);
}

}  // namespace
}  // namespace zr
