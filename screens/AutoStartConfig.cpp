#include "screens/AutoStartConfig.h"

#include <cstdio>

#include "dialogs/AutoStartDialogs.h"
#include "dialogs/AutoStartLogic.h"
#include "dialogs/DialogText.h"
#include "dialogs/KeypadLogic.h"
#include "dialogs/MoistureSetpointDialog.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"

namespace screens {
namespace {

using plat::Hwnd;
using plat::Rect;
using plat::RectXywh;
using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::LoadRequestFromStatus;
using lnk::RaisePending;
using lnk::ReadRequestByte;
using lnk::RowInfo;
using lnk::RowRegister;
using lnk::TakeStatusSnapshot;
using lnk::WriteRequestByte;
using lnk::kStatusSwitches;
using lnk::kSwitchesDryerRunning;

// Language pictures of the wizard's buttons.
constexpr int kPictureExit = 41;
constexpr int kPictureGrainSelect = 48;
constexpr int kPictureMoistureSettings = 49;
constexpr int kPictureFirstGrain = 50;
constexpr int kPictureInitiate = 62;

constexpr int kLineX = 175;      // the vertical line between the left buttons and the page
constexpr int kBottomLineY = 385;
constexpr plat::Color kLineColour = plat::Rgb(192, 192, 192);
constexpr Rect kGrainSelectPlace = RectXywh(12, 20, 150, 60);
constexpr Rect kMoisturePlace = RectXywh(12, 100, 150, 60);
constexpr Rect kExitPlace = RectXywh(20, 398, 158, 41);
constexpr Rect kStartPlace = RectXywh(468, 394, 150, 50);  // INITIATE and CONTINUE, one at a time

constexpr int kGrainColumnX[2] = {215, 420};
constexpr int kGrainTop = 20;
constexpr int kGrainStep = 58;
constexpr int kGrainWidth = 150;
constexpr int kGrainHeight = 45;
constexpr int kDotSize = 10;
constexpr int kDotGap = 8;

constexpr Rect kUpperContinue = RectXywh(200, 70, 150, 50);
constexpr Rect kLowerContinue = RectXywh(200, 240, 150, 50);
constexpr Rect kUpperValue = RectXywh(370, 50, 250, 90);
constexpr Rect kLowerValue = RectXywh(370, 220, 250, 90);
constexpr Rect kUpperLabel = RectXywh(200, 30, 420, 24);
constexpr Rect kLowerLabel = RectXywh(200, 200, 420, 24);
constexpr int kValueFont = 50;
constexpr int kLabelFont = 16;
constexpr uint16_t kStringMoistureSetpoint = 143;

constexpr Rect GrainPlace(int i) {
  return RectXywh(kGrainColumnX[i / kGrainsPerColumn], kGrainTop + (i % kGrainsPerColumn) * kGrainStep, kGrainWidth,
                  kGrainHeight);
}

struct Pictures {
  plat::Bitmap normal;
  plat::Bitmap pressed;
};

struct ButtonRow {
  int id;
  Rect place;
  const char* text;
  int picture;  // 0: a plain face with its text
};
constexpr ButtonRow kFixedButtons[] = {
    {kAsGrainSelect, kGrainSelectPlace, "Grain Select", kPictureGrainSelect},
    {kAsMoistureSettings, kMoisturePlace, "Moisture Settings", kPictureMoistureSettings},
    {kAsExit, kExitPlace, "EXIT", kPictureExit},
    {kAsInitiate, kStartPlace, "INITIATE", kPictureInitiate},
    {kAsContinue, kStartPlace, "CONTINUE", 0},
    {kAsAutoStartMoisture, kUpperContinue, "CONTINUE", 0},
    {kAsDryingMoisture, kLowerContinue, "CONTINUE", 0},
};
constexpr int kFixedCount = static_cast<int>(sizeof kFixedButtons / sizeof kFixedButtons[0]);
constexpr int kButtonCount = kFixedCount + kGrainCount;

struct ConfigState {
  Hwnd window = plat::kNoWindow;
  AutoStartPage page = AutoStartPage::None;
  Pictures pictures[kButtonCount];  // fixed buttons first, then the grains
  int shownAutoStart = -1;          // the setpoints on screen, to repaint only on a change
  int shownDrying = -1;
};
ConfigState gConfig;

int GrainRegister() { return RowRegister(RowInfo(CommandRow::AutoStart)); }

int PictureSlot(int id) {
  for (int i = 0; i < kFixedCount; ++i)
    if (kFixedButtons[i].id == id) return i;
  if (id >= kAsFirstGrain && id < kAsFirstGrain + kGrainCount) return kFixedCount + id - kAsFirstGrain;
  return -1;
}

void CreateButtons(Hwnd h) {
  for (int i = 0; i < kFixedCount; ++i) {
    const ButtonRow& b = kFixedButtons[i];
    plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, b.id, b.place, b.text, plat::ControlStyle::Hidden);
    if (b.picture != 0) i18n::LoadLocalisedBitmapPair(b.picture, gConfig.pictures[i].normal, gConfig.pictures[i].pressed);
  }
  for (int g = 0; g < kGrainCount; ++g) {
    plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, kAsFirstGrain + g, GrainPlace(g), kGrainNames[g],
                        plat::ControlStyle::Hidden);
    Pictures& p = gConfig.pictures[kFixedCount + g];
    i18n::LoadLocalisedBitmapPair(kPictureFirstGrain + g, p.normal, p.pressed);
  }
}

