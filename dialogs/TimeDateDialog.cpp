#include "dialogs/TimeDateDialog.h"

#include <cstdio>

#include "dialogs/DialogText.h"
#include "dialogs/SetupQuestion.h"
#include "i18n/Language.h"
#include "i18n/LineText.h"
#include "i18n/StringIds.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr char kHelpFile[] = "TimeDateHelp.txt";
constexpr int kWidth = 600;
constexpr int kColumnWidth = 110;
constexpr int kColumnStep = 118;
constexpr int kButtonY = 200;
constexpr int kButtonHeight = 48;

struct FieldRange {
  int first;
  int last;
  const char* format;
};
// Days run to 31 in every month, so the day may be set before the month; ACCEPT checks them.
constexpr FieldRange kRanges[kTimeDateFields] = {
    {1, 12, "%02d"}, {1, 31, "%02d"}, {kTimeDateFirstYear, kTimeDateLastYear, "%04d"}, {0, 23, "%02d"}, {0, 59, "%02d"},
};

constexpr int ColumnX(int f) { return 10 + f * kColumnStep; }

constexpr DialogControl Label(int f, const char* text) {
  return {.kind = ControlKind::Static, .id = kTimeDateLabels[f], .rect = RectXywh(ColumnX(f), 8, kColumnWidth, 24),
          .text = text, .style = Style::Center};
}
constexpr DialogControl Value(int f) {
  return {.kind = ControlKind::Edit, .id = kTimeDateValues[f], .rect = RectXywh(ColumnX(f), 36, kColumnWidth, 34),
          .text = "", .style = Style::Center | Style::Border};
}
constexpr DialogControl Increase(int f) {
  return {.kind = ControlKind::PushButton, .id = kTimeDateIncrease[f],
          .rect = RectXywh(ColumnX(f), 78, kColumnWidth, 52), .text = "INCREASE", .style = Style::Center};
}
constexpr DialogControl Decrease(int f) {
  return {.kind = ControlKind::PushButton, .id = kTimeDateDecrease[f],
          .rect = RectXywh(ColumnX(f), 136, kColumnWidth, 52), .text = "DECREASE", .style = Style::Center};
}

