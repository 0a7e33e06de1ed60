// The band list files through the window: what Write File leaves on disk and
// reads back, a write that fails, and files that cannot be lists.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "BandSelectHarness.h"

namespace zr::test {
namespace {

class BandListFileTest : public ::testing::Test, public BandSelectHarness {
 protected:
  // Every entry of the working folder, to see that no temporary file is left.
  static std::vector<std::string> folder() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(".")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(BandListFileTest, WrittenListHoldsFourteenLinesAndReadsBackTheSame) {
  ASSERT_TRUE(connect(2, 707400, 2));
  TempWorkDir::write("M40List.txt", "7.074 LSB old note\n");
  typeAt(0.5, "txtInfo", 0, "FT8  net at  19z ");
  typeAt(0.5, "txtFreq", 2, "3.5");
  typeAt(0.5, "txtMode", 2, "CW");
  typeAt(0.5, "txtInfo", 5, "note only");
  clickAt(1.0, "cmdWriteFile");
  open("40", 2.0);
  std::string expected = "7.074 LSB FT8  net at  19z \r\n  \r\n3.5 CW \r\n  \r\n  \r\n - note only\r\n";
  for (int i = 6; i < 13; ++i) expected += "  \r\n";
  expected += "7.07400 LSB \r\n";
  EXPECT_EQ(TempWorkDir::read("M40List.txt"), expected);

  BandRows written = m().rows();
  written[5].mode = "-";
  open("40", 1.0);
  EXPECT_EQ(m().rows(), written);
  EXPECT_EQ(folder(), std::vector<std::string>{"M40List.txt"});
}

TEST_F(BandListFileTest, FailedWriteLeavesTheOldListWhole) {
  ASSERT_TRUE(connect());
  const std::string old = "7.074 LSB kept\r\n";
  TempWorkDir::write("M40List.txt", old);
  // A file size limit makes the write fail part way, for any user.
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  duringAt(0.5, [&] {
    rlimit small = before;
    small.rlim_cur = 20;
    ::setrlimit(RLIMIT_FSIZE, &small);
  });
  clickAt(1.0, "cmdWriteFile");
  duringAt(1.5, [&] { ::setrlimit(RLIMIT_FSIZE, &before); });
  open("40", 2.0);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(TempWorkDir::read("M40List.txt"), old);
  EXPECT_EQ(frm().txtInfo.text, "M40List.txt: Err 75. File too large");
  EXPECT_TRUE(frm().txtInfo.visible);
  EXPECT_EQ(folder(), std::vector<std::string>{"M40List.txt"});
}

TEST_F(BandListFileTest, ReadOnlyWorkingFolderIsReportedAndTheListKept) {
  ASSERT_TRUE(connect());
  TempWorkDir::write("M40List.txt", "7.074 LSB kept\r\n");
  ::chmod(".", 0555);
  if (::access(".", W_OK) == 0) {
    ::chmod(".", 0755);
    GTEST_SKIP() << "this user writes into read-only folders";
  }
  clickAt(0.5, "cmdWriteFile");
  open("40", 1.0);
  ::chmod(".", 0755);
  EXPECT_EQ(TempWorkDir::read("M40List.txt"), "7.074 LSB kept\r\n");
  EXPECT_EQ(frm().txtInfo.text, "M40List.txt: Err 70. Permission denied");
}

TEST_F(BandListFileTest, WhatCannotBeAListOpensEmptyWithTheReason) {
  ASSERT_TRUE(connect());
  struct Case {
    std::function<void()> make;
    const char* message;
  };
  const Case cases[] = {
      {[] { TempWorkDir::write("M40List.txt", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10)); },
       "M40List.txt: Err 75. is not a text file"},
      {[] { std::filesystem::create_directory("M40List.txt"); }, "M40List.txt: Err 75. is a folder, not a file"},
      {[] { TempWorkDir::write("M40List.txt", std::string(70000, '7')); },
       "M40List.txt: Err 75. is larger than 64 KiB"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("M40List.txt");
    c.make();
    open("40", 1.0);
    EXPECT_EQ(frm().txtInfo.text, c.message);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(m().row(i), ListRow{}) << c.message;
    EXPECT_EQ(m().row(13).freq, "14.25000");
  }
}

}  // namespace
}  // namespace zr::test
