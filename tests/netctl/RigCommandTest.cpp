// The dialect: what a line means, and how answers are written out.
#include <gtest/gtest.h>

#include "netctl/RigCommand.h"
#include "netctl/RigReply.h"

namespace zr {
namespace {

TEST(RigCommand, ShortAndLongNamesCarryTheirArguments) {
  RigLine l = parseRigLine("F 7074000.000000");
  ASSERT_TRUE(l.command);
  EXPECT_EQ(l.command->op, RigOp::SetFreq);
  EXPECT_DOUBLE_EQ(l.command->hz, 7074000);
  EXPECT_EQ(l.name, "set_freq");

  l = parseRigLine("\\set_mode LSB 2400");
  ASSERT_TRUE(l.command);
  EXPECT_EQ(l.command->op, RigOp::SetMode);
  EXPECT_EQ(l.command->mode, "LSB");
  EXPECT_EQ(l.command->passband, 2400);
  EXPECT_EQ(l.args, "LSB 2400");

  l = parseRigLine("  M\tUSB   -1 ");
  ASSERT_TRUE(l.command);
  EXPECT_EQ(l.command->passband, -1);
  EXPECT_EQ(l.args, "USB -1");

  l = parseRigLine("T 3");
  ASSERT_TRUE(l.command);
  EXPECT_EQ(l.command->ptt, 3);

  l = parseRigLine("\\set_split_vfo 1 Sub");
  ASSERT_TRUE(l.command);
  EXPECT_TRUE(l.command->split);
  EXPECT_EQ(l.command->vfo, RigVfo::B);

  l = parseRigLine("\\set_split_freq_mode 7074000 PKTUSB -1");
  ASSERT_TRUE(l.command);
  EXPECT_DOUBLE_EQ(l.command->hz, 7074000);
  EXPECT_EQ(l.command->mode, "PKTUSB");
  EXPECT_EQ(l.command->passband, -1);

  l = parseRigLine("X usb");
  ASSERT_TRUE(l.command);
  EXPECT_EQ(l.command->op, RigOp::SetSplitMode);
  EXPECT_EQ(l.command->passband, 0);
  EXPECT_EQ(parseRigLine("I 7.0745e6").command->hz, 7074500);
  EXPECT_EQ(parseRigLine("\\get_vfo_info VFOB").command->vfo, RigVfo::B);
  EXPECT_EQ(parseRigLine("\\get_vfo_info").command->vfo, RigVfo::Current);

  for (const char* get : {"f", "\\get_freq", "m", "v", "t", "s", "\\chk_vfo", "\\dump_state", "\\get_powerstat",
                          "\\get_lock_mode", "q", "i", "x", "\\get_split_freq_mode", "\\get_vfo_info Main"}) {
    l = parseRigLine(get);
    EXPECT_TRUE(l.command) << get;
    EXPECT_FALSE(l.blank) << get;
  }
  EXPECT_EQ(parseRigLine("V ?").command->listChoices, true);
  EXPECT_EQ(parseRigLine("M ?").command->listChoices, true);
}

TEST(RigCommand, MalformedArgumentsAreInvalidParameters) {
  for (const char* bad : {"F", "F abc", "F nan", "F inf", "F 0x100", "F 7000000 1", "M", "M USB x", "M USB 2400.5",
                          "M ? 1", "T", "T 4", "T -1", "T x", "S 2", "S 1 VFOC", "V bogus", "V", "f extra",
                          "\\chk_vfo 1", "q now", "I", "I 7e6 1", "X", "X USB x",
                          "\\set_split_freq_mode 7074000", "\\set_split_freq_mode x USB 0",
                          "\\set_split_freq_mode 7074000 USB 0 1", "\\get_vfo_info VFOC", "i 1"}) {
    const RigLine l = parseRigLine(bad);
    EXPECT_FALSE(l.command) << bad;
    EXPECT_EQ(l.error, rprt::InvalidParameter) << bad;
    EXPECT_FALSE(l.name.empty()) << bad;
  }
}

TEST(RigCommand, UnknownCommandsAreNotImplemented) {
  for (const char* unknown : {"y", "Z 1", "\\foo_bar", "fm", "\\GET_FREQ", "\\quit", "1", "\\", "\\dump_caps", "#f",
                              "?", "_", "\xff"}) {
    const RigLine l = parseRigLine(unknown);
    EXPECT_FALSE(l.command) << unknown;
    EXPECT_EQ(l.error, rprt::NotImplemented) << unknown;
  }
}

TEST(RigCommand, PunctuationSelectsTheExtendedProtocol) {
  EXPECT_EQ(parseRigLine("+f").separator, '\n');
  EXPECT_EQ(parseRigLine(";f").separator, ';');
  EXPECT_EQ(parseRigLine("|\\get_mode").separator, '|');
  EXPECT_EQ(parseRigLine(",m").separator, ',');
  EXPECT_EQ(parseRigLine("f").separator, 0);
  EXPECT_EQ(parseRigLine("\\get_freq").separator, 0);
  for (const char* blank : {"", "   ", "\t", "+", "; "}) EXPECT_TRUE(parseRigLine(blank).blank) << blank;
}

TEST(RigReply, DefaultProtocolGivesValuesAndAcknowledgesSettings) {
  const RigReply freq{{{"Frequency", "7074000"}}, rprt::Ok};
  EXPECT_EQ(formatRigReply(parseRigLine("f"), freq), "7074000\n");
  EXPECT_EQ(formatRigReply(parseRigLine("m"), RigReply{{{"Mode", "USB"}, {"Passband", "2400"}}}), "USB\n2400\n");
  EXPECT_EQ(formatRigReply(parseRigLine("F 7074000"), RigReply{}), "RPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("M ?"), RigReply{{{"", rigModeList()}}}), "AM CW USB LSB PKTLSB PKTUSB \nRPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("f"), RigReply::error(rprt::NotAvailable)), "RPRT -11\n");
  const RigLine bad = parseRigLine("F abc");
  EXPECT_EQ(formatRigReply(bad, RigReply::error(bad.error)), "RPRT -1\n");
  EXPECT_EQ(formatRigReply(parseRigLine("q"), RigReply{}), "RPRT 0\n");
}

TEST(RigReply, ExtendedProtocolEchoesNamesKeysAndCode) {
  EXPECT_EQ(formatRigReply(parseRigLine("+\\get_freq"), RigReply{{{"Frequency", "14250000"}}}),
            "get_freq:\nFrequency: 14250000\nRPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine(";f"), RigReply{{{"Frequency", "14250000"}}}),
            "get_freq:;Frequency: 14250000;RPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("|m"), RigReply{{{"Mode", "USB"}, {"Passband", "2400"}}}),
            "get_mode:|Mode: USB|Passband: 2400|RPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("+M USB 2400"), RigReply{}), "set_mode: USB 2400\nRPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("|\\set_ptt 0"), RigReply{}), "set_ptt: 0|RPRT 0\n");
  const RigLine bad = parseRigLine("+F abc");
  EXPECT_EQ(formatRigReply(bad, RigReply::error(bad.error)), "set_freq: abc\nRPRT -1\n");
  EXPECT_EQ(formatRigReply(parseRigLine("+X USB -1"), RigReply{}), "set_split_mode: USB -1\nRPRT 0\n");
  const RigLine unknown = parseRigLine("+y");
  EXPECT_EQ(formatRigReply(unknown, RigReply::error(unknown.error)), "RPRT -4\n");
  EXPECT_EQ(formatRigReply(parseRigLine("+\\chk_vfo"), RigReply{{{"ChkVFO", "0"}}}), "ChkVFO: 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("+q"), RigReply{}), "RPRT 0\n");
  EXPECT_EQ(formatRigReply(parseRigLine("+f"), RigReply::error(rprt::TimedOut)), "get_freq:\nRPRT -5\n");
}

TEST(RigReply, FrequenciesRoundToTheNearest10HzWithinThePanelsRange) {
  EXPECT_EQ(panelDigitsForHz(7074000), "0707400");
  EXPECT_EQ(panelDigitsForHz(7074004.9), "0707400");
  EXPECT_EQ(panelDigitsForHz(7074005), "0707401");
  EXPECT_EQ(panelDigitsForHz(1599995), "0160000");
  EXPECT_EQ(panelDigitsForHz(1599994), "");
  EXPECT_EQ(panelDigitsForHz(29999990), "2999999");
  EXPECT_EQ(panelDigitsForHz(29999995), "");
  EXPECT_EQ(panelDigitsForHz(-5), "");
  EXPECT_EQ(panelDigitsForHz(1e300), "");
  EXPECT_EQ(hzForPanelDigits("1425000"), 14250000);
  EXPECT_EQ(hzForPanelDigits("142500"), -1);
  EXPECT_EQ(hzForPanelDigits("14250x0"), -1);
}

TEST(RigReply, ModesMapBothWays) {
  for (const char* code : {"M1", "M2", "M3", "M4"}) EXPECT_EQ(rigModeCode(rigModeName(code)), code);
  EXPECT_EQ(rigModeName("M3"), "AM");
  EXPECT_EQ(rigModeName("  "), "");
  EXPECT_EQ(rigModeCode("PKTUSB"), "M1");
  EXPECT_EQ(rigModeCode("pktlsb"), "M2");
  EXPECT_EQ(rigModeCode("usb"), "M1");
  EXPECT_EQ(rigModeCode("PKTFM"), "");
  EXPECT_EQ(rigModeCode("AME"), "");
  // The panel's own list texts stay exact: "usb" is no list entry.
  EXPECT_EQ(rigModeCodeOfText("usb"), "");
  EXPECT_EQ(rigModeCodeOfText("AME"), "M3");
  EXPECT_EQ(panelModeText("M3"), "AME");
}

TEST(RigReply, DumpStateAdvertisesTheTransmitBands) {
  const auto lines = dumpStateLines(false);
  ASSERT_GE(lines.size(), 20u);
  EXPECT_EQ(lines.front(), "1");
  EXPECT_EQ(lines.back(), "done");
  EXPECT_EQ(lines[3], "1600000.000000 29999990.000000 0xc0f -1 -1 0x3 0x1");
  EXPECT_EQ(lines[4], "0 0 0 0 0 0 0");
  EXPECT_EQ(lines[5], "1800000.000000 2000000.000000 0xc0f 1000 100000 0x3 0x1");
  EXPECT_EQ(lines[7], "5330500.000000 5330500.000000 0xc0f 1000 100000 0x3 0x1");
  EXPECT_EQ(lines[19], "0 0 0 0 0 0 0");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ptt_type=0x1"), lines.end());

  const auto open = dumpStateLines(true);
  EXPECT_EQ(open[5], "1600000.000000 29999990.000000 0xc0f 1000 100000 0x3 0x1");
  EXPECT_EQ(open[6], "0 0 0 0 0 0 0");
}

}  // namespace
}  // namespace zr
