#include <gtest/gtest.h>

#include "core/Convert.h"
#include "core/Errors.h"

namespace zr {
namespace {

TEST(ConvertTest, ValReadsALeadingNumber) {
  EXPECT_EQ(vbVal("7x"), 7);
  EXPECT_EQ(vbVal("x7"), 0);
  EXPECT_EQ(vbVal(" 1 2"), 12);
  EXPECT_EQ(vbVal("-3.5abc"), -3.5);
  EXPECT_EQ(vbVal(""), 0);
  EXPECT_EQ(vbVal("."), 0);
  EXPECT_EQ(vbVal("1200\r"), 1200);
}

TEST(ConvertTest, CIntRoundsHalfToEvenAndRaisesOnBadText) {
  EXPECT_EQ(vbCInt("3"), 3);
  EXPECT_EQ(vbCInt(" 3 "), 3);
  EXPECT_EQ(vbCInt("2.5"), 2);
  EXPECT_EQ(vbCInt("3.5"), 4);
  EXPECT_EQ(vbCInt("-32768"), -32768);
  try {
    vbCInt("");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, err::TypeMismatch);
  }
  EXPECT_THROW(vbCInt("3a"), RuntimeError);
  EXPECT_THROW(vbCInt("1e"), RuntimeError);
  try {
    vbCInt("40000");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, err::Overflow);
  }
  EXPECT_EQ(vbCLng("29700000"), 29700000);
  EXPECT_THROW(vbCLng("99999999999"), RuntimeError);
}

}  // namespace
}  // namespace zr
