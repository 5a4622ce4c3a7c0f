// Dialog 258 on the headless backend: the ON button raises the data-logger request while the
// controller still reports OFF, and the copy to the stick answered through its questions,
// with a line logged between the copy and the Yes that must stay in the log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DataLoggerDialog.h"
#include "dialogs/SystemInfoDialog.h"
#include "i18n/Language.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "records/LongTermLog.h"
#include "records/UsbExport.h"
#include "tests/records/RecordsTestSupport.h"

namespace {

using records_test::MakeTime;

const std::string kOld = "2016-10-04,07:05:09PM,112,23.7,61.0,15.2,84.5,40\r\n";

struct Seen {
  int step = 0;
  std::vector<std::string> captions;  // of the message boxes, in order
  bool offChecked = false;
  bool onPending = false;
  std::u16string used;
  std::u16string version;
  std::u16string totalMemory;
  bool copyNamesItsFolder = false;  // the box after the copy shows where on the stick it went
  const char* script = "";  // one letter per step (see ParentProc)
};
Seen g_seen;

std::string Narrow(const char16_t* s) {
  std::string out;
  for (; s && *s; ++s) out.push_back(static_cast<char>(*s < 256 ? *s : '?'));
  return out;
}

void Press(plat::Hwnd dialog, int id) { plat::ClickWindow(plat::GetDlgItem(dialog, id)); }

plat::LResult ParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  if (w == 9) {
    for (int id : {plat::kMessageBoxTemplateId, dialogs::kDataLoggerDialogId, dialogs::kSystemInfoDialogId})
      if (plat::Hwnd d = plat::FindOpenDialog(id); d != plat::kNoWindow) plat::EndDialog(d, plat::IdCancel);
    return 0;
  }
  char action = g_seen.script[g_seen.step];
  if (action == 0) return 0;
  ++g_seen.step;
  plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kDataLoggerDialogId);
  plat::Hwnd box = plat::FindOpenDialog(plat::kMessageBoxTemplateId);
  if (box != plat::kNoWindow) g_seen.captions.push_back(Narrow(plat::GetWindowText(box)));
  switch (action) {
    case 'o':
      g_seen.offChecked = plat::IsDlgButtonChecked(dialog, dialogs::kLoggerBoxOff);
      g_seen.used = plat::GetWindowText(plat::GetDlgItem(dialog, dialogs::kLoggerUsedSpace));
      Press(dialog, dialogs::kLoggerOn);
      g_seen.onPending = lnk::IsPending(lnk::CommandRow::DataLogger);
      break;
    case 'c': Press(dialog, dialogs::kLoggerCopy); break;
    case 'y': Press(box, plat::IdYes); break;
    case 'n': Press(box, plat::IdNo); break;
    case 'k':
      if (!g_seen.copyNamesItsFolder)
        g_seen.copyNamesItsFolder =
            plat::FindCapturedText("Disk2/LongTermDataLog16_10_04_19_05_09.TXT", box) != nullptr;
      Press(box, plat::IdOk);
      break;
    case 'C': Press(box, plat::IdCancel); break;
    case 'R': {
      // The one-second tick logs a line while the delete question is open; then Yes.
      records::LongTermRecord r{};
      lnk::DryerStatus s = records_test::RunningStatus();
      records::FillLongTermRecord(r, s, MakeTime(2016, 10, 4, 19, 5, 21));
      records::SetLongTermEnabled(true);
      int percent = 0;
      records::AppendLongTermLine(r, percent);
      records::SetLongTermEnabled(false);
      Press(box, plat::IdYes);
      break;
    }
    case 'i': {
      plat::Hwnd info = plat::FindOpenDialog(dialogs::kSystemInfoDialogId);
      g_seen.version = plat::GetWindowText(plat::GetDlgItem(info, dialogs::kInfoVersion));
      g_seen.totalMemory = plat::GetWindowText(plat::GetDlgItem(info, dialogs::kInfoTotalMemory));
      Press(info, dialogs::kInfoExit);
      break;
    }
    case 'x': Press(dialog, dialogs::kLoggerExit); break;
  }
  return 0;
}

