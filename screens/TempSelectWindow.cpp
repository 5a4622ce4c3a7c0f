// TEMP_SELECT_WINDOW: the plenum setpoint panel above the grain temperature setpoint panel, each
// button opening the setpoint keypad on its register pair, and EXIT back to the main screen.
#include "dialogs/DialogText.h"
#include "dialogs/KeypadLogic.h"
#include "dialogs/SetpointEntryDialog.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "i18n/TextWrap.h"
#include "link/DryerStatus.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"
#include "screens/TempSelectLogic.h"

namespace screens {
namespace {

// The values are refreshed while the screen is up, so an accepted setpoint shows once the
// controller has taken it.
constexpr uint32_t kRefreshTimer = 1;
constexpr uint32_t kRefreshMs = 1000;

constexpr plat::Color kValueBack = plat::Rgb(192, 192, 192);
constexpr int kValueFont = 30;
constexpr int kLabelFont = 18;
constexpr int kHelpFont = 14;
constexpr plat::TextFlags kCentredLine =
    plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::SingleLine;

struct Pictures {
  plat::Bitmap normal;
  plat::Bitmap pressed;
};

struct TempScreen {
  plat::Hwnd plenumPanel = plat::kNoWindow;
  plat::Hwnd grainPanel = plat::kNoWindow;
  plat::Hwnd plenumButtons[kPlenumButtonCount] = {};
  plat::Hwnd grainButtons[kGrainButtonCount] = {};
  bool plenumShown[kPlenumButtonCount] = {};
  Pictures plenumPictures[kPlenumButtonCount];
  Pictures grainPictures[kGrainButtonCount];
};
TempScreen gTemps;

// The picture of an owner-drawn button; false lets the button draw its own face and text.
bool DrawPicture(const plat::DrawItemInfo& item, const Pictures& p) {
  const bool pressed = (item.state & plat::ItemState::Pressed) != 0;
  const plat::Bitmap& picture = pressed && !p.pressed.Empty() ? p.pressed : p.normal;
  if (picture.Empty()) return false;
  item.canvas->FillRect(item.rect, colour::kBlack);
  item.canvas->Blit(0, 0, picture.View());
  return true;
}

void DrawValue(plat::Canvas& c, const plat::Rect& place, int fahrenheit, bool celsius) {
  char text[24];
  FormatTempSetpointValue(text, sizeof text, fahrenheit, celsius);
  c.FillRect(place, kValueBack);
  c.SetFont(plat::BoldTahoma(kValueFont));
  c.SetTextColor(colour::kBlue);
  c.SetBackgroundColor(kValueBack);
  c.SetBackgroundMode(plat::BackgroundMode::Opaque);
  c.DrawText(place, text, kCentredLine);
}

void OpenEntry(plat::Hwnd panel, const lnk::DryerStatus& s, TempSetpoint setpoint) {
  OpenTempSetpointEntry(gSetpointEntryRequest, s, setpoint, IsCelsius(s));
  dialogs::OpenSetpointEntryDialog(plat::GetParent(panel), gSetpointEntryRequest);
  plat::InvalidateRect(panel, nullptr, true);
}

// ---- Plenum setpoint panel ----

void CreatePlenumButtons(plat::Hwnd h) {
  InitialPlenumButtons(gTemps.plenumShown);
  for (int i = 0; i < kPlenumButtonCount; ++i) {
    const PlenumButtonPlace& p = kPlenumButtons[i];
    gTemps.plenumButtons[i] =
        plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, p.controlId, p.place, p.text,
                            gTemps.plenumShown[i] ? 0 : plat::ControlStyle::Hidden);
    i18n::LoadLocalisedBitmapPair(p.picture, gTemps.plenumPictures[i].normal, gTemps.plenumPictures[i].pressed);
  }
}

// The values are drawn beside the visible buttons only, so a change of buttons repaints the panel.
void RefreshPlenumPanel(plat::Hwnd h, const lnk::DryerStatus& s) {
  dialogs::SetStringIfPresent(h, 0, kPlenumSetpointCaptionId);
  ChoosePlenumButtons(s, gTemps.plenumShown);
  bool changed = false;
  for (int i = 0; i < kPlenumButtonCount; ++i)
    changed |= plat::ShowWindow(gTemps.plenumButtons[i], gTemps.plenumShown[i]) != gTemps.plenumShown[i];
  if (changed) plat::InvalidateRect(h, nullptr, false);
}

void PaintPlenumPanel(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  const bool celsius = IsCelsius(s);
  for (int i = 0; i < kPlenumButtonCount; ++i) {
    const PlenumButtonPlace& p = kPlenumButtons[i];
    if (gTemps.plenumShown[i] && PlenumValueDrawn(s, p.button))
      DrawValue(c, p.value, TempSetpointF(s, p.setpoint), celsius);
  }
}

void OnPlenumCommand(plat::Hwnd h, int id) {
  const PlenumButtonPlace* p = PlenumButtonById(id);
  if (p == nullptr) return;
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  if (!PlenumButtonActs(s, p->button)) return;
  OpenEntry(h, s, p->setpoint);
}

plat::LResult PlenumPanelProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      CreatePlenumButtons(h);
      return 0;
    case plat::Msg::Destroy:
      for (Pictures& p : gTemps.plenumPictures) {
        p.normal.Release();
        p.pressed.Release();
      }
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      PaintPlenumPanel(h, plat::PaintFrom(l));
      return 0;
    case plat::Msg::DrawItem: {
      const plat::DrawItemInfo& item = plat::DrawItemFrom(l);
      const PlenumButtonPlace* p = PlenumButtonById(item.controlId);
      if (p == nullptr) return 0;
      return DrawPicture(item, gTemps.plenumPictures[static_cast<int>(p->button)]) ? 1 : 0;
    }
    case plat::Msg::Command:
      OnPlenumCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

// ---- Grain temperature setpoint panel ----

void CreateGrainButtons(plat::Hwnd h) {
  for (int i = 0; i < kGrainButtonCount; ++i) {
    const GrainButtonPlace& g = kGrainButtons[i];
    const uint32_t style = g.button == GrainButton::Single ? 0 : plat::ControlStyle::Hidden;
    gTemps.grainButtons[i] =
        plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, g.controlId, g.place, g.text, style);
    i18n::LoadLocalisedBitmapPair(g.picture, gTemps.grainPictures[i].normal, gTemps.grainPictures[i].pressed);
  }
}

