#include "core/serial/PortSettings.h"

#include <gtest/gtest.h>

#include "core/Errors.h"

namespace zr {
namespace {

TEST(PortSettings, ParsesWhatThePortDialogsWrite) {
  EXPECT_EQ(parsePortSettings("9600,O,7,1"), (PortSettings{9600, Parity::Odd, 7, StopBits::One}));
  // The baud list leaves a blank after the number.
  EXPECT_EQ(parsePortSettings("19200 ,O,7,1"), (PortSettings{19200, Parity::Odd, 7, StopBits::One}));
  EXPECT_EQ(parsePortSettings(" 4800 , n , 8 , 2 "), (PortSettings{4800, Parity::None, 8, StopBits::Two}));
}

TEST(PortSettings, AcceptsEveryParityInEitherCaseAndAllFieldRanges) {
  EXPECT_EQ(parsePortSettings("9600,e,8,1").parity, Parity::Even);
  EXPECT_EQ(parsePortSettings("9600,M,8,1").parity, Parity::Mark);
  EXPECT_EQ(parsePortSettings("9600,s,8,1").parity, Parity::Space);
  EXPECT_EQ(parsePortSettings("110,N,5,1.5").stopBits, StopBits::OneAndHalf);
  EXPECT_EQ(parsePortSettings("115200,N,6,1").dataBits, 6);
  EXPECT_EQ(parsePortSettings("921600,N,8,1").baud, 921600);
}

TEST(PortSettings, RejectsTextItCannotUseWithAReadableReason) {
  const char* bad[] = {"",          "9600",        "9600,N,8",      "9600,N,8,1,1", "96OO,N,8,1",
                       "9600,X,8,1", "9600,NO,8,1", "9600,N,9,1",    "9600,N,4,1",   "9600,N,8,3",
                       "9600,N,8,1.5", "14400,N,8,1", "50,N,8,1",    "-9600,N,8,1",  "9600,N,8 8,1"};
  for (const char* text : bad) {
    try {
      parsePortSettings(text);
      ADD_FAILURE() << "accepted \"" << text << "\"";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number, err::InvalidPortSettings) << text;
      EXPECT_NE(e.description.find(text), std::string::npos) << e.description;
    }
  }
}

TEST(PortSettings, NamesTheFieldAtFault) {
  try {
    parsePortSettings("9600,N,8,3");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description.find("stop bits"), std::string::npos) << e.description;
  }
  try {
    parsePortSettings("14400,N,8,1");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description.find("baud rate 14400"), std::string::npos) << e.description;
  }
}

}  // namespace
}  // namespace zr
