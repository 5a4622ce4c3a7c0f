// WARNING_WINDOW: the warning reported by the controller, with its title blinking with the
// link trigger, or, while the link is lost, the connection-lost picture whose marker sweeps
// along the bar. Every such paint asks the link to resynchronise: the link counts on the lost
// picture being drawn to start its resync, so that request stays in the paint.
#include "screens/WarningWindow.h"

#include "dialogs/WarningHelpDialog.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "platform/Pictures.h"
#include "platform/Text.h"
#include "screens/DryerPictures.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"
#include "screens/WarningLogic.h"

namespace screens {

namespace {

constexpr int kHelpButtonPicture = 72;
constexpr plat::Rect kHelpButtonPlace = plat::RectXywh(195, 125, 200, 50);
constexpr uint8_t kBlinkStepBit = 0x02;  // display-state word bit 1
constexpr int kLostFontHeight = 24;
constexpr int kLostFontSmallest = 16;
constexpr plat::Rect kWaitingPlace{0, 40, 600, 110};

constexpr plat::Color kBackground = plat::Rgb(100, 100, 100);
constexpr plat::Color kLostText = plat::Rgb(0, 0, 150);
constexpr plat::Color kBarColour = plat::Rgb(0, 125, 0);
constexpr plat::Color kBarEdge = plat::Rgb(20, 50, 20);
constexpr plat::Color kMarkerColour = plat::Rgb(0, 0, 150);
constexpr plat::Color kGrainLineColour = plat::Rgb(0, 0, 100);

struct WarningWindowState {
  plat::Bitmap helpPicture;
  MarkerSweep marker;
  int helpNode = 0;
  int helpCode = 0;
};
WarningWindowState gWarning;

plat::FontHandle Font(int height, int weight) {
  return plat::CreateFont(plat::kFaceTahoma, height, weight >= 600 ? plat::FontWeight::Bold : plat::FontWeight::Normal);
}

void CopyPicture(plat::Canvas& c, int resource, int x, int y) {
  if (const plat::Bitmap* b = plat::GetPicture(resource))
    c.BlitKeyed(x, y, b->View(), plat::Rect{0, 0, b->Width(), b->Height()}, colour::kBlack);
}

// Covers the dryer picture, whose readings are still the start-up preset's zeros.
void DrawWaitingForDryer(plat::Canvas& c) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringWaitingForDryer, text);
  c.SetFont(Font(kLostFontHeight, 700));
  c.SetTextColor(colour::kWhite);
  c.DrawText(kWaitingPlace, text, plat::Utf16Length(text),
             plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
}

void DrawConnectionLost(plat::Canvas& c) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(kWarningTextConnectionLost, text);
  // A translation longer than the place is drawn a little smaller rather than cut.
  constexpr plat::Rect kPlace{5, 5, 325, 50};
  int height = kLostFontHeight;
  while (height > kLostFontSmallest && plat::TextWidth(Font(height, 700), text) > kPlace.Width()) height -= 2;
  c.SetFont(Font(height, 700));
  c.SetTextColor(kLostText);
  c.DrawText(kPlace, text, plat::TextFlag::Left | plat::TextFlag::SingleLine);

  c.DrawLine(105, 70, 255, 70, kBarColour, 10);
  c.DrawLine(105, 65, 255, 65, kBarEdge);
  c.DrawLine(105, 75, 255, 75, kBarEdge);
  MainScreenState& ui = UiState();
  if (ui.displayState & kBlinkStepBit) {
    ui.displayState = static_cast<uint8_t>(ui.displayState & ~kBlinkStepBit);
    StepMarkerSweep(gWarning.marker);
  }
  const plat::Point from = MarkerStart(gWarning.marker), to = MarkerEnd(gWarning.marker);
  c.DrawLine(from.x, from.y, to.x, to.y, kMarkerColour, 6);
}

void DrawCentred(plat::Canvas& c, const plat::Rect& r, const char16_t* text, size_t n) {
  c.DrawText(r, text, n, plat::TextFlag::Center | plat::TextFlag::SingleLine);
}

