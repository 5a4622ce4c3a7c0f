// DRYER_PIC_WINDOW: the dryer drawn from the status record ten times a second, the units and
// moving elements at the frames of their animation phases, and the status column beside it.
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Pictures.h"
#include "screens/DryerPictureLogic.h"
#include "screens/DryerPictures.h"
#include "screens/Screens.h"
#include "screens/StatusReading.h"

namespace screens {

namespace {

constexpr int kReadingFontHeight = 16;
constexpr int kLineFontHeight = 12;
constexpr int kReadingLinesBelow = 220;  // the two readings by the guide lines lie above this
constexpr MovingElement kElements[kMovingElementCount] = {
    MovingElement::Reverse, MovingElement::Running, MovingElement::SlowRunning,
    MovingElement::PairA, MovingElement::PairB};

// A unit stacked smaller than its picture is scaled here first, then copied with black as the
// transparent colour; allocated once, with the window.
struct DryerPicState {
  plat::Canvas scaled;
  bool markerFlag = false;
};
DryerPicState gDryerPic;

void CopyPicture(plat::Canvas& c, int resource, const plat::Rect& place) {
  const plat::Bitmap* b = plat::GetPicture(resource);
  if (b == nullptr) return;
  const plat::Rect whole{0, 0, b->Width(), b->Height()};
  if (place.Width() == b->Width() && place.Height() == b->Height()) {
    c.BlitKeyed(place.left, place.top, b->View(), whole, colour::kBlack);
    return;
  }
  if (gDryerPic.scaled.Width() < place.Width() || gDryerPic.scaled.Height() < place.Height()) return;
  const plat::Rect scaled{0, 0, place.Width(), place.Height()};
  gDryerPic.scaled.StretchBlit(scaled, b->View(), whole);
  c.BlitKeyed(place.left, place.top, gDryerPic.scaled.View(), scaled, colour::kBlack);
}

void DrawPicture(plat::Canvas& c, const lnk::DryerStatus& s, PictureLayout layout) {
  const PicturePlace tower = TowerPicture(layout);
  if (const plat::Bitmap* b = plat::GetPicture(tower.resource)) c.Blit(tower.place.left, tower.place.top, b->View());
  const int units = ShownUnitCount(s);
  for (int unit = 1; unit <= units; ++unit) {
    const UnitPicture u = ChooseUnitPicture(s, gAnimationPhases, layout, unit);
    CopyPicture(c, u.resource, u.place);
  }
  for (MovingElement e : kElements) {
    const PicturePlace p = ChooseElementPicture(gAnimationPhases, layout, e);
    CopyPicture(c, p.resource, p.place);
  }
  if (StepBlinkMarker(gDryerPic.markerFlag, s)) {
    const PicturePlace m = MarkerPicture(layout);
    CopyPicture(c, m.resource, m.place);
  }
}

void DrawGuides(plat::Canvas& c, const lnk::DryerStatus& s, PictureLayout layout) {
  const GuideLines g = ChooseGuideLines(s, layout);
  for (int i = 0; i < 2; ++i) c.DrawLine(g.from[i].x, g.from[i].y, g.to[i].x, g.to[i].y, kGuideColour);
  for (int y = g.ladderTop; y <= g.ladderBottom; y += kLadderStep)
    c.DrawLine(g.ladderLeft, y, g.ladderRight, y, kGuideColour);
  c.DrawLine(g.ladderLeft, g.ladderTop, g.ladderLeft, g.ladderBottom + 1, kGuideColour);
}

void DrawOverlay(plat::Canvas& c, const lnk::DryerStatus& s, PictureLayout layout) {
  OverlayLine lines[kMaxOverlayLines];
  const int n = MakeOverlayLines(s, layout, lines);
  const plat::FontHandle reading = plat::CreateFont(plat::kFaceTahoma, kReadingFontHeight, plat::FontWeight::Bold);
  const plat::FontHandle small = plat::CreateFont(plat::kFaceTahoma, kLineFontHeight, plat::FontWeight::Normal);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  for (int i = 0; i < n; ++i) {
    char16_t label[i18n::kStringDestUnits] = {};
    if (lines[i].textId != 0) i18n::GetString(lines[i].textId, label);
    char16_t text[i18n::kStringDestUnits + 32];
    const size_t len = FormatOverlayLine(lines[i], label, text, sizeof text / sizeof text[0]);
    c.SetFont(lines[i].place.top < kReadingLinesBelow ? reading : small);
    c.SetTextColor(lines[i].colour);
    c.DrawText(lines[i].place, text, len, plat::TextFlag::SingleLine | plat::TextFlag::NoClip);
  }
}

void Paint(plat::Hwnd h, plat::PaintContext& ctx) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  plat::Canvas& c = *ctx.canvas;
  c.FillRect(plat::GetClientRect(h), colour::kBlack);
  const PictureLayout layout = ChoosePictureLayout(s);
  DrawPicture(c, s, layout);
  DrawGuides(c, s, layout);
  DrawOverlay(c, s, layout);
}

}  // namespace

plat::LResult DryerPicWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      RegisterScreenPictures();
      if (gDryerPic.scaled.Width() == 0) gDryerPic.scaled = plat::Canvas(128, 128);
      return 0;
    case plat::Msg::EraseBackground:
      return 1;  // the paint covers every pixel
    case plat::Msg::Paint:
      Paint(h, plat::PaintFrom(l));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
