#include "sim/Transceiver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using sim::Transceiver;

bool hasLine(const std::string& reply, const std::string& line) {
  return ("\n" + reply).find("\n" + line + "\n") != std::string::npos;
}

TEST(TransceiverReport, CarriesEveryItemAndTheMarkersOfItsFirmware) {
  for (int fw : {1, 2, 3}) {
    SCOPED_TRACE("firmware " + std::to_string(fw));
    Transceiver t(fw);
    const std::string r = t.handle("?", 0);
    for (const char* line : {"R1", "F1425000", "M1", "A2", "D1", "H1", "\"1", "'1", "(1", "I0", "S0", "V0", "O1",
                             "T1", "Z0", "C--", "G00", "B100"})
      EXPECT_TRUE(hasLine(r, line)) << line;
    ASSERT_GE(r.size(), 4u);
    EXPECT_EQ(r.substr(r.size() - 4), "#\n.\n");
    EXPECT_EQ(hasLine(r, "!"), fw != 2);
    EXPECT_EQ(r.find("\nQ") != std::string::npos, fw == 3);
  }
  Transceiver t3(3);
  EXPECT_TRUE(hasLine(t3.handle("?", 0), "QT1"));
}

TEST(TransceiverFirmware, AbsoluteCodesOnlyOnType2) {
  Transceiver t2(2);
  EXPECT_EQ(t2.handle("M4", 0), "M4\n");
  EXPECT_EQ(t2.handle("A1", 0), "A1\n");
  EXPECT_EQ(t2.handle("\"0", 0), "\"0\n");
  EXPECT_EQ(t2.handle("'0", 0), "'0\n");
  EXPECT_EQ(t2.handle("M", 0), "");
  EXPECT_EQ(t2.handle("m", 0), "");
  EXPECT_EQ(t2.handle("'", 0), "");

  for (int fw : {1, 3}) {
    Transceiver t(fw);
    EXPECT_EQ(t.handle("M2", 0), "") << fw;
    EXPECT_EQ(t.handle("A4", 0), "") << fw;
    EXPECT_EQ(t.state().mode, 1);
    EXPECT_EQ(t.state().agc, 2);
  }
}

TEST(TransceiverFirmware, StepLettersDifferByType) {
  Transceiver t1(1), t3(3);
  t1.state().mode = 3;
  t3.state().mode = 3;
  EXPECT_EQ(t1.handle("m", 0), "");
  EXPECT_EQ(t3.handle("M", 0), "");
  EXPECT_TRUE(hasLine(t1.handle("MM", 0), "M1"));  // AME -> CW -> USB
  EXPECT_EQ(t3.handle("mm", 0), "M1\n");

  // AGC: three-place cycle without A1.
  t1.state().agc = 4;
  EXPECT_EQ(t1.handle("A", 0), "A2\n");
  t3.state().agc = 2;
  EXPECT_EQ(t3.handle("aa", 0), "A4\n");
  t3.state().agc = 1;
  EXPECT_EQ(t3.handle("a", 0), "A2\n");

  // Meter: "d" on type 1, "D" on type 3, absolute on type 2.
  t1.state().meterSource = 5;
  EXPECT_EQ(t1.handle("dd", 0), "D1\n");
  EXPECT_EQ(t1.handle("D", 0), "");
  t3.state().meterSource = 6;
  EXPECT_EQ(t3.handle("D", 0), "D1\n");
  Transceiver t2(2);
  EXPECT_EQ(t2.handle("D5", 0), "D5\n");
  EXPECT_EQ(t2.handle("D7", 0), "");
}

TEST(TransceiverFirmware, Type1TogglesAudioAndPttEnable) {
  Transceiver t1(1);
  EXPECT_EQ(t1.handle("\"", 0), "\"0\n");
  EXPECT_EQ(t1.handle("\"", 0), "\"1\n");
  EXPECT_EQ(t1.handle("\"0", 0), "");
  EXPECT_EQ(t1.handle("'", 0), "'0\n");
  EXPECT_EQ(t1.handle("'1", 0), "");
  Transceiver t3(3);
  EXPECT_EQ(t3.handle("\"", 0), "");
  EXPECT_EQ(t3.handle("\"0", 0), "\"0\n");
  EXPECT_EQ(t3.handle("'0", 0), "'0\n");
}

TEST(TransceiverFirmware, Type1ModeStepThroughCwFlipsPttEnable) {
  Transceiver t1(1);
  EXPECT_EQ(t1.handle("M", 0), "M2\n");  // USB -> LSB: PTT enable untouched
  const std::string intoCw = t1.handle("MM", 0);
  EXPECT_TRUE(hasLine(intoCw, "M4"));
  EXPECT_TRUE(hasLine(intoCw, "'0"));
  EXPECT_FALSE(t1.state().pttEnabled);
  EXPECT_TRUE(hasLine(t1.handle("M", 0), "'1"));  // leaving CW flips it back

  Transceiver t3(3);
  EXPECT_EQ(t3.handle("mmm", 0), "M4\n");
  EXPECT_TRUE(t3.state().pttEnabled);
}

