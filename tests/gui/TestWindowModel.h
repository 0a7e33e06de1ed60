#pragma once
// A small window with one control of each kind the tests drive, and an input
// sink that records what the view forwards.
#include <vector>

#include "core/InputEvent.h"
#include "ui/WindowModel.h"

namespace zr::test {

struct TestWindowModel : WindowModel {
  TestWindowModel() : WindowModel("frmTest") {
    window.caption = "Test";
    fraBox = makeControl(ControlKind::Frame, "fraBox");
    fraBox.caption = "Box";
    cmdGo = makeControl(ControlKind::Button, "cmdGo", -1, "fraBox");
    cmdGo.caption = "&Go";
    lblA = makeControl(ControlKind::Label, "lblA", -1, "fraBox");
    lblA.caption = "A";
    lblB = makeControl(ControlKind::Label, "lblB");
    lblB.caption = "B";
    cmbMode = makeControl(ControlKind::ComboBox, "cmbMode");
    cmbMode.items = {"USB", "LSB", "AME", "CW"};
    cmbMode.text = "USB";
    for (int i = 0; i < 2; ++i) {
      optSide[i] = makeControl(ControlKind::OptionButton, "optSide", i);
      optSide[i].caption = i == 0 ? "Left" : "Right";
    }
    optSide[0].value = 1;
    chkOn = makeControl(ControlKind::CheckBox, "chkOn");
    vscGain = makeControl(ControlKind::ScrollBar, "vscGain");
    vscGain.min = 63;
    vscGain.max = 0;
    txtEntry = makeControl(ControlKind::TextBox, "txtEntry");
    lstRows = makeControl(ControlKind::ListBox, "lstRows");
    lstRows.items = {"one", "two"};
    mnuFile = makeControl(ControlKind::MenuEntry, "mnuFile");
    mnuFile.caption = "&File";
    mnuFileExit = makeControl(ControlKind::MenuEntry, "mnuFileExit", -1, "mnuFile");
    mnuFileExit.caption = "E&xit";
    tmrTick = makeControl(ControlKind::Timer, "tmrTick");
  }

  std::unique_ptr<WindowModel> clone() const override { return std::make_unique<TestWindowModel>(*this); }
  void forEachControl(const std::function<void(Control&)>& f) override {
    for (Control* c : {&mnuFile, &mnuFileExit, &fraBox, &cmdGo, &lblA, &lblB, &cmbMode, &optSide[0], &optSide[1],
                       &chkOn, &vscGain, &txtEntry, &lstRows, &tmrTick})
      f(*c);
  }
  using WindowModel::forEachControl;

  Control mnuFile, mnuFileExit, fraBox, cmdGo, lblA, lblB, cmbMode, optSide[2], chkOn, vscGain, txtEntry, lstRows,
      tmrTick;
};

// Stands in for Engine::post.
struct InputLog {
  std::vector<InputEvent> events;
  auto sink() {
    return [this](InputEvent e) { events.push_back(std::move(e)); };
  }
  std::vector<InputEvent> of(EventKind kind) const {
    std::vector<InputEvent> out;
    for (const auto& e : events)
      if (e.kind == kind) out.push_back(e);
    return out;
  }
};

}  // namespace zr::test
