#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/AboutWindowModel.h"
#include "ui/MainWindowModel.h"

namespace zr {
namespace {

std::vector<std::unique_ptr<WindowModel>> allModels() {
  std::vector<std::unique_ptr<WindowModel>> models;
  models.push_back(std::make_unique<MainWindowModel>());
  models.push_back(std::make_unique<AboutWindowModel>());
  return models;
}

TEST(WindowModels, EveryControlIsFoundByNameAndIndexAndIdsAreUnique) {
  for (auto& model : allModels()) {
    SCOPED_TRACE(model->name());
    std::set<std::string> ids;
    int count = 0;
    model->forEachControl([&](Control& c) {
      ++count;
      EXPECT_FALSE(c.name.empty());
      EXPECT_NE(c.kind, ControlKind::Window) << c.id();
      EXPECT_TRUE(ids.insert(c.id()).second) << "duplicate " << c.id();
      EXPECT_EQ(model->find(c.name, c.index), &c) << c.id();
    });
    EXPECT_GT(count, 0);
    EXPECT_EQ(model->find(""), &model->window);
    EXPECT_EQ(model->find("noSuchControl"), nullptr);
  }
}

TEST(WindowModels, ParentsAreFramesOrMenusListedBeforeTheirChildren) {
  for (auto& model : allModels()) {
    SCOPED_TRACE(model->name());
    std::map<std::string, ControlKind> seen;
    model->forEachControl([&](const Control& c) {
      if (!c.parent.empty()) {
        auto parent = seen.find(c.parent);
        ASSERT_NE(parent, seen.end()) << c.id() << " sits in unknown or later " << c.parent;
        if (c.kind == ControlKind::MenuEntry)
          EXPECT_EQ(parent->second, ControlKind::MenuEntry) << c.id();
        else
          EXPECT_EQ(parent->second, ControlKind::Frame) << c.id();
      }
      if (c.index < 0) seen.emplace(c.name, c.kind);
    });
  }
}

TEST(WindowModels, CloneIsEqualAndIndependent) {
  for (auto& model : allModels()) {
    SCOPED_TRACE(model->name());
    auto copy = model->clone();
    ASSERT_EQ(copy->name(), model->name());
    EXPECT_TRUE(sameControls(*model, *copy));

    // A change to any single control of the copy is seen, and the original keeps its value.
    std::vector<const Control*> originals;
    model->forEachControl([&](const Control& c) { originals.push_back(&c); });
    std::size_t i = 0;
    copy->forEachControl([&](Control& c) {
      const Control* original = originals.at(i++);
      EXPECT_NE(&c, original) << c.id() << " is shared with the original";
      const std::string before = c.caption;
      c.caption += "x";
      EXPECT_FALSE(sameControls(*model, *copy)) << c.id();
      EXPECT_EQ(original->caption, before) << c.id();
      c.caption = before;
    });
    EXPECT_TRUE(sameControls(*model, *copy));

    copy->window.enabled = !copy->window.enabled;
    EXPECT_FALSE(sameControls(*model, *copy));
  }
}

int countControls(const WindowModel& model) {
  int n = 0;
  model.forEachControl([&](const Control&) { ++n; });
  return n;
}

TEST(WindowModels, EveryMemberControlIsListed) {
  // The models hold nothing but controls, so a member left out of
  // forEachControl shows up as a size the listing does not account for.
  EXPECT_EQ(sizeof(MainWindowModel), sizeof(WindowModel) + countControls(MainWindowModel()) * sizeof(Control));
  EXPECT_EQ(sizeof(AboutWindowModel), sizeof(WindowModel) + countControls(AboutWindowModel()) * sizeof(Control));
}

TEST(MainWindowModel, ControlArraysCarryTheirIndexes) {
  MainWindowModel m;
  EXPECT_EQ(m.name(), "frmZR3817");
  auto check = [](const auto& array, const std::string& name) {
    for (std::size_t i = 0; i < array.size(); ++i) {
      EXPECT_EQ(array[i].name, name);
      EXPECT_EQ(array[i].index, static_cast<int>(i)) << name;
    }
  };
  check(m.cmdF, "cmdF");
  check(m.cmdVFOB, "cmdVFOB");
  check(m.cmdM, "cmdM");
  check(m.optMeter, "optMeter");
  check(m.lblMeter, "lblMeter");
  check(m.optTXVFO, "optTXVFO");
  check(m.optChan, "optChan");
  EXPECT_EQ(m.find("cmdF", 7), nullptr);
  EXPECT_EQ(m.find("cmdF"), nullptr) << "an array is only reached through an index";
  EXPECT_EQ(m.find("cmdF", 6), &m.cmdF[6]);
}

TEST(MainWindowModel, ScrollBarsAndMeterKeepTheirValuesInRange) {
  // Views clamp positions into [min, max]; an initial value outside the
  // range would be silently moved on first draw.
  MainWindowModel m;
  m.forEachControl([](const Control& c) {
    if (c.kind != ControlKind::ScrollBar && c.kind != ControlKind::ProgressBar) return;
    const int lo = std::min(c.min, c.max), hi = std::max(c.min, c.max);
    EXPECT_GE(c.value, lo) << c.id();
    EXPECT_LE(c.value, hi) << c.id();
  });
  EXPECT_EQ(m.pbMeter.max, 21);
}

TEST(MainWindowModel, ListTextsAreAmongTheirItems) {
  // Startup, the settings file and the CAT interface compare list texts with
  // these items; a design text that is not one of them could never match.
  MainWindowModel m;
  m.forEachControl([](const Control& c) {
    if (c.kind != ControlKind::ComboBox) return;
    EXPECT_FALSE(c.items.empty()) << c.id();
    if (c.text.empty()) return;
    EXPECT_NE(std::find(c.items.begin(), c.items.end(), c.text), c.items.end()) << c.id() << " " << c.text;
  });
}

TEST(MainWindowModel, OneTransmitVfoAndOneChannelSourceSelected) {
  MainWindowModel m;
  EXPECT_EQ(m.optTXVFO[0].value + m.optTXVFO[1].value, 1);
  EXPECT_EQ(m.optChan[0].value + m.optChan[1].value, 1);
  // Split state, as read back from the label, must agree with the selected option.
  EXPECT_EQ(m.lblSplit.caption == "Split On", m.optTXVFO[1].selected());
}

}  // namespace
}  // namespace zr
