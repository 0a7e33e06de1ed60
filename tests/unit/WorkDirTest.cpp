#include "core/WorkDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/TempWorkDir.h"

namespace fs = std::filesystem;

namespace zr::test {
namespace {

TEST(WorkDir, UserDirectoryFollowsTheBaseDirectoryRules) {
  EXPECT_EQ(userWorkDir("/cfg", "/home/op"), fs::path("/cfg/zr3817"));
  // Unset, empty or relative XDG_CONFIG_HOME: the default under HOME.
  EXPECT_EQ(userWorkDir(nullptr, "/home/op"), fs::path("/home/op/.config/zr3817"));
  EXPECT_EQ(userWorkDir("", "/home/op"), fs::path("/home/op/.config/zr3817"));
  EXPECT_EQ(userWorkDir("cfg", "/home/op"), fs::path("/home/op/.config/zr3817"));
  EXPECT_TRUE(userWorkDir(nullptr, nullptr).empty());
  EXPECT_TRUE(userWorkDir("rel", "also-rel").empty());
}

TEST(WorkDir, EnteringCreatesMissingPrivateDirectoriesAndMovesIntoThem) {
  TempWorkDir scratch;
  const fs::path start = fs::current_path();
  ASSERT_EQ(enterWorkDir("a/b/c"), "");
  EXPECT_EQ(fs::current_path(), start / "a/b/c");
  struct stat st {};
  ASSERT_EQ(::stat((start / "a").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // An existing directory is entered as it is.
  ::chmod((start / "a").c_str(), 0755);
  ASSERT_EQ(enterWorkDir(start / "a" / "."), "");
  EXPECT_EQ(fs::current_path(), start / "a");
  ASSERT_EQ(::stat((start / "a").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

TEST(WorkDir, AFileInTheWayIsReportedAndTheDirectoryStays) {
  TempWorkDir scratch;
  const fs::path start = fs::current_path();
  std::ofstream("plain") << "x";
  EXPECT_NE(enterWorkDir("plain").find("plain"), std::string::npos);
  EXPECT_NE(enterWorkDir("plain/below").find("cannot create"), std::string::npos);
  EXPECT_EQ(fs::current_path(), start);
  EXPECT_NE(enterWorkDir(""), "");
}

}  // namespace
}  // namespace zr::test
