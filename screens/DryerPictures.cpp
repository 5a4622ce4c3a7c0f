#include "screens/DryerPictures.h"

#include <cmath>

#include "platform/Canvas.h"
#include "platform/Pictures.h"
#include "screens/DryerPictureLogic.h"

namespace screens {

namespace {

using plat::Canvas;
using plat::Color;
using plat::Point;
using plat::Rect;
using plat::Rgb;

// Pure black is the transparent key of the unit and element copies, so no drawn part uses it.
constexpr Color kSteel = Rgb(96, 102, 110);
constexpr Color kSteelLight = Rgb(168, 174, 182);
constexpr Color kSteelDark = Rgb(52, 56, 62);
constexpr Color kGrain = Rgb(200, 160, 64);
constexpr Color kGrainDark = Rgb(150, 112, 36);
constexpr Color kPlenumAir = Rgb(36, 40, 58);
constexpr Color kFlameOuter = Rgb(255, 110, 0);
constexpr Color kFlameInner = Rgb(255, 220, 60);
constexpr Color kAlarmRed = Rgb(220, 20, 20);
constexpr double kPi = 3.14159265358979;

int Scale(int v, int of, int size) { return v * size / of; }

// ---- Tower ----

void DrawGrainColumn(Canvas& c, Rect r) {
  c.FillRect(r, kGrain);
  for (int y = r.top + 1; y < r.bottom; y += 4)
    for (int x = r.left + ((y / 4) % 2) * 2; x < r.right; x += 4) c.SetPixel(x, y, kGrainDark);
  // The perforated screens that hold the grain in its column.
  c.FrameRect(r, kSteelLight);
  for (int y = r.top + 3; y < r.bottom; y += 6) {
    c.SetPixel(r.left, y, kSteelDark);
    c.SetPixel(r.right - 1, y, kSteelDark);
  }
}

void DrawTower(Canvas& c, int modules, bool series) {
  const int w = c.Width();
  const int h = c.Height();
  const int bodyTop = 30;
  const int bodyBottom = h - 28;
  const Point roof[] = {{8, bodyTop}, {w / 2, 4}, {w - 8, bodyTop}};
  c.FillPolygon(roof, 3, Rgb(128, 130, 140));
  c.DrawPolyline(roof, 3, kSteelLight, 2);
  // The fill spout on the ridge.
  c.FillRect(Rect{w / 2 - 6, 0, w / 2 + 6, 10}, kSteelLight);

  c.FillRect(Rect{10, bodyTop, w - 10, bodyBottom}, kSteel);
  DrawGrainColumn(c, Rect{16, bodyTop + 2, 44, bodyBottom - 2});
  DrawGrainColumn(c, Rect{w - 44, bodyTop + 2, w - 16, bodyBottom - 2});
  c.FillRect(Rect{44, bodyTop + 2, w - 44, bodyBottom - 2}, kPlenumAir);
  // Warm air rising in the plenum.
  for (int y = bodyTop + 14; y < bodyBottom - 8; y += 22)
    for (int x = 56; x < w - 56; x += 24) {
      const Point arrow[] = {{x, y + 8}, {x + 5, y}, {x + 10, y + 8}};
      c.DrawPolyline(arrow, 3, Rgb(70, 90, 140), 1);
    }
  const int moduleHeight = (bodyBottom - bodyTop) / (modules < 1 ? 1 : modules);
  for (int m = 1; m < modules; ++m) {
    const int y = bodyTop + m * moduleHeight;
    c.FillRect(Rect{10, y - 2, w - 10, y + 2}, kSteelLight);
  }
  if (series) c.FillRect(Rect{w / 2 - 1, bodyTop + 2, w / 2 + 1, bodyBottom - 2}, kSteelLight);
  c.FrameRect(Rect{10, bodyTop, w - 10, bodyBottom}, kSteelLight, 2);

  // Discharge hopper and legs.
  const Point hopper[] = {{10, bodyBottom}, {w - 10, bodyBottom}, {w / 2 + 14, h - 8}, {w / 2 - 14, h - 8}};
  c.FillPolygon(hopper, 4, Rgb(110, 112, 120));
  c.DrawPolyline(hopper, 4, kSteelLight, 1);
  c.FillRect(Rect{14, bodyBottom, 20, h}, kSteelDark);
  c.FillRect(Rect{w - 20, bodyBottom, w - 14, h}, kSteelDark);
}

template <int Modules, bool Series>
void TowerPicture(Canvas& c) {
  DrawTower(c, Modules, Series);
}

// ---- Fan/heater units ----

void DrawFan(Canvas& c, Point centre, int radius, int frame, Color blade, Color housing) {
  c.FillEllipse(Rect{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius}, housing);
  c.FrameEllipse(Rect{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius},
                 kSteelLight, 2);
  // Three blades 120 degrees apart; each frame turns them by 40 degrees.
  for (int k = 0; k < 3; ++k) {
    const double a = (k * 120 + frame * 40) * kPi / 180.0;
    const double r = radius * 0.85;
    const Point p[] = {
        {centre.x, centre.y},
        {centre.x + static_cast<int>(r * std::cos(a - 0.35)), centre.y + static_cast<int>(r * std::sin(a - 0.35))},
        {centre.x + static_cast<int>(r * std::cos(a + 0.15)), centre.y + static_cast<int>(r * std::sin(a + 0.15))},
    };
    c.FillPolygon(p, 3, blade);
  }
  const int hub = radius / 5 + 1;
  c.FillEllipse(Rect{centre.x - hub, centre.y - hub, centre.x + hub, centre.y + hub}, kSteelLight);
}

void DrawFlames(Canvas& c, Rect box, int frame) {
  const int n = 3;
  const int w = box.Width() / n;
  static constexpr int kHeights[3][3] = {{90, 65, 80}, {70, 95, 60}, {80, 70, 95}};
  for (int i = 0; i < n; ++i) {
    const int left = box.left + i * w;
    const int height = box.Height() * kHeights[frame % 3][i] / 100;
    const Point outer[] = {{left + 1, box.bottom}, {left + w / 2, box.bottom - height}, {left + w - 1, box.bottom}};
    c.FillPolygon(outer, 3, kFlameOuter);
    const Point inner[] = {{left + w / 4 + 1, box.bottom}, {left + w / 2, box.bottom - height / 2},
                           {left + 3 * w / 4, box.bottom}};
    c.FillPolygon(inner, 3, kFlameInner);
  }
}

void DrawWarningTriangle(Canvas& c, Rect r, Color fill) {
  const Point t[] = {{r.left, r.bottom}, {(r.left + r.right) / 2, r.top}, {r.right, r.bottom}};
  c.FillPolygon(t, 3, fill);
  c.DrawPolyline(t, 3, kAlarmRed, 2);
  const int cx = (r.left + r.right) / 2;
  c.FillRect(Rect{cx - 1, r.top + r.Height() / 3, cx + 2, r.bottom - r.Height() / 4}, Rgb(20, 20, 20));
  c.FillRect(Rect{cx - 1, r.bottom - r.Height() / 6, cx + 2, r.bottom - 2}, Rgb(20, 20, 20));
}

void DrawUnit(Canvas& c, UnitSet set, int frame) {
  const int w = c.Width();
  const int h = c.Height();
  auto X = [w](int v) { return Scale(v, 111, w); };
  auto Y = [h](int v) { return Scale(v, 113, h); };
  const bool alarm = set == UnitSet::S;
  const Color body = alarm ? Rgb(110, 40, 40) : Rgb(74, 80, 88);
  c.FillRect(Rect{X(3), Y(3), X(108), Y(110)}, body);
  c.FrameRect(Rect{X(3), Y(3), X(108), Y(110)}, kSteelLight, 2);

  const bool turning = set != UnitSet::P;
  const Color blade = turning ? Rgb(120, 220, 255) : Rgb(130, 134, 140);
  DrawFan(c, Point{X(38), Y(44)}, X(30) < Y(30) ? X(30) : Y(30), set == UnitSet::P ? 0 : frame, blade,
          Rgb(30, 34, 40));

  // The burner: a box with a window that shows the flames while it fires.
  const Rect burner{X(74), Y(14), X(103), Y(78)};
  c.FillRect(burner, kSteelDark);
  c.FrameRect(burner, kSteelLight);
  const Rect window{burner.left + 3, burner.top + 4, burner.right - 3, burner.bottom - 4};
  c.FillRect(window, Rgb(28, 24, 24));
  if (set == UnitSet::R) DrawFlames(c, window, frame);

  const Color plate = set == UnitSet::P   ? Rgb(120, 120, 120)
                      : set == UnitSet::Q ? Rgb(40, 190, 60)
                      : set == UnitSet::R ? Rgb(240, 140, 20)
                                          : kAlarmRed;
  c.FillRect(Rect{X(10), Y(86), X(101), Y(102)}, plate);
  if (alarm && frame != 1) DrawWarningTriangle(c, Rect{X(78), Y(20), X(100), Y(44)}, Rgb(255, 220, 0));
}

template <UnitSet Set, int Frame>
void UnitPicture(Canvas& c) {
  DrawUnit(c, Set, Frame);
}

// ---- Moving elements ----

void Conveyor(Canvas& c, int frame) {
  const int w = c.Width();
  const int h = c.Height();
  c.FillRect(Rect{4, 3, w - 4, h - 3}, kSteelDark);
  c.FillEllipse(Rect{0, 1, h - 2, h - 1}, kSteelLight);
  c.FillEllipse(Rect{w - h + 2, 1, w, h - 1}, kSteelLight);
  for (int x = h + frame * 4; x < w - h; x += 12) c.FillEllipse(Rect{x, 4, x + 6, h - 4}, kGrain);
}
template <int Frame>
void RunningPicture(Canvas& c) {
  Conveyor(c, Frame);
}

template <int Frame>
void ReversePicture(Canvas& c) {
  const int h = c.Height();
  c.FillRect(Rect{0, 2, c.Width(), h - 2}, kSteelDark);
  for (int x = 4 + Frame * 5; x < c.Width() - 6; x += 15) {
    const Point chevron[] = {{x + 8, 3}, {x, h / 2}, {x + 8, h - 3}};
    c.DrawPolyline(chevron, 3, Rgb(255, 200, 0), 2);
  }
}

template <int Frame>
void SlowRunningPicture(Canvas& c) {
  const int w = c.Width();
  const int h = c.Height();
  c.FillRect(Rect{0, 2, w, 9}, kSteelLight);  // the fill auger's tube
  for (int x = 2 + Frame * 3; x < w - 2; x += 9) c.DrawLine(x, 3, x + 4, 8, kSteelDark, 1);
  for (int y = 10 + Frame * 3; y < h; y += 5) c.SetPixel(w / 2 + (y % 3) - 1, y, kGrain);
}

template <int Frame>
void MeterRollPicture(Canvas& c) {
  const int w = c.Width();
  const Point centre{w / 2, c.Height() / 2};
  const int r = w / 2 - 2;
  c.FillEllipse(Rect{centre.x - r, centre.y - r, centre.x + r, centre.y + r}, kSteel);
  c.FrameEllipse(Rect{centre.x - r, centre.y - r, centre.x + r, centre.y + r}, kSteelLight, 2);
  for (int k = 0; k < 4; ++k) {
    const double a = (k * 90 + Frame * 30) * kPi / 180.0;
    c.DrawLine(centre.x, centre.y, centre.x + static_cast<int>((r - 2) * std::cos(a)),
               centre.y + static_cast<int>((r - 2) * std::sin(a)), kGrain, 3);
  }
}

void MarkerPicture(Canvas& c) {
  c.FillEllipse(Rect{1, 1, c.Width() - 1, c.Height() - 1}, Rgb(255, 200, 0));
  c.FrameEllipse(Rect{1, 1, c.Width() - 1, c.Height() - 1}, kAlarmRed, 2);
}

// ---- Warning window ----

// The panel stands in the left part of its picture; the rest stays transparent, so the
// connection bar that starts beside it shows.
void PanelPicture(Canvas& c) {
  c.FillRect(Rect{2, 6, 72, 52}, Rgb(60, 64, 72));
  c.FillRect(Rect{7, 11, 67, 47}, Rgb(40, 90, 150));
  c.FillRect(Rect{11, 15, 35, 43}, Rgb(200, 160, 64));  // the dryer on its screen
  c.FillRect(Rect{40, 17, 62, 21}, Rgb(0, 220, 0));
  c.FillRect(Rect{40, 26, 62, 30}, Rgb(255, 255, 0));
  c.FillRect(Rect{40, 35, 62, 39}, Rgb(255, 255, 255));
  c.FillRect(Rect{30, 52, 44, 64}, Rgb(60, 64, 72));
  c.FillRect(Rect{16, 64, 58, 70}, Rgb(60, 64, 72));
}

void ControllerPicture(Canvas& c) {
  c.FillRect(Rect{8, 2, 92, 122}, Rgb(170, 172, 160));
  c.FrameRect(Rect{8, 2, 92, 122}, Rgb(90, 92, 90), 2);
  c.FillRect(Rect{18, 12, 82, 40}, Rgb(30, 60, 30));
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) {
      const Color lamp = (row + col) % 3 == 0 ? Rgb(220, 30, 30) : Rgb(30, 200, 30);
      c.FillEllipse(plat::RectXywh(20 + col * 16, 52 + row * 18, 10, 10), lamp);
    }
  c.FillRect(Rect{20, 108, 80, 114}, Rgb(90, 92, 90));
}

void WarningSignPicture(Canvas& c) {
  DrawWarningTriangle(c, Rect{4, 4, 96, 88}, Rgb(255, 210, 0));
}

using plat::PictureEntry;
constexpr int kUnitW = 111, kUnitH = 113, kSmallW = 96, kSmallH = 64;

constexpr PictureEntry kPictures[] = {
    {picture::kTowerA, 180, 380, TowerPicture<2, false>},
    {picture::kTowerB, 180, 380, TowerPicture<3, false>},
    {picture::kTowerC, 180, 315, TowerPicture<1, false>},
    {picture::kTowerD, 180, 315, TowerPicture<1, true>},
    {picture::kUnitCP + 0, kUnitW, kUnitH, UnitPicture<UnitSet::P, 0>},
    {picture::kUnitCP + 1, kUnitW, kUnitH, UnitPicture<UnitSet::P, 1>},
    {picture::kUnitCP + 2, kUnitW, kUnitH, UnitPicture<UnitSet::P, 2>},
    {picture::kUnitCQ + 0, kUnitW, kUnitH, UnitPicture<UnitSet::Q, 0>},
    {picture::kUnitCQ + 1, kUnitW, kUnitH, UnitPicture<UnitSet::Q, 1>},
    {picture::kUnitCQ + 2, kUnitW, kUnitH, UnitPicture<UnitSet::Q, 2>},
    {picture::kUnitCS + 0, kUnitW, kUnitH, UnitPicture<UnitSet::S, 0>},
    {picture::kUnitCS + 1, kUnitW, kUnitH, UnitPicture<UnitSet::S, 1>},
    {picture::kUnitCS + 2, kUnitW, kUnitH, UnitPicture<UnitSet::S, 2>},
    {picture::kUnitCR + 0, kUnitW, kUnitH, UnitPicture<UnitSet::R, 0>},
    {picture::kUnitCR + 1, kUnitW, kUnitH, UnitPicture<UnitSet::R, 1>},
    {picture::kUnitCR + 2, kUnitW, kUnitH, UnitPicture<UnitSet::R, 2>},
    {picture::kUnitSmallP + 0, kSmallW, kSmallH, UnitPicture<UnitSet::P, 0>},
    {picture::kUnitSmallP + 1, kSmallW, kSmallH, UnitPicture<UnitSet::P, 1>},
    {picture::kUnitSmallP + 2, kSmallW, kSmallH, UnitPicture<UnitSet::P, 2>},
    {picture::kUnitSmallQ + 0, kSmallW, kSmallH, UnitPicture<UnitSet::Q, 0>},
    {picture::kUnitSmallQ + 1, kSmallW, kSmallH, UnitPicture<UnitSet::Q, 1>},
    {picture::kUnitSmallQ + 2, kSmallW, kSmallH, UnitPicture<UnitSet::Q, 2>},
    {picture::kUnitSmallS + 0, kSmallW, kSmallH, UnitPicture<UnitSet::S, 0>},
    {picture::kUnitSmallS + 1, kSmallW, kSmallH, UnitPicture<UnitSet::S, 1>},
    {picture::kUnitSmallS + 2, kSmallW, kSmallH, UnitPicture<UnitSet::S, 2>},
    {picture::kUnitSmallR + 0, kSmallW, kSmallH, UnitPicture<UnitSet::R, 0>},
    {picture::kUnitSmallR + 1, kSmallW, kSmallH, UnitPicture<UnitSet::R, 1>},
    {picture::kUnitSmallR + 2, kSmallW, kSmallH, UnitPicture<UnitSet::R, 2>},
    {picture::kReverse + 0, 50, 14, ReversePicture<0>},
    {picture::kReverse + 1, 50, 14, ReversePicture<1>},
    {picture::kReverse + 2, 50, 14, ReversePicture<2>},
    {picture::kRunning + 0, 160, 15, RunningPicture<0>},
    {picture::kRunning + 1, 160, 15, RunningPicture<1>},
    {picture::kRunning + 2, 160, 15, RunningPicture<2>},
    {picture::kSlowRunning + 0, 60, 20, SlowRunningPicture<0>},
    {picture::kSlowRunning + 1, 60, 20, SlowRunningPicture<1>},
    {picture::kSlowRunning + 2, 60, 20, SlowRunningPicture<2>},
    {picture::kPairA + 0, 30, 30, MeterRollPicture<0>},
    {picture::kPairA + 1, 30, 30, MeterRollPicture<1>},
    {picture::kPairA + 2, 30, 30, MeterRollPicture<2>},
    {picture::kPairB + 0, 30, 30, MeterRollPicture<0>},
    {picture::kPairB + 1, 30, 30, MeterRollPicture<1>},
    {picture::kPairB + 2, 30, 30, MeterRollPicture<2>},
    {picture::kMarker, 16, 16, MarkerPicture},
    {kPictureConnectionPanel, 100, 75, PanelPicture},
    {kPictureConnectionController, 100, 124, ControllerPicture},
    {kPictureWarningSign, 100, 92, WarningSignPicture},
};

}  // namespace

void RegisterScreenPictures() {
  plat::RegisterPictures(kPictures, sizeof kPictures / sizeof kPictures[0]);
}

}  // namespace screens
