#include "sim/CommandSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::CommandSplitter;
using Commands = std::vector<std::string>;

TEST(CommandSplitter, LineFeedsEndCommandsEvenWhenJoinedOrCut) {
  CommandSplitter s;
  EXPECT_EQ(s.push("M2\nF1425000\n", 0), (Commands{"M2", "F1425000"}));
  EXPECT_EQ(s.push("F14", 0), Commands{});
  EXPECT_EQ(s.push("25", 0), Commands{});
  EXPECT_EQ(s.push("000\n?", 0), Commands{"F1425000"});
  EXPECT_EQ(s.push("\n\n\n", 0), Commands{"?"});  // empty lines are nothing
}

TEST(CommandSplitter, SyncCharactersStandAloneAtTheStartOfACommand) {
  CommandSplitter s;
  EXPECT_EQ(s.push("U", 0), Commands{"U"});
  EXPECT_EQ(s.push("KU?\n", 0), (Commands{"K", "U", "?"}));
  EXPECT_EQ(s.push("UF0700000\n", 0), (Commands{"U", "F0700000"}));
  // Inside a command they are just letters.
  EXPECT_EQ(s.push("LU\n", 0), Commands{"LU"});
}

TEST(CommandSplitter, LoneApostropheEndsAtTheNextOtherByteOrAfterQuiet) {
  CommandSplitter s(0.02);
  EXPECT_EQ(s.push("'0\n", 0), Commands{"'0"});
  EXPECT_EQ(s.push("'U", 0), (Commands{"'", "U"}));
  EXPECT_EQ(s.push("''\n", 0), (Commands{"'", "'"}));

  EXPECT_EQ(s.push("'", 1.0), Commands{});
  ASSERT_TRUE(s.deadline().has_value());
  EXPECT_DOUBLE_EQ(*s.deadline(), 1.02);
  EXPECT_EQ(s.expire(1.019), Commands{});
  EXPECT_EQ(s.expire(1.02), Commands{"'"});
  EXPECT_FALSE(s.deadline().has_value());

  // The absolute code arriving in a second piece, within the quiet time.
  EXPECT_EQ(s.push("'", 2.0), Commands{});
  EXPECT_EQ(s.push("1", 2.01), Commands{});
  EXPECT_FALSE(s.deadline().has_value());
  EXPECT_EQ(s.expire(3.0), Commands{});
  EXPECT_EQ(s.push("\n", 3.0), Commands{"'1"});
}

TEST(CommandSplitter, OverlongGarbageIsDroppedUpToTheNextLineFeed) {
  CommandSplitter s(0.02, 8);
  EXPECT_EQ(s.push("xxxxxxxxxxxxxxxxxxxxUK", 0), Commands{});
  EXPECT_EQ(s.push("yyy\n?\n", 0), Commands{"?"});
}

}  // namespace
