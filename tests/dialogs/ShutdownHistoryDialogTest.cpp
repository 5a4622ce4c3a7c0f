// Dialog 197 on the headless backend with records written by the test: the list newest first,
// a sort button, the help of the selected row handed to the parent, and the hidden clear
// gesture (EXIT held five seconds, released, and the question answered Yes).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "dialogs/ShutdownHistoryDialog.h"
#include "i18n/Language.h"
#include "platform/Backend.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Database.h"
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

// A long history walked as a finger would: in each order a sort button, then the scroll
// thumb dragged to the bottom; the rows shown first and last are kept for the test.
constexpr int kLongHistory = 3000;
struct LongSeen {
  int step = 0;
  int rows[3] = {};
  std::u16string top[3], bottom[3];
};
LongSeen g_long;

// The first column of the top (or bottom) row drawn since the capture was cleared.
std::u16string ShownRow(plat::Hwnd list, bool bottom) {
  const plat::CapturedText* found = nullptr;
  for (int i = 0; i < plat::CapturedTextCount(); ++i) {
    const plat::CapturedText* t = plat::CapturedTextAt(i);
    if (t->window != list || std::u16string(t->text).find(u"HISTORY ROW") == std::u16string::npos) continue;
    if (found == nullptr || (bottom ? t->rect.top >= found->rect.top : t->rect.top < found->rect.top)) found = t;
  }
  return found ? found->text : u"";
}

plat::LResult LongParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kHistoryDialogId);
  if (dialog == plat::kNoWindow) return 0;
  plat::Hwnd list = plat::GetDlgItem(dialog, dialogs::kHistoryList);
  plat::Rect r = plat::GetWindowRect(list);
  const int order = g_long.step / 2, x = r.right - 15;
  constexpr int kSortButtons[] = {dialogs::kHistorySortByDate, dialogs::kHistorySortByWarning,
                                  dialogs::kHistorySortByNode};
  if (w == 9 || order == 3) {
    plat::EndDialog(dialog, plat::IdCancel);
  } else if (g_long.step++ % 2 == 0) {
    plat::ClearCapturedText();
    plat::ClickWindow(plat::GetDlgItem(dialog, kSortButtons[order]));
  } else {
    g_long.rows[order] = plat::ListItemCount(list);
    g_long.top[order] = ShownRow(list, false);
    plat::HeadlessInjectTouch(x, r.top + 2 + 26 + 6, true);  // the thumb, at the top of its track
    plat::PumpUntilIdle();
    plat::HeadlessInjectTouch(x, r.bottom - 3, true);
    plat::PumpUntilIdle();
    plat::ClearCapturedText();
    plat::HeadlessInjectTouch(x, r.bottom - 3, false);
    plat::PumpUntilIdle();
    g_long.bottom[order] = ShownRow(list, true);
  }
  return 0;
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

TEST_F(HistoryDialog, EveryRecordOfALongHistoryIsReachedInEachSortOrder) {
  // Written in one transaction by a second connection, as a history gathered over years.
  ASSERT_EQ(records::OpenHistoryStore(), records::HistoryOpen::Created);
  records::CloseHistoryStore();
  {
    plat::Database db;
    ASSERT_EQ(db.Open(records::kHistoryPath), plat::DbResult::Ok);
    ASSERT_EQ(db.Begin(), plat::DbResult::Ok);
    plat::Statement s;
    ASSERT_EQ(s.Prepare(db, "INSERT INTO ShutdownHistoryDB(description, node, recorded) VALUES(?1, ?2, ?3)"),
              plat::DbResult::Ok);
    const int64_t start = records::FileTimeFromLocal(MakeTime(2016, 10, 3, 0, 0, 0));
    char text[32];
    for (int i = 0; i < kLongHistory; ++i) {  // row i a minute after row i - 1
      std::snprintf(text, sizeof text, "%04X HISTORY ROW %d", (i * 37 + 1000) % 4096, i);
      s.BindText(1, text);
      std::snprintf(text, sizeof text, "NODE %02d", (i * 7 + 3) % 15);
      s.BindText(2, text);
      s.BindInt64(3, start + i * 600000000ll);
      ASSERT_EQ(s.Step(), plat::DbResult::Done);
      s.Reset();
    }
    s.Finalize();
    ASSERT_EQ(db.Commit(), plat::DbResult::Ok);
  }
  ASSERT_EQ(records::OpenHistoryStore(), records::HistoryOpen::Opened);
  g_long = LongSeen{};
  ASSERT_TRUE(plat::RegisterClass({.name = "HISTORY_LONG_PARENT", .proc = LongParentProc}));
  plat::Hwnd parent = plat::CreateWindow({.className = "HISTORY_LONG_PARENT", .rect = plat::Rect{0, 0, 640, 480},
                                          .flags = plat::WindowFlag::Visible});
  ASSERT_TRUE(plat::SetTimer(parent, 1, 200));
  ASSERT_TRUE(plat::SetTimer(parent, 9, 60000));
  plat::StartTextCapture();
  dialogs::OpenShutdownHistoryDialog(parent);
  plat::StopTextCapture();

  // Each order reversed: its last record on top, its first (the oldest by date) at the end.
  const std::u16string top[] = {u"055B HISTORY ROW 2999", u"0FFF HISTORY ROW 2187", u"0FF0 HISTORY ROW 2408"};
  const std::u16string bottom[] = {u"03E8 HISTORY ROW 0", u"0000 HISTORY ROW 1080", u"000B HISTORY ROW 1191"};
  for (int order = 0; order < 3; ++order) {
    EXPECT_EQ(g_long.rows[order], kLongHistory) << order;
    EXPECT_EQ(g_long.top[order], top[order]) << order;
    EXPECT_EQ(g_long.bottom[order], bottom[order]) << order;
  }
}

}  // namespace
