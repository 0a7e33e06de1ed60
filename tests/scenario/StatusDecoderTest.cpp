// Decoding status lines into the transceiver state and showing them.
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/StatusDecoder.h"
#include "core/StatusDisplay.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class DecoderTest : public ::testing::Test {
 protected:
  void parse(std::string text) { h.panel.decoder().gParseResponse(text), last = text; }
  void update() { h.panel.display().gUpdateDisplay(); }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  EngineHarness h;
  std::string last;
};

TEST_F(DecoderTest, CompleteLinesAreStoredFlaggedAndMarked) {
  parse("F1400000\nM1\n#\n.\n");
  EXPECT_EQ(last, "F1400000<M1<#<.<");
  EXPECT_EQ(st().gFreqCmd, "F1400000");
  EXPECT_TRUE(st().gFreqValid);
  EXPECT_TRUE(st().gFreqChanged);
  EXPECT_EQ(st().gMode, "M1");
  EXPECT_TRUE(st().gModeChanged);
  EXPECT_TRUE(st().gHashSeen);
  EXPECT_TRUE(st().gDotSeen);
}

TEST_F(DecoderTest, TrailingPieceWithoutLineFeedIsLeftAlone) {
  parse("A3");
  EXPECT_EQ(last, "A3");
  EXPECT_FALSE(st().gAgcChanged);
  parse("M2\nA3");
  EXPECT_EQ(last, "M2<A3");
  EXPECT_FALSE(st().gAgcChanged);
  EXPECT_TRUE(st().gModeChanged);
}

TEST_F(DecoderTest, ItemsAreCutOrPaddedToTheirWidth) {
  parse("F14000001234\nC7\nM\nP0514000001XYZ\n");
  EXPECT_EQ(st().gFreqCmd, "F1400000");
  EXPECT_FALSE(st().gFreqValid);
  EXPECT_EQ(st().gChannel, "C7 ");
  EXPECT_EQ(st().gMode, "M ");
  EXPECT_EQ(st().gChannelData, "P0514000001");
}

TEST_F(DecoderTest, EmptyLinesUnknownCharactersAndNoiseChangeNothing) {
  parse(std::string("\n\nxyz\n)\n\x01\xff\n\0\n", 13));
  EXPECT_FALSE(st().gFreqChanged || st().gModeChanged || st().gAgcChanged || st().gRemoteChanged);
  EXPECT_FALSE(st().gHashSeen);
}

TEST_F(DecoderTest, MarkersAndSyncLines) {
  parse("!\nQT1\nQC2\nK\n");
  EXPECT_TRUE(st().gBangSeen);
  EXPECT_TRUE(st().gQSeen);
  EXPECT_EQ(st().gQTReply, "QT1");
  EXPECT_EQ(st().gQCReply, "QC2");
  EXPECT_TRUE(st().gSyncSeen);
  EXPECT_TRUE(st().gTransmitting);
  parse("U\n");
  EXPECT_FALSE(st().gTransmitting);
}

TEST_F(DecoderTest, DataBoxShowsTheRewrittenTextOnlyWhenSwitchedOn) {
  frm().cmdViewInData.caption = "View Data";
  frm().txtInData.text = "";
  parse("M1\n");
  EXPECT_EQ(frm().txtInData.text, "");
  frm().cmdViewInData.caption = "Hide Data";
  parse("M1\nA2");
  EXPECT_EQ(frm().txtInData.text, "M1<A2");
}

TEST_F(DecoderTest, SameValueTwiceIsShownTwice) {
  parse("M2\n");
  update();
  EXPECT_EQ(frm().cmbMode.text, "LSB");
  frm().cmbMode.text = "USB";
  parse("M2\n");
  update();
  EXPECT_EQ(frm().cmbMode.text, "LSB");
}

