#include "dialogs/PlenumSetupDialogs.h"

#include "dialogs/DialogText.h"
#include "dialogs/PlenumSetupLogic.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

// ---- Dialog 170 ----

constexpr int kStringDifferentialCaption = 85;
constexpr int kStringOneDegree = 92;  // n degrees is kStringOneDegree + n - 1
constexpr int kStringDifferentialHelpCaption = 364;
constexpr char kDifferentialHelpFile[] = "PlenumDiffHelp.txt";

// Plenums in two columns of three, numbered from the bottom, each value beside its button.
constexpr int kPlenumRowY[3] = {150, 95, 40};
constexpr int kPlenumColumnX[2] = {10, 310};
constexpr int kPlenumButtonWidth = 120;
constexpr int kRowHeight = 45;
constexpr int kValueFont = 18;

constexpr plat::Rect PlenumButtonRect(int plenum) {
  return RectXywh(kPlenumColumnX[(plenum - 1) / 3], kPlenumRowY[(plenum - 1) % 3], kPlenumButtonWidth, kRowHeight);
}
constexpr plat::Rect PlenumValueRect(int plenum) {
  const plat::Rect b = PlenumButtonRect(plenum);
  return plat::Rect{b.right + 6, b.top, b.right + 176, b.bottom};
}
constexpr DialogControl PlenumButton(int plenum, const char* text) {
  return {.kind = ControlKind::PushButton, .id = kDifferentialPlenumButtons[plenum - 1],
          .rect = PlenumButtonRect(plenum), .text = text, .style = Style::Center};
}
constexpr DialogControl DegreeButton(int degrees, const char* text) {
  return {.kind = ControlKind::PushButton, .id = kDifferentialDegreeButtons[degrees - 1],
          .rect = RectXywh(10 + (degrees - 1) * 120, 215, 112, kRowHeight), .text = text, .style = Style::Center};
}

constexpr DialogControl kDifferentialControls[] = {
    PlenumButton(1, "PLENUM 1"),
    PlenumButton(2, "PLENUM 2"),
    PlenumButton(3, "PLENUM 3"),
    PlenumButton(4, "PLENUM 4"),
    PlenumButton(5, "PLENUM 5"),
    PlenumButton(6, "PLENUM 6"),
    DegreeButton(1, "+/- 1 DEGREES"),
    DegreeButton(2, "+/- 2 DEGREES"),
    DegreeButton(3, "+/- 3 DEGREES"),
    DegreeButton(4, "+/- 4 DEGREES"),
    DegreeButton(5, "+/- 5 DEGREES"),
    {.kind = ControlKind::PushButton, .id = kDifferentialHelp, .rect = RectXywh(10, 276, 180, kRowHeight),
     .text = "HELP", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kDifferentialAccept, .rect = RectXywh(420, 276, 190, kRowHeight),
     .text = "ACCEPT / EXIT", .style = Style::Center},
};

constexpr plat::DialogTemplate kDifferentialTemplate{
    .id = kBurnerDifferentialDialogId,
    .caption = "BURNER DIFFERENTIAL SETUP - 24",
    .rect = RectXywh(0, 0, 620, 360),
    .controls = kDifferentialControls,
    .count = static_cast<int>(sizeof kDifferentialControls / sizeof kDifferentialControls[0]),
};

BurnerDifferentials& DifferentialsOf(plat::Hwnd dialog) {
  return *static_cast<BurnerDifferentials*>(plat::GetWindowData(dialog));
}

void DifferentialLabels(plat::Hwnd dialog) {
  SetString(dialog, 0, kStringDifferentialCaption);
  for (int n = 1; n <= kDifferentialPlenums; ++n)
    SetString(dialog, kDifferentialPlenumButtons[n - 1], i18n::kStringPlenum1 + 1 - n);
  for (int d = kDifferentialMinimum; d <= kDifferentialMaximum; ++d)
    SetString(dialog, kDifferentialDegreeButtons[d - 1], kStringOneDegree - 1 + d);
  SetString(dialog, kDifferentialHelp, i18n::kStringHelp);
  SetString(dialog, kDifferentialAccept, i18n::kStringAccept);
}

