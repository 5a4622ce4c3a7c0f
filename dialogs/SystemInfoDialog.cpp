#include "dialogs/SystemInfoDialog.h"
#include "dialogs/DialogText.h"

#include <cstdio>

#include "dialogs/DataLoggerDialog.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/MemoryStatus.h"
#include "platform/TimeFormat.h"
#include "records/UsbExport.h"

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 422;
constexpr int kStringVersion = 423;
constexpr int kStringTotal = 424;
constexpr int kStringFree = 425;
constexpr int kStringName = 426;
constexpr const char* kDatePicture = "dddd  MMM dd',' yyy";
constexpr const char* kTimePicture = "h':'mm':'ss tt";

constexpr DialogControl Line(int id, int row) {
  return {.kind = ControlKind::Static, .id = id, .rect = RectXywh(16, 12 + row * 30, 400, 26), .text = ""};
}

constexpr DialogControl kControls[] = {
    Line(kInfoVersion, 0),     Line(kInfoDate, 1),       Line(kInfoTime, 2),
    Line(kInfoTotalMemory, 3), Line(kInfoFreeMemory, 4), Line(kInfoName, 5),
    {.kind = ControlKind::PushButton, .id = kInfoExit, .rect = RectXywh(300, 196, 116, 40), .text = "EXIT",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kSystemInfoDialogId,
    .caption = " SYSTEM INFORMATION / SOFTWARE VERSION - 32",
    .rect = RectXywh(0, 0, 432, 276),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

void SetBytesLine(plat::Hwnd dialog, int id, int stringId, uint64_t bytes) {
  char16_t label[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, label);
  char16_t line[plat::kMaxWindowText];
  records::FormatBytesLine(line, plat::kMaxWindowText, label, bytes);
  plat::SetDlgItemText(dialog, id, line);
}

// Run on opening and from the one-second tick; only the lines that changed repaint.
void Refresh(plat::Hwnd dialog) {
  SetString(dialog, 0, kStringCaption);
  char16_t line[plat::kMaxWindowText];
  FormatVersionLine(line, plat::kMaxWindowText);
  plat::SetDlgItemText(dialog, kInfoVersion, line);
  plat::LocalTime now;
  plat::GetLocalTime(now);
  plat::FormatTime(now, kDatePicture, line, plat::kMaxWindowText);
  plat::SetDlgItemText(dialog, kInfoDate, line);
  plat::FormatTime(now, kTimePicture, line, plat::kMaxWindowText);
  plat::SetDlgItemText(dialog, kInfoTime, line);
  uint64_t total = 0, available = 0;
  plat::GetMemoryStatus(total, available);
  SetBytesLine(dialog, kInfoTotalMemory, kStringTotal, total);
  SetBytesLine(dialog, kInfoFreeMemory, kStringFree, available);
  SetString(dialog, kInfoName, kStringName);
  SetString(dialog, kInfoExit, i18n::kStringExit);
}

bool SystemInfoProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      CenterRaised(dialog);
      Refresh(dialog);
      return true;
    case plat::Msg::Command:
      if (plat::CommandId(wParam) != kInfoExit) return false;
      plat::EndDialog(dialog, kInfoExit);
      return true;
    default:
      return false;
  }
}

}  // namespace

size_t FormatVersionLine(char16_t* out, size_t units) {
  if (units == 0) return 0;
  char16_t label[i18n::kStringDestUnits] = {};
  i18n::GetString(kStringVersion, label);
  char number[24];
  std::snprintf(number, sizeof number, ": %d.%02d", kSoftwareVersionMajor, kSoftwareVersionMinor);
  size_t n = plat::CopyText(out, units, label);
  return n + plat::CopyText(out + n, units - n, number);
}

int OpenSystemInfoDialog(plat::Hwnd parent) { return plat::DialogBox(parent, kTemplate, SystemInfoProc, 0); }

void RefreshSystemInfoDialog() {
  plat::Hwnd dialog = plat::FindOpenDialog(kSystemInfoDialogId);
  if (dialog != plat::kNoWindow) Refresh(dialog);
}

}  // namespace dialogs
