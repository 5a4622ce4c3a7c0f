// CUSTOM_VIEW_WINDOW: each plenum's temperature in large figures, its setpoint and the one-line
// state of its fan and burner, in the display unit.
#include "dialogs/DialogText.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "platform/Font.h"
#include "screens/PlenumViewLogic.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"

namespace screens {

namespace {

constexpr plat::Color kSetpointColour = plat::Rgb(200, 200, 0);

void DrawPlenum(plat::Canvas& c, const lnk::DryerStatus& s, const PlenumPlace& p) {
  const bool celsius = IsCelsius(s);
  constexpr plat::TextFlags kCentred = plat::TextFlag::Center | plat::TextFlag::SingleLine;
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(p.labelId, text);
  c.SetFont(plat::BoldTahoma(p.labelFont));
  c.SetTextColor(colour::kBlue);
  c.DrawText(p.label, text, kCentred);

  char number[32];
  FormatPlenumSetpoint(number, sizeof number, PlenumSetpointF(s, p.slot), celsius);
  c.SetFont(plat::BoldTahoma(p.setpointFont));
  c.SetTextColor(kSetpointColour);
  c.DrawText(p.setpoint, number, kCentred);

  const PlenumState state = ChoosePlenumState(s, p.slot);
  text[0] = 0;
  i18n::GetString(state.textId, text);
  c.SetFont(plat::BoldTahoma(p.labelFont));
  c.SetTextColor(state.colour);
  c.DrawText(p.state, text, kCentred);

  FormatPlenumTemperature(number, sizeof number, PlenumTemperatureF(s, p.slot), celsius);
  c.SetFont(plat::BoldTahoma(p.temperatureFont));
  c.SetTextColor(colour::kRed);
  c.DrawText(p.temperature, number, kCentred | plat::TextFlag::VCenter);
}

void Paint(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  const PlenumLayout* layout = ChoosePlenumLayout(s);
  if (layout == nullptr) return;
  for (int i = 0; i < layout->count && i < kMaxPlenums; ++i) DrawPlenum(c, s, layout->plenums[i]);
}

}  // namespace

plat::LResult PlenumViewWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    dialogs::SetStringIfPresent(h, 0, kPlenumViewCaptionId);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Show:
      if (w != 0) dialogs::SetStringIfPresent(h, 0, kPlenumViewCaptionId);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
