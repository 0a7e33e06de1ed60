#pragma once
// A Host for headless runs: records what the program showed and answers
// message boxes and file dialogs at once (with scripted answers).
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Host.h"

namespace zr::test {

class RecordingHost : public Host {
 public:
  void publish(std::shared_ptr<const Snapshot> snapshot) override {
    latest = std::move(snapshot);
    ++publishes;
  }
  void beep() override { ++beeps; }
  void messageBox(const std::string& text, const std::string& title) override {
    messages.push_back(text);
    titles.push_back(title);
  }
  std::optional<std::string> fileDialog(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
  void openHelp(const std::string& file) override { helpFiles.push_back(file); }
  void quit() override { quitCalled = true; }

  std::shared_ptr<const Snapshot> latest;
  int publishes = 0;
  int beeps = 0;
  std::vector<std::string> messages;
  std::vector<std::string> titles;
  std::vector<FileDialogRequest> dialogs;
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<std::string> helpFiles;
  bool quitCalled = false;
};

}  // namespace zr::test