TEST(TransceiverToggles, StepAndToggleCommandsOnAllFirmware) {
  for (int fw : {1, 2, 3}) {
    Transceiver t(fw);
    EXPECT_EQ(t.handle("HH", 0), "H3\n");
    EXPECT_EQ(t.handle("H", 0), "H1\n");
    t.state().source = 4;  // OFF/CW steps back onto the cycle
    EXPECT_EQ(t.handle("H", 0), "H1\n");
    EXPECT_EQ(t.handle("V", 0), "V1\n");
    EXPECT_EQ(t.handle("VV", 0), "V0\n");
    EXPECT_EQ(t.handle("I", 0), "I1\n");
    EXPECT_EQ(t.handle("S", 0), "S1\n");
    EXPECT_EQ(t.handle("(0", 0), "(0\n");
    EXPECT_EQ(t.handle("G63", 0), "G63\n");
    EXPECT_EQ(t.handle("G64", 0), "");
    EXPECT_EQ(t.handle("B055", 0), "B055\n");
    EXPECT_EQ(t.handle("B201", 0), "");
    EXPECT_EQ(t.handle("F0700000", 0), "F0700000\n");
    EXPECT_EQ(t.handle("F3000000", 0), "");
    EXPECT_EQ(t.handle("F070000", 0), "");
    EXPECT_EQ(t.handle("Z", 0), "Z0\n");
  }
}

TEST(TransceiverChannels, StoreReadSelectAndBackToVfo) {
  Transceiver t(2);
  EXPECT_EQ(t.handle("P1214250002", 0), "P1214250002\n");
  EXPECT_EQ(t.handle("L12", 0), "P1214250002\n");
  EXPECT_EQ(t.handle("L55", 0), "");  // empty channels stay silent
  EXPECT_EQ(t.handle("P1214250005", 0), "");
  EXPECT_EQ(t.handle("P121425000", 0), "");
  EXPECT_EQ(t.handle("L1", 0), "");

  t.handle("F0700000", 0);
  EXPECT_EQ(t.handle("C12", 0), "C12\nF1425000\nM2\n");
  EXPECT_TRUE(hasLine(t.handle("?", 0), "C12"));
  // An empty channel is selected without moving the frequency.
  EXPECT_EQ(t.handle("C55", 0), "C55\n");
  EXPECT_EQ(t.state().frequency, 1425000);
  // A frequency command takes the radio back to its VFO.
  EXPECT_EQ(t.handle("F0712300", 0), "F0712300\nC--\n");
  EXPECT_TRUE(hasLine(t.handle("?", 0), "C--"));
}

TEST(TransceiverAmplifier, WarmsUpThenTunesWhileKeyed) {
  Transceiver t(2);
  t.setWarmupTime(5);
  t.setTuneTime(2);
  EXPECT_EQ(t.handle("O4", 0), "O1\n");  // operate needs a warm amplifier
  EXPECT_EQ(t.handle("O2", 1), "O2\n");
  EXPECT_EQ(t.handle("U", 5.9), "U\n");
  EXPECT_EQ(t.handle("U", 6.0), "O3\nU\n");  // reported with the next answer
  EXPECT_EQ(t.handle("O4", 7), "O4\nT2\n");
  EXPECT_EQ(t.handle("K", 8), "K\nT3\nJ12\n");
  EXPECT_EQ(t.handle("K", 9.9), "K\nJ12\n");
  EXPECT_EQ(t.handle("K", 10), "T4\nK\nJ12\n");
  EXPECT_EQ(t.handle("U", 10.2), "U\n");
  EXPECT_TRUE(hasLine(t.handle("?", 11), "T4"));
  // A new frequency needs a new tune; standby blanks the tune state.
  EXPECT_EQ(t.handle("F0710000", 12), "F0710000\nT2\n");
  EXPECT_EQ(t.handle("O3", 13), "O3\nT1\n");
  EXPECT_EQ(t.handle("O1", 14), "O1\n");
}

TEST(TransceiverAmplifier, UnkeyDuringTuneAbortsIt) {
  Transceiver t(2);
  t.setWarmupTime(0);
  t.handle("O2", 0);
  t.handle("O4", 0.1);
  EXPECT_EQ(t.handle("K", 1), "K\nT3\nJ12\n");
  EXPECT_EQ(t.handle("U", 1.5), "U\nT2\n");
  EXPECT_EQ(t.handle("U", 10), "U\n");
}

