// TIMER_SELECT_WINDOW: four panels, each with the preset of its timer beside a SETUP button that
// opens the timer keypad; the return button brings the main screen back.
#include "screens/TimerSelectWindow.h"

#include "dialogs/TimerEntryDialog.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "link/DryerStatus.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "screens/Screens.h"
#include "screens/TimerSelectLogic.h"

namespace screens {

namespace {

constexpr plat::Rect kExitPlace = plat::RectXywh(241, 395, 158, 41);
constexpr plat::Color kScreenBackground = plat::Rgb(192, 192, 192);
constexpr plat::Color kPanelBackground = plat::Rgb(255, 255, 255);
constexpr plat::Color kPanelFrame = plat::Rgb(0, 0, 0);

// Places inside a panel: the title, then per SETUP button the button, its preset box and the
// help lines below it; the fan panel's second button sits lower.
constexpr plat::Rect kTitlePlace = {4, 2, 312, 22};
constexpr int kButtonLeft = 8;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 40;
constexpr int kButtonTops[kMaxPanelButtons] = {26, 102};
constexpr int kBoxLeft = 114;
constexpr int kBoxRight = 308;
constexpr int kBoxValueLeft = 190;
constexpr int kLineLeft = 8;
constexpr int kLineRight = 312;
constexpr int kLineGap = 6;
constexpr int kLineHeight = 15;

constexpr int kTitleFontHeight = 16;
constexpr int kBoxFontHeight = 15;
constexpr int kLineFontHeight = 13;

// Pictures of the SETUP buttons and of the return button, loaded when the screen is created.
struct Picture {
  plat::Bitmap normal;
  plat::Bitmap pressed;
};
struct TimerScreen {
  Picture setup[kTimerPanelCount][kMaxPanelButtons];
  Picture exit;
  plat::FontHandle title;
  plat::FontHandle box;
  plat::FontHandle line;
};
TimerScreen gTimerScreen;

// A missing translation keeps the title there is; SetWindowText leaves an unchanged text, and the
// window painting itself, alone.
void SetTitle(plat::Hwnd h, const char16_t* title) {
  if (title[0] != 0) plat::SetWindowText(h, title);
}

TimerPanel PanelOf(plat::Hwnd panel) {
  const int i = plat::GetDlgCtrlID(panel) - kTimerFirstPanelId;
  return static_cast<TimerPanel>(i >= 0 && i < kTimerPanelCount ? i : 0);
}

plat::Rect ButtonPlace(int b) { return plat::RectXywh(kButtonLeft, kButtonTops[b], kButtonWidth, kButtonHeight); }

void DrawPicture(const plat::DrawItemInfo& item, const Picture& p, const char16_t* fallback) {
  const bool down = (item.state & plat::ItemState::Pressed) != 0;
  const plat::Bitmap& picture = down && !p.pressed.Empty() ? p.pressed : p.normal;
  if (picture.Empty()) {
    plat::DrawButtonFace(*item.canvas, item.rect, fallback, down, true);
    return;
  }
  item.canvas->FillRect(item.rect, kPanelBackground);
  item.canvas->Blit(0, 0, picture.View());
}

void DrawBox(plat::Canvas& c, const PresetBox& box, int top) {
  const plat::Rect place{kBoxLeft, top, kBoxRight, top + kButtonHeight};
  c.FillRect(place, timer_colour::kPresetBox);
  c.SetFont(gTimerScreen.box);
  c.SetTextColor(timer_colour::kPresetLabel);
  c.DrawText(plat::Rect{kBoxLeft + 4, top, kBoxValueLeft, place.bottom}, box.label,
             plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
  c.SetTextColor(timer_colour::kPresetValue);
  const int half = kButtonHeight / 2;
  c.DrawText(plat::Rect{kBoxValueLeft, top, kBoxRight - 4, top + half}, box.minutes,
             plat::TextFlag::Right | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
  c.DrawText(plat::Rect{kBoxValueLeft, top + half, kBoxRight - 4, place.bottom}, box.seconds,
             plat::TextFlag::Right | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
}

void RefreshPanel(plat::Hwnd h) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  TimerPanelText text;
  BuildTimerPanelText(PanelOf(h), s, lnk::Derived().previousLoadSeconds.load(), text);
  SetTitle(h, text.title);
}

void PaintPanel(plat::Hwnd h, plat::Canvas& c) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  TimerPanelText text;
  BuildTimerPanelText(PanelOf(h), s, lnk::Derived().previousLoadSeconds.load(), text);

  const plat::Rect client = plat::GetClientRect(h);
  c.FillRect(client, kPanelBackground);
  c.FrameRect(client, kPanelFrame, 1);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.SetFont(gTimerScreen.title);
  c.SetTextColor(kPanelFrame);
  c.DrawText(kTitlePlace, text.title, plat::TextFlag::SingleLine);

  int y[kMaxPanelButtons] = {kButtonTops[0], kButtonTops[1]};
  for (int b = 0; b < text.boxCount && b < kMaxPanelButtons; ++b) {
    DrawBox(c, text.boxes[b], kButtonTops[b]);
    y[b] = kButtonTops[b] + kButtonHeight + kLineGap;
  }
  c.SetFont(gTimerScreen.line);
  for (int i = 0; i < text.lineCount; ++i) {
    const PanelLine& line = text.lines[i];
    const int b = line.button >= 0 && line.button < text.boxCount ? line.button : 0;
    c.SetTextColor(line.colour);
    c.DrawText(plat::Rect{kLineLeft, y[b], kLineRight, y[b] + kLineHeight}, line.text, line.length,
               plat::TextFlag::SingleLine);
    y[b] += kLineHeight;
  }
}

void CreatePanel(plat::Hwnd h) {
  const TimerPanelInfo& info = TimerPanelFor(PanelOf(h));
  for (int b = 0; b < info.buttonCount; ++b)
    plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, info.buttons[b].command, ButtonPlace(b), "SETUP", 0);
}

void OnPanelCommand(plat::Hwnd h, int command) {
  TimerPreset preset;
  if (!TimerPresetForCommand(command, preset)) return;
  OpenTimerPreset(gTimerEntryRequest, preset);
  dialogs::OpenTimerEntryDialog(h, gTimerEntryRequest);
  if (plat::IsWindow(h)) plat::InvalidateRect(h, nullptr, true);
}

plat::LResult PanelProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    RefreshPanel(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      CreatePanel(h);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      PaintPanel(h, *plat::PaintFrom(l).canvas);
      return 0;
    case plat::Msg::DrawItem: {
      const plat::DrawItemInfo& item = plat::DrawItemFrom(l);
      const TimerPanelInfo& info = TimerPanelFor(PanelOf(h));
      for (int b = 0; b < info.buttonCount; ++b) {
        if (info.buttons[b].command != item.controlId) continue;
        DrawPicture(item, gTimerScreen.setup[static_cast<int>(info.panel)][b], plat::GetWindowText(item.control));
        return 1;
      }
      return 0;
    }
    case plat::Msg::Command:
      OnPanelCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

void LoadPictures() {
  for (int p = 0; p < kTimerPanelCount; ++p) {
    const TimerPanelInfo& info = TimerPanelFor(static_cast<TimerPanel>(p));
    for (int b = 0; b < info.buttonCount; ++b)
      i18n::LoadLocalisedBitmapPair(info.buttons[b].bitmap, gTimerScreen.setup[p][b].normal, gTimerScreen.setup[p][b].pressed);
  }
  i18n::LoadLocalisedBitmapPair(kTimerExitBitmap, gTimerScreen.exit.normal, gTimerScreen.exit.pressed);
}

void ReleasePictures() {
  for (auto& panel : gTimerScreen.setup)
    for (Picture& p : panel) {
      p.normal.Release();
      p.pressed.Release();
    }
  gTimerScreen.exit.normal.Release();
  gTimerScreen.exit.pressed.Release();
}

void CreateScreen(plat::Hwnd h) {
  gTimerScreen.title = plat::CreateFont(plat::kFaceTahoma, kTitleFontHeight, plat::FontWeight::Bold);
  gTimerScreen.box = plat::CreateFont(plat::kFaceTahoma, kBoxFontHeight, plat::FontWeight::Bold);
  gTimerScreen.line = plat::CreateFont(plat::kFaceTahoma, kLineFontHeight, plat::FontWeight::Normal);
  LoadPictures();
  for (int p = 0; p < kTimerPanelCount; ++p) {
    const TimerPanelInfo& info = TimerPanelFor(static_cast<TimerPanel>(p));
    plat::RegisterClass(plat::WindowClass{.name = info.className, .proc = PanelProc, .eraseBackground = false});
    plat::CreateWindow(plat::WindowDesc{.className = info.className, .title = info.caption, .parent = h,
                                        .rect = info.place, .flags = plat::WindowFlag::Visible,
                                        .id = kTimerFirstPanelId + p});
  }
  plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, kTimerSelectExit, kExitPlace, "EXIT", 0);
}

void RefreshTimerScreen(plat::Hwnd h) {
  char16_t title[i18n::kStringDestUnits] = {};
  i18n::GetString(kTimerScreenTitleId, title);
  SetTitle(h, title);
  for (int p = 0; p < kTimerPanelCount; ++p) {
    const plat::Hwnd panel = plat::GetDlgItem(h, kTimerFirstPanelId + p);
    if (panel != plat::kNoWindow) RefreshPanel(panel);
  }
}

void PaintScreen(plat::Hwnd h, plat::Canvas& c) {
  c.FillRect(plat::GetClientRect(h), kScreenBackground);
}

}  // namespace

void InvalidateTimerPanels(plat::Hwnd timerScreen, TimerPanelSet which, bool erase) {
  for (int p = 0; p < kTimerPanelCount; ++p) {
    if (which == TimerPanelSet::OutOfGrain && static_cast<TimerPanel>(p) != TimerPanel::OutOfGrain) continue;
    const plat::Hwnd panel = plat::GetDlgItem(timerScreen, kTimerFirstPanelId + p);
    if (panel != plat::kNoWindow) plat::InvalidateRect(panel, nullptr, erase);
  }
}

plat::LResult TimerSelectWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    RefreshTimerScreen(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      CreateScreen(h);
      return 0;
    case plat::Msg::Destroy:
      ReleasePictures();
      return 0;
    case plat::Msg::Show:
      if (w != 0) RefreshTimerScreen(h);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      PaintScreen(h, *plat::PaintFrom(l).canvas);
      return 0;
    case plat::Msg::DrawItem: {
      const plat::DrawItemInfo& item = plat::DrawItemFrom(l);
      if (item.controlId != kTimerSelectExit) return 0;
      DrawPicture(item, gTimerScreen.exit, plat::GetWindowText(item.control));
      return 1;
    }
    case plat::Msg::Command:
      if (plat::CommandId(w) == kTimerSelectExit) {
        plat::ShowWindow(h, false);
        SendMainCommand(kCmdShowMainScreen);
      }
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
