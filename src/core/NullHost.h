#pragma once
// A Host for runs without a desktop (benchmarks, fuzzing): nothing is shown,
// message boxes are answered at once and file dialogs are cancelled.
#include "core/Host.h"

namespace zr {

struct NullHost : Host {
  void publish(std::shared_ptr<const Snapshot>) override {}
  bool showsWindows() const override { return false; }
  void beep() override {}
  void messageBox(const std::string&, const std::string&) override {}
  std::optional<std::string> fileDialog(const FileDialogRequest&) override { return std::nullopt; }
  void openHelp(const std::string&) override {}
  void quit() override {}
};

}  // namespace zr
