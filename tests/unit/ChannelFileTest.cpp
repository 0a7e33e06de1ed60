// Channel file lines and records: what the reader takes and skips, and what
// the writer makes of a record.
#include <gtest/gtest.h>

#include "lists/ChannelFile.h"

namespace zr::test {
namespace {

std::string parsed(std::string_view line) { return parseChannelLine(line).value_or("skipped"); }

TEST(ChannelFileTest, ReadsBothSeparatorsAndBothFrequencyForms) {
  EXPECT_EQ(parsed("5 7074.00 USB"), "0507074001");
  EXPECT_EQ(parsed("12,14074.00,CW"), "1214074004");
  EXPECT_EQ(parsed("05,07074.00,LSB"), "0507074002");
  EXPECT_EQ(parsed("99 29999.99 AME"), "9929999993");
  EXPECT_EQ(parsed("00,1600.00,U"), "0001600001");
  // Only the first letter of the mode counts, and the mode keeps any
  // separators after the second.
  EXPECT_EQ(parsed("07,07074.00,Lower side band, really"), "0707074002");
  EXPECT_EQ(parsed("07 07074.00 C W"), "0707074004");
  // A comma anywhere makes the comma the separator.
  EXPECT_EQ(parsed("07 07074.00,LSB"), "skipped");
}

TEST(ChannelFileTest, SkipsLinesOutsideTheFormat) {
  for (const char* line : {
           "100,14074.00,USB",  // three-digit channel
           "07,1234.56,USB",    // below 1 600.00 kHz
           "07,1599.99,USB",
           "07,30000.00,USB",   // above 29 999.99 kHz
           "7a,14074.00,USB",   // channel not digits
           ",14074.00,USB",
           "07,14074.0,USB",    // one decimal
           "07,140740.00,USB",  // six digits before the point
           "07,14074,00,USB",   // comma in place of the point: the mode is "00,USB"
           "07,1407400,USB",
           "07,+4074.00,USB",
           "07,14074.00,XSB",   // no such mode
           "07,14074.00,usb",   // letters are compared as they are
           "07,14074.00,",      // empty mode
           "07,14074.00",       // no mode field
           "07 14074.00",
           "07  14074.00 USB",  // two blanks: the frequency field is empty
       })
    EXPECT_EQ(parsed(line), "skipped") << line;
}

TEST(ChannelFileTest, AFileKeepsOrderAndDuplicatesAndCountsSkippedLines) {
  const auto file = parseChannelFile("05,07074.00,LSB\r\n\r\nrubbish\n12 14074.00 CW\r05,07075.00,USB\nlast,no,end");
  EXPECT_EQ(file.records, (std::vector<std::string>{"0507074002", "1214074004", "0507075001"}));
  EXPECT_EQ(file.skippedLines, (std::vector<int>{3, 6}));
  EXPECT_TRUE(parseChannelFile("").records.empty());
  EXPECT_TRUE(parseChannelFile("").skippedLines.empty());
  EXPECT_TRUE(parseChannelFile(std::string("\0\xff\x01,\n", 5)).records.empty());
}

TEST(ChannelFileTest, WritesCommaSeparatedLinesWithCrLfAndReadsThemBack) {
  EXPECT_EQ(formatChannelLine("1214074004"), "12,14074.00,CW");
  EXPECT_EQ(formatChannelLine("0507074003"), "05,07074.00,AM");  // AM is read back as AME
  EXPECT_EQ(parseChannelLine("05,07074.00,AM"), "0507074003");
  EXPECT_FALSE(formatChannelLine("0507074005").has_value());
  EXPECT_FALSE(formatChannelLine("050707400").has_value());
  const std::vector<std::string> records = {"0001600001", "1214074004", "0507074003", "9929999992"};
  const std::string text = formatChannelFile({"0001600001", "bad", "1214074004", "0507074003", "9929999992"});
  EXPECT_EQ(text, "00,01600.00,USB\r\n12,14074.00,CW\r\n05,07074.00,AM\r\n99,29999.99,LSB\r\n");
  EXPECT_EQ(parseChannelFile(text).records, records);
}

TEST(ChannelFileTest, RecordsAreTenCharactersWithAModeDigitOneToFour) {
  EXPECT_TRUE(isChannelRecord("0507074001"));
  EXPECT_TRUE(isChannelRecord("9900000004"));
  EXPECT_FALSE(isChannelRecord("0507074000"));
  EXPECT_FALSE(isChannelRecord("05070740015"));
  EXPECT_FALSE(isChannelRecord("05 7074001"));
  EXPECT_FALSE(isChannelRecord(""));
}

}  // namespace
}  // namespace zr::test