class DataLoggerDialog : public records_test::PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records_test::WriteShippedEnglishStrings();
    i18n::ResetLanguageState();
    lnk::ResetSettingRequest();
    g_seen = Seen{};
    ASSERT_EQ(plat::CreateFolder(records::kLongTermFolder), plat::FileResult::Ok);
    WriteAll(records::kLongTermPath, kOld);
    ASSERT_EQ(plat::OpenDisplay({.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass({.name = "LOGGER_TEST_PARENT", .proc = ParentProc}));
    parent_ = plat::CreateWindow({.className = "LOGGER_TEST_PARENT", .rect = plat::Rect{0, 0, 640, 480},
                                  .flags = plat::WindowFlag::Visible});
    ASSERT_TRUE(plat::SetTimer(parent_, 1, 200));
    ASSERT_TRUE(plat::SetTimer(parent_, 9, 60000));
  }
  void TearDown() override {
    plat::CloseDisplay();
    lnk::ResetSettingRequest();
    i18n::ResetLanguageState();
    PanelRoot::TearDown();
  }
  plat::Hwnd parent_ = plat::kNoWindow;
};

TEST_F(DataLoggerDialog, OnRaisesTheRequestAndTheCopyKeepsLaterLines) {
  // ON; copy: the question (Yes), the file name (OK), then a line is logged before Yes to
  // the delete question; EXIT.
  g_seen.script = "ocykRx";
  plat::StartTextCapture();
  dialogs::OpenDataLoggerDialog(parent_);
  plat::StopTextCapture();
  EXPECT_TRUE(g_seen.copyNamesItsFolder);
  EXPECT_TRUE(g_seen.offChecked);
  EXPECT_EQ(g_seen.used, u"0 %");
  EXPECT_TRUE(g_seen.onPending);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDataLogger), 1);
  ASSERT_EQ(g_seen.captions.size(), 3u);
  EXPECT_EQ(g_seen.captions[0], records::kCopyAskCaption);
  EXPECT_EQ(g_seen.captions[1], records::kCopiedCaption);
  EXPECT_EQ(g_seen.captions[2], records::kDeleteCaption);
  EXPECT_EQ(ReadAll("\\Hard Disk2\\LongTermDataLog16_10_04_19_05_09.TXT"), kOld);
  EXPECT_EQ(ReadAll(records::kLongTermPath), "2016-10-04,07:05:21PM,112,23.7,61.0,15.2,84.5,40\r\n");
}

TEST_F(DataLoggerDialog, MissingStickAsksToInsertIt) {
  ASSERT_EQ(::nftw(Host("\\Hard Disk2").c_str(), records_test::RemoveEntry, 16, FTW_DEPTH | FTW_PHYS), 0);
  g_seen.script = "cCx";
  dialogs::OpenDataLoggerDialog(parent_);
  ASSERT_EQ(g_seen.captions.size(), 1u);
  EXPECT_EQ(g_seen.captions[0], records::kNoStickCaption);
  EXPECT_EQ(ReadAll(records::kLongTermPath), kOld);
}

TEST_F(DataLoggerDialog, StickPulledDuringTheCopyReportsTheFailure) {
  plat::InjectFileFault(plat::FileOp::Sync, 1, plat::FileResult::IoError, true);
  g_seen.script = "cykx";
  dialogs::OpenDataLoggerDialog(parent_);
  plat::ClearFileFaults();
  ASSERT_EQ(g_seen.captions.size(), 2u);
  EXPECT_EQ(g_seen.captions[1], records::kCopyFailedCaption);
  EXPECT_TRUE(List("\\Hard Disk2\\*").empty());
  EXPECT_EQ(ReadAll(records::kLongTermPath), kOld);
}

TEST_F(DataLoggerDialog, SystemInformationShowsVersionAndMemory) {
  g_seen.script = "i";
  dialogs::OpenSystemInfoDialog(parent_);
  EXPECT_EQ(Narrow(g_seen.version.c_str()), "Software Version: 2.04");
  std::string memory = Narrow(g_seen.totalMemory.c_str());
  EXPECT_EQ(memory.rfind("Total Memory: ", 0), 0u) << memory;
  EXPECT_NE(memory.find(" Bytes"), std::string::npos) << memory;
}

}  // namespace
