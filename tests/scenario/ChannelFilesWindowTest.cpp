// The channel window's file side in a scratch folder: the dialogs it asks
// for, what Open File and Save File do with good and bad files, and that a
// failure loses neither the list nor an existing file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/MainMenus.h"
#include "lists/ChannelSetupDialog.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

namespace fs = std::filesystem;

class ChannelFilesWindowTest : public ::testing::Test {
 protected:
  ChannelFilesWindowTest() { dialog.Form_Load(); }
  static std::string path(const std::string& name) { return (fs::current_path() / name).string(); }
  void answer(std::optional<std::string> chosen) { h.host.fileAnswers.push_back(std::move(chosen)); }
  void openFile(const std::string& name) {
    m.txtFilename.text = path(name);
    dialog.cmdOpenFile_Click();
  }
  const std::string& info() const { return h.panel.frm.txtInfo.text; }
  // What a dialog was asked to show: kind, title, filter, filter index, default extension.
  static std::string asked(const FileDialogRequest& r) {
    return std::string(r.save ? "save" : "open") + " / " + r.title + " / " + r.filter + " / " +
           std::to_string(r.filterIndex) + " / " + r.defaultExt;
  }

  TempWorkDir dir;
  EngineHarness h;
  ChannelSetupDialog& dialog = h.panel.menus().channelSetup();
  ChannelSetupWindowModel& m = dialog.model();
};

TEST_F(ChannelFilesWindowTest, OpensWithTheDesignTextsAndAFileNameInTheWorkingFolder) {
  EXPECT_EQ(m.window.caption, "Channel Setup");
  EXPECT_EQ(m.txtFilename.text, path("Channel List.txt"));
  EXPECT_EQ(m.txtResp.text, "OK");
  EXPECT_EQ(m.txtSaveFilename.text, "");
  EXPECT_EQ(m.cmdBrowse.caption + "|" + m.cmdBrowse.toolTip, "Find File|Browse to Select File");
  EXPECT_EQ(m.cmdStore.caption + "|" + m.cmdStore.toolTip, "Store|Put Channel Data in radio.");
  EXPECT_EQ(m.cmdOK.caption + "|" + m.cmdOK.toolTip, "OK|Exit Setup");
}

TEST_F(ChannelFilesWindowTest, FindFileAsksForATextFileAndTakesTheChoice) {
  answer(std::nullopt);
  answer(path("plan.txt"));
  dialog.cmdBrowse_Click();
  EXPECT_EQ(m.txtFilename.text, path("Channel List.txt"));  // cancelled: unchanged
  dialog.cmdBrowse_Click();
  EXPECT_EQ(m.txtFilename.text, path("plan.txt"));
  ASSERT_EQ(h.host.dialogs.size(), 2u);
  const FileDialogRequest& r = h.host.dialogs[0];
  EXPECT_EQ(asked(r), "open / Select a source file  / Text files|*.txt / 1 / txt");
  EXPECT_EQ(r.initialDir, fs::current_path().string());
}

TEST_F(ChannelFilesWindowTest, OpenFileReadsTheListAndSaysWhatItSkipped) {
  TempWorkDir::write("plan.txt", "5 7074.00 USB\r\n100,14074.00,USB\r\n\r\n12,14074.00,CW\r\n07,1234.56,USB\r\n");
  openFile("plan.txt");
  EXPECT_EQ(m.lsbChList.items, (std::vector<std::string>{"0507074001", "1214074004"}));
  EXPECT_EQ(info(), "Opened " + path("plan.txt") + ": 2 channels, 2 lines skipped (first: line 2)");
  EXPECT_EQ(m.lblStatus.caption, info());
  TempWorkDir::write("empty.txt", "");
  openFile("empty.txt");
  EXPECT_TRUE(m.lsbChList.items.empty());
  EXPECT_TRUE(h.host.dialogs.empty());
}