void DrawDifferentials(plat::Canvas& c, const BurnerDifferentials& differentials) {
  c.SetFont(plat::BoldTahoma(kValueFont));
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  for (int n = 1; n <= kDifferentialPlenums; ++n) {
    char16_t label[i18n::kStringDestUnits] = {};
    i18n::GetString(i18n::kStringPlenum1 + 1 - n, label);
    char16_t line[i18n::kStringDestUnits + 24];
    FormatDifferential(label, differentials.value[n - 1], line, sizeof line / sizeof line[0]);
    const plat::Rect r = PlenumValueRect(n);
    c.FillRect(r, plat::kDialogBackground);
    c.SetTextColor(n == differentials.selected ? plat::Rgb(255, 0, 0) : plat::Rgb(0, 0, 255));
    c.DrawText(r, line, plat::TextFlag::Left | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
  }
}

bool OnDifferentialCommand(plat::Hwnd dialog, int id) {
  BurnerDifferentials& differentials = DifferentialsOf(dialog);
  for (int n = 1; n <= kDifferentialPlenums; ++n) {
    if (id != kDifferentialPlenumButtons[n - 1]) continue;
    SelectDifferentialPlenum(differentials, n);
    plat::InvalidateRect(dialog, nullptr, false);
    return true;
  }
  for (int d = kDifferentialMinimum; d <= kDifferentialMaximum; ++d) {
    if (id != kDifferentialDegreeButtons[d - 1]) continue;
    SetSelectedDifferential(differentials, d);
    plat::InvalidateRect(dialog, nullptr, false);
    return true;
  }
  switch (id) {
    case kDifferentialHelp:
      ShowHelpFile(dialog, kDifferentialHelpFile, kStringDifferentialHelpCaption);
      return true;
    case kDifferentialAccept: {
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      AcceptBurnerDifferentials(differentials, s);
      plat::EndDialog(dialog, id);
      return true;
    }
    default:
      return false;
  }
}

bool DifferentialProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      OpenBurnerDifferentials(DifferentialsOf(dialog), s);
      plat::CenterOverParent(dialog);
      DifferentialLabels(dialog);
      return true;
    }
    case plat::Msg::Paint:
      DrawDifferentials(*plat::PaintFrom(l).canvas, DifferentialsOf(dialog));
      return false;
    case plat::Msg::Command:
      return OnDifferentialCommand(dialog, plat::CommandId(w));
    case plat::Msg::Close:
      // The only way out is ACCEPT / EXIT, so leaving always sends what was changed.
      return OnDifferentialCommand(dialog, kDifferentialAccept);
    default:
      return false;
  }
}

// ---- Dialog 514 ----

constexpr int kStringManagerCaption = 13;
constexpr int kStringMinutes = 17;
constexpr int kStringManagerHelpCaption = 361;
constexpr char kManagerHelpFile[] = "PlenumTempManagerHelp.txt";
constexpr int kManagerRaise = 20;  // the dialog stands this far above its parent's centre

