#include "dialogs/UnloadParametersDialog.h"

#include <cstdio>

#include "dialogs/DialogText.h"
#include "dialogs/MoistureControlHelp.h"
#include "dialogs/UnloadParametersLogic.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 6;
constexpr int kStringHelpCaption = 360;
constexpr char kHelpFile[] = "McExtendedSetupHelp.txt";
constexpr uint32_t kField = Style::Center | Style::Border;
constexpr uint32_t kButton = Style::Center;

// Each group: its box, the percent and bushels fields with their units, and the two steps.
constexpr DialogControl Box(int x, const char* title) {
  return {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(x, 8, 295, 176), .text = title};
}
constexpr DialogControl ValueField(int x, int width, int id) {
  return {.kind = ControlKind::Edit, .id = id, .rect = RectXywh(x, 34, width, 36), .text = "",
          .style = kField};
}
constexpr DialogControl Unit(int x, int width, const char* text) {
  return {.kind = ControlKind::Static, .id = -1, .rect = RectXywh(x, 72, width, 24), .text = text,
          .style = Style::Center};
}
constexpr DialogControl StepButton(int x, int id, const char* text) {
  return {.kind = ControlKind::PushButton, .id = id, .rect = RectXywh(x, 110, 132, 60), .text = text, .style = kButton};
}

constexpr DialogControl kControls[] = {
    Box(10, "MAXIMUM UNLOAD RATE"), ValueField(20, 120, kUnloadMaxPercent), ValueField(150, 145, kUnloadMaxBushels),
    Unit(20, 120, "PERCENT"), Unit(150, 145, "BU / HR *"), StepButton(20, kUnloadMaxUp, "INCREASE"),
    StepButton(163, kUnloadMaxDown, "DECREASE"),
    Box(315, "MINIMUM UNLOAD RATE"), ValueField(325, 120, kUnloadMinPercent), ValueField(455, 145, kUnloadMinBushels),
    Unit(325, 120, "PERCENT"), Unit(455, 145, "BU / HR *"), StepButton(325, kUnloadMinUp, "INCREASE"),
    StepButton(468, kUnloadMinDown, "DECREASE"),
    {.kind = ControlKind::Static, .id = kUnloadBasedUpon, .rect = RectXywh(10, 190, 600, 28), .text = "",
     .style = Style::Left},
    {.kind = ControlKind::PushButton, .id = kUnloadHelp, .rect = RectXywh(10, 226, 150, 46), .text = "HELP",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kUnloadAccept, .rect = RectXywh(300, 226, 150, 46), .text = "ACCEPT",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kUnloadCancel, .rect = RectXywh(460, 226, 150, 46), .text = "CANCEL",
     .style = kButton},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kUnloadParametersDialogId,
    .caption = "MOISTURE CONTROL SETUP",
    .rect = RectXywh(0, 0, 620, 310),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

UnloadRates& RatesOf(plat::Hwnd dialog) { return *static_cast<UnloadRates*>(plat::GetWindowData(dialog)); }

void ShowRate(plat::Hwnd dialog, const lnk::DryerStatus& s, int percent, int percentField, int bushelsField) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d", percent);
  plat::SetDlgItemText(dialog, percentField, text);
  FormatBushels(text, sizeof text, BushelsPerHour(s, percent));
  plat::SetDlgItemText(dialog, bushelsField, text);
}

void Show(plat::Hwnd dialog) {
  const UnloadRates& r = RatesOf(dialog);
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  ShowRate(dialog, s, r.maximum, kUnloadMaxPercent, kUnloadMaxBushels);
  ShowRate(dialog, s, r.minimum, kUnloadMinPercent, kUnloadMinBushels);
  char note[64];
  FormatBasedUpon(note, sizeof note, s);
  plat::SetDlgItemText(dialog, kUnloadBasedUpon, note);
}

bool AskDefaults(plat::Hwnd dialog, const char* question) {
  return plat::MessageBox(dialog, question, kUnloadRatesCaption, plat::MbButtons::YesNo, plat::MbIcon::Stop) ==
         plat::IdYes;
}

void Step(plat::Hwnd dialog, bool maximum, int delta) {
  UnloadRates& r = RatesOf(dialog);
  StepUnloadRate(maximum ? r.maximum : r.minimum, delta);
  Show(dialog);
  if (TakeStepWarning(r) && AskDefaults(dialog, kUnloadStepQuestion)) {
    r = kDefaultUnloadRates;
    Show(dialog);
  }
}

bool OnCommand(plat::Hwnd dialog, int id) {
  UnloadRates& r = RatesOf(dialog);
  switch (id) {
    case kUnloadMaxUp: Step(dialog, true, +1); return true;
    case kUnloadMaxDown: Step(dialog, true, -1); return true;
    case kUnloadMinUp: Step(dialog, false, +1); return true;
    case kUnloadMinDown: Step(dialog, false, -1); return true;
    case kUnloadHelp:
      ShowHelpFile(dialog, kHelpFile, kStringHelpCaption);
      return true;
    case kUnloadAccept:
      if (RatesOutOfOrder(r)) {
        if (!AskDefaults(dialog, kUnloadAcceptQuestion)) {
          plat::EndDialog(dialog, kUnloadCancel);
          return true;
        }
        r = kDefaultUnloadRates;
      }
      AcceptUnloadRates(r);
      plat::EndDialog(dialog, id);
      return true;
    case kUnloadCancel:
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
}

bool Proc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      RatesOf(dialog) = OpenUnloadRates();
      PlaceAboveParentCentre(dialog);
      SetString(dialog, 0, kStringCaption);
      SetString(dialog, kUnloadHelp, i18n::kStringHelp);
      SetString(dialog, kUnloadAccept, i18n::kStringAccept);
      SetString(dialog, kUnloadCancel, i18n::kStringCancel);
      Show(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int RunUnloadRatesDialog(plat::Hwnd parent) {
  UnloadRates r{};
  return plat::DialogBox(parent, kTemplate, Proc, reinterpret_cast<plat::LParam>(&r));
}

void OpenUnloadRatesDialog(plat::Hwnd parent) { RunUnloadRatesDialog(parent); }

}  // namespace dialogs
