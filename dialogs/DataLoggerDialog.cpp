#include "dialogs/DataLoggerDialog.h"
#include "dialogs/DialogText.h"

#include <cstdio>

#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "records/LogTick.h"
#include "records/LongTermLog.h"
#include "records/UsbExport.h"

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kRaise = 20;
constexpr int kStringCaption = 376;
constexpr int kStringUsedLabel = 377;
constexpr int kStringDeleteLogFile = 378;
constexpr int kStringCopy = 379;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::PushButton, .id = kLoggerOn, .rect = RectXywh(12, 12, 110, 44), .text = "ON",
     .style = Style::Center},
    {.kind = ControlKind::CheckBox, .id = kLoggerBoxOn, .rect = RectXywh(132, 22, 90, 24), .text = "ON",
     .style = Style::NoAuto},
    {.kind = ControlKind::PushButton, .id = kLoggerOff, .rect = RectXywh(12, 64, 110, 44), .text = "OFF",
     .style = Style::Center},
    {.kind = ControlKind::CheckBox, .id = kLoggerBoxOff, .rect = RectXywh(132, 74, 90, 24), .text = "OFF",
     .style = Style::NoAuto},
    {.kind = ControlKind::Static, .id = kLoggerUsedLabel, .rect = RectXywh(240, 22, 150, 24),
     .text = "Data log space used:"},
    {.kind = ControlKind::Static, .id = kLoggerUsedSpace, .rect = RectXywh(390, 22, 60, 24), .text = "",
     .style = Style::Border | Style::Center},
    {.kind = ControlKind::PushButton, .id = kLoggerDelete, .rect = RectXywh(240, 64, 210, 44),
     .text = "DELETE DATA LOG FILE", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kLoggerCopy, .rect = RectXywh(12, 120, 320, 44),
     .text = "SEND DATA LOG FILES TO USB FLASH CARD", .style = Style::Center | Style::Multiline},
    {.kind = ControlKind::PushButton, .id = kLoggerExit, .rect = RectXywh(340, 120, 110, 44), .text = "EXIT",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kDataLoggerDialogId,
    .caption = "DAY DATA LOGGER SETUP - 19",
    .rect = RectXywh(0, 0, 464, 202),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

void SetTexts(plat::Hwnd dialog) {
  SetString(dialog, 0, kStringCaption);
  SetString(dialog, kLoggerOff, i18n::kStringOff);
  SetString(dialog, kLoggerBoxOff, i18n::kStringOff);
  SetString(dialog, kLoggerOn, i18n::kStringOn);
  SetString(dialog, kLoggerBoxOn, i18n::kStringOn);
  SetString(dialog, kLoggerUsedLabel, kStringUsedLabel);
  SetString(dialog, kLoggerDelete, kStringDeleteLogFile);
  SetString(dialog, kLoggerCopy, kStringCopy);
  SetString(dialog, kLoggerExit, i18n::kStringExit);
}

// The logger state the controller reports and how full the long-term log is on the card: run
// on opening, after each action on the log and from the tick after an append.
void RefreshState(plat::Hwnd dialog) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  bool on = records::DataLoggerOn(s);
  plat::CheckDlgButton(dialog, kLoggerBoxOn, on);
  plat::CheckDlgButton(dialog, kLoggerBoxOff, !on);
  char used[16];
  records::FormatUsedSpace(used, sizeof used, records::LongTermUsedPercent());
  plat::SetDlgItemText(dialog, kLoggerUsedSpace, used);
}

void SetLogger(plat::Hwnd dialog, bool on) {
  plat::CheckDlgButton(dialog, kLoggerBoxOn, on);
  plat::CheckDlgButton(dialog, kLoggerBoxOff, !on);
  lnk::RequestByte(lnk::kStatusDataLogger, on ? 1 : 0, lnk::CommandRow::DataLogger);
}

void DeleteLog(plat::Hwnd dialog) {
  if (plat::MessageBox(dialog, records::kDeleteAskText, records::kDeleteCaption, plat::MbButtons::YesNo,
                       plat::MbIcon::Question) != plat::IdYes)
    return;
  records::DeleteLongTermLog();
}

void CopyToStick(plat::Hwnd dialog) {
  while (!records::UsbStickPresent()) {
    if (plat::MessageBox(dialog, records::kNoStickText, records::kNoStickCaption, plat::MbButtons::RetryCancel,
                         plat::MbIcon::Stop) != plat::IdRetry)
      return;
  }
  if (plat::MessageBox(dialog, records::kCopyAskText, records::kCopyAskCaption, plat::MbButtons::YesNoCancel,
                       plat::MbIcon::Information) != plat::IdYes)
    return;
  plat::LocalTime now;
  plat::GetLocalTime(now);
  records::LongTermCopy copy;
  if (records::CopyLongTermLogToStick(now, copy) != records::CopyResult::Copied) {
    plat::MessageBox(dialog, records::kCopyFailedText, records::kCopyFailedCaption, plat::MbButtons::Ok,
                     plat::MbIcon::Stop);
    return;
  }
  // The whole folder, not only the name: the stick is whichever drive was found mounted.
  char where[1024];
  if (!plat::ResolvePath(copy.destination, where, sizeof where))
    std::snprintf(where, sizeof where, "%s", copy.displayName);
  plat::MessageBox(dialog, where, records::kCopiedCaption, plat::MbButtons::Ok);
  if (plat::MessageBox(dialog, records::kDeleteAfterCopyText, records::kDeleteCaption, plat::MbButtons::YesNo,
                       plat::MbIcon::Question) != plat::IdYes)
    return;
  // Lines the tick logged while the questions were open were not copied and stay.
  records::RemoveCopiedLongTermLines(copy);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  switch (id) {
    case kLoggerOn: SetLogger(dialog, true); return true;
    case kLoggerOff: SetLogger(dialog, false); return true;
    case kLoggerDelete: DeleteLog(dialog); RefreshState(dialog); return true;
    case kLoggerCopy: CopyToStick(dialog); RefreshState(dialog); return true;
    case kLoggerExit: plat::EndDialog(dialog, id); return true;
    default: return false;
  }
}

bool DataLoggerProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      // The request starts from what the controller reports, without being sent.
      lnk::LoadRequestFromStatus(lnk::CommandRow::DataLogger);
      CenterRaised(dialog);
      SetTexts(dialog);
      RefreshState(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(wParam));
    default:
      return false;
  }
}

}  // namespace

void CenterRaised(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  plat::Rect r = plat::GetWindowRect(dialog);
  int dy = r.top < kRaise ? r.top : kRaise;
  plat::MoveWindow(dialog, r.Offset(0, -dy));
}

int OpenDataLoggerDialog(plat::Hwnd parent) { return plat::DialogBox(parent, kTemplate, DataLoggerProc, 0); }

void RefreshDataLoggerDialog() {
  plat::Hwnd dialog = plat::FindOpenDialog(kDataLoggerDialogId);
  if (dialog != plat::kNoWindow) RefreshState(dialog);
}

}  // namespace dialogs
