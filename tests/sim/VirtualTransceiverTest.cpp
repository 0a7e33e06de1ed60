#include "sim/VirtualTransceiver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using sim::VirtualTransceiver;

class VirtualTransceiverTest : public ::testing::Test {
 protected:
  VirtualTransceiverTest() {
    clock.setLimit(100);
    port.open();
  }

  // Read as the panel's reader does: until 0.06 s pass without new bytes.
  std::string readReply(double firstByteTimeout = 0.8) {
    if (!port.waitForInput(firstByteTimeout)) return {};
    while (port.waitForInput(0.06)) {
    }
    return port.input();
  }

  zr::FakeClock clock;
  zr::FakeSerialPort port{clock};
  std::unique_ptr<VirtualTransceiver> radio = std::make_unique<VirtualTransceiver>(port, clock, 3);
};

TEST_F(VirtualTransceiverTest, FullReportArrivesPacedInVirtualTime) {
  port.output("?\n");
  const std::string reply = readReply();
  EXPECT_EQ(reply, radio->model().fullReport());

  // Delivered line by line, the last byte a processing delay plus one
  // character time per byte after the write.
  double last = 0;
  int deliveries = 0;
  for (const auto& e : port.wireLog()) {
    if (e.toRadio) continue;
    EXPECT_GE(e.time, last);
    last = e.time;
    ++deliveries;
  }
  EXPECT_GT(deliveries, 10);
  EXPECT_NEAR(last, 0.005 + reply.size() / 960.0, 1e-9);
  ASSERT_EQ(radio->commands().size(), 1u);
  EXPECT_EQ(radio->commands()[0].text, "?");
}

TEST_F(VirtualTransceiverTest, PacingFollowsThePortSettings) {
  port.close();
  port.setSettings("1200,N,8,1");
  port.open();
  const double start = clock.elapsed();
  port.output("?\n");
  const std::string reply = readReply();
  double last = 0;
  for (const auto& e : port.wireLog())
    if (!e.toRadio) last = e.time;
  EXPECT_NEAR(last - start, 0.005 + reply.size() / 120.0, 1e-9);
}

TEST_F(VirtualTransceiverTest, SplitReplyWithALongGapReadsAsTwo) {
  radio->faults().splitAfter = 5;
  radio->faults().splitGap = 0.07;
  port.output("?\n");
  const std::string head = readReply();
  EXPECT_EQ(head, "R1\nF1");
  const std::string tail = readReply();
  EXPECT_EQ(head + tail, radio->model().fullReport());

  radio->faults().splitGap = 0.05;  // within the reader's quiet gap
  port.output("?\n");
  EXPECT_EQ(readReply(), radio->model().fullReport());
}

TEST_F(VirtualTransceiverTest, SilenceLateAnswersGarbageAndLocalControl) {
  radio->faults().silent = true;
  port.output("U");
  EXPECT_EQ(readReply(), "");
  EXPECT_EQ(radio->commands().back().text, "U");
  radio->faults().silent = false;

  radio->faults().extraDelay = 1.0;
  port.output("U");
  EXPECT_EQ(readReply(0.8), "");  // too late for the reader...
  EXPECT_EQ(readReply(0.8), "U\n");  // ...but it does come
  radio->faults().extraDelay = 0;

  radio->sendGarbage("\x01\xfe");
  EXPECT_EQ(readReply(), "\x01\xfe");

  radio->setRemoteControl(false);
  port.output("U");
  EXPECT_EQ(readReply(), "R0\nU\n");
}

TEST_F(VirtualTransceiverTest, Type1ToggleWithoutLineFeedIsAnsweredAfterQuiet) {
  radio = nullptr;  // the old peer goes before the new one attaches
  radio = std::make_unique<VirtualTransceiver>(port, clock, 1);
  port.output("'");
  EXPECT_EQ(readReply(), "'0\n");
  // Joined commands in one write, answered in order.
  port.output("M\nA\n");
  EXPECT_EQ(readReply(), "M2\nA3\n");
}

TEST_F(VirtualTransceiverTest, PendingAnswersAreHarmlessAfterTheRadioOrPortGoes) {
  port.output("?\n");
  clock.advanceTo(clock.elapsed() + 0.01);
  port.close();
  clock.advanceTo(clock.elapsed() + 1);  // deliveries to a closed port are lost
  port.open();
  port.discardInput();  // what had arrived before the close
  clock.advanceTo(clock.elapsed() + 1);
  EXPECT_EQ(port.inBufferCount(), 0);

  port.output("?\n");
  radio.reset();
  clock.advanceTo(clock.elapsed() + 1);  // events of the destroyed radio do nothing
  EXPECT_EQ(port.inBufferCount(), 0);
}

}  // namespace
