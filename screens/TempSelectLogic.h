#pragma once
// TEMP_SELECT_WINDOW without the windows: which setpoint buttons a dryer shows and where, the
// registers and limits each button opens the setpoint keypad with, and the texts beside them.
#include <cstddef>
#include <cstdint>

#include "link/RegisterMap.h"
#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}
struct SetpointEntryRequest;

inline constexpr uint16_t kTempSelectTitleId = 193;
inline constexpr uint16_t kPlenumSetpointCaptionId = 194;
inline constexpr uint16_t kGrainSetpointCaptionId = 195;
inline constexpr uint16_t kGrainSetpointLabelId = 196;
inline constexpr uint16_t kGrainHelpCelsiusIds[3] = {197, 198, 199};
inline constexpr uint16_t kGrainHelpFahrenheitIds[2] = {200, 201};
inline constexpr size_t kGrainHelpLineChars = 40;
inline constexpr int kGrainHelpLines = 3;

inline constexpr char kPlenumSetpointChildClass[] = "PLENUM_SETPOINT_CHILD_WINDOW";
inline constexpr char kGrainSetpointChildClass[] = "GRAIN_TEMP_SETPOINT_CHILD_WINDOW";
inline constexpr char kPlenumSetpointCaption[] =
    " Plenum Temperature Setpoint Adjustment (Range = 50 to 250 F -> 10 to 120 C)";
inline constexpr char kGrainSetpointCaption[] =
    " Grain Temperature Setpoint Adjustment (Range = 50 to 150 F -> 10 to 71 C)";

// The two panels in the screen's client area; the return button keeps the selection screens'
// place below them.
inline constexpr plat::Rect kPlenumPanelPlace = plat::RectXywh(0, 0, 640, 250);
inline constexpr plat::Rect kGrainPanelPlace = plat::RectXywh(0, 250, 640, 140);
inline constexpr int kTempSelectExit = 1003;
inline constexpr plat::Rect kTempSelectExitPlace = plat::RectXywh(241, 395, 158, 41);

// ---- Setpoints ----

enum class TempSetpoint : uint8_t {
  Plenum1,
  Plenum2,
  Plenum3,
  Plenum4,
  Plenum5,
  Plenum6,
  LoHeat1,
  LoHeat2,
  Grain,             // dryer types 0 and 1
  GrainType3,        // dryer type 3
  GrainTwoHeatFirst,
  GrainTwoHeatSecond,
  Count,
};
inline constexpr int kTempSetpointCount = static_cast<int>(TempSetpoint::Count);

// Limits and default in degrees F; the value lives at the row's two registers, low byte first.
struct TempSetpointRow {
  TempSetpoint setpoint;
  lnk::CommandRow row;
  int maximumF;
  int defaultF;
  int minimumF;
};
const TempSetpointRow& TempSetpointInfo(TempSetpoint setpoint);
// Plenum n (1..6); anything else reads as plenum 1.
TempSetpoint PlenumSetpoint(int plenum);
int TempSetpointF(const lnk::DryerStatus& s, TempSetpoint setpoint);
// Fills the shared keypad request for the setpoint, opening on its current value.
void OpenTempSetpointEntry(SetpointEntryRequest& r, const lnk::DryerStatus& s, TempSetpoint setpoint,
                           bool celsius);
// " %3d %cF " or " %3d %cC " of a Fahrenheit value in the display unit.
void FormatTempSetpointValue(char* out, size_t size, int fahrenheit, bool celsius);

// Batch dryer (type 1) with bit 1 of byte 257: HI HEAT and LO HEAT levels.
bool HasTwoHeatLevels(const lnk::DryerStatus& s);

// ---- Plenum setpoint window ----

enum class PlenumButton : uint8_t {
  Plenum1,
  Plenum2,
  Plenum3,
  Plenum4,
  Plenum5,
  Plenum6,
  HiHeat1,  // the two-heat-level grid: plenum 1 and 2 setpoints above their LO HEAT setpoints
  LoHeat1,
  HiHeat2,
  LoHeat2,
  Count,
};
inline constexpr int kPlenumButtonCount = static_cast<int>(PlenumButton::Count);

struct PlenumButtonPlace {
  PlenumButton button;
  int controlId;
  TempSetpoint setpoint;
  int picture;       // localised bitmap index
  const char* text;  // the face drawn when the picture is missing
  plat::Rect place;  // in the panel's client area
  plat::Rect value;  // where the setpoint is drawn beside it
};
extern const PlenumButtonPlace kPlenumButtons[kPlenumButtonCount];
// The button of a control id, nullptr for any other id.
const PlenumButtonPlace* PlenumButtonById(int controlId);

// What the window shows before a known dryer type decides it.
void InitialPlenumButtons(bool shown[kPlenumButtonCount]);
// Updates `shown` for the dryer type and plenum count; returns false, leaving it as it was,
// for a dryer type the window does not know.
bool ChoosePlenumButtons(const lnk::DryerStatus& s, bool shown[kPlenumButtonCount]);
// Whether the setpoint beside a shown button is drawn: with the dryer type switch in the
// single-plenum series only plenum 1's.
bool PlenumValueDrawn(const lnk::DryerStatus& s, PlenumButton button);
// Whether a press opens the keypad: the two-heat plenum 2 button needs a second plenum.
bool PlenumButtonActs(const lnk::DryerStatus& s, PlenumButton button);

// ---- Grain temperature setpoint window ----

enum class GrainButton : uint8_t { Single, TwoHeatFirst, TwoHeatSecond, Count };
inline constexpr int kGrainButtonCount = static_cast<int>(GrainButton::Count);

struct GrainButtonPlace {
  GrainButton button;
  int controlId;
  int picture;
  const char* text;
  plat::Rect place;
  plat::Rect value;
};
extern const GrainButtonPlace kGrainButtons[kGrainButtonCount];
const GrainButtonPlace* GrainButtonById(int controlId);
inline constexpr plat::Rect kGrainLabelPlace = plat::RectXywh(0, 2, 640, 20);
inline constexpr plat::Rect kGrainHelpPlace = plat::RectXywh(20, 72, 600, 42);

bool GrainButtonShown(const lnk::DryerStatus& s, GrainButton button);
// The setpoint a grain button opens and shows.
TempSetpoint GrainButtonSetpoint(const lnk::DryerStatus& s, GrainButton button);
// The red help text: strings 197, 198, 199 joined by blanks with SI units, otherwise 200 and
// 201. Returns its length.
size_t FormatGrainHelp(bool celsius, char16_t* out, size_t size);
