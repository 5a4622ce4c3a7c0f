// Dialog 197 on the headless backend with records written by the test: the list newest first,
// a sort button, the help of the selected row handed to the parent, and the hidden clear
// gesture (EXIT held five seconds, released, and the question answered Yes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
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

// A long history walked as a finger would: in each sort order the scroll thumb is dragged to
// the bottom of the list, and the last row shown must be the last record of that order (the
// oldest by date/time); the oldest row, touched and helped, names its own warning.
constexpr int kLongHistory = 3000;
struct LongRecord {
  std::u16string description;
  std::u16string node;
  int minute;  // after midnight on Oct 03, 2016
};
std::vector<LongRecord> g_long;

struct LongSeen {
  int step = 0;
  int rows[3] = {-1, -1, -1};
  std::u16string lastShown[3];
  std::u16string topShown[3];
  dialogs::HistoryHelp help{.node = -1, .warning = -1};
};
LongSeen g_longSeen;

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

void MakeLongHistory() {
  g_long.clear();
  char text[64];
  for (int i = 0; i < kLongHistory; ++i) {
    // Descriptions and nodes spread so that each order ends on a different record.
    std::snprintf(text, sizeof text, "%04X HISTORY ROW %d", (i * 37 + 1000) % 4096, i);
    std::string description = text;
    std::snprintf(text, sizeof text, "NODE %02d", (i * 7 + 3) % 15);
    g_long.push_back({Wide(description), Wide(text), i});
  }
}

// The first columns drawn by the list's last paint, top to bottom.
std::vector<std::u16string> ShownDescriptions(plat::Hwnd list) {
  plat::Rect r = plat::GetWindowRect(list);
  std::vector<std::pair<int, std::u16string>> drawn;
  for (int i = 0; i < plat::CapturedTextCount(); ++i) {
    const plat::CapturedText* t = plat::CapturedTextAt(i);
    if (t->window != list || t->rect.left > r.left + 10 || std::u16string(t->text).find(u"HISTORY ROW") == std::u16string::npos)
      continue;
    auto same = std::find_if(drawn.begin(), drawn.end(), [&](const auto& d) { return d.first == t->rect.top; });
    if (same != drawn.end())
      same->second = t->text;
    else
      drawn.push_back({t->rect.top, t->text});
  }
  std::sort(drawn.begin(), drawn.end());
  std::vector<std::u16string> out;
  for (const auto& d : drawn) out.push_back(d.second);
  return out;
}

// Touches the list's scroll thumb (at the top of its track) and drags it past the bottom.
void DragThumbToTheEnd(plat::Hwnd list) {
  plat::Rect r = plat::GetWindowRect(list);
  int x = r.right - 15;
  plat::HeadlessInjectTouch(x, r.top + 2 + 26 + 6, true);
  plat::PumpUntilIdle();
  plat::HeadlessInjectTouch(x, r.bottom - 3, true);
  plat::PumpUntilIdle();
  plat::ClearCapturedText();
  plat::HeadlessInjectTouch(x, r.bottom - 3, false);
}