TEST(TransceiverSync, EchoesTheKeyInForceWithMeterWhileTransmitting) {
  Transceiver t(3);
  EXPECT_EQ(t.handle("U", 0), "U\n");
  t.state().meterSource = 4;
  EXPECT_EQ(t.handle("K", 0), "K\nJ15\n");
  t.state().meterReading = 7;
  EXPECT_EQ(t.handle("K", 0), "K\nJ07\n");
  EXPECT_EQ(t.handle("U", 0), "U\n");
  // A disabled PTT refuses the key.
  t.handle("'0", 0);
  EXPECT_EQ(t.handle("K", 0), "U\n");
  EXPECT_FALSE(t.state().transmitting);
}

TEST(TransceiverControl, LocalControlAnswersQueriesButIgnoresSettings) {
  for (int fw : {1, 2, 3}) {
    SCOPED_TRACE("firmware " + std::to_string(fw));
    Transceiver t(fw);
    t.handle("K", 0);
    t.setRemoteControl(false);
    EXPECT_FALSE(t.state().transmitting);
    EXPECT_EQ(t.handle("I", 0), "");
    EXPECT_EQ(t.handle("K", 0), "R0\nU\n");  // the key is not obeyed
    EXPECT_EQ(t.handle("O2", 0), "");
    EXPECT_EQ(t.handle("L00", 0), "P0007074002\n");
    EXPECT_TRUE(hasLine(t.handle("?", 0), "R0"));
    // Type 2 still takes frequency and mode, so the panel can scan.
    EXPECT_EQ(t.handle("F0710000", 0).empty(), fw != 2);
    EXPECT_EQ(t.handle("M3", 0).empty(), fw != 2);
    t.setRemoteControl(true);
    EXPECT_EQ(t.handle("U", 0), "R1\nU\n");
    EXPECT_EQ(t.handle("I", 0), "I1\n");
  }
}

TEST(TransceiverControl, InjectedFaultAnswersTheTest) {
  Transceiver t(2);
  t.setFault("Z3");
  EXPECT_EQ(t.handle("Z", 0), "Z3\n");
  EXPECT_TRUE(hasLine(t.handle("?", 0), "Z3"));
}

TEST(TransceiverFrequency, RefusedSettingsAnswerWithTheFrequencyInForce) {
  Transceiver t(2);
  EXPECT_EQ(t.handle("F0159999", 0), "F1425000\n");  // below the lowest it tunes to
  EXPECT_EQ(t.handle("F0160000", 0), "F0160000\n");
  t.setMinFrequency(0);
  EXPECT_EQ(t.handle("F0010000", 0), "F0010000\n");

  t.refuseFrequencies(1400010, 1400020);
  EXPECT_EQ(t.handle("F1400000", 0), "F1400000\n");
  EXPECT_EQ(t.handle("F1400010", 0), "F1400000\n");
  EXPECT_EQ(t.handle("F1400020", 0), "F1400000\n");
  EXPECT_EQ(t.handle("F1400030", 0), "F1400030\n");
  EXPECT_EQ(t.state().frequency, 1400030);
}

TEST(TransceiverRobustness, ArbitraryCommandsKeepTheStateInRange) {
  std::mt19937 rng(3817);
  const std::string alphabet = "FMmAaDdHVIS\"'(GBCPLOZUK?0123456789\r\xff";
  for (int fw : {1, 2, 3}) {
    Transceiver t(fw);
    for (int i = 0; i < 20000; ++i) {
      std::string c(rng() % 12, ' ');
      for (char& ch : c) ch = alphabet[rng() % alphabet.size()];
      const std::string reply = t.handle(c, i * 0.01);
      if (!reply.empty()) {
        EXPECT_EQ(reply.back(), '\n');
      }
      if (i % 97 == 0) t.setRemoteControl(rng() % 4 != 0);
    }
    const auto& s = t.state();
    EXPECT_TRUE(s.mode >= 1 && s.mode <= 4);
    EXPECT_TRUE(s.agc >= 1 && s.agc <= 4);
    EXPECT_TRUE(s.meterSource >= 1 && s.meterSource <= 6);
    EXPECT_TRUE(s.source >= 1 && s.source <= 4);
    EXPECT_TRUE(s.vox >= 0 && s.vox <= 2);
    EXPECT_TRUE(s.frequency >= 0 && s.frequency <= 2999999);
    EXPECT_TRUE(s.rfGain >= 0 && s.rfGain <= 63);
    EXPECT_TRUE(s.bfo >= 0 && s.bfo <= 200);
    EXPECT_TRUE(s.channel >= -1 && s.channel <= 99);
  }
}

}  // namespace
