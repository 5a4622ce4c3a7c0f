#include "dialogs/AutoStartDialogs.h"

#include <cstdio>

#include "dialogs/AutoStartLogic.h"
#include "dialogs/DialogText.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::Rect;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringStatusCaption = 507;
constexpr int kStringCancelAutoStart = 508;
constexpr int kStringUnit = 512;

constexpr plat::Color kBandColour = plat::Rgb(40, 40, 40);
constexpr plat::Color kSegmentBlue = plat::Rgb(0, 0, 255);
constexpr plat::Color kSegmentRed = plat::Rgb(255, 0, 0);
constexpr Rect kBand = RectXywh(10, 10, 580, 50);
constexpr int kRowTop = 72;
constexpr int kRowStep = 40;
constexpr int kLabelLeft = 14;
constexpr int kBarLeft = 130;
constexpr int kBarWidth = 280;
constexpr int kBarHeight = 20;
constexpr int kStateLeft = 420;
constexpr int kTimesLeft = 480;

constexpr DialogControl kStatusControls[] = {
    {.kind = ControlKind::PushButton, .id = kAutoStartCancel, .rect = RectXywh(10, 326, 260, 44),
     .text = "Cancel   Auto-Start", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kAutoStartMinimize, .rect = RectXywh(430, 326, 160, 44),
     .text = "Minimize", .style = Style::Center},
};

constexpr plat::DialogTemplate kStatusTemplate{
    .id = kAutoStartStatusDialogId,
    .caption = "Auto-Start Status",
    .rect = RectXywh(0, 0, 600, 410),
    .controls = kStatusControls,
    .count = static_cast<int>(sizeof kStatusControls / sizeof kStatusControls[0]),
};

constexpr DialogControl kConfirmControls[] = {
    {.kind = ControlKind::Static, .id = kAutoStartQuestion, .rect = RectXywh(16, 16, 388, 60), .text = "",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kAutoStartYes, .rect = RectXywh(16, 96, 116, 44), .text = "Yes",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kAutoStartNo, .rect = RectXywh(152, 96, 116, 44), .text = "No",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kAutoStartCancelConfirm, .rect = RectXywh(288, 96, 116, 44),
     .text = "CANCEL", .style = Style::Center},
};

constexpr plat::DialogTemplate kConfirmTemplate{
    .id = kAutoStartConfirmDialogId,
    .caption = "Auto-Start",
    .rect = RectXywh(0, 0, 420, 180),
    .controls = kConfirmControls,
    .count = static_cast<int>(sizeof kConfirmControls / sizeof kConfirmControls[0]),
};

// One opening of either dialog, given to it as its parameter. The confirmation keeps what it
// asked about, so its answer acts on the state the operator saw.
struct AutoStartSession {
  ShowMainScreens showMainScreens = nullptr;
  bool confirmActive = false;
};

AutoStartSession& SessionOf(plat::Hwnd dialog) { return *static_cast<AutoStartSession*>(plat::GetWindowData(dialog)); }

void DrawBand(plat::Canvas& c, const lnk::DryerStatus& s) {
  const AutoStartBand band = ChooseAutoStartBand(s);
  c.FillRect(kBand, kBandColour);
  c.SetFont(plat::BoldTahoma(30));
  c.SetTextColor(band.colour);
  constexpr plat::TextFlags kFlags = plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::SingleLine;
  if (band.stringId == 0) {
    c.DrawText(kBand, kAutoStartStatusUnknown, kFlags);
    return;
  }
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(band.stringId, text);
  c.DrawText(kBand, text, kFlags);
}

void DrawRow(plat::Canvas& c, const lnk::DryerStatus& s, int unit, const char16_t* unitLabel,
             const char16_t* on, const char16_t* off) {
  const int y = kRowTop + (unit - 1) * kRowStep;
  const AutoStartProgress p = ReadAutoStartProgress(s, unit);
  char16_t label[i18n::kStringDestUnits + 8];
  size_t n = plat::CopyText(label, i18n::kStringDestUnits, unitLabel);
  char number[16];
  std::snprintf(number, sizeof number, " #%d", unit);
  plat::CopyText(label + n, sizeof label / sizeof label[0] - n, number);
  c.SetTextColor(plat::Rgb(0, 0, 0));
  constexpr plat::TextFlags kFlags = plat::TextFlag::VCenter | plat::TextFlag::SingleLine;
  c.DrawText(RectXywh(kLabelLeft, y, kBarLeft - kLabelLeft, kBarHeight), label, kFlags);
  const AutoStartSegments seg = ScaleAutoStartBar(p, kBarWidth);
  c.FillRect(RectXywh(kBarLeft, y, seg.first, kBarHeight), kSegmentBlue);
  c.FillRect(RectXywh(kBarLeft + seg.first, y, seg.second, kBarHeight), kSegmentRed);
  c.FillRect(RectXywh(kBarLeft + seg.first + seg.second, y, seg.third, kBarHeight), kSegmentBlue);
  c.DrawText(RectXywh(kStateLeft, y, kTimesLeft - kStateLeft, kBarHeight), p.on ? on : off, kFlags);
  char elapsed[16], total[16], times[40];
  FormatAutoStartTime(elapsed, sizeof elapsed, p.first + p.second);
  FormatAutoStartTime(total, sizeof total, p.total);
  std::snprintf(times, sizeof times, "%s / %s", elapsed, total);
  c.DrawText(RectXywh(kTimesLeft, y, 110, kBarHeight), times, kFlags);
}

