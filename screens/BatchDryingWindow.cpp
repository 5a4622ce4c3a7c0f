// BATCH_DRYING_WINDOW: the heat, cool and unload timers of a batch dryer with their presets;
// a button opens the timer keypad for its preset (holding it restarts the timer, which the
// one-second tick asks about).
#include "dialogs/DialogText.h"
#include "dialogs/TimerEntryDialog.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "screens/BatchTimerLogic.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"

namespace screens {

namespace {

constexpr int kPresetFontHeight = 15;
constexpr int kWordsFontHeight = 16;
constexpr int kDividerBottom = 170;
constexpr int kColumnEdges[] = {0, 126, 259, 400};  // heat, cool, unload

void Refresh(plat::Hwnd h) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  dialogs::SetStringIfPresent(h, 0, kBatchCaptionId);
  const BatchButtons rule = ChooseBatchButtons(s);
  for (const BatchButton& b : kBatchButtons) {
    const plat::Hwnd button = plat::GetDlgItem(h, b.command);
    dialogs::SetStringIfPresent(button, 0, b.textId);
    plat::ShowWindow(button, IsBatchButtonShown(rule, b.command));
  }
}

void DrawTimer(plat::Canvas& c, const lnk::DryerStatus& s, const BatchTimerPlace& p, const char16_t* minutesUnit,
               const char16_t* secondsUnit) {
  const BatchTimerInfo& info = BatchTimerFor(p.timer);
  BatchTimerTexts t;
  MakeBatchTimerTexts(s, p.timer, t);
  char16_t row[2 * i18n::kStringDestUnits + 16];
  const size_t n = FormatBatchPresetRow(t, minutesUnit, secondsUnit, row, sizeof row / sizeof row[0]);
  c.SetTextColor(info.colour);
  c.SetFont(plat::BoldTahoma(kPresetFontHeight));
  c.DrawText(p.preset, row, n, plat::TextFlag::Center | plat::TextFlag::SingleLine);

  const bool heat = p.timer == BatchTimer::HiHeat;
  if (heat && ShowsAveragingWords(s)) {
    c.SetFont(plat::BoldTahoma(kWordsFontHeight));
    const int lineHeight = p.minutes.Height() / 3;
    for (int i = 0; i < 3; ++i) {
      const plat::Rect r{p.minutes.left, p.minutes.top + i * lineHeight, p.minutes.right,
                         p.minutes.top + (i + 1) * lineHeight};
      c.DrawText(r, kAveragingWords[i], plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
    }
  } else {
    c.SetFont(plat::BoldTahoma(p.minutesFont));
    c.DrawText(p.minutes, t.countdownMinutes, plat::TextFlag::Right | plat::TextFlag::SingleLine);
  }
  c.SetFont(plat::BoldTahoma(p.secondsFont));
  c.DrawText(p.seconds, t.countdownSeconds, plat::TextFlag::Left | plat::TextFlag::SingleLine);
}

void Paint(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  char16_t minutesUnit[i18n::kStringDestUnits] = {};
  char16_t secondsUnit[i18n::kStringDestUnits] = {};
  i18n::GetString(kBatchMinutesUnitId, minutesUnit);
  i18n::GetString(kBatchSecondsUnitId, secondsUnit);
  const BatchLayout& layout = ChooseBatchLayout(s);
  for (int i = 0; i < layout.count && i < kBatchTimerCount; ++i)
    DrawTimer(c, s, layout.places[i], minutesUnit, secondsUnit);
  if (layout.heatDividers) {
    c.FillRect(plat::Rect{0, 86, kColumnEdges[1], 89}, colour::kGrey);
    c.DrawLine(0, 107, kColumnEdges[1], 107, colour::kGrey);
  }
  c.FillRect(plat::Rect{kColumnEdges[1] - 1, 0, kColumnEdges[1] + 2, kDividerBottom}, colour::kGrey);
  c.FillRect(plat::Rect{kColumnEdges[2] - 1, 0, kColumnEdges[2] + 2, kDividerBottom}, colour::kGrey);
  c.DrawLine(0, 20, kColumnEdges[3], 20, colour::kGrey);
}

void Create(plat::Hwnd h) {
  for (const BatchButton& b : kBatchButtons)
    plat::CreateControl(h, plat::ControlKind::PushButton, b.command, b.place, "",
                        plat::ControlStyle::Center | (b.multiLine ? plat::ControlStyle::Multiline : 0));
}

void OnCommand(plat::Hwnd h, int command) {
  if (command == kBatchCommandSampleTime) {
    SendMainCommand(command);
    return;
  }
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  if (!OpenBatchTimerEntry(gTimerEntryRequest, s, command)) return;
  dialogs::OpenTimerEntryDialog(h, gTimerEntryRequest);
  if (plat::IsWindow(h)) plat::InvalidateRect(h, nullptr, true);
}

}  // namespace

plat::LResult BatchDryingWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    Refresh(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      Create(h);
      return 0;
    case plat::Msg::Show:
      if (w != 0) Refresh(h);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      return 0;
    case plat::Msg::Command:
      OnCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
