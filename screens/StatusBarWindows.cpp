// DRYER_RIGHT_STATUS_BAR_WINDOW: one line, chosen by the first of nine rules that applies; a
// blinking line follows bit 0 of the display-state word. The left bar is never shown.
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "platform/Font.h"
#include "screens/Screens.h"
#include "screens/StatusBarRules.h"
#include "screens/StatusReading.h"

namespace screens {

namespace {

constexpr plat::Rect kLinePlace = {5, 0, 390, 45};
constexpr int kFontHeight = 28;
constexpr int kSmallFontHeight = 25;

void Paint(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  StatusBarLine line = ChooseStatusBarLine(s, lnk::BlinkOn());
  // Until the first frame the rules would read the start-up preset as a stopped dryer.
  if (lnk::AwaitingFirstStatusFrame()) {
    line = StatusBarLine{.form = StatusBarForm::Label, .textId = i18n::kStringWaitingForDryer,
                         .colour = colour::kWhite};
  }
  char16_t text[i18n::kStringDestUnits] = {};
  char16_t second[i18n::kStringDestUnits] = {};
  i18n::GetString(line.textId, text);
  if (line.secondTextId != 0) i18n::GetString(line.secondTextId, second);
  char16_t out[2 * i18n::kStringDestUnits + 24];
  const size_t n = FormatStatusBarLine(line, text, second, out, sizeof out / sizeof out[0]);
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, line.smallFont ? kSmallFontHeight : kFontHeight,
                             line.smallFont ? plat::FontWeight::Normal : plat::FontWeight::Bold));
  c.SetTextColor(line.colour);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  const plat::TextFlags align = line.left ? plat::TextFlag::Left : plat::TextFlag::Center;
  c.DrawText(kLinePlace, out, n, align | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
}

}  // namespace

plat::LResult RightStatusBarWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

// Never shown: kept because the controller's window table has it.
plat::LResult LeftStatusBarWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
