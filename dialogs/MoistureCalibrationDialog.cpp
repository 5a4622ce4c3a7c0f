#include "dialogs/MoistureCalibrationDialog.h"

#include <cstdio>

#include "dialogs/DialogText.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"

using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::LoadRequestFromStatus;
using lnk::ReadRequestByte;
using lnk::RequestSettingIfChanged;
using lnk::StatusU16HighFirst;
using lnk::TakeStatusSnapshot;
using lnk::WriteRequestByte;
using lnk::kStatusIncomingGrainTenthsF;
using lnk::kStatusIncomingMoisture;
using lnk::kStatusMoistureCalibration1;
using lnk::kStatusMoistureCalibration2;
using lnk::kStatusMoistureCalibration3;
using lnk::kStatusMoistureCalibration4;
using lnk::kStatusOutgoingGrainTenthsF;
using lnk::kStatusOutgoingMoisture;

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringCaption = 35;
constexpr int kStringWetSensor = 36;
constexpr int kStringDrySensor = 37;
constexpr int kStringMoisture = 38;
constexpr int kStringTemperature = 39;
constexpr int kStringWetMoistureOffset = 40;
constexpr int kStringHelpCaption = 362;
constexpr char kHelpFile[] = "MoistSensorCalibHelp.txt";

constexpr plat::Color kReadingsBackground = plat::Rgb(225, 225, 225);
constexpr plat::Color kReadingValue = plat::Rgb(0, 0, 100);
constexpr plat::Color kHeading = plat::Rgb(0, 0, 0);
constexpr int kReadingFont = 16;
// The live readings follow the controller at the link's pace.
constexpr uint32_t kReadingsTimer = 1;
constexpr uint32_t kReadingsPeriodMs = 350;

// One offset: its registers (high byte first), the row that sends them, its field and arrows,
// and where its group sits. Wet on the left under the wet readings, dry on the right.
struct Offset {
  int reg;
  CommandRow row;
  int field;
  int up;
  int down;
  int groupX;
  int groupY;
};
constexpr int kGroupWidth = 280;
constexpr int kGroupHeight = 100;
constexpr Offset kOffsets[4] = {
    {kStatusMoistureCalibration2, CommandRow::MoistureCalibration2, kCalibrationWetMoistureField,
     kCalibrationWetMoistureUp, kCalibrationWetMoistureDown, 10, 112},
    {kStatusMoistureCalibration1, CommandRow::MoistureCalibration1, kCalibrationDryMoistureField,
     kCalibrationDryMoistureUp, kCalibrationDryMoistureDown, 300, 112},
    {kStatusMoistureCalibration4, CommandRow::MoistureCalibration4, kCalibrationWetTemperatureField,
     kCalibrationWetTemperatureUp, kCalibrationWetTemperatureDown, 10, 220},
    {kStatusMoistureCalibration3, CommandRow::MoistureCalibration3, kCalibrationDryTemperatureField,
     kCalibrationDryTemperatureUp, kCalibrationDryTemperatureDown, 300, 220},
};
// Group ids are the dialog's own: the labels take strings 40..43 in the order above.
constexpr int kGroupIdBase = 1300;

constexpr plat::Rect kReadings{10, 6, 580, 104};
constexpr plat::Rect kReadingColumns[2] = {{20, 10, 290, 100}, {310, 10, 575, 100}};

constexpr DialogControl Group(int i) {
  const Offset& o = kOffsets[i];
  return {.kind = ControlKind::GroupBox, .id = kGroupIdBase + i,
          .rect = RectXywh(o.groupX, o.groupY, kGroupWidth, kGroupHeight), .text = ""};
}
constexpr DialogControl Field(int i) {
  const Offset& o = kOffsets[i];
  return {.kind = ControlKind::Edit, .id = o.field, .rect = RectXywh(o.groupX + 14, o.groupY + 34, 110, 48),
          .text = "0.0", .style = Style::Center | Style::Border};
}
constexpr DialogControl Arrow(int i, bool up) {
  const Offset& o = kOffsets[i];
  return {.kind = ControlKind::PushButton, .id = up ? o.up : o.down,
          .rect = RectXywh(o.groupX + (up ? 140 : 208), o.groupY + 34, 60, 48), .text = up ? "+" : "-",
          .style = Style::Center};
}