constexpr DialogControl kManagerControls[] = {
    {.kind = ControlKind::GroupBox, .id = kManagerOnOffGroup, .rect = RectXywh(10, 8, 200, 150), .text = "MANAGER"},
    {.kind = ControlKind::RadioButton, .id = kManagerOnRadio, .rect = RectXywh(24, 34, 80, 30), .text = "ON",
     .style = Style::NoAuto | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kManagerOffRadio, .rect = RectXywh(110, 34, 90, 30), .text = "OFF",
     .style = Style::NoAuto},
    {.kind = ControlKind::PushButton, .id = kManagerSelectOnOff, .rect = RectXywh(24, 80, 172, 60),
     .text = "SELECT ON / OFF", .style = Style::Center},
    {.kind = ControlKind::GroupBox, .id = kManagerTimeGroup, .rect = RectXywh(220, 8, 200, 150), .text = "TIME BETWEEN STEPS"},
    {.kind = ControlKind::Edit, .id = kManagerTimeField, .rect = RectXywh(234, 34, 172, 30), .text = "",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kManagerTimeUp, .rect = RectXywh(234, 80, 84, 60), .text = "INCREASE",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kManagerTimeDown, .rect = RectXywh(322, 80, 84, 60), .text = "DECREASE",
     .style = Style::Center},
    {.kind = ControlKind::GroupBox, .id = kManagerSizeGroup, .rect = RectXywh(430, 8, 200, 150),
     .text = "STEP SIZE"},
    {.kind = ControlKind::Edit, .id = kManagerSizeField, .rect = RectXywh(444, 34, 172, 30), .text = "",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kManagerSizeUp, .rect = RectXywh(444, 80, 84, 60), .text = "INCREASE",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kManagerSizeDown, .rect = RectXywh(532, 80, 84, 60), .text = "DECREASE",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kManagerHelp, .rect = RectXywh(10, 170, 150, 48), .text = "HELP",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kManagerAccept, .rect = RectXywh(320, 170, 150, 48), .text = "ACCEPT",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kManagerCancel, .rect = RectXywh(480, 170, 150, 48), .text = "CANCEL",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kManagerTemplate{
    .id = kPlenumTempManagerDialogId,
    .caption = "PLENUM TEMPERATURE MANAGER",
    .rect = RectXywh(0, 0, 640, 256),
    .controls = kManagerControls,
    .count = static_cast<int>(sizeof kManagerControls / sizeof kManagerControls[0]),
};

// The working manager byte, given to the dialog as its parameter.
uint8_t& ManagerOf(plat::Hwnd dialog) { return *static_cast<uint8_t*>(plat::GetWindowData(dialog)); }

// Run on opening and after every change of the working byte.
void ShowManager(plat::Hwnd dialog) {
  const uint8_t manager = ManagerOf(dialog);
  SetString(dialog, 0, kStringManagerCaption);
  plat::CheckDlgButton(dialog, kManagerOnRadio, ManagerOn(manager));
  plat::CheckDlgButton(dialog, kManagerOffRadio, !ManagerOn(manager));
  char16_t unit[i18n::kStringDestUnits] = {};
  i18n::GetString(kStringMinutes, unit);
  char16_t text[i18n::kStringDestUnits + 8];
  FormatManagerTime(manager, unit, text, sizeof text / sizeof text[0]);
  plat::SetDlgItemText(dialog, kManagerTimeField, text);
  FormatManagerSize(manager, text, sizeof text / sizeof text[0]);
  plat::SetDlgItemText(dialog, kManagerSizeField, text);
}

void PlaceAboveCentre(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  plat::Rect r = plat::GetChildRect(dialog);
  const int up = r.top < kManagerRaise ? r.top : kManagerRaise;
  plat::MoveWindow(dialog, r.Offset(0, -up));
}

bool OnManagerCommand(plat::Hwnd dialog, int id) {
  uint8_t& manager = ManagerOf(dialog);
  switch (id) {
    case kManagerSelectOnOff: manager = ToggleManager(manager); break;
    case kManagerTimeUp: manager = StepManagerTime(manager, true); break;
    case kManagerTimeDown: manager = StepManagerTime(manager, false); break;
    case kManagerSizeUp: manager = StepManagerSize(manager, true); break;
    case kManagerSizeDown: manager = StepManagerSize(manager, false); break;
    case kManagerHelp:
      ShowHelpFile(dialog, kManagerHelpFile, kStringManagerHelpCaption);
      return true;
    case kManagerAccept: {
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      AcceptManager(manager, s);
      plat::EndDialog(dialog, id);
      return true;
    }
    case kManagerCancel:
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
  ShowManager(dialog);
  return true;
}

bool ManagerProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      lnk::DryerStatus s;
      lnk::TakeStatusSnapshot(s);
      ManagerOf(dialog) = OpenManagerValue(s);
      PlaceAboveCentre(dialog);
      ShowManager(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnManagerCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int OpenBurnerDifferentialDialog(plat::Hwnd parent) {
  BurnerDifferentials differentials{};
  return plat::DialogBox(parent, kDifferentialTemplate, DifferentialProc, reinterpret_cast<plat::LParam>(&differentials));
}

int OpenPlenumTempManagerDialog(plat::Hwnd parent) {
  uint8_t manager = 0;
  return plat::DialogBox(parent, kManagerTemplate, ManagerProc, reinterpret_cast<plat::LParam>(&manager));
}

}  // namespace dialogs