TEST_F(ChannelFilesWindowTest, AMissingFileIsSaidAndFindFileChoosesAnother) {
  TempWorkDir::write("other.txt", "12,14074.00,CW\n");
  answer(path("other.txt"));
  openFile("missing.txt");
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  EXPECT_EQ(h.host.dialogs[0].title, "Select a source file ");
  EXPECT_EQ(m.lsbChList.items, std::vector<std::string>{"1214074004"});
  // Cancelled this time: the message stays and the list is kept.
  openFile("missing.txt");
  EXPECT_EQ(info(), path("missing.txt") + ": Err 53. File not found");
  EXPECT_EQ(m.lsbChList.items, std::vector<std::string>{"1214074004"});
}

TEST_F(ChannelFilesWindowTest, FilesThatCannotBeListsAreRefusedAndTheListKept) {
  m.lsbChList.items = {"0507074002"};
  TempWorkDir::write("huge.txt", std::string(200 * 1024, '1'));
  openFile("huge.txt");
  EXPECT_EQ(info(), path("huge.txt") + ": Err 75. is larger than 64 KiB");
  ASSERT_EQ(::mkfifo("pipe.txt", 0600), 0);
  openFile("pipe.txt");  // must not block
  EXPECT_EQ(info(), path("pipe.txt") + ": Err 75. is not a regular file");
  fs::create_directory("folder.txt");
  openFile("folder.txt");
  EXPECT_EQ(info(), path("folder.txt") + ": Err 75. is a folder, not a file");
  EXPECT_TRUE(h.host.dialogs.empty());
  EXPECT_EQ(m.lsbChList.items, std::vector<std::string>{"0507074002"});
  TempWorkDir::write("binary.txt", std::string("\x7f" "ELF\0\x02\x01\n\xff\xfe,,\n", 13));
  openFile("binary.txt");
  EXPECT_EQ(info(), "Opened " + path("binary.txt") + ": 0 channels, 2 lines skipped (first: line 1)");
}

TEST_F(ChannelFilesWindowTest, SaveFileWritesTheListThroughTheSaveDialog) {
  m.lsbChList.items = {"1214074004", "0507074003"};
  answer(path("out.txt"));
  dialog.cmdSaveFile_Click();
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  const FileDialogRequest& r = h.host.dialogs[0];
  EXPECT_EQ(asked(r), "save / Select the Destination File. / All Files|*.*|Text Files|*.txt| / 2 / txt");
  EXPECT_EQ(r.fileName, path("Channel List.txt"));
  EXPECT_EQ(TempWorkDir::read("out.txt"), "12,14074.00,CW\r\n05,07074.00,AM\r\n");
  EXPECT_EQ(m.txtSaveFilename.text, path("out.txt"));
  EXPECT_EQ(info(), "Saved to " + path("out.txt"));
}

TEST_F(ChannelFilesWindowTest, CancelOrAFailedSaveIsReportedAndChangesNothing) {
  m.lsbChList.items = {"1214074004"};
  dialog.cmdSaveFile_Click();  // no answer: cancelled
  EXPECT_EQ(info(), path("Channel List.txt") + ": Err 32755. Cancel was selected.");

  TempWorkDir::write("locked.txt", "05,07074.00,LSB\r\n");
  ::chmod("locked.txt", 0444);
  answer(path("locked.txt"));
  dialog.cmdSaveFile_Click();
  EXPECT_EQ(info(), path("locked.txt") + ": Err 70. Permission denied");
  EXPECT_EQ(TempWorkDir::read("locked.txt"), "05,07074.00,LSB\r\n");

  TempWorkDir::write("afile", "x");
  answer(path("afile/out.txt"));
  dialog.cmdSaveFile_Click();
  EXPECT_EQ(info(), path("afile/out.txt") + ": Err 76. Not a directory");
  EXPECT_EQ(m.txtSaveFilename.text, "");
  for (const auto& e : fs::directory_iterator(fs::current_path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

TEST_F(ChannelFilesWindowTest, ClosingGoesBackToTheFolderItOpenedIn) {
  const fs::path opened = fs::current_path();
  fs::create_directory("elsewhere");
  fs::current_path("elsewhere");
  dialog.cmdOK_Click();
  EXPECT_EQ(fs::current_path(), opened);
  EXPECT_FALSE(m.window.visible);
}

}  // namespace
}  // namespace zr::test
