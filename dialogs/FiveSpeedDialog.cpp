#include "dialogs/FiveSpeedDialog.h"

#include <cstdio>

#include "dialogs/FiveSpeedLogic.h"
#include "dialogs/MoistureControlHelp.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kRowY[5] = {40, 80, 120, 160, 200};  // +outer, +inner, centre, -inner, -outer
constexpr int kRowHeight = 32;
constexpr uint32_t kField = Style::Center | Style::Border;
constexpr uint32_t kButton = Style::Center;

constexpr DialogControl Label(int row, const char* text) {
  return {.kind = ControlKind::Static, .id = -1, .rect = RectXywh(10, kRowY[row], 120, kRowHeight), .text = text,
          .style = Style::Left};
}
constexpr DialogControl Field(int id, int x, int row, int width) {
  return {.kind = ControlKind::Edit, .id = id, .rect = RectXywh(x, kRowY[row], width, kRowHeight), .text = "",
          .style = kField};
}
constexpr int kMoistureX = 135;
constexpr int kOffsetX = 290;
constexpr int kActualX = 410;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::Static, .id = -1, .rect = RectXywh(kMoistureX, 8, 145, 28), .text = "SETPOINT OFFSET",
     .style = Style::Center},
    {.kind = ControlKind::Static, .id = -1, .rect = RectXywh(kOffsetX, 8, 110, 28), .text = "SPEED OFFSET",
     .style = Style::Center},
    {.kind = ControlKind::Static, .id = -1, .rect = RectXywh(kActualX, 8, 200, 28), .text = "ACTUAL SPEED",
     .style = Style::Center},
    Label(0, "+ OUTER"), Label(1, "+ INNER"), Label(2, "SETPOINT"), Label(3, "- INNER"), Label(4, "- OUTER"),
    Field(kFiveSpeedMoistureFields[0], kMoistureX, 0, 145), Field(kFiveSpeedMoistureFields[1], kMoistureX, 1, 145),
    Field(kFiveSpeedCentre, kMoistureX, 2, 145), Field(kFiveSpeedMoistureFields[2], kMoistureX, 3, 145),
    Field(kFiveSpeedMoistureFields[3], kMoistureX, 4, 145),
    Field(kFiveSpeedOffsetFields[0], kOffsetX, 0, 110), Field(kFiveSpeedOffsetFields[1], kOffsetX, 1, 110),
    Field(kFiveSpeedOffsetFields[2], kOffsetX, 3, 110), Field(kFiveSpeedOffsetFields[3], kOffsetX, 4, 110),
    Field(kFiveSpeedActualFields[0], kActualX, 0, 200), Field(kFiveSpeedActualFields[1], kActualX, 1, 200),
    Field(kFiveSpeedCentreSpeed, kActualX, 2, 200), Field(kFiveSpeedActualFields[2], kActualX, 3, 200),
    Field(kFiveSpeedActualFields[3], kActualX, 4, 200),
    {.kind = ControlKind::PushButton, .id = kFiveSpeedSelect, .rect = RectXywh(10, 244, 120, 46), .text = "SELECT",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFiveSpeedMoistureUp, .rect = RectXywh(kMoistureX, 244, 70, 46),
     .text = "INC", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFiveSpeedMoistureDown, .rect = RectXywh(kMoistureX + 75, 244, 70, 46),
     .text = "DEC", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFiveSpeedSpeedUp, .rect = RectXywh(kOffsetX, 244, 53, 46), .text = "INC",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFiveSpeedSpeedDown, .rect = RectXywh(kOffsetX + 57, 244, 53, 46),
     .text = "DEC", .style = kButton},
    {.kind = ControlKind::Static, .id = kFiveSpeedSelected, .rect = RectXywh(kActualX, 252, 200, 30), .text = "",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kFiveSpeedDefaults, .rect = RectXywh(10, 300, 200, 46),
     .text = "SELECT DEFAULTS", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFiveSpeedAccept, .rect = RectXywh(410, 300, 200, 46),
     .text = "ACCEPT / EXIT", .style = kButton},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kFiveSpeedDialogId,
    .caption = "BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23",
    .rect = RectXywh(0, 0, 620, 384),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

struct FiveSpeedState {
  FiveSpeedBands bands;
  int mode;
  BandPair pair;
};

FiveSpeedState& StateOf(plat::Hwnd dialog) { return *static_cast<FiveSpeedState*>(plat::GetWindowData(dialog)); }

void Show(plat::Hwnd dialog) {
  const FiveSpeedState& st = StateOf(dialog);
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  const FiveSpeedBands& b = st.bands;
  const int moisture[4] = {b.moistureOuter, b.moistureInner, b.moistureInner, b.moistureOuter};
  const int offsets[4] = {b.speedOuter, b.speedInner, b.speedInner, b.speedOuter};
  const BandSpeeds speeds = BandSpeedsFor(s, st.mode, b);
  char text[40];
  for (int i = 0; i < 4; ++i) {
    const bool plus = i < 2;
    FormatMoistureOffset(text, sizeof text, st.mode, moisture[i], plus);
    plat::SetDlgItemText(dialog, kFiveSpeedMoistureFields[i], text);
    FormatSpeedOffset(text, sizeof text, offsets[i], plus);
    plat::SetDlgItemText(dialog, kFiveSpeedOffsetFields[i], text);
    FormatActualSpeed(text, sizeof text, speeds.speed[i]);
    plat::SetDlgItemText(dialog, kFiveSpeedActualFields[i], text);
  }
  FormatCentreLine(text, sizeof text, s, st.mode);
  plat::SetDlgItemText(dialog, kFiveSpeedCentre, text);
  FormatActualSpeed(text, sizeof text, CentreSpeed(s, st.mode));
  plat::SetDlgItemText(dialog, kFiveSpeedCentreSpeed, text);
  plat::SetDlgItemText(dialog, kFiveSpeedSelected, st.pair == BandPair::Outer ? "OUTER SELECTED" : "INNER SELECTED");
}

bool OnCommand(plat::Hwnd dialog, int id) {
  FiveSpeedState& st = StateOf(dialog);
  switch (id) {
    case kFiveSpeedSelect: st.pair = st.pair == BandPair::Outer ? BandPair::Inner : BandPair::Outer; break;
    case kFiveSpeedMoistureUp: StepBand(st.bands, st.mode, st.pair, BandColumn::Moisture, +1); break;
    case kFiveSpeedMoistureDown: StepBand(st.bands, st.mode, st.pair, BandColumn::Moisture, -1); break;
    case kFiveSpeedSpeedUp: StepBand(st.bands, st.mode, st.pair, BandColumn::Speed, +1); break;
    case kFiveSpeedSpeedDown: StepBand(st.bands, st.mode, st.pair, BandColumn::Speed, -1); break;
    case kFiveSpeedDefaults: st.bands = FiveSpeedDefaults(st.mode); break;
    case kFiveSpeedAccept:
      AcceptFiveSpeed(st.bands);
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
  Show(dialog);
  return true;
}

bool Proc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      StateOf(dialog).bands = OpenFiveSpeedBands();
      PlaceAboveParentCentre(dialog);
      Show(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

int OpenFiveSpeedDialog(plat::Hwnd parent, int mode) {
  FiveSpeedState st{.bands = {}, .mode = mode, .pair = BandPair::Outer};
  return plat::DialogBox(parent, kTemplate, Proc, reinterpret_cast<plat::LParam>(&st));
}

}  // namespace dialogs
