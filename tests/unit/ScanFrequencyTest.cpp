// What the scanners make of the operator's texts, and the scan list file.
#include <gtest/gtest.h>

#include "lists/ScanFreqsFile.h"
#include "lists/ScanFrequency.h"

namespace zr::test {
namespace {

TEST(ScanFrequencyTest, BandLimitsReadAsSevenDigits) {
  EXPECT_EQ(mhzToDigits("1.800"), 180000);
  EXPECT_EQ(mhzToDigits("14.00"), 1400000);
  EXPECT_EQ(mhzToDigits("29.700"), 2970000);
  EXPECT_EQ(mhzToDigits("35"), 3500000);   // above the range: the scan says "Error"
  EXPECT_EQ(mhzToDigits(""), 0);
  EXPECT_EQ(mhzToDigits("Error"), 0);
  EXPECT_EQ(mhzToDigits("7.0x5"), 70);     // the leading number of "070x500"
  EXPECT_EQ(mhzToDigits("14.0000001"), 0);  // eight digits have no place
}

TEST(ScanFrequencyTest, ListRowsBecomeFrequencyCommandsOnlyWhenAllDigitsAndInRange) {
  EXPECT_EQ(rowFrequencyCommand("7.1"), "F0710000");
  EXPECT_EQ(rowFrequencyCommand("14.2"), "F1420000");
  EXPECT_EQ(rowFrequencyCommand("1.6"), "F0160000");
  EXPECT_EQ(rowFrequencyCommand("29.99999"), "F2999999");
  for (const char* bad : {"14.2a", "1.5", "30", "", " 7.1", "14.000001", "-7.1"})
    EXPECT_EQ(rowFrequencyCommand(bad), std::nullopt) << bad;
  EXPECT_EQ(frequencyCommand(180000), "F0180000");
  EXPECT_EQ(frequencyCommand(2999999), "F2999999");
}

TEST(ScanFrequencyTest, ModeNamesInAnyCase) {
  EXPECT_EQ(modeCodeFor("usb"), "M1");
  EXPECT_EQ(modeCodeFor("LSB"), "M2");
  EXPECT_EQ(modeCodeFor("AM"), "M3");
  EXPECT_EQ(modeCodeFor("Ame"), "M3");
  EXPECT_EQ(modeCodeFor("cw"), "M4");
  EXPECT_EQ(modeCodeFor("FM"), "");
  EXPECT_EQ(modeCodeFor(""), "");
}

TEST(ScanFrequencyTest, DwellIsTheLeadingNumberRoundedAndKeptWithinLimits) {
  EXPECT_EQ(dwellSeconds("3"), 3);
  EXPECT_EQ(dwellSeconds("5s"), 5);
  EXPECT_EQ(dwellSeconds(" 2.6 "), 3);
  EXPECT_EQ(dwellSeconds("0"), 1);
  EXPECT_EQ(dwellSeconds("-4"), 1);
  EXPECT_EQ(dwellSeconds("abc"), 1);
  EXPECT_EQ(dwellSeconds(""), 1);
  EXPECT_EQ(dwellSeconds("99999"), 32767);
  EXPECT_EQ(dwellSeconds(std::string(400, '9')), 32767);
}

TEST(ScanFreqsFileTest, RowsThenTheDwellLine) {
  const ScanList list = parseScanList("7.1 USB forty\r\n\r\n14.2   lsb  two  notes \n");
  EXPECT_EQ(list.rows[0], (ListRow{"7.1", "USB", "forty"}));
  EXPECT_EQ(list.rows[1], ListRow{});
  EXPECT_EQ(list.rows[2], (ListRow{"14.2", "lsb", "two  notes "}));
  EXPECT_FALSE(list.dwell.has_value());

  std::string full;
  for (int i = 0; i < 13; ++i) full += "  \r\n";
  const ScanList withDwell = parseScanList(full + "7\r\nignored\r\n");
  EXPECT_EQ(withDwell.dwell, "7");
}

TEST(ScanFreqsFileTest, WritesFourteenLinesThatReadBackTheSame) {
  std::array<ListRow, kScanRows> rows{};
  rows[0] = {"7.1", "USB", "forty"};
  rows[12] = {"28.4", "", ""};
  const std::string text = formatScanList(rows, "5");
  EXPECT_EQ(text.substr(0, 17), "7.1 USB forty\r\n  ");
  int lines = 0;
  for (std::size_t i = 0; (i = text.find("\r\n", i)) != std::string::npos; i += 2) ++lines;
  EXPECT_EQ(lines, 14);
  const ScanList back = parseScanList(text);
  EXPECT_EQ(back.rows, rows);
  EXPECT_EQ(back.dwell, "5");
}

}  // namespace
}  // namespace zr::test
