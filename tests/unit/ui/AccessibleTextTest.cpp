// What a screen reader is told: names derived from the window models,
// readings of the digit rows and the meter, access keys, announcements.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "lists/BandSelectWindowModel.h"
#include "lists/ChannelSetupWindowModel.h"
#include "lists/ScanBandsWindowModel.h"
#include "lists/ScanFreqsWindowModel.h"
#include "ui/AboutWindowModel.h"
#include "ui/AccessibleText.h"
#include "ui/Announcements.h"
#include "ui/AudioSetupWindowModel.h"
#include "ui/CatSetupWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/PortSetupWindowModel.h"
#include "ui/RigServerWindowModel.h"

namespace zr {
namespace {

using namespace accessible;

std::vector<std::unique_ptr<WindowModel>> everyWindow() {
  std::vector<std::unique_ptr<WindowModel>> w;
  w.push_back(std::make_unique<MainWindowModel>());
  w.push_back(std::make_unique<AboutWindowModel>());
  w.push_back(std::make_unique<AudioSetupWindowModel>());
  w.push_back(std::make_unique<CatSetupWindowModel>());
  w.push_back(std::make_unique<PortSetupWindowModel>());
  w.push_back(std::make_unique<RigServerWindowModel>());
  w.push_back(std::make_unique<BandSelectWindowModel>());
  w.push_back(std::make_unique<ChannelSetupWindowModel>());
  w.push_back(std::make_unique<ScanBandsWindowModel>());
  w.push_back(std::make_unique<ScanFreqsWindowModel>());
  return w;
}

bool interactive(ControlKind k) {
  return k != ControlKind::Label && k != ControlKind::Frame && k != ControlKind::Shape && k != ControlKind::Timer &&
         k != ControlKind::Window;
}

TEST(AccessibleNames, EveryInteractiveControlOfEveryWindowHasANameOfItsOwn) {
  for (const auto& window : everyWindow()) {
    SCOPED_TRACE(window->name());
    std::map<std::string, std::string> seen;  // name -> first id, within a frame
    window->forEachControl([&](const Control& c) {
      if (!interactive(c.kind) || c.kind == ControlKind::MenuEntry) return;
      const std::string name = nameOf(*window, c);
      // The bare control name is the last resort: a listener cannot use it.
      EXPECT_NE(name, c.name) << c.id();
      EXPECT_NE(name, c.name + " " + std::to_string(c.index + 1)) << c.id();
      // Rows of a list must be told apart.
      if (c.index >= 0 && c.kind != ControlKind::Button) {
        auto [it, fresh] = seen.emplace(c.parent + "|" + name, c.id());
        EXPECT_TRUE(fresh) << c.id() << " is named like " << it->second << ": " << name;
      }
    });
  }
}

TEST(AccessibleNames, FollowCaptionsLabelsAndGivenNames) {
  MainWindowModel main;
  EXPECT_EQ(nameOf(main, main.cmbMode), "Mode");  // the label before it
  EXPECT_EQ(nameOf(main, main.optTXVFO[1]), "Transmit using VFO B");
  EXPECT_EQ(nameOf(main, main.cmdXmit), "XMT ON");  // caption, access key mark dropped
  EXPECT_EQ(nameOf(main, main.optMeter[0]), "Meter, audio level");
  EXPECT_EQ(nameOf(main, main.cmbVFOBMode), "VFO B mode");
  EXPECT_EQ(nameOf(main, main.cmdA2B), "Copy VFO A to VFO B");
  // A caption that changes changes the name with it.
  main.cmdXmit.caption = "XMT OFF";
  EXPECT_EQ(nameOf(main, main.cmdXmit), "XMT OFF");

  PortSetupWindowModel port;
  EXPECT_EQ(nameOf(port, port.cmbSelectPort), "Select Port");
  EXPECT_EQ(nameOf(port, port.cmbSelectBaudRate), "Select Baud Rate");
  EXPECT_EQ(nameOf(port, port.optHandShake[3]), "RTS  XON");

  BandSelectWindowModel band;
  EXPECT_EQ(nameOf(band, band.txtFreq[2]), "Frequency, row 3");

  ChannelSetupWindowModel channels;
  EXPECT_EQ(nameOf(channels, channels.cmdBrowse), "Find File");
  EXPECT_EQ(nameOf(channels, channels.txtFilename), "Channel file folder");
  EXPECT_EQ(plainCaption("Rock && &Roll"), "Rock & Roll");
}

TEST(AccessibleReadings, FrequencyDigitsReadAsOneNumber) {
  EXPECT_EQ(frequencyReading("1425000"), "14 250.00 kHz");
  EXPECT_EQ(frequencyReading("0160000"), "1 600.00 kHz");
  EXPECT_EQ(frequencyReading("2999999"), "29 999.99 kHz");
  EXPECT_EQ(frequencyReading("0050001"), "500.01 kHz");
  EXPECT_EQ(frequencyReading("0000000"), "0.00 kHz");
  EXPECT_EQ(frequencyReading("14250"), "no frequency");
  EXPECT_EQ(frequencyReading("14a5000"), "no frequency");
}

TEST(AccessibleReadings, MeterReadsTheNearestMarkOfItsScale) {
  const std::string sMeter = "  S3    S6     S9      +30      +60   ";
  const std::string power = "0            25          50   100  150";
  EXPECT_EQ(meterReading(sMeter, 0, 21), "below S3");
  EXPECT_EQ(meterReading(sMeter, 21, 21), "+60");
  EXPECT_EQ(meterReading(sMeter, 8, 21), "S9");
  EXPECT_EQ(meterReading(power, 0, 21), "0");
  EXPECT_EQ(meterReading(power, 21, 21), "150");
  EXPECT_EQ(meterReading(power, 9, 21), "25");
  // Out of range is read at the end it passed; no scale, the bare number.
  EXPECT_EQ(meterReading(power, 40, 21), "150");
  EXPECT_EQ(meterReading("", 7, 21), "7");
}

TEST(AccessKeys, OneLetterEachPreferringWordStartsAndKeepingMarkedOnes) {
  const auto keys = assignAccessKeys({{"a", "Apply"}, {"b", "&Cancel"}, {"c", "Load"}, {"d", "Save As"},
                                      {"e", "Swap "}, {"f", "160"}, {"g", "Aaa"}, {"h", "Dim"}},
                                     {'I', 'D'});
  EXPECT_EQ(keys.at("a"), 'A');
  EXPECT_FALSE(keys.count("b"));  // keeps its C, which no one else gets
  EXPECT_EQ(keys.at("c"), 'L');
  EXPECT_EQ(keys.at("d"), 'S');
  EXPECT_EQ(keys.at("e"), 'W');  // S taken: a letter inside the word
  EXPECT_FALSE(keys.count("f"));  // no letter at all
  EXPECT_FALSE(keys.count("g"));  // only A, which is taken
  EXPECT_EQ(keys.at("h"), 'M');  // D is reserved
  std::set<char> unique;
  for (const auto& [id, key] : keys) EXPECT_TRUE(unique.insert(key).second) << key;
  EXPECT_EQ(unique.count('C'), 0u);

  EXPECT_EQ(withAccessKey("Swap ", 'W'), "S&wap ");
  EXPECT_EQ(withAccessKey("Save As", 'A'), "Save &As");  // the word start
  EXPECT_EQ(withAccessKey("&XMT ON", 'O'), "&XMT ON");
  EXPECT_EQ(withAccessKey("XMT OFF", 'Q'), "XMT OFF");
}

TEST(AccessKeys, EveryMainWindowButtonOutsideTheDigitRowsGetsOne) {
  MainWindowModel main;
  std::vector<KeyCandidate> candidates;
  main.forEachControl([&](const Control& c) {
    if (c.kind == ControlKind::Button || c.kind == ControlKind::OptionButton) candidates.push_back({c.id(), c.caption});
  });
  const auto keys = assignAccessKeys(candidates, {'I', 'D'});
  EXPECT_TRUE(keys.count("optTXVFO(1)"));
  for (const std::string id : {"cmdMute", "cmdA2B", "cmdSwap", "cmdTune", "cmdV2M"})
    EXPECT_TRUE(keys.count(id) || main.find(id)->caption.find('&') != std::string::npos) << id;
  EXPECT_FALSE(keys.count("cmdF(0)"));
  EXPECT_FALSE(keys.count("Command1"));
}

TEST(Announcements, TransmitBandPortAndErrorsOfTheMainWindow) {
  MainWindowModel before;
  EXPECT_TRUE(announcements(nullptr, before).empty());  // a window first shown says nothing
  MainWindowModel now = before;
  EXPECT_TRUE(announcements(&before, now).empty());

  now.lblXMTRCV.caption = "Transmit";
  now.lblInBand.caption = "Out Of Band";
  now.lblComStat.caption = "Port Lost";
  now.txtInfo.text = "older line\r\nScan: Err 8015. Port gone";
  EXPECT_EQ(announcements(&before, now),
            (std::vector<std::string>{"Transmit", "Port Lost", "Out Of Band", "Scan: Err 8015. Port gone"}));

  MainWindowModel later = now;
  later.lblComStat.caption = "Com OK";
  later.lblInBand.caption = "";
  later.txtInfo.text = "";  // cleared: nothing to say
  EXPECT_EQ(announcements(&now, later), (std::vector<std::string>{"Port back, Com OK", "In band"}));

  // Link texts other than the lost port are not read out each time.
  MainWindowModel noisy = later;
  noisy.lblComStat.caption = "No Com";
  EXPECT_TRUE(announcements(&later, noisy).empty());
  // A hidden window says nothing.
  noisy.window.visible = false;
  noisy.lblXMTRCV.caption = "Receive";
  EXPECT_TRUE(announcements(&later, noisy).empty());
}

TEST(Announcements, ScannerStepsAndChannelRuns) {
  ScanBandsWindowModel bands;
  bands.window.visible = true;
  ScanBandsWindowModel stepped = bands;
  stepped.txtFreq.text = "F14250000";
  EXPECT_EQ(announcements(&bands, stepped), (std::vector<std::string>{"14 250.00 kHz"}));

  ScanFreqsWindowModel freqs;
  freqs.window.visible = true;
  freqs.txtFreq[2].text = "7.074";
  ScanFreqsWindowModel visiting = freqs;
  visiting.Check1[2].backColor = colours::Red;
  EXPECT_EQ(announcements(&freqs, visiting), (std::vector<std::string>{"7.074"}));
  ScanFreqsWindowModel left = visiting;
  left.Check1[2].backColor = ScanFreqsWindowModel::kRowIdle;
  EXPECT_TRUE(announcements(&visiting, left).empty());

  ChannelSetupWindowModel run;
  run.window.visible = true;
  std::vector<std::string> said;
  for (int n = 1; n <= 25; ++n) {
    ChannelSetupWindowModel next = run;
    next.lblStatus.caption = "Load: channel " + std::to_string(n) + " of 25";
    for (auto& s : announcements(&run, next)) said.push_back(s);
    run = next;
  }
  ChannelSetupWindowModel done = run;
  done.lblStatus.caption = "Load done";
  for (auto& s : announcements(&run, done)) said.push_back(s);
  EXPECT_EQ(said, (std::vector<std::string>{"Load: channel 1 of 25", "Load: channel 10 of 25",
                                            "Load: channel 20 of 25", "Load: channel 25 of 25", "Load done"}));

  BandSelectWindowModel list;
  list.window.visible = true;
  BandSelectWindowModel wrong = list;
  wrong.lblError.visible = true;
  EXPECT_EQ(announcements(&list, wrong), (std::vector<std::string>{"Frequency Error"}));
}

}  // namespace
}  // namespace zr
