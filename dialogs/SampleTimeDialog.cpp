#include "dialogs/SampleTimeDialog.h"
#include "dialogs/DialogText.h"
#include "dialogs/QuestionAnswers.h"

#include "i18n/Language.h"
#include "platform/Dialog.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 366;
constexpr int kStringGroup = 367;
constexpr int kStringAcceptExit = 350;
constexpr int kStringNote = 372;
constexpr int kStringClearTable = 373;

struct PeriodRow {
  int minutes;
  int box;
  int button;
  int stringId;
};
constexpr PeriodRow kPeriods[] = {
    {.minutes = 1, .box = kSampleBox1, .button = kSampleButton1, .stringId = 368},
    {.minutes = 5, .box = kSampleBox5, .button = kSampleButton5, .stringId = 369},
    {.minutes = 10, .box = kSampleBox10, .button = kSampleButton10, .stringId = 370},
    {.minutes = 15, .box = kSampleBox15, .button = kSampleButton15, .stringId = 371},
};

constexpr int kRowTop = 40;
constexpr int kRowStep = 44;

constexpr DialogControl PeriodBox(int row, int id) {
  return {.kind = ControlKind::CheckBox, .id = id, .rect = RectXywh(24, kRowTop + row * kRowStep + 8, 24, 24),
          .text = "", .style = Style::NoAuto};
}
constexpr DialogControl PeriodButton(int row, int id, const char* text) {
  return {.kind = ControlKind::PushButton, .id = id, .rect = RectXywh(56, kRowTop + row * kRowStep, 150, 38),
          .text = text, .style = Style::Center};
}

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::GroupBox, .id = kSampleGroup, .rect = RectXywh(10, 14, 210, 210), .text = "Sample Time"},
    PeriodBox(0, kSampleBox1),
    PeriodButton(0, kSampleButton1, "1 MINUTE"),
    PeriodBox(1, kSampleBox5),
    PeriodButton(1, kSampleButton5, "5 MINUTE"),
    PeriodBox(2, kSampleBox10),
    PeriodButton(2, kSampleButton10, "10 MINUTE"),
    PeriodBox(3, kSampleBox15),
    PeriodButton(3, kSampleButton15, "15 MINUTE"),
    {.kind = ControlKind::Static, .id = kSampleNote, .rect = RectXywh(236, 20, 180, 70), .text = "",
     .style = Style::Multiline},
    {.kind = ControlKind::PushButton, .id = kSampleClearTable, .rect = RectXywh(236, 120, 180, 44),
     .text = "CLEAR TABLE", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kSampleAccept, .rect = RectXywh(236, 176, 180, 48),
     .text = "ACCEPT / EXIT", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kSampleTimeDialogId,
    .caption = "Select Data Log Sample Time - 35",
    .rect = RectXywh(0, 0, 432, 264),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

constexpr DialogControl kClearControls[] = {
    {.kind = ControlKind::Static, .id = kClearTableText, .rect = RectXywh(12, 12, 316, 48),
     .text = "Delete every sample of the data table?", .style = Style::Center | Style::Multiline},
    {.kind = ControlKind::PushButton, .id = plat::IdYes, .rect = RectXywh(12, 70, 96, 40), .text = "YES",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = plat::IdNo, .rect = RectXywh(122, 70, 96, 40), .text = "NO",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = plat::IdCancel, .rect = RectXywh(232, 70, 96, 40), .text = "CANCEL",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kClearTemplate{
    .id = kClearTableDialogId,
    .caption = "CLEAR TABLE",
    .rect = RectXywh(0, 0, 340, 148),
    .controls = kClearControls,
    .count = static_cast<int>(sizeof kClearControls / sizeof kClearControls[0]),
};

void CheckPeriod(plat::Hwnd dialog, int minutes) {
  for (const PeriodRow& p : kPeriods) plat::CheckDlgButton(dialog, p.box, p.minutes == minutes);
}

int CheckedPeriod(plat::Hwnd dialog) {
  for (const PeriodRow& p : kPeriods)
    if (plat::IsDlgButtonChecked(dialog, p.box)) return p.minutes;
  return records::kFallbackSampleMinutes;
}

void SetPeriod(int minutes) { records::CurrentPreferences().sampleMinutes = static_cast<uint8_t>(minutes); }

// Run when the dialog opens: its texts, and the period shown, made one the dialog offers.
void Refresh(plat::Hwnd dialog) {
  SetString(dialog, 0, kStringCaption);
  SetString(dialog, kSampleGroup, kStringGroup);
  for (const PeriodRow& p : kPeriods) SetString(dialog, p.button, p.stringId);
  SetString(dialog, kSampleNote, kStringNote);
  SetString(dialog, kSampleClearTable, kStringClearTable);
  SetString(dialog, kSampleAccept, kStringAcceptExit);
  int period = records::CurrentPreferences().sampleMinutes;
  int shown = records::DialogSamplePeriod(period);
  if (shown != period) {
    SetPeriod(shown);
    records::SavePreference(records::kPrefSampleTime, static_cast<uint8_t>(shown));
  }
  CheckPeriod(dialog, shown);
}

bool ClearTableProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      SetAnswerTexts(dialog);
      return true;
    case plat::Msg::Command:
      return EndOnAnswer(dialog, plat::CommandId(wParam));
    default:
      return false;
  }
}

bool OnCommand(plat::Hwnd dialog, int id) {
  for (const PeriodRow& p : kPeriods) {
    if (id != p.button) continue;
    CheckPeriod(dialog, p.minutes);
    SetPeriod(p.minutes);
    return true;
  }
  switch (id) {
    case kSampleAccept: {
      int minutes = CheckedPeriod(dialog);
      SetPeriod(minutes);
      records::SavePreference(records::kPrefSampleTime, static_cast<uint8_t>(minutes));
      plat::EndDialog(dialog, id);
      return true;
    }
    case kSampleClearTable:
      if (plat::DialogBox(dialog, kClearTemplate, ClearTableProc, 0) == plat::IdYes) records::ClearSamples();
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
}

bool SampleTimeProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      Refresh(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(wParam));
    default:
      return false;
  }
}

}  // namespace

int OpenSampleTimeDialog(plat::Hwnd parent) {
  return plat::DialogBox(parent, kTemplate, SampleTimeProc, 0);
}

}  // namespace dialogs