constexpr DialogControl kControls[] = {
    Group(0), Field(0), Arrow(0, true), Arrow(0, false),
    Group(1), Field(1), Arrow(1, true), Arrow(1, false),
    Group(2), Field(2), Arrow(2, true), Arrow(2, false),
    Group(3), Field(3), Arrow(3, true), Arrow(3, false),
    {.kind = ControlKind::PushButton, .id = kCalibrationHelp, .rect = RectXywh(10, 332, 180, 50), .text = "HELP",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kCalibrationAccept, .rect = RectXywh(400, 332, 180, 50),
     .text = "ACCEPT", .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kMoistureCalibrationDialogId,
    .caption = "MOISTURE SENSOR CALIBRATION - 36",
    .rect = RectXywh(0, 0, 592, 420),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

void ShowHelp(plat::Hwnd owner) { ShowHelpFile(owner, kHelpFile, kStringHelpCaption); }

int ReadOffset(int reg) {
  return static_cast<int16_t>(static_cast<uint16_t>((ReadRequestByte(reg) << 8) | ReadRequestByte(reg + 1)));
}

void WriteOffset(int reg, int offset) {
  const auto v = static_cast<uint16_t>(static_cast<int16_t>(offset));
  WriteRequestByte(reg, static_cast<uint8_t>(v >> 8));
  WriteRequestByte(reg + 1, static_cast<uint8_t>(v & 0xFF));
}

void ShowOffset(plat::Hwnd dialog, const Offset& o) {
  char text[16];
  FormatCalibrationOffset(ReadOffset(o.reg), text, sizeof text);
  plat::SetDlgItemText(dialog, o.field, text);
}

void Open(plat::Hwnd dialog) {
  // An offset still on its way keeps the value sent; the others start from the controller's.
  for (const Offset& o : kOffsets) LoadRequestFromStatus(o.row);
  SetString(dialog, 0, kStringCaption);
  for (int i = 0; i < 4; ++i) SetString(dialog, kGroupIdBase + i, kStringWetMoistureOffset + i);
  SetString(dialog, kCalibrationHelp, i18n::kStringHelp);
  SetString(dialog, kCalibrationAccept, i18n::kStringAccept);
  for (const Offset& o : kOffsets) ShowOffset(dialog, o);
  plat::SetTimer(dialog, kReadingsTimer, kReadingsPeriodMs);
}

void Step(plat::Hwnd dialog, const Offset& o, bool up) {
  WriteOffset(o.reg, StepCalibrationOffset(ReadOffset(o.reg), up));
  ShowOffset(dialog, o);
}

void Accept(plat::Hwnd dialog) {
  for (const Offset& o : kOffsets) {
    const uint8_t bytes[2] = {ReadRequestByte(o.reg), ReadRequestByte(o.reg + 1)};
    RequestSettingIfChanged(o.row, bytes);
  }
  plat::KillTimer(dialog, kReadingsTimer);
  plat::EndDialog(dialog, kCalibrationAccept);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  for (const Offset& o : kOffsets) {
    if (id == o.up || id == o.down) {
      Step(dialog, o, id == o.up);
      return true;
    }
  }
  switch (id) {
    case kCalibrationHelp: ShowHelp(dialog); return true;
    case kCalibrationAccept: Accept(dialog); return true;
    default: return false;
  }
}

// "label:  value" with the label from the language and the value in tenths.
void DrawReading(plat::Canvas& c, plat::FontHandle font, const plat::Rect& line, int labelId, const char* valueFormat, int tenths) {
  char16_t label[i18n::kStringDestUnits] = {};
  i18n::GetString(labelId, label);
  char value[24];
  std::snprintf(value, sizeof value, valueFormat, tenths / 10, tenths % 10);
  constexpr plat::TextFlags kFlags = plat::TextFlag::Left | plat::TextFlag::VCenter | plat::TextFlag::SingleLine;
  c.SetTextColor(kHeading);
  c.DrawText(line, label, kFlags);
  const int labelWidth = plat::TextWidth(font, label);
  c.SetTextColor(kReadingValue);
  c.DrawText(plat::Rect{line.left + labelWidth, line.top, line.right, line.bottom}, value, kFlags);
}

void Paint(plat::Canvas& c) {
  DryerStatus s;
  TakeStatusSnapshot(s);
  c.FillRect(kReadings, kReadingsBackground);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  const plat::FontHandle font = plat::BoldTahoma(kReadingFont);
  c.SetFont(font);
  struct Sensor { int heading, moisture, temperature; };
  constexpr Sensor kSensors[2] = {{kStringWetSensor, kStatusIncomingMoisture, kStatusIncomingGrainTenthsF},
                                  {kStringDrySensor, kStatusOutgoingMoisture, kStatusOutgoingGrainTenthsF}};
  for (int i = 0; i < 2; ++i) {
    const plat::Rect& col = kReadingColumns[i];
    char16_t heading[i18n::kStringDestUnits] = {};
    i18n::GetString(kSensors[i].heading, heading);
    c.SetTextColor(kHeading);
    c.DrawText(plat::Rect{col.left, col.top, col.right, col.top + 26}, heading,
               plat::TextFlag::Left | plat::TextFlag::VCenter | plat::TextFlag::SingleLine);
    DrawReading(c, font, plat::Rect{col.left, col.top + 30, col.right, col.top + 56}, kStringMoisture, ":  %2d.%1d %%",
                StatusU16HighFirst(s, kSensors[i].moisture));
    DrawReading(c, font, plat::Rect{col.left, col.top + 58, col.right, col.top + 84}, kStringTemperature, ": %d.%1d F",
                StatusU16HighFirst(s, kSensors[i].temperature));
  }
}

bool CalibrationProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      Open(dialog);
      return true;
    case plat::Msg::Paint:
      Paint(*plat::PaintFrom(l).canvas);
      return false;
    case plat::Msg::Timer:
      if (w == kReadingsTimer) plat::InvalidateRect(dialog, &kReadings, false);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    case plat::Msg::Close:
      return true;  // no way out but ACCEPT
    default:
      return false;
  }
}

}  // namespace

int StepCalibrationOffset(int offset, bool up) {
  if (up) return offset < kCalibrationOffsetLimit ? offset + 1 : offset;
  return offset > -kCalibrationOffsetLimit ? offset - 1 : offset;
}

void FormatCalibrationOffset(int offset, char* out, int size) {
  std::snprintf(out, static_cast<size_t>(size), "%3.1f", offset * 0.1);
}

void OpenMoistureCalibrationDialog(plat::Hwnd parent) {
  plat::DialogBox(parent, kTemplate, CalibrationProc, 0);
}

}  // namespace dialogs
