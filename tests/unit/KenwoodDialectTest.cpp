// The Kenwood-family dialect's pure parts: what a receive's text holds, the
// answers' exact texts (the IF layout above all), the monitor's list of
// requests left unanswered, and the dialect's own settings file.
#include <gtest/gtest.h>

#include "cat/CatMonitor.h"
#include "cat/KenwoodRequests.h"
#include "core/RigState.h"
#include "setup/CatDialectSetup.h"
#include "support/TempWorkDir.h"

namespace zr {
namespace {

using K = KenwoodRequest::Kind;

std::vector<K> kinds(std::string_view text) {
  std::vector<K> out;
  for (const auto& r : parseKenwoodRequests(text)) out.push_back(r.kind);
  return out;
}

RigStateSnapshot state() {
  RigStateSnapshot s;
  s.freqCmd = "F1407400";
  s.freqValid = true;
  s.mode = "M1";
  s.digitalMode = "OFF";
  s.keyCmd = "U";
  s.vfoBFreqCmd = "F1420000";
  s.vfoBMode = "USB";
  return s;
}

TEST(KenwoodRequests, EachCommandAndItsSettings) {
  EXPECT_EQ(kinds("ID;IF;FA;FB;MD;FR;FT;AI;PS;"),
            (std::vector<K>{K::Identity, K::Information, K::FreqAQuery, K::FreqBQuery, K::ModeQuery, K::RxVfoQuery,
                            K::TxVfoQuery, K::AutoInfoQuery, K::PowerQuery}));
  EXPECT_EQ(kinds("TX;TX0;TX1;RX;AI0;PS1;"),
            (std::vector<K>{K::KeyDown, K::KeyDown, K::KeyDown, K::KeyUp, K::AutoInfoOff, K::PowerOn}));

  const auto set = parseKenwoodRequests("FA00007074005;FB00014200000;MD3;FR0;FT1;FT0;");
  ASSERT_EQ(set.size(), 6u);
  EXPECT_EQ(set[0].kind, K::FreqASet);
  EXPECT_EQ(set[0].argument, "0707400") << "the 1 Hz digit is dropped";
  EXPECT_EQ(set[1].kind, K::FreqBSet);
  EXPECT_EQ(set[1].argument, "1420000");
  EXPECT_EQ(set[2].kind, K::ModeSet);
  EXPECT_EQ(set[2].argument, "M4");
  EXPECT_EQ(set[3].kind, K::RxVfoSet);
  EXPECT_EQ(set[4].argument, "1");
  EXPECT_EQ(set[5].argument, "0");
  for (const auto& r : set) EXPECT_TRUE(r.isSetting()) << r.text;
  EXPECT_EQ(set[1].text, "FB00014200000");
}

TEST(KenwoodRequests, WhatTheDialectCannotDoIsUnsupported) {
  // Lower case, blanks, wrong lengths, out of the panel's range, VFO B or
  // memory receive, automatic information, power off, modes without a
  // counterpart, data modes the panel does not key by command.
  for (const char* r : {"fa", " FA", "FA ", "FA0000707400", "FA000070740000", "FA0000707400x", "FA00000100000",
                        "FA00030000000", "FA10014074000", "MD4", "MD12", "MDA", "FR1", "FR2", "FT2", "TX2", "AI1",
                        "AI2", "PS0", "SA", "FV", "KY TEST", "RX0"}) {
    const auto parsed = parseKenwoodRequests(std::string(r) + ";");
    ASSERT_EQ(parsed.size(), 1u) << r;
    EXPECT_EQ(parsed[0].kind, K::Unsupported) << r;
    EXPECT_EQ(parsed[0].text, r);
  }
  // Empty requests are skipped; a trailing one without ";" is not a request.
  EXPECT_EQ(kinds(";;ID;;IF"), std::vector<K>{K::Identity});
  EXPECT_TRUE(parseKenwoodRequests("").empty());
  // The edges of the range are taken.
  EXPECT_EQ(kinds("FA00001600000;FA00029999990;"), (std::vector<K>{K::FreqASet, K::FreqASet}));
}

TEST(KenwoodAnswers, TheInformationAnswerIsFixedWidth) {
  RigStateSnapshot s = state();
  const std::string receive = kenwoodInformation(s);
  EXPECT_EQ(receive, std::string("IF") + "00014074000" + "     " + "+0000" + "0" + "0" + "000" + "0" + "2" + "0" + "0" +
                         "0" + "000" + "0" + ";");
  EXPECT_EQ(receive.size(), 38u);

  // Split, transmitting (the panel has keyed, the report may lag), CW: the
  // transceiver is on VFO B's frequency meanwhile, which it reports.
  s.split = true;
  s.keyCmd = "K";
  s.mode = "M4";
  s.freqCmd = "F1420000";
  EXPECT_EQ(kenwoodInformation(s), std::string("IF") + "00014200000" + "     " + "+0000" + "0" + "0" + "000" + "1" +
                                       "3" + "1" + "0" + "1" + "000" + "0" + ";");
  // Split receiving: VFO A, split shown.
  s.keyCmd = "U";
  EXPECT_EQ(kenwoodInformation(s).substr(28, 5), "03001");

  // Nothing to tell before the transceiver has reported.
  RigStateSnapshot unknown;
  EXPECT_EQ(kenwoodInformation(unknown), "");
  s = state();
  s.freqValid = false;
  EXPECT_EQ(kenwoodInformation(s), "");
}

TEST(KenwoodAnswers, QueriesFromTheState) {
  RigStateSnapshot s = state();
  auto answer = [&](const char* request) { return kenwoodAnswer(parseKenwoodRequests(request).at(0), s); };
  EXPECT_EQ(answer("ID;"), "ID019;");
  EXPECT_EQ(answer("FA;"), "FA00014074000;");
  EXPECT_EQ(answer("FB;"), "FB00014200000;");
  EXPECT_EQ(answer("MD;"), "MD2;");
  EXPECT_EQ(answer("FR;"), "FR0;");
  EXPECT_EQ(answer("FT;"), "FT0;");
  EXPECT_EQ(answer("AI;"), "AI0;");
  EXPECT_EQ(answer("PS;"), "PS1;");
  s.split = true;
  EXPECT_EQ(answer("FT;"), "FT1;");

  // Digital modes: PSK runs on the transceiver's own mode; FSK and RTTY as
  // the basic dialect tells them.
  const std::pair<const char*, char> modes[] = {{"M1", '2'}, {"M2", '1'}, {"M3", '5'}, {"M4", '3'}};
  for (const auto& [code, digit] : modes) {
    EXPECT_EQ(kenwoodModeDigit("OFF", code), digit) << code;
    EXPECT_EQ(kenwoodModeDigit("PSK", code), digit) << code;
  }
  EXPECT_EQ(kenwoodModeDigit("FSK", "M1"), '9');
  EXPECT_EQ(kenwoodModeDigit("RTTY", "M2"), '6');
  EXPECT_EQ(kenwoodModeDigit("", "M1"), 0);
  EXPECT_EQ(kenwoodModeDigit("OFF", "  "), 0);

  // A VFO B never set (zeros on a fresh panel, or blank) reads as VFO A;
  // with VFO A unknown too there is no answer.
  for (const char* unset : {"F0000000", "F       ", "F3000000"}) {
    s.vfoBFreqCmd = unset;
    EXPECT_EQ(answer("FB;"), "FB00014074000;") << unset;
  }
  s.freqValid = false;
  EXPECT_EQ(answer("FB;"), "");
  EXPECT_EQ(answer("FA;"), "");
}

TEST(CatMonitorList, DistinctRequestsOfTheLastSeconds) {
  CatMonitor m;
  EXPECT_TRUE(m.recent().empty());
  m.add({"ID", "IF"}, 100.0);
  m.add({"AI0"}, 101.0);
  m.add({"ID"}, 102.0);
  EXPECT_EQ(m.recent(), (std::vector<std::string>{"IF", "AI0", "ID"})) << "a repeat moves to the end";
  // IF was last seen at 100 s: gone 10 s later; the others stay.
  m.add({"FB"}, 100.0 + CatMonitor::kWindowSeconds + 0.5);
  EXPECT_EQ(m.recent(), (std::vector<std::string>{"AI0", "ID", "FB"}));
  // Across midnight.
  CatMonitor night;
  night.add({"PS"}, 86399.0);
  night.add({"SA"}, 3.0);
  EXPECT_EQ(night.recent(), (std::vector<std::string>{"PS", "SA"}));
  night.add({"FV"}, 20.0);
  EXPECT_EQ(night.recent(), (std::vector<std::string>{"FV"}));
  // A flood of distinct garbage keeps only the latest.
  CatMonitor flood;
  for (int i = 0; i < 1000; ++i) flood.add({"X" + std::to_string(i)}, 5.0);
  ASSERT_EQ(flood.recent().size(), CatMonitor::kMaxKept);
  EXPECT_EQ(flood.recent().back(), "X999");
}

TEST(CatDialectFile, MissingOffWrittenReadBackAndBadLinesSaySo) {
  test::TempWorkDir dir;
  std::string problem = "stale";
  EXPECT_FALSE(readCatDialect(problem));
  EXPECT_EQ(problem, "");

  writeCatDialect(true);
  const std::string written = test::TempWorkDir::read(kCatDialectFile);
  EXPECT_EQ(written.rfind("1\r\nLine 1: ", 0), 0u) << written;
  EXPECT_TRUE(readCatDialect(problem));
  EXPECT_EQ(problem, "");
  writeCatDialect(false);
  EXPECT_FALSE(readCatDialect(problem));
  EXPECT_EQ(problem, "");

  // "CATSetup.txt" is not touched.
  EXPECT_FALSE(std::filesystem::exists("CATSetup.txt"));

  const std::vector<std::string> bads = {"yes\r\n", " 1\r\n", "", "\x01\xff" "garbage that goes on and on\r\n"};
  for (const std::string& bad : bads) {
    test::TempWorkDir::write(kCatDialectFile, bad);
    EXPECT_FALSE(readCatDialect(problem)) << bad;
    EXPECT_NE(problem.find(kCatDialectFile), std::string::npos) << bad;
    EXPECT_LT(problem.size(), 200u);
  }
  std::filesystem::remove(kCatDialectFile);
  std::filesystem::create_directory(kCatDialectFile);
  EXPECT_FALSE(readCatDialect(problem));
  EXPECT_NE(problem, "");
}

}  // namespace
}  // namespace zr