TEST_F(DecoderTest, UpdateShowsEveryFlaggedItem) {
  parse("R1\nA4\nM4\nF0712345\nH2\n\"1\nI1\n'1\n(0\nS1\nV2\nZ0\n");
  update();
  EXPECT_EQ(frm().lblREMOTE.caption, "REMOTE");
  EXPECT_EQ(frm().cmbAGC.text, "FAST");
  EXPECT_EQ(frm().cmbMode.text, "CW");
  std::string digits;
  for (auto& d : frm().cmdF) digits += d.caption;
  EXPECT_EQ(digits, "0712345");
  EXPECT_EQ(st().gShownFreqCmd, "F0712345");
  EXPECT_EQ(frm().cmbSource.text, "AUDIO2");
  EXPECT_EQ(frm().lblClipping.caption, "ON");
  EXPECT_EQ(frm().lblPTTEn.caption, "ON");
  EXPECT_EQ(frm().lblMute.caption, "OFF");
  EXPECT_EQ(frm().lblSideTone.caption, "ON");
  EXPECT_EQ(st().gShownSideTone, "S1");
  EXPECT_EQ(frm().lblVox.caption, "DATA");
  EXPECT_EQ(frm().lblFault.caption, "OK");
  EXPECT_FALSE(st().gModeChanged || st().gFreqChanged || st().gVoxChanged || st().gFaultChanged);
}

TEST_F(DecoderTest, SourceShowsOnlyWithLocalAudioAndRemoteAudioWins) {
  parse("\"0\nH2\n");
  update();
  EXPECT_EQ(frm().cmbSource.text, "REMOTE");
  parse("H3\n");
  update();
  EXPECT_EQ(frm().cmbSource.text, "REMOTE");
  parse("\"1\nH3\n");
  update();
  EXPECT_EQ(frm().cmbSource.text, "PATCH");
}

TEST_F(DecoderTest, InvalidFrequencyLeavesTheDigits) {
  parse("F1400000\n");
  update();
  parse("F14x0000\n");
  update();
  EXPECT_EQ(frm().cmdF[2].caption, "0");
  EXPECT_EQ(frm().cmdF[1].caption, "4");
  EXPECT_FALSE(st().gFreqValid);
}

TEST_F(DecoderTest, ChannelLines) {
  parse("C07\n");
  update();
  EXPECT_EQ(frm().cmdM[0].caption, "0");
  EXPECT_EQ(frm().cmdM[1].caption, "7");
  EXPECT_TRUE(frm().optChan[0].selected());
  EXPECT_FALSE(frm().optChan[1].selected());
  parse("C--\n");
  update();
  EXPECT_EQ(frm().cmdM[1].caption, "7");
  EXPECT_TRUE(frm().optChan[1].selected());
  EXPECT_FALSE(frm().optChan[0].selected());
}

TEST_F(DecoderTest, ChannelDataFillsTheDigitsAndMode) {
  parse("P1214250002\n");
  update();
  std::string digits;
  for (auto& d : frm().cmdF) digits += d.caption;
  EXPECT_EQ(digits, "1425000");
  EXPECT_EQ(frm().cmbMode.text, "LSB");
  // Garbage in the frequency field never reaches the digits.
  parse("P12ab345674\n");
  update();
  digits.clear();
  for (auto& d : frm().cmdF) digits += d.caption;
  EXPECT_EQ(digits, "1425000");
  EXPECT_EQ(frm().cmbMode.text, "CW");
}

TEST_F(DecoderTest, FaultLine) {
  parse("Z3\n");
  update();
  EXPECT_EQ(frm().lblFault.caption, "FAULT");
  EXPECT_EQ(frm().lblFault.backColor, colours::Red);
  parse("Z0\n");
  update();
  EXPECT_EQ(frm().lblFault.caption, "OK");
  EXPECT_EQ(frm().lblFault.backColor, colours::ButtonFace);
}

TEST_F(DecoderTest, AmplifierStates) {
  parse("O2\nT1\n");
  update();
  EXPECT_EQ(frm().lblAmpPwr.caption, "ON");
  EXPECT_EQ(frm().lblAmpOpStby.caption, "Warmup");
  EXPECT_EQ(frm().lblAmpOpStby.backColor, colours::Yellow);
  EXPECT_FALSE(frm().cmdTuneAmp.enabled);
  parse("O4\nT2\n");
  update();
  EXPECT_EQ(frm().lblAmpOpStby.caption, "Operate");
  EXPECT_TRUE(frm().cmdTuneAmp.enabled);
  EXPECT_EQ(frm().lblAmpTuned.caption, "Start Tune");
  parse("T3\n");
  update();
  EXPECT_EQ(frm().lblAmpTuned.caption, "Tuning");
  parse("O1\n");
  update();
  EXPECT_EQ(frm().lblAmpPwr.caption, "OFF");
  EXPECT_EQ(frm().lblAmpTuned.caption, "");
}

