#pragma once
// What the diagnostics dialogs show, as pure functions of a status snapshot and constant
// tables: the air switch testing state, the light outputs of the control panel and its switch
// inputs. The dialogs apply the results outside painting.
#include <cstdint>

#include "link/DryerStatus.h"

namespace dialogs {

// Bit n stands for unit register 101 + n.
inline constexpr uint8_t kAllUnitSlots = 0x3F;

struct AirSwitchState {
  bool testingDisabled = false;  // the radio "Air Switch Testing Disabled"
  uint16_t buttonString = 0;     // the text of the DISABLE / ENABLE Testing button
  uint8_t reenableSlots = 0;     // registers whose bit 2 the panel clears now
};
AirSwitchState EvaluateAirSwitch(const lnk::DryerStatus& s);

// The unit registers in use for the fan/heater code of byte 3 (a dryer with fewer units uses
// the highest ones); an unknown code gives none.
uint8_t UnitSlotsPresent(uint8_t fanHeaterCode);

// One lamp output: its label and the mask of its bit in the shorted and activated bytes.
struct LightOutput {
  const char* label;
  int shortedByte;
  int activatedByte;
  uint8_t mask;
};
inline constexpr int kLightOutputCount = 2 * lnk::kLightOutputsPerConnector;
// J1-01 .. J1-08, then J2-01 .. J2-08.
inline constexpr const char* kLightOutputLabels[kLightOutputCount] = {
    "J1-01 SPARE", "J1-02 BURNER 6", "J1-03 FAN 6", "J1-04 BURNER 5",
    "J1-05 FAN 5", "J1-06 BURNER 4", "J1-07 FAN 4", "J1-08 BURNER 3",
    "J2-01 FAN 3", "J2-02 BURNER 2", "J2-03 FAN 2", "J2-04 BURNER 1",
    "J2-05 FAN 1", "J2-06 LOAD", "J2-07 UNLOAD", "J2-08 START",
};

// J1-0n is bit n - 1 of bytes 177 and 239; J2-0n is bit 8 - n of bytes 178 and 240.
constexpr LightOutput MakeLightOutput(int index) {
  const int n = index % lnk::kLightOutputsPerConnector + 1;
  const bool j1 = index < lnk::kLightOutputsPerConnector;
  return LightOutput{.label = kLightOutputLabels[index],
                     .shortedByte = j1 ? lnk::kStatusLights177 : lnk::kStatusLights178,
                     .activatedByte = j1 ? lnk::kStatusLights239 : lnk::kStatusLights240,
                     .mask = static_cast<uint8_t>(1u << (j1 ? n - 1 : 8 - n))};
}
inline constexpr LightOutput kLightOutputs[kLightOutputCount] = {
    MakeLightOutput(0),  MakeLightOutput(1),  MakeLightOutput(2),  MakeLightOutput(3),
    MakeLightOutput(4),  MakeLightOutput(5),  MakeLightOutput(6),  MakeLightOutput(7),
    MakeLightOutput(8),  MakeLightOutput(9),  MakeLightOutput(10), MakeLightOutput(11),
    MakeLightOutput(12), MakeLightOutput(13), MakeLightOutput(14), MakeLightOutput(15),
};

// The switch inputs of bytes 179..183, bit 7 first (entry 7 - bit); nullptr where a bit carries
// no input.
inline constexpr const char* kSwitchInputNames[lnk::kSwitchInputBytes][8] = {
    {"SPARE #1", "FAN 1 ON", "FAN 1 AUTO", "LOAD AUTO", "LOAD ON", "UNLOAD 2 SPEED", "UNLOAD 1 SPEED", "STOP"},
    {"FAN 3 ON", "FAN 3 AUTO", "BURNER 2 ON", "BURNER 2 AUTO", "FAN 2 ON", "FAN 2 AUTO", "BURNER 1 ON", "BURNER 1 AUTO"},
    {"FAN 5 AUTO", "BURNER 4 ON", "BURNER 4 AUTO", "FAN 4 ON", "FAN 4 AUTO", "BURNER 3 ON", "BURNER 3 AUTO", "SPARE #2"},
    {"BURNER 6 AUTO", "FAN 6 ON", "FAN 6 AUTO", "BURNER 5 ON", "BURNER 5 AUTO", "SPARE #3", "FAN 5 ON", "BURNER 6 ON"},
    {nullptr, "MR RIGHT", "MR LEFT", "MR PUSH BUTON", "DEFAULTS", "AUX", "MANUAL", "START"},
};
// The dryer type switch, byte 225, bit 7 first.
inline constexpr const char* kDryerTypeSwitchNames[8] = {"PORT", "AF", "TARNEL SERIES", "TOWER", "M/C", "COMP", "AUX 1", "AUX 2"};

struct LightOutputState {
  bool shorted;
  bool activated;
};
LightOutputState ReadLightOutput(const lnk::DryerStatus& s, int index);

}  // namespace dialogs
