// Dialog 197 on the headless backend with records written by the test: the list newest first,
// a sort button, the help of the selected row handed to the parent, and the hidden clear
// gesture (EXIT held five seconds, released, and the question answered Yes).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

#include "dialogs/ShutdownHistoryDialog.h"
#include "i18n/Language.h"
#include "platform/Backend.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "records/ShutdownHistory.h"
#include "tests/records/RecordsTestSupport.h"

namespace {

using records_test::MakeTime;

struct Seen {
  std::vector<std::u16string> firstColumn;
  std::vector<std::u16string> byWarning;
  bool dateBoxChecked = false;
  bool warningBoxChecked = false;
  int helpCommands = 0;
  dialogs::HistoryHelp help{};
  int countdownHeld = -1;
  bool clearAsked = false;
  int rowsAfterClear = -1;
  bool screenshot = false;
  int step = 0;
};
Seen g_seen;

std::vector<std::u16string> Column(plat::Hwnd list) {
  std::vector<std::u16string> out;
  for (int r = 0; r < plat::ListItemCount(list); ++r) out.push_back(plat::ListItemText(list, r, 0));
  return out;
}

// Steps of the test, one per timer tick while the dialog is open.
plat::LResult ParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == plat::Msg::Command && plat::CommandId(w) == dialogs::kHistoryHelpCommand) {
    ++g_seen.helpCommands;
    g_seen.help = dialogs::HistoryHelpRequest();
    return 0;
  }
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  if (w == 9) {  // a step that went wrong must not leave the loop waiting for ever
    for (int id : {dialogs::kClearHistoryDialogId, dialogs::kHistoryDialogId})
      if (plat::Hwnd d = plat::FindOpenDialog(id); d != plat::kNoWindow) plat::EndDialog(d, plat::IdCancel);
    return 0;
  }
  plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kHistoryDialogId);
  plat::Hwnd question = plat::FindOpenDialog(dialogs::kClearHistoryDialogId);
  plat::Hwnd list = plat::GetDlgItem(dialog, dialogs::kHistoryList);
  switch (g_seen.step++) {
    case 0: {
      g_seen.firstColumn = Column(list);
      g_seen.dateBoxChecked = plat::IsDlgButtonChecked(dialog, dialogs::kHistoryBoxByDate);
      std::string shot = std::string(DRYER_BINARY_DIR) + "/screenshots/shutdown_history_dialog.png";
      g_seen.screenshot = plat::ScreenshotPng(shot.c_str());
      plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistorySortByWarning));
      return 0;
    }
    case 1:
      g_seen.byWarning = Column(list);
      g_seen.warningBoxChecked = plat::IsDlgButtonChecked(dialog, dialogs::kHistoryBoxByWarning);
      for (int r = 0; r < plat::ListItemCount(list); ++r)
        if (std::u16string(plat::ListItemText(list, r, 0)).rfind(u"0F0C", 0) == 0) plat::ListSetSelection(list, r);
      plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistoryHelp));
      return 0;
    case 2: {
      // EXIT held through five ticks of the one-second timer, then released.
      plat::Rect exit = plat::GetWindowRect(plat::GetDlgItem(dialog, dialogs::kHistoryExit));
      int x = (exit.left + exit.right) / 2, y = (exit.top + exit.bottom) / 2;
      plat::HeadlessInjectTouch(x, y, true);
      plat::PumpUntilIdle();
      for (int i = 0; i < 5; ++i) dialogs::HistoryDialogSecond();
      g_seen.countdownHeld = dialogs::HistoryHoldCountdown();
      plat::HeadlessInjectTouch(x, y, false);
      return 0;
    }
    case 3:
      g_seen.clearAsked = question != plat::kNoWindow;
      if (question != plat::kNoWindow) plat::ClickWindow(plat::GetDlgItem(question, plat::IdYes));
      return 0;
    case 4:
      g_seen.rowsAfterClear = plat::ListItemCount(list);
      plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistoryExit));
      return 0;
    default:
      return 0;
  }
}

// The copy to the stick answered Yes, then the message that says where the file went.
struct CopySeen {
  int step = 0;
  std::string caption;
  bool namesTheFile = false;
};
CopySeen g_copy;

std::string Narrow(const char16_t* s) {
  std::string out;
  for (; s && *s; ++s) out.push_back(static_cast<char>(*s < 256 ? *s : '?'));
  return out;
}

plat::LResult CopyParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kHistoryDialogId);
  plat::Hwnd question = plat::FindOpenDialog(dialogs::kCopyHistoryDialogId);
  plat::Hwnd box = plat::FindOpenDialog(plat::kMessageBoxTemplateId);
  if (w == 9) {
    for (plat::Hwnd d : {box, question, dialog})
      if (d != plat::kNoWindow) plat::EndDialog(d, plat::IdCancel);
    return 0;
  }
  switch (g_copy.step++) {
    case 0: plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistoryCopy)); return 0;
    case 1:
      if (question != plat::kNoWindow) plat::ClickWindow(plat::GetDlgItem(question, plat::IdYes));
      return 0;
    case 2:
      if (box != plat::kNoWindow) {
        g_copy.caption = Narrow(plat::GetWindowText(box));
        g_copy.namesTheFile = plat::FindCapturedText("Disk2/DryerShutdownHistory.txt", box) != nullptr;
        plat::ClickWindow(plat::GetDlgItem(box, plat::IdOk));
      }
      return 0;
    case 3: plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistoryExit)); return 0;
    default: return 0;
  }
}

