// UNLOAD_STATUS_WINDOW: the unload figure, the bushel lines and the three meter-roll speed
// settings with the one in use highlighted; touching the speeds opens the meter-roll dialog.
#include "link/DryerStatus.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"
#include "screens/UnloadLogic.h"

#include <cstdio>

namespace screens {

namespace {

constexpr plat::Rect kFigurePlace = {0, 0, 120, 65};
constexpr int kFigureFontHeight = 70;
constexpr int kBushelFontHeight = 20;
constexpr int kSpeedFontHeight = 16;

void Paint(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  char figure[16];
  FormatUnloadFigure(figure, sizeof figure, UnloadFigureTenths(s));
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, kFigureFontHeight, plat::FontWeight::Bold));
  c.SetTextColor(kUnloadTextColour);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.DrawText(kFigurePlace, figure, plat::TextFlag::Right | plat::TextFlag::SingleLine);
  c.DrawLine(235, 0, 235, 190, colour::kGrey);
  c.DrawLine(130, 5, 130, 65, colour::kGrey);
  c.DrawLine(0, 70, plat::GetClientRect(h).right, 70, colour::kGrey);
}

// A figure starts at its place or, when the label (in the same font) reaches further, a space
// after the label, and may run to the button's right edge.
void DrawLabelled(plat::Canvas& c, plat::FontHandle font, const plat::Rect& labelPlace, const char* label,
                  plat::Rect figurePlace, const char* figure, int right) {
  c.DrawText(labelPlace, label, plat::TextFlag::SingleLine);
  const int labelEnd = labelPlace.left + plat::TextWidth(font, label) + plat::TextWidth(font, " ");
  if (figurePlace.left < labelEnd) figurePlace.left = labelEnd;
  if (figurePlace.right < right) figurePlace.right = right;
  c.DrawText(figurePlace, figure, plat::TextFlag::SingleLine);
}

void DrawBushels(const plat::DrawItemInfo& item, const lnk::DryerStatus& s) {
  plat::Canvas& c = *item.canvas;
  c.FillRect(item.rect, colour::kBlack);
  const plat::FontHandle font = plat::CreateFont(plat::kFaceTahoma, kBushelFontHeight, plat::FontWeight::Normal);
  c.SetFont(font);
  c.SetTextColor(kUnloadTextColour);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  char number[16];
  std::snprintf(number, sizeof number, "%d", BushelsPerHour(s));
  DrawLabelled(c, font, plat::Rect{5, 0, 130, 25}, "Bushel/Hour:", plat::Rect{120, 0, 170, 25}, number,
               item.rect.right);
  std::snprintf(number, sizeof number, "%u", TotalBushels(s));
  DrawLabelled(c, font, plat::Rect{5, 20, 130, 40}, "Total Bushels:", plat::Rect{120, 20, 270, 40}, number,
               item.rect.right);
}

void DrawSpeeds(const plat::DrawItemInfo& item, const lnk::DryerStatus& s) {
  plat::Canvas& c = *item.canvas;
  c.FillRect(item.rect, colour::kBlack);
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, kSpeedFontHeight, plat::FontWeight::Bold));
  SpeedLine lines[3];
  MakeSpeedLines(s, lines);
  for (const SpeedLine& line : lines) {
    if (line.highlighted) {
      c.SetBackgroundMode(plat::BackgroundMode::Opaque);
      c.SetBackgroundColor(kUnloadHighlightBack);
      c.SetTextColor(colour::kBlack);
    } else {
      c.SetBackgroundMode(plat::BackgroundMode::Transparent);
      c.SetTextColor(kUnloadTextColour);
    }
    c.DrawText(line.place, line.text, plat::TextFlag::SingleLine);
  }
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
}

plat::LResult DrawItem(const plat::DrawItemInfo& item) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  switch (item.controlId) {
    case kUnloadCommandBushels: DrawBushels(item, s); return 1;
    case kUnloadCommandSpeed: DrawSpeeds(item, s); return 1;
    default: return 0;
  }
}

}  // namespace

plat::LResult UnloadStatusWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      for (const UnloadButton& b : kUnloadButtons)
        plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, b.command, b.place, b.text, 0);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      // The buttons show status values: they repaint with the panel.
      for (const UnloadButton& b : kUnloadButtons) plat::InvalidateRect(plat::GetDlgItem(h, b.command), nullptr, false);
      return 0;
    case plat::Msg::DrawItem:
      return DrawItem(plat::DrawItemFrom(l));
    case plat::Msg::Command:
      if (plat::CommandId(w) == kUnloadCommandSpeed) SendMainCommand(kCmdOpenMeterRoll);
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