constexpr DialogControl kControls[] = {
    Label(0, "MONTH"), Label(1, "DAY"), Label(2, "YEAR"), Label(3, "HOUR"), Label(4, "MINUTE"),
    Value(0), Value(1), Value(2), Value(3), Value(4),
    Increase(0), Increase(1), Increase(2), Increase(3), Increase(4),
    Decrease(0), Decrease(1), Decrease(2), Decrease(3), Decrease(4),
    {.kind = ControlKind::PushButton, .id = kTimeDateHelp, .rect = RectXywh(10, kButtonY, 150, kButtonHeight),
     .text = "HELP", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kTimeDateAccept, .rect = RectXywh(280, kButtonY, 150, kButtonHeight),
     .text = "ACCEPT", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kTimeDateCancel, .rect = RectXywh(440, kButtonY, 150, kButtonHeight),
     .text = "CANCEL", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kTimeDateDialogId,
    .caption = "SET TIME AND DATE - 41",
    .rect = RectXywh(0, 0, kWidth, plat::kCaptionHeight + kButtonY + kButtonHeight + 12),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

plat::LocalTime& WorkingOf(plat::Hwnd dialog) {
  return *static_cast<plat::LocalTime*>(plat::GetWindowData(dialog));
}

int& FieldOf(plat::LocalTime& t, int f) {
  switch (static_cast<TimeDateField>(f)) {
    case TimeDateField::Month: return t.month;
    case TimeDateField::Day: return t.day;
    case TimeDateField::Year: return t.year;
    case TimeDateField::Hour: return t.hour;
    case TimeDateField::Minute:
    case TimeDateField::Count: break;
  }
  return t.minute;
}

// Steps a field by one, wrapping round within its range.
void StepField(plat::LocalTime& t, int f, int by) {
  const FieldRange& r = kRanges[f];
  const int span = r.last - r.first + 1;
  int& v = FieldOf(t, f);
  v = r.first + ((v - r.first + by) % span + span) % span;
}

void SetTexts(plat::Hwnd dialog) {
  SetString(dialog, 0, i18n::kStringTimeDateCaption);
  for (int f = 0; f < kTimeDateFields; ++f) {
    SetString(dialog, kTimeDateLabels[f], i18n::kStringMonth + f);
    SetString(dialog, kTimeDateIncrease[f], i18n::kStringIncrease);
    SetString(dialog, kTimeDateDecrease[f], i18n::kStringDecrease);
  }
  SetString(dialog, kTimeDateHelp, i18n::kStringHelp);
  SetString(dialog, kTimeDateAccept, i18n::kStringAccept);
  SetString(dialog, kTimeDateCancel, i18n::kStringCancel);
}

void ShowWorking(plat::Hwnd dialog) {
  plat::LocalTime& t = WorkingOf(dialog);
  for (int f = 0; f < kTimeDateFields; ++f) {
    char text[8];
    std::snprintf(text, sizeof text, kRanges[f].format, FieldOf(t, f));
    plat::SetDlgItemText(dialog, kTimeDateValues[f], text);
  }
}

// Tells the operator how many days the chosen month has; the dialog stays open.
void RefuseDate(plat::Hwnd dialog, int daysInMonth) {
  char16_t first[i18n::kStringDestUnits] = {};
  char16_t second[i18n::kStringDestUnits] = {};
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringMonthHasOnly, first);
  i18n::GetString(i18n::kStringDaysCorrectDay, second);
  i18n::GetString(i18n::kStringInvalidDateCaption, caption);
  char number[8];
  std::snprintf(number, sizeof number, " %d ", daysInMonth);
  char16_t text[2 * i18n::kStringDestUnits + 8];
  i18n::LineText(text, sizeof text / sizeof text[0]).Add(first).AddLatin1(number).Add(second);
  plat::MessageBox(dialog, text, caption, plat::MbButtons::Ok, plat::MbIcon::Exclamation);
}

// The panel never changes the host's clock: the time set here is kept as an offset from it, in
// a file on the card, and so survives a restart. An operator who set the dryer's time once
// expects it still right after a power cut, and the host clock runs on through one.
bool Accept(plat::Hwnd dialog) {
  plat::LocalTime t = WorkingOf(dialog);
  const int days = plat::DaysInMonth(t.year, t.month);
  if (t.day > days) {
    RefuseDate(dialog, days);
    return false;
  }
  t.second = 0;
  t.millisecond = 0;
  return plat::SetLocalTime(t);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  for (int f = 0; f < kTimeDateFields; ++f) {
    if (id != kTimeDateIncrease[f] && id != kTimeDateDecrease[f]) continue;
    StepField(WorkingOf(dialog), f, id == kTimeDateIncrease[f] ? 1 : -1);
    ShowWorking(dialog);
    return true;
  }
  switch (id) {
    case kTimeDateHelp: ShowHelpFile(dialog, kHelpFile, i18n::kStringTimeDateHelpCaption); return true;
    case kTimeDateAccept:
      if (Accept(dialog)) plat::EndDialog(dialog, id);
      return true;
    case kTimeDateCancel: plat::EndDialog(dialog, id); return true;
    default: return false;
  }
}

bool TimeDateProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      plat::LocalTime& t = WorkingOf(dialog);
      plat::GetLocalTime(t);
      if (t.year < kTimeDateFirstYear || t.year > kTimeDateLastYear) t.year = kTimeDateFirstYear;
      plat::CenterOverParent(dialog);
      SetTexts(dialog);
      ShowWorking(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

void OpenTimeDateDialog(plat::Hwnd parent) {
  plat::LocalTime working;
  plat::DialogBox(parent, kTemplate, TimeDateProc, reinterpret_cast<plat::LParam>(&working));
}

}  // namespace dialogs
