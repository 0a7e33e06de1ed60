// Small text files: what may be read, how lines split, and the rows of a
// frequency list.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/TextFile.h"
#include "lists/ListLine.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

TEST(SplitLines, AcceptsEveryLineEndAndKeepsEmptyLines) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(splitLines("\n\n"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(splitLines("a\n\r"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(splitLines("").empty());
  EXPECT_EQ(splitLines("1\n2\n3\n4", 2), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(joinLinesCrLf({"a", "", " "}), "a\r\n\r\n \r\n");
}

TEST(ReadTextFile, ReadsBytesAsTheyAre) {
  TempWorkDir dir;
  TempWorkDir::write("list.txt", std::string("7.1 USB x\r\n\0\xff", 13));
  EXPECT_EQ(readTextFile("list.txt"), std::string("7.1 USB x\r\n\0\xff", 13));
}

TEST(ReadTextFile, RefusesWhatIsNotASmallRegularFileWithAReason) {
  TempWorkDir dir;
  auto error = [](const std::string& path) {
    try {
      readTextFile(path, 1024);
    } catch (const RuntimeError& e) {
      return std::to_string(e.number) + " " + e.description;
    }
    return std::string("read");
  };
  EXPECT_EQ(error("missing.txt"), "53 File not found");
  std::filesystem::create_directory("folder.txt");
  EXPECT_EQ(error("folder.txt"), "75 is a folder, not a file");
  std::filesystem::create_symlink("/dev/zero", "zero.txt");
  EXPECT_EQ(error("zero.txt"), "75 is not a regular file");
  ASSERT_EQ(::mkfifo("pipe.txt", 0600), 0);
  EXPECT_EQ(error("pipe.txt"), "75 is not a regular file");  // and open() did not block
  TempWorkDir::write("big.txt", std::string(1025, 'x'));
  EXPECT_EQ(error("big.txt"), "75 is larger than 1 KiB");
  TempWorkDir::write("fits.txt", std::string(1024, 'x'));
  EXPECT_EQ(error("fits.txt"), "read");
}

TEST(ListLine, SplitsFrequencyModeAndNoteKeepingTheNoteAsItIs) {
  EXPECT_EQ(parseListLine("14.07400   USB  FT8  calling  "), (ListRow{"14.07400", "USB", "FT8  calling  "}));
  EXPECT_EQ(parseListLine("7.074"), (ListRow{"7.074", "", ""}));
  EXPECT_EQ(parseListLine("7.074   "), (ListRow{"7.074", "", ""}));
  EXPECT_EQ(parseListLine("7.074 lsb"), (ListRow{"7.074", "lsb", ""}));
  EXPECT_EQ(parseListLine(" USB note"), (ListRow{"", "USB", "note"}));
  EXPECT_EQ(parseListLine(""), ListRow{});
  EXPECT_EQ(parseListLine("  "), ListRow{});
}

TEST(ListLine, WrittenRowsReadBackTheSame) {
  for (const ListRow& row : {ListRow{}, ListRow{"7.07400", "LSB", "net  at 19z "}, ListRow{"3.5", "CW", ""}}) {
    EXPECT_EQ(parseListLine(formatListLine(row)), row);
  }
  EXPECT_EQ(formatListLine(ListRow{}), "  ");
}

}  // namespace
}  // namespace zr::test