void ReleasePictures() {
  for (Pictures& p : gConfig.pictures) {
    p.normal.Release();
    p.pressed.Release();
  }
}

bool DrawPicture(const plat::DrawItemInfo& item) {
  const int slot = PictureSlot(item.controlId);
  if (slot < 0) return false;
  const Pictures& p = gConfig.pictures[slot];
  const bool pressed = (item.state & plat::ItemState::Pressed) != 0;
  const plat::Bitmap& picture = pressed && !p.pressed.Empty() ? p.pressed : p.normal;
  if (picture.Empty()) return false;
  item.canvas->FillRect(item.rect, colour::kBlack);
  item.canvas->Blit(0, 0, picture.View());
  return true;
}

void Show(Hwnd h, int id, bool visible) { plat::ShowWindow(plat::GetDlgItem(h, id), visible); }

// Which controls a page shows. Our rule for the bottom row: INITIATE only on the moisture
// settings page, so auto-start is initiated once the operator has had both setpoints it will
// use in front of him; CONTINUE, which leaves without sending anything, on the other pages.
void ApplyPage(Hwnd h) {
  const bool grains = gConfig.page == AutoStartPage::GrainSelect;
  const bool moisture = gConfig.page == AutoStartPage::MoistureSettings;
  for (int g = 0; g < kGrainCount; ++g) Show(h, kAsFirstGrain + g, grains);
  Show(h, kAsAutoStartMoisture, moisture);
  Show(h, kAsDryingMoisture, moisture);
  Show(h, kAsInitiate, moisture);
  Show(h, kAsContinue, !moisture);
  Show(h, kAsGrainSelect, true);
  Show(h, kAsMoistureSettings, true);
  Show(h, kAsExit, true);
  plat::InvalidateRect(h, nullptr, true);
}

void SetPage(Hwnd h, AutoStartPage page) {
  if (gConfig.page == page) return;
  gConfig.page = page;
  ApplyPage(h);
}

// Captions of the language and, on the moisture page, a repaint when a setpoint changed.
void Refresh(Hwnd h) {
  dialogs::SetStringIfPresent(h, kAsContinue, i18n::kStringAutoStartContinue);
  dialogs::SetStringIfPresent(h, kAsAutoStartMoisture, i18n::kStringAutoStartContinue);
  dialogs::SetStringIfPresent(h, kAsDryingMoisture, i18n::kStringAutoStartContinue);
  if (gConfig.page != AutoStartPage::MoistureSettings) return;
  DryerStatus s;
  TakeStatusSnapshot(s);
  const int autoStart = dialogs::MoistureSetpointFromStatus(s, dialogs::MoistureSetpoint::AutoStart);
  const int drying = dialogs::MoistureSetpointFromStatus(s, dialogs::MoistureSetpoint::Drying);
  if (autoStart != gConfig.shownAutoStart) plat::InvalidateRect(h, &kUpperValue, true);
  if (drying != gConfig.shownDrying) plat::InvalidateRect(h, &kLowerValue, true);
  gConfig.shownAutoStart = autoStart;
  gConfig.shownDrying = drying;
}

void DrawSetpoint(plat::Canvas& c, const Rect& place, int tenths, plat::Color colour) {
  char text[24];
  std::snprintf(text, sizeof text, "%d.%01d%%", tenths / 10, tenths % 10);
  c.SetFont(plat::BoldTahoma(kValueFont));
  c.SetTextColor(colour);
  c.DrawText(place, text, plat::TextFlag::Left | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
}

void DrawLabel(plat::Canvas& c, const Rect& place, int stringId) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  c.SetFont(plat::BoldTahoma(kLabelFont));
  c.SetTextColor(colour::kWhite);
  c.DrawText(place, text, plat::TextFlag::Left | plat::TextFlag::SingleLine);
}