void DrawGrainHelp(plat::Canvas& c, bool celsius) {
  char16_t help[3 * i18n::kStringDestUnits + 4];
  FormatGrainHelp(celsius, help, sizeof help / sizeof help[0]);
  c.SetFont(plat::BoldTahoma(kHelpFont));
  c.SetTextColor(colour::kRed);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  const int lineHeight = kGrainHelpPlace.Height() / kGrainHelpLines;
  char16_t line[kGrainHelpLineChars + 1];
  bool more = i18n::NextWrappedLine(true, kGrainHelpLineChars, help, line);
  for (int i = 0; i < kGrainHelpLines && more; ++i) {
    const plat::Rect r = plat::RectXywh(kGrainHelpPlace.left, kGrainHelpPlace.top + i * lineHeight,
                                        kGrainHelpPlace.Width(), lineHeight);
    c.DrawText(r, line, plat::TextFlag::Left | plat::TextFlag::SingleLine);
    more = i18n::NextWrappedLine(false, kGrainHelpLineChars, help, line);
  }
}

void RefreshGrainPanel(plat::Hwnd h, const lnk::DryerStatus& s) {
  dialogs::SetStringIfPresent(h, 0, kGrainSetpointCaptionId);
  bool changed = false;
  for (int i = 0; i < kGrainButtonCount; ++i) {
    const bool shown = GrainButtonShown(s, kGrainButtons[i].button);
    changed |= plat::ShowWindow(gTemps.grainButtons[i], shown) != shown;
  }
  if (changed) plat::InvalidateRect(h, nullptr, false);
}

