#include "core/serial/MarkedInputDecoder.h"

#include <gtest/gtest.h>

#include "core/SerialPort.h"

namespace zr {
namespace {

using namespace std::string_literals;
using Events = std::vector<int>;

MarkedInputDecoder decoderWith(std::string replace = ":", bool nullDiscard = false) {
  MarkedInputDecoder d;
  d.setParityReplace(std::move(replace));
  d.setNullDiscard(nullDiscard);
  return d;
}

TEST(MarkedInputDecoder, DecodesDataBreaksAndBadBytes) {
  auto d = decoderWith();
  auto r = d.decode("F14\377\377x\377\0\0U\377\0AK\n"s);
  EXPECT_EQ(r.data, "F14\377x" "U:K\n"s);
  EXPECT_EQ(r.events, (Events{comm::Break, comm::RxParity}));
  EXPECT_FALSE(d.midMark());

  r = d.decode("plain text\n");
  EXPECT_EQ(r.data, "plain text\n");
  EXPECT_TRUE(r.events.empty());
}

TEST(MarkedInputDecoder, ReplacementTextIsUsedAsGivenOrKeepsTheByteWhenEmpty) {
  auto keep = decoderWith("");
  EXPECT_EQ(keep.decode("a\377\0bc"s).data, "abc");
  auto longer = decoderWith("<?>");
  auto r = longer.decode("a\377\0bc\377\0d"s);
  EXPECT_EQ(r.data, "a<?>c<?>");
  EXPECT_EQ(r.events, (Events{comm::RxParity, comm::RxParity}));
  // A replacement is data even when it is a mark byte.
  EXPECT_EQ(decoderWith("\377").decode("\377\0q"s).data, "\377");
}

TEST(MarkedInputDecoder, NullDiscardDropsOnlyPlainNuls) {
  auto d = decoderWith(":", true);
  auto r = d.decode("\0a\0\0b\377\0\0\377\377\0"s);
  EXPECT_EQ(r.data, "ab\377");
  EXPECT_EQ(r.events, (Events{comm::Break}));

  auto off = decoderWith(":", false);
  EXPECT_EQ(off.decode("\0a\0"s).data, "\0a\0"s);
}

TEST(MarkedInputDecoder, KeepsBothBytesOfAnUnexpectedEscape) {
  auto d = decoderWith();
  auto r = d.decode("\377a\377\377\377\377\377\0\0"s);
  EXPECT_EQ(r.data, "\377a\377\377"s);
  EXPECT_EQ(r.events, (Events{comm::Break}));
}

// Reads can end anywhere, even inside a mark: every split of the stream must
// give what decoding it whole gives.
TEST(MarkedInputDecoder, MarksSplitAcrossReadsDecodeTheSame) {
  const std::string stream = "ab\377\377c\377\0\0\377\0Zd\0\377\377\377\0\0\377\0\377e"s;
  auto whole = decoderWith(":", true).decode(stream);
  ASSERT_EQ(whole.data, "ab\377c:d\377:e"s) << "reference decode";
  ASSERT_EQ(whole.events, (Events{comm::Break, comm::RxParity, comm::Break, comm::RxParity}));

  for (size_t cut1 = 0; cut1 <= stream.size(); ++cut1) {
    for (size_t cut2 = cut1; cut2 <= stream.size(); ++cut2) {
      auto d = decoderWith(":", true);
      std::string data;
      Events events;
      for (auto piece : {stream.substr(0, cut1), stream.substr(cut1, cut2 - cut1), stream.substr(cut2)}) {
        auto r = d.decode(piece);
        data += r.data;
        events.insert(events.end(), r.events.begin(), r.events.end());
      }
      EXPECT_EQ(data, whole.data) << "cuts " << cut1 << "," << cut2;
      EXPECT_EQ(events, whole.events) << "cuts " << cut1 << "," << cut2;
    }
  }
}

TEST(MarkedInputDecoder, ResetForgetsAnUnfinishedMark) {
  auto d = decoderWith();
  EXPECT_TRUE(d.decode("x\377\0"s).events.empty());
  EXPECT_TRUE(d.midMark());
  d.reset();
  auto r = d.decode("\0y"s);
  EXPECT_EQ(r.data, "\0y"s);
  EXPECT_TRUE(r.events.empty());
}

}  // namespace
}  // namespace zr
