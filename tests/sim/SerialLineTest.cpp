#include "sim/SerialLine.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using sim::Chunk;
using sim::LineSettings;
using sim::SerialLine;

std::string joined(const std::vector<Chunk>& chunks) {
  std::string all;
  for (const auto& c : chunks) all += c.bytes;
  return all;
}

TEST(LineSettings, ParsesTheSettingsTextAndCountsBits) {
  const auto d = LineSettings::parse("9600,N,8,1");
  EXPECT_EQ(d.bitsPerCharacter(), 10);
  const auto s = LineSettings::parse(" 1200 , e , 7 , 2 ");
  EXPECT_EQ(s.baud, 1200);
  EXPECT_EQ(s.bitsPerCharacter(), 11);
  EXPECT_DOUBLE_EQ(s.secondsPerCharacter(), 11.0 / 1200);
  for (const char* bad : {"", "9600,N,8", "fast,N,8,1", "9600,X,8,1", "9600,N,9,1", "9600,N,8,3", "0,N,8,1"})
    EXPECT_THROW(LineSettings::parse(bad), std::invalid_argument) << bad;
}

TEST(SerialLinePacing, AnswersLeaveAtTheBaudRateAfterTheProcessingDelay) {
  SerialLine line(2);
  line.setProcessingDelay(0.004);
  // "F1425000\n" is 9 bytes, "C--\n" 4 more; the first leaves complete after
  // 4 ms + 9 character times of 10 bits at 9600 baud.
  line.model().state().channel = 7;
  const auto chunks = line.receive("F1425000\n", 1.0);
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[0].bytes, "F1425000\n");
  EXPECT_NEAR(chunks[0].time, 1.004 + 9 / 960.0, 1e-9);
  EXPECT_EQ(chunks[1].bytes, "C--\n");
  EXPECT_NEAR(chunks[1].time, 1.004 + 13 / 960.0, 1e-9);

  // A 10-byte answer takes about 10.4 ms on the wire, however many lines.
  const auto ten = line.receive("I\nS\nG05\n", 2.0);
  EXPECT_EQ(joined(ten), "I1\nS1\nG05\n");
  EXPECT_NEAR(ten.back().time - 2.004, 0.0104167, 1e-6);
}

TEST(SerialLinePacing, AnswersQueueBehindEachOtherAndFollowTheSettings) {
  SerialLine line(2, LineSettings::parse("1200,E,7,2"));
  line.setProcessingDelay(0);
  const auto first = line.receive("?\n", 0);
  const double reportEnd = first.back().time;
  EXPECT_NEAR(reportEnd, joined(first).size() * 11 / 1200.0, 1e-9);
  const auto second = line.receive("U", 0.001);
  EXPECT_NEAR(second.back().time, reportEnd + 2 * 11 / 1200.0, 1e-9);
  // Long lines go out in several chunks, none longer than a few bytes.
  for (const auto& c : first) EXPECT_LE(c.bytes.size(), 16u);
}

TEST(SerialLineFaults, SilenceDelaySplitAndGarbage) {
  SerialLine line(2);
  line.setProcessingDelay(0.005);
  std::vector<std::string> seen;
  line.onCommand([&](double, const std::string& c) { seen.push_back(c); });

  line.faults().silent = true;
  EXPECT_TRUE(line.receive("I\n", 0).empty());
  EXPECT_FALSE(line.model().state().clipping);  // not obeyed either
  EXPECT_EQ(seen, std::vector<std::string>{"I"});
  line.faults().silent = false;

  line.faults().extraDelay = 0.5;
  const auto late = line.receive("Z\n", 1.0);
  EXPECT_NEAR(late.back().time, 1.505 + 3 / 960.0, 1e-9);
  line.faults().extraDelay = 0;

  line.faults().splitAfter = 4;
  line.faults().splitGap = 0.07;
  const auto split = line.receive("?\n", 2.0);
  ASSERT_GE(split.size(), 2u);
  EXPECT_EQ(split[0].bytes, "R1\n");
  EXPECT_EQ(split[1].bytes, "F");
  EXPECT_EQ(split[2].bytes, "1425000\n");
  EXPECT_NEAR(split[2].time - split[1].time, 0.07 + 8 / 960.0, 1e-9);
  EXPECT_EQ(joined(split), line.model().fullReport());
  line.faults().splitAfter = 0;

  const auto noise = line.sendGarbage("\xff\x13#", 3.0);
  EXPECT_EQ(joined(noise), "\xff\x13#");
  EXPECT_NEAR(noise.back().time, 3.0 + 3 / 960.0, 1e-9);
}

TEST(SerialLineFaults, LoneApostropheIsAnsweredAfterTheQuietTime) {
  SerialLine line(1);
  EXPECT_TRUE(line.receive("'", 1.0).empty());
  ASSERT_TRUE(line.nextDeadline().has_value());
  EXPECT_TRUE(line.poll(1.001).empty());
  const auto answer = line.poll(*line.nextDeadline());
  EXPECT_EQ(joined(answer), "'0\n");
}

TEST(SerialLineRobustness, RecoversFromArbitraryBytesInArbitraryPieces) {
  std::mt19937 rng(17);
  for (int fw : {1, 2, 3}) {
    SerialLine line(fw);
    double now = 0;
    for (int i = 0; i < 5000; ++i) {
      std::string piece(rng() % 9, ' ');
      for (char& c : piece) c = static_cast<char>(rng() % 4 ? "MAHVIS'\"?UK0123\n"[rng() % 16] : rng() % 256);
      now += (rng() % 30) * 0.001;
      line.receive(piece, now);
      line.poll(now);
    }
    // One line feed ends whatever garbage is pending; then it answers as usual.
    line.faults() = {};
    line.receive("\n", now + 1);
    EXPECT_EQ(joined(line.receive("?\n", now + 1)), line.model().fullReport()) << fw;
  }
}

}  // namespace