void PaintGrainPanel(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  const bool celsius = IsCelsius(s);

  char16_t label[i18n::kStringDestUnits] = {};
  i18n::GetString(kGrainSetpointLabelId, label);
  c.SetFont(plat::BoldTahoma(kLabelFont));
  c.SetTextColor(colour::kWhite);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.DrawText(kGrainLabelPlace, label, kCentredLine);

  for (int i = 0; i < kGrainButtonCount; ++i) {
    const GrainButtonPlace& g = kGrainButtons[i];
    if (GrainButtonShown(s, g.button)) DrawValue(c, g.value, TempSetpointF(s, GrainButtonSetpoint(s, g.button)), celsius);
  }
  DrawGrainHelp(c, celsius);
}

void OnGrainCommand(plat::Hwnd h, int id) {
  const GrainButtonPlace* g = GrainButtonById(id);
  if (g == nullptr) return;
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  OpenEntry(h, s, GrainButtonSetpoint(s, g->button));
}

plat::LResult GrainPanelProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      CreateGrainButtons(h);
      return 0;
    case plat::Msg::Destroy:
      for (Pictures& p : gTemps.grainPictures) {
        p.normal.Release();
        p.pressed.Release();
      }
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      PaintGrainPanel(h, plat::PaintFrom(l));
      return 0;
    case plat::Msg::DrawItem: {
      const plat::DrawItemInfo& item = plat::DrawItemFrom(l);
      const GrainButtonPlace* g = GrainButtonById(item.controlId);
      if (g == nullptr) return 0;
      return DrawPicture(item, gTemps.grainPictures[static_cast<int>(g->button)]) ? 1 : 0;
    }
    case plat::Msg::Command:
      OnGrainCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

// ---- The screen ----

plat::Hwnd CreatePanel(plat::Hwnd parent, const char* className, plat::WindowProc proc, const plat::Rect& place,
                       const char* caption) {
  plat::RegisterClass(plat::WindowClass{.name = className, .proc = proc, .eraseBackground = false});
  return plat::CreateWindow(plat::WindowDesc{.className = className, .title = caption, .parent = parent,
                                             .rect = place,
                                             .flags = plat::WindowFlag::Visible | plat::WindowFlag::Caption});
}

void CreateScreen(plat::Hwnd h) {
  gTemps.plenumPanel = CreatePanel(h, kPlenumSetpointChildClass, PlenumPanelProc, kPlenumPanelPlace,
                                   kPlenumSetpointCaption);
  gTemps.grainPanel =
      CreatePanel(h, kGrainSetpointChildClass, GrainPanelProc, kGrainPanelPlace, kGrainSetpointCaption);
  plat::CreateControl(h, plat::ControlKind::PushButton, kTempSelectExit, kTempSelectExitPlace, "EXIT",
                      plat::ControlStyle::Center);
}

void RefreshTempScreen(plat::Hwnd h) {
  dialogs::SetStringIfPresent(h, 0, kTempSelectTitleId);
  dialogs::SetStringIfPresent(h, kTempSelectExit, i18n::kStringExit);
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  RefreshPlenumPanel(gTemps.plenumPanel, s);
  RefreshGrainPanel(gTemps.grainPanel, s);
}

}  // namespace

plat::LResult TempSelectWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    RefreshTempScreen(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      CreateScreen(h);
      return 0;
    case plat::Msg::Show:
      if (w != 0) {
        RefreshTempScreen(h);
        plat::SetTimer(h, kRefreshTimer, kRefreshMs);
      } else {
        plat::KillTimer(h, kRefreshTimer);
      }
      return 0;
    case plat::Msg::Timer:
      if (w == kRefreshTimer) {
        RefreshTempScreen(h);
        plat::InvalidateRect(gTemps.plenumPanel, nullptr, false);
        plat::InvalidateRect(gTemps.grainPanel, nullptr, false);
      }
      return 0;
    case plat::Msg::Command:
      if (plat::CommandId(w) == kTempSelectExit) {
        plat::ShowWindow(h, false);
        SendMainCommand(kCmdShowMainScreen);
      }
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