class HistoryDialog : public records_test::PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records_test::WriteShippedEnglishStrings();
    i18n::ResetLanguageState();
    records::CloseHistoryStore();
    g_seen = Seen{};
    ::mkdir((std::string(DRYER_BINARY_DIR) + "/screenshots").c_str(), 0755);
    ASSERT_EQ(plat::OpenDisplay({.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass({.name = "HISTORY_TEST_PARENT", .proc = ParentProc}));
    parent_ = plat::CreateWindow({.className = "HISTORY_TEST_PARENT", .rect = plat::Rect{0, 0, 640, 480},
                                  .flags = plat::WindowFlag::Visible});
    ASSERT_NE(parent_, plat::kNoWindow);
  }
  void TearDown() override {
    plat::CloseDisplay();
    records::CloseHistoryStore();
    i18n::ResetLanguageState();
    PanelRoot::TearDown();
  }
  plat::Hwnd parent_ = plat::kNoWindow;
};

TEST_F(HistoryDialog, ListSortHelpAndTheHiddenClear) {
  ASSERT_EQ(records::OpenHistoryStore(), records::HistoryOpen::Created);
  ASSERT_EQ(records::AddHistoryRecord(u"0E05 LOW AIR", u"MAIN I/O", MakeTime(2016, 10, 4, 8, 0, 0)),
            records::HistoryResult::Ok);
  ASSERT_EQ(records::AddHistoryRecord(u"0F0C MOISTURE SENSOR", u"MOISTURE CONT", MakeTime(2016, 10, 4, 9, 0, 0)),
            records::HistoryResult::Ok);
  ASSERT_EQ(records::AddHistoryRecord(u"0205 HIGH LIMIT", u"FAN/HEATER #1", MakeTime(2016, 10, 4, 19, 5, 0)),
            records::HistoryResult::Ok);
  ASSERT_TRUE(plat::SetTimer(parent_, 1, 200));
  ASSERT_TRUE(plat::SetTimer(parent_, 9, 60000));
  dialogs::OpenShutdownHistoryDialog(parent_);

  EXPECT_EQ(g_seen.firstColumn,
            (std::vector<std::u16string>{u"0205 HIGH LIMIT", u"0F0C MOISTURE SENSOR", u"0E05 LOW AIR"}));
  EXPECT_TRUE(g_seen.dateBoxChecked);
  EXPECT_TRUE(g_seen.screenshot);
  EXPECT_EQ(g_seen.byWarning,
            (std::vector<std::u16string>{u"0F0C MOISTURE SENSOR", u"0E05 LOW AIR", u"0205 HIGH LIMIT"}));
  EXPECT_TRUE(g_seen.warningBoxChecked);
  EXPECT_EQ(g_seen.helpCommands, 1);
  EXPECT_EQ(g_seen.help.node, 15);
  EXPECT_EQ(g_seen.help.warning, 12);
  EXPECT_EQ(g_seen.countdownHeld, 0);
  EXPECT_TRUE(g_seen.clearAsked);
  EXPECT_EQ(g_seen.rowsAfterClear, 0);
  EXPECT_EQ(records::ReadHistoryCount(), 0u);
  EXPECT_GE(g_seen.step, 5);
}

TEST_F(HistoryDialog, CopyToTheStickSaysWhereTheFileWent) {
  ASSERT_EQ(records::OpenHistoryStore(), records::HistoryOpen::Created);
  ASSERT_EQ(records::AddHistoryRecord(u"0E05 LOW AIR", u"MAIN I/O", MakeTime(2016, 10, 4, 8, 0, 0)),
            records::HistoryResult::Ok);
  records::ReadHistoryCount();
  g_copy = CopySeen{};
  ASSERT_TRUE(plat::RegisterClass({.name = "HISTORY_COPY_PARENT", .proc = CopyParentProc}));
  plat::Hwnd parent = plat::CreateWindow({.className = "HISTORY_COPY_PARENT", .rect = plat::Rect{0, 0, 640, 480},
                                          .flags = plat::WindowFlag::Visible});
  ASSERT_TRUE(plat::SetTimer(parent, 1, 200));
  ASSERT_TRUE(plat::SetTimer(parent, 9, 60000));
  plat::StartTextCapture();
  dialogs::OpenShutdownHistoryDialog(parent);
  plat::StopTextCapture();

  EXPECT_EQ(g_copy.caption, "COPIED TO USB FLASH DRIVE");
  EXPECT_TRUE(g_copy.namesTheFile);
  EXPECT_TRUE(plat::FileExists(records::kHistoryExportPath));
}

}  // namespace