plat::LResult LongParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == plat::Msg::Command && plat::CommandId(w) == dialogs::kHistoryHelpCommand) {
    g_longSeen.help = dialogs::HistoryHelpRequest();
    return 0;
  }
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kHistoryDialogId);
  if (w == 9) {
    if (plat::Hwnd box = plat::FindOpenDialog(plat::kMessageBoxTemplateId); box != plat::kNoWindow)
      plat::EndDialog(box, plat::IdCancel);
    if (dialog != plat::kNoWindow) plat::EndDialog(dialog, plat::IdCancel);
    return 0;
  }
  if (dialog == plat::kNoWindow || plat::FindOpenDialog(plat::kMessageBoxTemplateId) != plat::kNoWindow) return 0;
  plat::Hwnd list = plat::GetDlgItem(dialog, dialogs::kHistoryList);
  constexpr int kButtons[] = {dialogs::kHistorySortByDate, dialogs::kHistorySortByWarning, dialogs::kHistorySortByNode};
  int step = g_longSeen.step++;
  if (step < 9) {
    int order = step / 3;
    switch (step % 3) {
      case 0:
        plat::ClearCapturedText();
        plat::ClickWindow(plat::GetDlgItem(dialog, kButtons[order]));
        return 0;
      case 1: {
        g_longSeen.rows[order] = plat::ListItemCount(list);
        std::vector<std::u16string> shown = ShownDescriptions(list);
        if (!shown.empty()) g_longSeen.topShown[order] = shown.front();
        DragThumbToTheEnd(list);
        return 0;
      }
      default: {
        std::vector<std::u16string> shown = ShownDescriptions(list);
        if (!shown.empty()) g_longSeen.lastShown[order] = shown.back();
        if (order == 2) plat::ClickWindow(plat::GetDlgItem(dialog, kButtons[0]));
        return 0;
      }
    }
  }
  if (step == 9) {
    // By date/time again, scrolled to the end, the bottom row touched and its help asked for.
    DragThumbToTheEnd(list);
    return 0;
  }
  if (step == 10) {
    plat::Rect r = plat::GetWindowRect(list);
    std::vector<std::u16string> shown = ShownDescriptions(list);
    const plat::CapturedText* bottom = shown.empty() ? nullptr : plat::FindCapturedText(
        std::string(shown.back().begin(), shown.back().end()).c_str(), list);
    if (bottom != nullptr) {
      int y = (bottom->rect.top + bottom->rect.bottom) / 2;
      plat::HeadlessInjectTouch(r.left + 60, y, true);
      plat::PumpUntilIdle();
      plat::HeadlessInjectTouch(r.left + 60, y, false);
      plat::PumpUntilIdle();
    }
    plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistoryHelp));
    return 0;
  }
  if (step == 11) plat::ClickWindow(plat::GetDlgItem(dialog, dialogs::kHistoryExit));
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
  MakeLongHistory();
  {
    plat::Database db;
    ASSERT_EQ(db.Open(records::kHistoryPath), plat::DbResult::Ok);
    ASSERT_EQ(db.Begin(), plat::DbResult::Ok);
    plat::Statement s;
    ASSERT_EQ(s.Prepare(db, "INSERT INTO ShutdownHistoryDB(description, node, recorded) VALUES(?1, ?2, ?3)"),
              plat::DbResult::Ok);
    const int64_t start = records::FileTimeFromLocal(MakeTime(2016, 10, 3, 0, 0, 0));
    for (const LongRecord& r : g_long) {
      s.BindText16(1, r.description.c_str());
      s.BindText16(2, r.node.c_str());
      s.BindInt64(3, start + r.minute * 600000000ll);
      ASSERT_EQ(s.Step(), plat::DbResult::Done);
      s.Reset();
    }
    s.Finalize();
    ASSERT_EQ(db.Commit(), plat::DbResult::Ok);
  }
  ASSERT_EQ(records::OpenHistoryStore(), records::HistoryOpen::Opened);
  g_longSeen = LongSeen{};
  ASSERT_TRUE(plat::RegisterClass({.name = "HISTORY_LONG_PARENT", .proc = LongParentProc}));
  plat::Hwnd parent = plat::CreateWindow({.className = "HISTORY_LONG_PARENT", .rect = plat::Rect{0, 0, 640, 480},
                                          .flags = plat::WindowFlag::Visible});
  ASSERT_TRUE(plat::SetTimer(parent, 1, 200));
  ASSERT_TRUE(plat::SetTimer(parent, 9, 60000));
  plat::StartTextCapture();
  dialogs::OpenShutdownHistoryDialog(parent);
  plat::StopTextCapture();

  // The list shows each order reversed: its last record at the bottom, its first at the top.
  using Key = std::tuple<std::u16string, std::u16string, int>;
  auto byDate = [](const LongRecord& r) { return Key{u"", u"", r.minute}; };
  auto byWarning = [](const LongRecord& r) { return Key{r.description, r.node, r.minute}; };
  auto byNode = [](const LongRecord& r) { return Key{r.node, r.description, r.minute}; };
  auto ends = [](auto key) {
    auto less = [&](const LongRecord& a, const LongRecord& b) { return key(a) < key(b); };
    auto [first, last] = std::minmax_element(g_long.begin(), g_long.end(), less);
    return std::pair<std::u16string, std::u16string>{last->description, first->description};
  };
  const std::pair<std::u16string, std::u16string> expected[] = {ends(byDate), ends(byWarning), ends(byNode)};
  const char* names[] = {"by date/time", "by warning", "by node"};
  for (int order = 0; order < 3; ++order) {
    EXPECT_EQ(g_longSeen.rows[order], kLongHistory) << names[order];
    EXPECT_EQ(g_longSeen.topShown[order], expected[order].first) << names[order];
    EXPECT_EQ(g_longSeen.lastShown[order], expected[order].second) << names[order];
  }
  // The oldest record is "03E8 HISTORY ROW 0": node 0x03, warning 0xE8.
  EXPECT_EQ(g_longSeen.help.node, 0x03);
  EXPECT_EQ(g_longSeen.help.warning, 0xE8);
  EXPECT_GE(g_longSeen.step, 12);
}

}  // namespace