TEST_F(DecoderTest, TunedAmplifierUnkeysTheTransmitter) {
  h.openRadioPort();
  parse("O4\nT4\n");
  st().gAmpTuning = true;
  st().gKeyCmd = "K";
  st().lastKeyCmd = "K";
  st().gLastSyncTime = h.clock.now();
  update();
  EXPECT_EQ(frm().lblAmpTuned.caption, "Tuned");
  EXPECT_FALSE(st().gAmpTuning);
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_EQ(h.written(), "U");
}

TEST_F(DecoderTest, TransmitPermissionByFrequency) {
  StatusDisplay& d = h.panel.display();
  EXPECT_TRUE(d.gTxAllowed("F1400000"));
  EXPECT_FALSE(d.gTxAllowed("F1435001"));
  EXPECT_TRUE(d.gTxAllowed("F1435000"));
  EXPECT_TRUE(d.gTxAllowed("F0533050"));
  EXPECT_FALSE(d.gTxAllowed("F0533060"));
  EXPECT_TRUE(d.gTxAllowed("F2970000"));
  EXPECT_FALSE(d.gTxAllowed("F2970001"));
  EXPECT_FALSE(d.gTxAllowed("        "));
  EXPECT_THROW(d.gTxAllowed("F14x0000"), RuntimeError);
  st().gTxUnrestricted = true;
  EXPECT_TRUE(d.gTxAllowed("F0500000"));
}

TEST_F(DecoderTest, NonNumericFrequencyIsReportedAndTheRestWaits) {
  parse("F14x0000\nZ3\nR1\n");
  update();
  EXPECT_EQ(frm().txtInfo.text, "gUpdateDisplay: Err 13. Type mismatch");
  EXPECT_TRUE(frm().txtInfo.visible);
  EXPECT_EQ(frm().lblREMOTE.caption, "REMOTE");  // shown before the check
  EXPECT_TRUE(st().gFaultChanged);               // still waiting
  parse("F1400000\n");
  update();
  EXPECT_EQ(frm().lblFault.caption, "FAULT");
}

TEST_F(DecoderTest, OutOfBandDisablesTransmitAndTransceiverPttOnce) {
  h.connect(3);
  parse("F1435001\n'1\n");
  update();
  EXPECT_EQ(h.written(), "'0\n");
  EXPECT_EQ(frm().lblInBand.caption, "Out Of Band");
  EXPECT_EQ(frm().lblInBand.backColor, colours::Red);
  EXPECT_FALSE(frm().cmdPTT.enabled);
  EXPECT_FALSE(frm().cmdXmit.enabled);
  EXPECT_EQ(st().gPttEnable, "'0");
  h.radio.clearLog();
  update();
  EXPECT_EQ(h.written(), "");

  // Back in band: PTT enabled again on the next update, without a new frequency.
  parse("F1400000\n");
  update();
  h.radio.clearLog();
  st().gPttEnable = "'0";
  update();
  EXPECT_EQ(h.written(), "'1\n");
  EXPECT_EQ(frm().lblInBand.caption, "");
  EXPECT_TRUE(frm().cmdPTT.enabled);
}

TEST_F(DecoderTest, TransmitPermissionFollowsTheTransmittingVfo) {
  parse("F1400000\n");
  for (auto& d : frm().cmdVFOB) d.caption = "0";
  frm().optTXVFO[0].value = 0;
  frm().optTXVFO[1].value = 1;
  update();
  EXPECT_EQ(st().gVFOBFreqCmd, "F0000000");
  EXPECT_EQ(frm().lblInBand.caption, "Out Of Band");
  st().gScanning = true;
  frm().optTXVFO[0].value = 1;
  update();
  EXPECT_EQ(frm().lblInBand.caption, "Scanning");
}

TEST_F(DecoderTest, FileExistsReportsMissingFiles) {
  EXPECT_FALSE(h.panel.display().fileExists("no-such-file.txt"));
  EXPECT_EQ(frm().txtInfo.text, "fileExists(no-such-file.txt): Err 53. File not found");
}

}  // namespace
}  // namespace zr::test
