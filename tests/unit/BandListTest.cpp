// The band lists apart from their window: file names, the file format both
// ways, a row's frequency and mode as the transceiver's codes, and the sort.
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "lists/BandList.h"
#include "support/ListRowPrinter.h"

namespace zr::test {
namespace {

BandRows rowsOf(std::initializer_list<ListRow> first) {
  BandRows rows;
  std::size_t i = 0;
  for (const ListRow& r : first) rows[i++] = r;
  return rows;
}

TEST(BandList, FileAndCaptionForEachKindOfBandKey) {
  EXPECT_EQ(bandListFile("160"), "M160List.txt");
  EXPECT_EQ(bandListFile("MARS"), "MarsList.txt");
  EXPECT_EQ(bandCaption("MARS"), "MARS");
  EXPECT_EQ(bandListFile("60 "), "");  // the button's caption is not its key
  EXPECT_EQ(bandListFile("mars"), "");
}

TEST(BandList, ReadsLineKIntoRowKWhateverEndsTheLines) {
  const BandRows rows = parseBandList("7.074 LSB\r\n3.5 CW\n\r14.2\rx");
  EXPECT_EQ(rows[1], (ListRow{"3.5", "CW", ""}));
  EXPECT_EQ(rows[2], ListRow{});  // the empty third line
  EXPECT_EQ(rows[3], (ListRow{"14.2", "", ""}));
  EXPECT_EQ(rows[4], (ListRow{"x", "", ""}));
  EXPECT_EQ(rows[5], ListRow{});
}

TEST(BandList, RefusesBytesThatAreNotText) {
  for (const std::string& bytes : {std::string("7.1 USB a\0b", 11), std::string("\x01\x02\x03"), std::string("7.1\x7f")}) {
    try {
      parseBandList(bytes);
      ADD_FAILURE() << "read as a list";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(errMessage("M40List.txt", e), "M40List.txt: Err 75. is not a text file");
    }
  }
  // Tabs and bytes above 127 are text: notes keep them as they are.
  EXPECT_EQ(parseBandList("7.1 USB caf\xe9\tbar")[0].note, "caf\xe9\tbar");
}

TEST(BandList, WrittenRowsReadBackWhole) {
  const BandRows rows = rowsOf({{"7.07400", "LSB", "FT8  net at  19z "}, {}, {"3.5", "CW", ""}, {"", "USB", "no freq"}});
  EXPECT_EQ(parseBandList(formatBandList(rows)), rows);

  // A note without a mode must not lose its first word to the mode.
  const BandRows noMode = rowsOf({{"7.1", "", "my net"}, {"", " ", "note only"}});
  EXPECT_EQ(parseBandList(formatBandList(noMode))[0], (ListRow{"7.1", "-", "my net"}));
  EXPECT_EQ(parseBandList(formatBandList(noMode))[1], (ListRow{"", "-", "note only"}));

  // A line break typed into a row must not push the rows after it down.
  const std::string broken = formatBandList(rowsOf({{"7.1", "USB", "two\r\nlines"}, {"3.5", "CW", "next"}}));
  EXPECT_EQ(parseBandList(broken)[0].note, "two  lines");
  EXPECT_EQ(parseBandList(broken)[1], (ListRow{"3.5", "CW", "next"}));
}

TEST(BandList, FrequencyTextBecomesSevenDigits) {
  EXPECT_EQ(bandFrequencyDigits("14.074"), "1407400");
  EXPECT_EQ(bandFrequencyDigits("7.0745"), "0707450");
  EXPECT_EQ(bandFrequencyDigits("3.5"), "0350000");
  EXPECT_EQ(bandFrequencyDigits("7.074"), "0707400");
  EXPECT_EQ(bandFrequencyDigits("7.07400"), "0707400");
  EXPECT_EQ(bandFrequencyDigits("14,074.5 kHz"), "1407450");
  EXPECT_EQ(bandFrequencyDigits("abc"), "0000000");
  // Digits beyond the last place are below 10 Hz: ignored.
  EXPECT_EQ(bandFrequencyDigits("14.07412345"), "1407412");
  EXPECT_EQ(bandFrequencyDigits("7.0741299"), "0707412");

  EXPECT_FALSE(bandFrequencyInRange(bandFrequencyDigits("35.0")));
  EXPECT_FALSE(bandFrequencyInRange(bandFrequencyDigits("1.5")));
  EXPECT_FALSE(bandFrequencyInRange(bandFrequencyDigits("x")));
  EXPECT_TRUE(bandFrequencyInRange(bandFrequencyDigits("1.6")));
  EXPECT_TRUE(bandFrequencyInRange(bandFrequencyDigits("29.99999")));
  EXPECT_FALSE(bandFrequencyInRange(bandFrequencyDigits("30.0")));
}

TEST(BandList, ModeNamesAndCodes) {
  EXPECT_EQ(bandModeCode("lsb"), "M2");
  EXPECT_EQ(bandModeCode("Usb"), "M1");
  EXPECT_EQ(bandModeCode("AME"), "M3");
  EXPECT_EQ(bandModeCode("cw"), "M4");
  EXPECT_EQ(bandModeCode("FM"), "");
  EXPECT_EQ(bandModeCode(""), "");
  EXPECT_EQ(bandModeName("M4"), "CW");
  EXPECT_EQ(bandModeName("  "), "");
  EXPECT_EQ(bandFrequencyText("F1407400"), "14.07400");
  EXPECT_EQ(bandFrequencyText("F0707400"), "7.07400");
  EXPECT_EQ(bandFrequencyText("F070740x"), "");
  EXPECT_EQ(bandFrequencyText("        "), "");
}

TEST(BandList, SortComparesInSinglePrecisionAndKeepsRowsWithoutAFrequency) {
  // 14.2000001 and 14.2 are the same single-precision value: a tie.
  const BandRows sorted = sortBandRows(rowsOf({{"net", "USB", "Sunday net"},
                                               {"14.2000001", "USB", "a"},
                                               {"  ", "", ""},
                                               {"0", "CW", "zero"},
                                               {"14.2", "USB", "b"},
                                               {"", "", "note only"},
                                               {"3.5", "CW", "c"}}));
  const char* notes[] = {"c", "b", "a", "Sunday net", "zero", "note only"};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(sorted[i].note, notes[i]) << i;
  EXPECT_EQ(sorted[3], (ListRow{"net", "USB", "Sunday net"}));
  for (std::size_t i = 6; i < kBandListRows; ++i) EXPECT_EQ(sorted[i], ListRow{}) << i;
}

}  // namespace
}  // namespace zr::test