void Paint(Hwnd h, plat::PaintContext& ctx) {
  plat::Canvas& c = *ctx.canvas;
  const Rect client = plat::GetClientRect(h);
  c.FillRect(client, colour::kBlack);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.DrawLine(kLineX, 0, kLineX, kBottomLineY, kLineColour, 2);
  c.DrawLine(0, kBottomLineY, client.Width(), kBottomLineY, kLineColour, 2);
  if (gConfig.page == AutoStartPage::GrainSelect) {
    const int chosen = ReadRequestByte(GrainRegister());
    if (chosen < kGrainCount) {
      const Rect b = GrainPlace(chosen);
      const Rect dot = RectXywh(b.right + kDotGap, b.top + (kGrainHeight - kDotSize) / 2, kDotSize, kDotSize);
      c.FillEllipse(dot, colour::kRed);
    }
  } else if (gConfig.page == AutoStartPage::MoistureSettings) {
    DryerStatus s;
    TakeStatusSnapshot(s);
    DrawLabel(c, kUpperLabel, i18n::kStringAutoStart);
    DrawLabel(c, kLowerLabel, kStringMoistureSetpoint);
    DrawSetpoint(c, kUpperValue, dialogs::MoistureSetpointFromStatus(s, dialogs::MoistureSetpoint::AutoStart),
                 colour::kYellow);
    DrawSetpoint(c, kLowerValue, dialogs::MoistureSetpointFromStatus(s, dialogs::MoistureSetpoint::Drying), colour::kBlue);
  }
}

// CONTINUE, EXIT and the confirmation's answers that end the wizard: the main screens come back.
void LeaveWizard() {
  plat::ShowWindow(gConfig.window, false);
  SendMainCommand(kCmdShowMainScreen);
}

void OnCommand(Hwnd h, int id) {
  switch (id) {
    case kAsGrainSelect: SetPage(h, AutoStartPage::GrainSelect); return;
    case kAsMoistureSettings: SetPage(h, AutoStartPage::MoistureSettings); return;
    case kAsInitiate: dialogs::OpenAutoStartConfirmDialog(h, LeaveWizard); return;
    case kAsContinue: LeaveWizard(); return;
    case kAsExit:
      RaisePending(CommandRow::AutoStart);
      LeaveWizard();
      return;
    case kAsAutoStartMoisture:
      dialogs::OpenMoistureSetpointDialog(h, dialogs::MoistureSetpoint::AutoStart);
      plat::InvalidateRect(h, &kUpperValue, true);
      return;
    case kAsDryingMoisture:
      dialogs::OpenMoistureSetpointDialog(h, dialogs::MoistureSetpoint::Drying);
      plat::InvalidateRect(h, &kLowerValue, true);
      return;
    default:
      if (id >= kAsFirstGrain && id < kAsFirstGrain + kGrainCount) {
        WriteRequestByte(GrainRegister(), static_cast<uint8_t>(id - kAsFirstGrain));
        plat::InvalidateRect(h, nullptr, true);
      }
      return;
  }
}

}  // namespace

void OpenAutoStart(Hwnd parent) {
  DryerStatus s;
  TakeStatusSnapshot(s);
  if (dialogs::AutoStartActive(s)) {
    dialogs::OpenAutoStartStatusDialog(parent, LeaveWizard);
    return;
  }
  dialogs::OpenSwitchRequirementsDialog(parent);
  TakeStatusSnapshot(s);
  if ((s.b[kStatusSwitches] & kSwitchesDryerRunning) != 0) {
    plat::MessageBox(parent, kAutoStartRunningText, kAutoStartRunningCaption, plat::MbButtons::Ok,
                     plat::MbIcon::Exclamation);
    return;
  }
  LoadRequestFromStatus(CommandRow::OptionBits2);
  LoadRequestFromStatus(CommandRow::AutoStart);
  gConfig.page = AutoStartPage::None;
  SendMainCommand(kCmdShowAutoStartConfig);
}

AutoStartPage CurrentAutoStartPage() { return gConfig.page; }

plat::LResult AutoStartConfigWindowProc(Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    Refresh(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      gConfig.window = h;
      CreateButtons(h);
      return 0;
    case plat::Msg::Destroy:
      ReleasePictures();
      gConfig = {};
      return 0;
    case plat::Msg::Show:
      if (w != 0) {
        ApplyPage(h);
        Refresh(h);
      }
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      return 0;
    case plat::Msg::DrawItem:
      return DrawPicture(plat::DrawItemFrom(l)) ? 1 : 0;
    case plat::Msg::Command:
      OnCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