void DrawDetails(plat::Canvas& c, const lnk::DryerStatus& s) {
  c.DrawLine(25, 50, 575, 50, colour::kRed, 2);
  c.DrawLine(25, 100, 575, 100, colour::kRed, 2);

  char16_t warning[i18n::kWarningDestUnits] = {};
  i18n::GetWarningText(s.b[lnk::kStatusWarningNode], s.b[lnk::kStatusWarningId], warning);
  char16_t first[kWarningLineUnits], second[kWarningLineUnits];
  const int lines = SplitWarningText(warning, first, second);
  c.SetFont(Font(14, 300));
  c.SetTextColor(colour::kWhite);
  if (lines == 1) {
    DrawCentred(c, kWarningOneLinePlace, first, plat::Utf16Length(first));
  } else {
    DrawCentred(c, kWarningFirstLinePlace, first, plat::Utf16Length(first));
    DrawCentred(c, kWarningSecondLinePlace, second, plat::Utf16Length(second));
  }

  const WarningTitle title = ChooseWarningTitle(s, lnk::BlinkOn());
  if (title.visible) {
    char16_t label[i18n::kStringDestUnits] = {};
    i18n::GetString(title.textId, label);
    char16_t text[i18n::kStringDestUnits + 24];
    const size_t n = FormatWarningTitle(title, label, text, sizeof text / sizeof text[0]);
    c.SetFont(Font(title.fontHeight, 900));
    c.SetTextColor(title.colour);
    DrawCentred(c, title.place, text, n);
  }
  if (ChooseWarningStyle(s) == WarningStyle::Temperature) {
    char grain[48];
    FormatWarningGrainTemperature(grain, sizeof grain, WarningGrainTemperature(s));
    c.SetFont(Font(20, 500));
    c.SetTextColor(kGrainLineColour);
    c.DrawText(kWarningGrainPlace, grain, plat::TextFlag::Center | plat::TextFlag::SingleLine);
  }
  WarningNote notes[kMaxWarningNotes];
  const int n = ChooseWarningNotes(s, notes);
  for (int i = 0; i < n; ++i) {
    char16_t text[i18n::kStringDestUnits] = {};
    i18n::GetString(notes[i].textId, text);
    c.SetFont(Font(notes[i].fontHeight, notes[i].fontWeight));
    c.SetTextColor(notes[i].colour);
    DrawCentred(c, notes[i].place, text, plat::Utf16Length(text));
  }
}

bool ShowsWaitingForDryer(WarningContent content) {
  return content != WarningContent::ConnectionLost && lnk::AwaitingFirstStatusFrame();
}

void Refresh(plat::Hwnd h) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  const WarningContent content = ChooseWarningContent(s, lnk::LinkAliveCountdown());
  if (ShowsWaitingForDryer(content)) {
    char16_t text[i18n::kStringDestUnits] = {};
    i18n::GetString(i18n::kStringWaitingForDryer, text);
    plat::SetWindowText(h, text);
    return;
  }
  if (content == WarningContent::ConnectionLost) {
    plat::SetWindowText(h, kConnectionLostCaption);
    return;
  }
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(kWarningTextCaption, caption);
  plat::SetWindowText(h, caption);
}

void Paint(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), kBackground);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  const WarningContent content = ChooseWarningContent(s, lnk::LinkAliveCountdown());
  if (ShowsWaitingForDryer(content)) {
    DrawWaitingForDryer(c);
    return;
  }
  switch (content) {
    case WarningContent::ConnectionLost:
      // Not a change of the window: the link waits for this paint to resynchronise.
      lnk::RaiseResyncRequest();
      // The pictures go first so the text and the bar stay readable where they overlap them.
      CopyPicture(c, kPictureConnectionPanel, 30, 40);
      CopyPicture(c, kPictureConnectionController, 250, 20);
      DrawConnectionLost(c);
      break;
    case WarningContent::Details:
      CopyPicture(c, kPictureWarningSign, 20, 1);
      DrawDetails(c, s);
      break;
    case WarningContent::Empty:
      break;
  }
}

void DrawHelpButton(const plat::DrawItemInfo& item) {
  if (!gWarning.helpPicture.Empty()) {
    item.canvas->Blit(0, 0, gWarning.helpPicture.View());
    return;
  }
  plat::DrawButtonFace(*item.canvas, item.rect, "HELP", false, true);
}

void OpenHelp(plat::Hwnd h) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  gWarning.helpNode = s.b[lnk::kStatusWarningNode];
  gWarning.helpCode = s.b[lnk::kStatusWarningId];
  dialogs::OpenWarningHelpDialog(h, gWarning.helpNode, gWarning.helpCode);
}

}  // namespace

plat::LResult WarningWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    Refresh(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      RegisterScreenPictures();
      i18n::LoadLocalisedBitmap(kHelpButtonPicture, gWarning.helpPicture);
      gWarning.marker = MarkerSweep{};
      plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, kWarningHelpButton, kHelpButtonPlace,
                          "WARNING_HELP", 0);
      return 0;
    case plat::Msg::Show:
      if (w != 0) Refresh(h);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      return 0;
    case plat::Msg::DrawItem:
      if (static_cast<int>(w) != kWarningHelpButton) return 0;
      DrawHelpButton(plat::DrawItemFrom(l));
      return 1;
    case plat::Msg::Command:
      if (plat::CommandId(w) == kWarningHelpButton) OpenHelp(h);
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