void PaintStatus(plat::Canvas& c) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  DrawBand(c, s);
  char16_t unitLabel[i18n::kStringDestUnits] = {}, on[i18n::kStringDestUnits] = {},
                                                    off[i18n::kStringDestUnits] = {};
  i18n::GetString(kStringUnit, unitLabel);
  i18n::GetString(i18n::kStringOn, on);
  i18n::GetString(i18n::kStringOff, off);
  c.SetFont(plat::BoldTahoma(16));
  const int units = AutoStartUnitCount(s);
  for (int unit = 1; unit <= units; ++unit) DrawRow(c, s, unit, unitLabel, on, off);
}

bool StatusProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam lParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(lParam));
      plat::CenterOverParent(dialog);
      SetStringIfPresent(dialog, 0, kStringStatusCaption);
      SetStringIfPresent(dialog, kAutoStartCancel, kStringCancelAutoStart);
      SetStringIfPresent(dialog, kAutoStartMinimize, i18n::kStringExit);
      return true;
    case plat::Msg::Paint:
      PaintStatus(*plat::PaintFrom(lParam).canvas);
      return false;
    case plat::Msg::Command:
      switch (plat::CommandId(wParam)) {
        case kAutoStartCancel:
          OpenAutoStartConfirmDialog(dialog, SessionOf(dialog).showMainScreens);
          plat::EndDialog(dialog, kAutoStartCancel);
          return true;
        case kAutoStartMinimize:
          plat::EndDialog(dialog, kAutoStartMinimize);
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

bool Answer(plat::Hwnd dialog, AutoStartAnswer answer, int control) {
  const AutoStartSession& session = SessionOf(dialog);
  if (ApplyAutoStartAnswer(answer, session.confirmActive) && session.showMainScreens) session.showMainScreens();
  plat::EndDialog(dialog, control);
  return true;
}

bool ConfirmProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam lParam) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(lParam));
      plat::CenterOverParent(dialog);
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      AutoStartSession& session = SessionOf(dialog);
      session.confirmActive = AutoStartActive(s);
      SetStringIfPresent(dialog, 0, i18n::kStringAutoStart);
      SetString(dialog, kAutoStartQuestion,
                session.confirmActive ? kStringAskCancelAutoStart : kStringAskStartAutoStart);
      SetStringIfPresent(dialog, kAutoStartYes, i18n::kStringYes);
      SetStringIfPresent(dialog, kAutoStartNo, i18n::kStringNo);
      SetStringIfPresent(dialog, kAutoStartCancelConfirm, i18n::kStringCancel);
      return true;
    }
    case plat::Msg::Command:
      switch (plat::CommandId(wParam)) {
        case kAutoStartYes: return Answer(dialog, AutoStartAnswer::Yes, kAutoStartYes);
        case kAutoStartNo: return Answer(dialog, AutoStartAnswer::No, kAutoStartNo);
        case kAutoStartCancelConfirm: return Answer(dialog, AutoStartAnswer::Cancel, kAutoStartCancelConfirm);
        default: return false;
      }
    default:
      return false;
  }
}

}  // namespace

int OpenAutoStartStatusDialog(plat::Hwnd parent, ShowMainScreens showMainScreens) {
  AutoStartSession session{.showMainScreens = showMainScreens};
  return plat::DialogBox(parent, kStatusTemplate, StatusProc, reinterpret_cast<plat::LParam>(&session));
}

int OpenAutoStartConfirmDialog(plat::Hwnd parent, ShowMainScreens showMainScreens) {
  AutoStartSession session{.showMainScreens = showMainScreens};
  return plat::DialogBox(parent, kConfirmTemplate, ConfirmProc, reinterpret_cast<plat::LParam>(&session));
}

}  // namespace dialogs
