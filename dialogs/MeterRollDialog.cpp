#include "dialogs/MeterRollDialog.h"

#include <atomic>
#include <cstdio>

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"

namespace dialogs {

namespace {

// Request 0:187: two speeds in mode 1, tracking of the centre in mode 2.
constexpr uint8_t kTwoSpeedsBit = lnk::kMoistureModeBit6;
constexpr uint8_t kTrackingBit = lnk::kMoistureModeBit5;
constexpr uint8_t kCriteriaMeterRollBit = lnk::kDryingCriteriaBit1;  // request 0:224, set on ACCEPT in mode 2
constexpr int kTrackingHighPercent = 115;
constexpr int kTrackingLowPercent = 85;

constexpr const char* kTrackingQuestion =
    "The HI setpoint will be placed 15% above the center setpoint and the LOW setpoint 15% below "
    "it.\nTheir present settings will be lost.\n\nSwitch to tracking of the center?";
constexpr const char* kAutomaticNote =
    "NOTE:  The dryer has automatic moisture control selected. No manual adjustments of the "
    "meter roll speeds are allowed in automatic mode.";

constexpr plat::Color kBarBack = plat::Rgb(30, 30, 30);
constexpr plat::Color kBarFill = plat::Rgb(0, 170, 0);
constexpr plat::Color kBarSelected = plat::Rgb(255, 200, 0);
constexpr plat::Color kScaleColour = plat::Rgb(0, 0, 0);

struct BarPlace {
  uint8_t speed;  // the value of request 0:159 that selects this bar
  int reg;  // the working value in the request array
  const char* label;
  plat::Rect bar;
};
constexpr int kBarTop = 40;
constexpr int kBarBottom = 240;
constexpr BarPlace kBars[3] = {
    {lnk::kMeterRollSpeedHigh, lnk::kRequestMeterRollHigh, "HIGH SP", {110, kBarTop, 170, kBarBottom}},
    {lnk::kMeterRollSpeedMedium, lnk::kRequestMeterRollMedium, "MAIN SP", {210, kBarTop, 270, kBarBottom}},
    {lnk::kMeterRollSpeedLow, lnk::kRequestMeterRollLow, "LOW SP", {310, kBarTop, 370, kBarBottom}},
};
constexpr const char* kScaleMarks[4] = {"-25%", "-50%", "-75%", "-100%"};

constexpr plat::DialogControl Button(int id, int y, const char* text) {
  return plat::DialogControl{.kind = plat::ControlKind::PushButton, .id = id,
                             .rect = plat::RectXywh(450, y, 170, 56), .text = text,
                             .style = plat::ControlStyle::Center | plat::ControlStyle::Multiline};
}
constexpr plat::DialogControl kControls[] = {
    Button(kMeterRollIncrease, 8, "INCREASE"),   Button(kMeterRollDecrease, 70, "DECREASE"),
    Button(kMeterRollSelect, 132, "SELECT"),     Button(kMeterRollMode, 194, "MODE"),
    Button(kMeterRollAccept, 300, "ACCEPT / EXIT"), Button(kMeterRollCancel, 362, "CANCEL / EXIT"),
};
constexpr plat::DialogTemplate kTemplate{
    .id = kMeterRollDialogId,
    .caption = "MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23",
    .rect = plat::RectXywh(0, 0, 640, 456),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// Read by the link thread while the dialog is open; the opening itself is the dialog's
// parameter.
struct MeterRollState {
  std::atomic<bool> visible{false};
  std::atomic<bool> question{false};
  std::atomic<bool> byScreen{false};
};
MeterRollState gMeterRoll;

const MeterRollOpening& OpeningOf(plat::Hwnd dialog) {
  return *static_cast<const MeterRollOpening*>(plat::GetWindowData(dialog));
}

int Mode(const lnk::DryerStatus& s) { return s.b[lnk::kStatusMoistureControlMode] & lnk::kMoistureModeMask; }
bool Automatic(int mode) { return mode >= lnk::kModeMoistureVariable && mode <= lnk::kModeTemperature5Speed; }
bool TrackingOn() { return (lnk::ReadRequestByte(lnk::kRequestMoistureControlMode) & kTrackingBit) != 0; }

lnk::DryerStatus Snapshot() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  return s;
}

// HIGH and LOW follow MEDIUM while tracking of the centre is on.
void ApplyTracking() {
  if (!TrackingOn()) return;
  const int medium = lnk::ReadRequestByte(lnk::kRequestMeterRollMedium);
  int high = medium * kTrackingHighPercent / 100;
  if (high > kMeterRollMaximum) high = kMeterRollMaximum;
  lnk::WriteRequestByte(lnk::kRequestMeterRollHigh, static_cast<uint8_t>(high));
  lnk::WriteRequestByte(lnk::kRequestMeterRollLow, static_cast<uint8_t>(medium * kTrackingLowPercent / 100));
}

// The mode button names what the mode byte holds now; run on opening and after every press.
void RefreshModeButton(plat::Hwnd dialog) {
  const int mode = Mode(Snapshot());
  const uint8_t request = lnk::ReadRequestByte(lnk::kRequestMoistureControlMode);
  const char* text = "MODE";
  if (mode == lnk::kModeTemperature2Speed) text = (request & kTwoSpeedsBit) != 0 ? "TWO SPEEDS" : "ONE SPEED";
  if (mode == lnk::kModeCenterTracking) text = TrackingOn() ? "TRACKING ON" : "TRACKING OFF";
  plat::SetDlgItemText(dialog, kMeterRollMode, text);
}

void Open(plat::Hwnd dialog) {
  const lnk::DryerStatus s = Snapshot();
  const int mode = Mode(s);
  lnk::WriteRequestByte(lnk::kRequestMeterRoll0, s.b[lnk::kStatusMeterRoll0]);
  lnk::WriteRequestByte(lnk::kRequestMeterRollHigh, s.b[lnk::kStatusMeterRoll1]);
  const bool fromSensor = mode == lnk::kModeMoisture5Speed || mode == lnk::kModeTemperature5Speed;
  lnk::WriteRequestByte(lnk::kRequestMeterRollMedium, fromSensor ? s.b[lnk::kStatusMeterRollValue230] : s.b[lnk::kStatusMeterRoll2]);
  lnk::WriteRequestByte(lnk::kRequestMeterRollLow, s.b[lnk::kStatusMeterRoll3]);
  lnk::LowerPending(lnk::CommandRow::MeterRollSpeedMode);
  lnk::RaisePending(lnk::CommandRow::MeterRollFromStatus230);
  // The mode byte is changed bit by bit here, so it starts from the controller's value.
  lnk::LoadRequestFromStatus(lnk::CommandRow::MoistureControlMode);
  const bool arrows = gMeterRoll.question.load() || gMeterRoll.byScreen.load();
  for (int id : {kMeterRollIncrease, kMeterRollDecrease, kMeterRollSelect})
    plat::EnableDlgItem(dialog, id, arrows && !Automatic(mode));
  if (arrows) lnk::ApplyMeterRollSpeedModeRule();
  ApplyTracking();
  RefreshModeButton(dialog);
}

int SelectedRegister() {
  switch (lnk::ReadRequestByte(lnk::kRequestMeterRollMode)) {
    case lnk::kMeterRollSpeedHigh: return lnk::kRequestMeterRollHigh;
    case lnk::kMeterRollSpeedMedium: return lnk::kRequestMeterRollMedium;
    case lnk::kMeterRollSpeedLow: return lnk::kRequestMeterRollLow;
    default: return -1;
  }
}

void Step(int delta) {
  const int reg = SelectedRegister();
  if (reg < 0) return;
  const int v = lnk::ReadRequestByte(reg);
  if (delta > 0 && v < kMeterRollMaximum) lnk::WriteRequestByte(reg, static_cast<uint8_t>(v + 1));
  if (delta < 0 && v > 0) lnk::WriteRequestByte(reg, static_cast<uint8_t>(v - 1));
  ApplyTracking();
}

void ToggleModeBit(plat::Hwnd dialog) {
  const int mode = Mode(Snapshot());
  lnk::LoadRequestFromStatus(lnk::CommandRow::MoistureControlMode);
  uint8_t request = lnk::ReadRequestByte(lnk::kRequestMoistureControlMode);
  if (mode == lnk::kModeTemperature2Speed) {
    request ^= kTwoSpeedsBit;
  } else if (mode == lnk::kModeCenterTracking) {
    if (!TrackingOn()) {
      const int answer = plat::MessageBox(dialog, kTrackingQuestion, kTrackingCaption,
                                          plat::MbButtons::YesNoCancel, plat::MbIcon::Question);
      if (answer == plat::IdYes) request |= kTrackingBit;
    } else {
      request &= static_cast<uint8_t>(~kTrackingBit);
      lnk::RaisePending(lnk::CommandRow::MeterRollSpeeds);
    }
  }
  lnk::WriteRequestByte(lnk::kRequestMoistureControlMode, request);
  lnk::RaisePending(lnk::CommandRow::MoistureControlMode);
  ApplyTracking();
}

void Leave(plat::Hwnd dialog, int result) {
  uint8_t* reminder = OpeningOf(dialog).reminder;
  if (reminder != nullptr) *reminder = 0;
  plat::EndDialog(dialog, result);
}

void Accept(plat::Hwnd dialog) {
  const lnk::DryerStatus s = Snapshot();
  if (Mode(s) == lnk::kModeCenterTracking) lnk::RequestBits(lnk::kRequestDryingCriteria, kCriteriaMeterRollBit, 0, lnk::CommandRow::DryingCriteria);
  struct Copy { int working, statusByte; lnk::CommandRow row; };
  constexpr Copy kCopies[3] = {
      {lnk::kRequestMeterRollHigh, lnk::kStatusMeterRoll1, lnk::CommandRow::MeterRollValue1},
      {lnk::kRequestMeterRollMedium, lnk::kStatusMeterRoll2, lnk::CommandRow::MeterRollValue2},
      {lnk::kRequestMeterRollLow, lnk::kStatusMeterRoll3, lnk::CommandRow::MeterRollValue3},
  };
  for (const Copy& c : kCopies) {
    const uint8_t v = lnk::ReadRequestByte(c.working);
    if (v != s.b[c.statusByte]) lnk::RequestByte(c.statusByte, v, c.row);
  }
  if (gMeterRoll.question.load()) {
    lnk::RaisePending(lnk::CommandRow::MeterRollCopyOver);
    lnk::WriteStatusByte(lnk::kStatusMeterRollMode, lnk::ReadRequestByte(lnk::kRequestMeterRollMode));
  }
  Leave(dialog, kMeterRollAccept);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  switch (id) {
    case kMeterRollIncrease: Step(+1); break;
    case kMeterRollDecrease: Step(-1); break;
    case kMeterRollSelect:
      lnk::ApplyMeterRollSpeedModeRule();
      lnk::RaisePending(lnk::CommandRow::MeterRollSpeedMode);
      break;
    case kMeterRollMode: ToggleModeBit(dialog); break;
    case kMeterRollAccept: Accept(dialog); return true;
    case kMeterRollCancel:
      lnk::RaisePending(lnk::CommandRow::MeterRollRestore);
      Leave(dialog, kMeterRollCancel);
      return true;
    default: return false;
  }
  RefreshModeButton(dialog);
  plat::InvalidateRect(dialog, nullptr, false);
  return true;
}

void DrawBars(plat::Canvas& c) {
  const int selected = lnk::ReadRequestByte(lnk::kRequestMeterRollMode);
  const plat::FontHandle small = plat::CreateFont(plat::kFaceTahoma, 13, plat::FontWeight::Normal);
  const plat::FontHandle bold = plat::CreateFont(plat::kFaceTahoma, 16, plat::FontWeight::Bold);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.SetTextColor(kScaleColour);
  c.SetFont(small);
  const int height = kBarBottom - kBarTop;
  for (int i = 0; i < 4; ++i) {
    const int y = kBarTop + height * (i + 1) / 4;
    c.DrawLine(60, y, 390, y, plat::Rgb(120, 120, 120));
    c.DrawText(plat::Rect{10, y - 8, 58, y + 8}, kScaleMarks[i], plat::TextFlag::Right | plat::TextFlag::SingleLine);
  }
  for (const BarPlace& b : kBars) {
    const int v = lnk::ReadRequestByte(b.reg);
    c.FillRect(b.bar, kBarBack);
    const int top = b.bar.bottom - height * (v > kMeterRollMaximum ? kMeterRollMaximum : v) / kMeterRollMaximum;
    c.FillRect(plat::Rect{b.bar.left + 4, top, b.bar.right - 4, b.bar.bottom}, b.speed == selected ? kBarSelected : kBarFill);
    c.SetFont(bold);
    c.DrawText(plat::Rect{b.bar.left - 20, 14, b.bar.right + 20, 36}, b.label, plat::TextFlag::Center | plat::TextFlag::SingleLine);
    char value[12];
    std::snprintf(value, sizeof value, "%04d", v * 10);
    c.FillRect(plat::Rect{b.bar.left - 20, 246, b.bar.right + 20, 268}, plat::kDialogBackground);
    c.DrawText(plat::Rect{b.bar.left - 20, 246, b.bar.right + 20, 268}, value, plat::TextFlag::Center | plat::TextFlag::SingleLine);
  }
}

void Paint(plat::Canvas& c) {
  const int mode = Mode(Snapshot());
  DrawBars(c);
  if (Automatic(mode)) {
    c.SetFont(plat::CreateFont(plat::kFaceTahoma, 16, plat::FontWeight::Bold));
    c.SetTextColor(plat::Rgb(160, 0, 0));
    c.DrawText(plat::Rect{20, 290, 430, 420}, kAutomaticNote, plat::TextFlag::WordBreak);
  }
}

bool MeterRollProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      plat::CenterOverParent(dialog);
      Open(dialog);
      return true;
    case plat::Msg::Paint:
      Paint(*plat::PaintFrom(l).canvas);
      return false;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int OpenMeterRollDialog(plat::Hwnd parent, const MeterRollOpening& opening) {
  gMeterRoll.question = opening.question;
  gMeterRoll.visible = true;
  const int result = plat::DialogBox(parent, kTemplate, MeterRollProc, reinterpret_cast<plat::LParam>(&opening));
  gMeterRoll.visible = false;
  gMeterRoll.question = false;
  return result;
}

bool MeterRollDialogVisible() { return gMeterRoll.visible.load(); }
bool MeterRollQuestionPending() { return gMeterRoll.question.load(); }

void SetMeterRollByScreen(bool on) { gMeterRoll.byScreen = on; }
bool MeterRollByScreen() { return gMeterRoll.byScreen.load(); }

}  // namespace dialogs
