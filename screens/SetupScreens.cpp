#include "screens/SetupScreens.h"

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "link/RegisterMap.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "screens/Screens.h"

namespace screens {
namespace {

using lnk::DryerStatus;
using plat::Hwnd;
using plat::Rect;
using plat::RectXywh;

constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);

// Four columns of 150 x 60 picture buttons, eight pixels apart, and RETURN centred below them.
constexpr int kDoorWidth = 150;
constexpr int kDoorHeight = 60;
constexpr int kColumnX[4] = {8, 166, 324, 482};
constexpr int kRowY[5] = {8, 76, 144, 212, 280};
constexpr Rect Cell(int column, int row) { return RectXywh(kColumnX[column], kRowY[row], kDoorWidth, kDoorHeight); }
constexpr Rect kReturnPlace = RectXywh(241, 380, 158, 41);

constexpr int kMorePicture = 29;
constexpr int kReturnPicture = 41;
constexpr int kPictureCaptionBase = 520;  // picture k is captioned with string 520 + k

struct Place {
  int control;
  Rect rect;
  bool option = false;  // shown only while the controller's options say so
};

constexpr Place kSetupLayout[] = {
    {.control = kSetupUnits, .rect = Cell(0, 0)},
    {.control = kSetupDryingMode, .rect = Cell(1, 0)},
    {.control = kSetupMoistureControl, .rect = Cell(2, 0)},
    {.control = kSetupUnloadRates, .rect = Cell(3, 0)},
    {.control = kSetupBurnerMode, .rect = Cell(0, 1), .option = true},
    {.control = kSetupBurnerDifferential, .rect = Cell(1, 1)},
    {.control = kSetupTempManager, .rect = Cell(2, 1)},
    {.control = kSetupMoistureCalibration, .rect = Cell(3, 1)},
    {.control = kSetupHardware, .rect = Cell(0, 2)},
    {.control = kSetupTimeDate, .rect = Cell(1, 2)},
    {.control = kSetupDiagnostics, .rect = Cell(2, 2)},
    {.control = kSetupUnloadBushels, .rect = Cell(3, 2)},
    {.control = kSetupDataLogger, .rect = Cell(0, 3)},
    {.control = kSetupBatchCounter, .rect = Cell(1, 3)},
    {.control = kSetupWatchdog, .rect = Cell(2, 3)},
    {.control = kSetupUserSettings, .rect = Cell(3, 3)},
    {.control = kSetupMeterRollReverse, .rect = Cell(0, 4)},
    {.control = kSetupAutoStart, .rect = Cell(1, 4)},
    {.control = kSetupMore, .rect = Cell(3, 4)},
    {.control = kSetupReturn, .rect = kReturnPlace},
};

constexpr Place kExtendedLayout[] = {
    {.control = kSetupDiagnostics, .rect = Cell(0, 0)},
    {.control = kSetupBurnerDifferential, .rect = Cell(1, 0)},
    {.control = kSetupHardware, .rect = Cell(2, 0)},
    {.control = kSetupUnloadBushels, .rect = Cell(3, 0)},
    {.control = kSetupTimeDate, .rect = Cell(0, 1)},
    {.control = kExtendedUnitsConfirm, .rect = Cell(1, 1)},
    {.control = kExtendedMeterRollReverse, .rect = Cell(2, 1), .option = true},
    {.control = kSetupDataLogger, .rect = Cell(3, 1)},
    {.control = kSetupUserSettings, .rect = Cell(0, 2)},
    {.control = kSetupBatchCounter, .rect = Cell(1, 2)},
    {.control = kExtendedLanguage, .rect = Cell(2, 2)},
    {.control = kExtendedSampler, .rect = Cell(3, 2), .option = true},
    {.control = kExtendedLightOutputs, .rect = Cell(0, 3)},
    {.control = kExtendedSwitchTest, .rect = Cell(1, 3)},
    {.control = kSetupReturn, .rect = kReturnPlace},
};

struct Layout {
  const Place* places;
  int count;
  int titleId;
};
constexpr Layout kSetupScreen{kSetupLayout, sizeof kSetupLayout / sizeof kSetupLayout[0], kSetupTitleId};
constexpr Layout kExtendedScreen{kExtendedLayout, sizeof kExtendedLayout / sizeof kExtendedLayout[0],
                                 kExtendedSetupTitleId};

struct Picture {
  plat::Bitmap normal;
  plat::Bitmap pressed;
  plat::Bitmap greyed;
};

// One picture set for both screens, one entry per door, then MORE and RETURN; loaded for the
// display language and loaded again when it changes.
constexpr int kMoreSlot = kSetupDoorCount;
constexpr int kReturnSlot = kSetupDoorCount + 1;
struct SetupScreensState {
  Picture pictures[kSetupDoorCount + 2];
  int loadedFor = -1;  // the language the pictures are of
  int screensAlive = 0;
};
SetupScreensState gSetup;

// A door whose dialog is not there yet looks switched off: its picture in grey, darker.
void MakeGreyed(const plat::Bitmap& normal, plat::Bitmap& out) {
  if (normal.Empty() || !out.Allocate(normal.Width(), normal.Height())) return;
  const uint32_t* src = normal.Pixels();
  uint32_t* dst = out.Pixels();
  const int n = normal.Width() * normal.Height();
  for (int i = 0; i < n; ++i) {
    const uint32_t p = src[i];
    const uint32_t luma = (((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF)) / 10;
    const uint32_t g = 40 + luma / 3;
    dst[i] = (g << 16) | (g << 8) | g;
  }
}

void LoadPicture(int slot, int index) {
  Picture& p = gSetup.pictures[slot];
  p.greyed.Release();
  if (index == 0 || !i18n::LoadLocalisedBitmapPair(index, p.normal, p.pressed)) return;
  MakeGreyed(p.normal, p.greyed);
}

void LoadPictures() {
  for (int i = 0; i < kSetupDoorCount; ++i) LoadPicture(i, kSetupDoors[i].picture);
  LoadPicture(kMoreSlot, kMorePicture);
  LoadPicture(kReturnSlot, kReturnPicture);
  gSetup.loadedFor = static_cast<int>(i18n::CurrentLanguage());
}

void ReleasePictures() {
  for (Picture& p : gSetup.pictures) {
    p.normal.Release();
    p.pressed.Release();
    p.greyed.Release();
  }
  gSetup.loadedFor = -1;
}

int SlotOf(int control) {
  if (control == kSetupMore) return kMoreSlot;
  if (control == kSetupReturn) return kReturnSlot;
  const SetupDoor* d = FindSetupDoor(control);
  return d != nullptr ? static_cast<int>(d - kSetupDoors) : -1;
}

int PictureOf(int control) {
  if (control == kSetupMore) return kMorePicture;
  if (control == kSetupReturn) return kReturnPicture;
  const SetupDoor* d = FindSetupDoor(control);
  return d != nullptr ? d->picture : 0;
}

// The text a button shows when it has no picture, in the display language.
void SetLabel(Hwnd button, int control) {
  const SetupDoor* d = FindSetupDoor(control);
  const int picture = PictureOf(control);
  const int id = d != nullptr && d->labelId != 0 ? d->labelId : picture != 0 ? kPictureCaptionBase + picture : 0;
  char16_t text[i18n::kStringDestUnits] = {};
  if (id != 0) i18n::GetString(id, text);
  if (text[0] != 0) plat::SetWindowText(button, text);
}

void CreateButtons(Hwnd h, const Layout& layout) {
  for (int i = 0; i < layout.count; ++i) {
    const Place& p = layout.places[i];
    const SetupDoor* d = FindSetupDoor(p.control);
    const char* text = d != nullptr && d->label != nullptr ? d->label : "";
    const uint32_t style = p.option ? plat::ControlStyle::Hidden : 0;
    plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, p.control, p.rect, text, style);
  }
}

void Refresh(Hwnd h, const Layout& layout) {
  if (gSetup.loadedFor != static_cast<int>(i18n::CurrentLanguage())) {
    LoadPictures();
    plat::InvalidateRect(h, nullptr, true);
  }
  char16_t title[i18n::kStringDestUnits] = {};
  i18n::GetString(layout.titleId, title);
  if (title[0] != 0) plat::SetWindowText(h, title);
  for (int i = 0; i < layout.count; ++i) {
    const int control = layout.places[i].control;
    const Hwnd button = plat::GetDlgItem(h, control);
    SetLabel(button, control);
    const SetupDoor* d = FindSetupDoor(control);
    if (d != nullptr) plat::EnableWindow(button, d->open != nullptr);
  }
}

void DrawButton(const plat::DrawItemInfo& item) {
  const int slot = SlotOf(item.controlId);
  const bool pressed = (item.state & plat::ItemState::Pressed) != 0;
  const bool enabled = (item.state & plat::ItemState::Disabled) == 0;
  const Picture* p = slot >= 0 ? &gSetup.pictures[slot] : nullptr;
  if (p == nullptr || p->normal.Empty()) {
    plat::DrawButtonFace(*item.canvas, item.rect, plat::GetWindowText(item.control), pressed, enabled);
    return;
  }
  const plat::Bitmap& b = !enabled && !p->greyed.Empty() ? p->greyed
                          : pressed && !p->pressed.Empty() ? p->pressed
                                                           : p->normal;
  item.canvas->FillRect(item.rect, kBlack);
  item.canvas->Blit(0, 0, b.View());
}

bool SeriesDryer() { return (lnk::ReadStatusByte(lnk::kStatusConfigBits) & lnk::kConfigBitsHardwareChoice) != 0; }

void OpenDoor(Hwnd h, const Layout& layout, int control) {
  const SetupDoor* d = FindSetupDoor(control);
  if (d == nullptr || d->open == nullptr) return;
  // A series dryer has no burner modes to choose.
  if (control == kSetupBurnerMode && SeriesDryer()) return;
  d->open(h);
  // The dialog may have changed the language or the options shown here.
  if (plat::IsWindow(h)) Refresh(h, layout);
}

void OnCommand(Hwnd h, const Layout& layout, int control) {
  switch (control) {
    case kSetupReturn:
      plat::ShowWindow(h, false);
      SendMainCommand(kCmdShowMainScreen);
      return;
    case kSetupMore:
      plat::ShowWindow(h, false);
      plat::ShowWindow(plat::FindWindow(kExtendedSetupClass), true);
      return;
    default:
      OpenDoor(h, layout, control);
      return;
  }
}

plat::LResult SetupScreenProc(const Layout& layout, Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    Refresh(h, layout);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      if (gSetup.screensAlive++ == 0) LoadPictures();
      CreateButtons(h, layout);
      return 0;
    case plat::Msg::Destroy:
      if (--gSetup.screensAlive == 0) ReleasePictures();
      return 0;
    case plat::Msg::Show:
      if (w != 0) {
        Refresh(h, layout);
        DryerStatus s;
        lnk::TakeStatusSnapshot(s);
        ShowSetupOptionButtons(s);
      }
      return 0;
    case plat::Msg::DrawItem:
      DrawButton(plat::DrawItemFrom(l));
      return 1;
    case plat::Msg::Command:
      OnCommand(h, layout, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace

plat::LResult SetupSelectionWindowProc(Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return SetupScreenProc(kSetupScreen, h, msg, w, l);
}

plat::LResult ExtendedSetupWindowProc(Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return SetupScreenProc(kExtendedScreen, h, msg, w, l);
}

void ShowSetupOptionButtons(const lnk::DryerStatus& s) {
  const uint8_t display = s.b[lnk::kStatusControllerDisplayOptions];
  const bool series = (s.b[lnk::kStatusConfigBits] & lnk::kConfigBitsHardwareChoice) != 0;
  const Hwnd setup = plat::FindWindow(kSetupSelectionClass);
  const Hwnd extended = plat::FindWindow(kExtendedSetupClass);
  plat::ShowWindow(plat::GetDlgItem(extended, kExtendedSampler), (display & lnk::kControllerDisplayBit2) != 0);
  plat::ShowWindow(plat::GetDlgItem(extended, kExtendedMeterRollReverse),
                   (display & lnk::kControllerDisplayBit1) != 0 && !series);
  plat::ShowWindow(plat::GetDlgItem(setup, kSetupBurnerMode), !series);
}

}  // namespace screens
