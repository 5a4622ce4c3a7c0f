#include "dialogs/DiagnosticsLogic.h"

namespace dialogs {
namespace {

constexpr uint16_t kStringDisableTesting = 207;
constexpr uint16_t kStringEnableTesting = 208;
constexpr int kUnitRegisters = 6;

bool AnyUnitDisabled(const lnk::DryerStatus& s) {
  for (int i = 0; i < kUnitRegisters; ++i)
    if ((s.b[lnk::kStatusBurnerMode1 + i] & lnk::kBurnerModeNoAirSwitchTest) != 0) return true;
  return false;
}

}  // namespace

uint8_t UnitSlotsPresent(uint8_t fanHeaterCode) {
  const int units = lnk::PlenumSlotsInUse(fanHeaterCode);
  return static_cast<uint8_t>((kAllUnitSlots << (kUnitRegisters - units)) & kAllUnitSlots);
}

AirSwitchState EvaluateAirSwitch(const lnk::DryerStatus& s) {
  if (!AnyUnitDisabled(s)) return AirSwitchState{.testingDisabled = false, .buttonString = kStringDisableTesting};
  const bool ready = (s.b[lnk::kStatusAirSwitchReady] & lnk::kAirSwitchReadyBit) != 0;
  const bool held = (s.b[lnk::kStatusStatus118] & lnk::kStatus118AirSwitchHold) != 0;
  if (!ready || held) return AirSwitchState{.testingDisabled = true, .buttonString = kStringEnableTesting};
  return AirSwitchState{.testingDisabled = false,
                        .buttonString = kStringDisableTesting,
                        .reenableSlots = UnitSlotsPresent(s.b[lnk::kStatusFanHeaterCount])};
}

LightOutputState ReadLightOutput(const lnk::DryerStatus& s, int index) {
  const LightOutput& o = kLightOutputs[index];
  return LightOutputState{.shorted = (s.b[o.shortedByte] & o.mask) != 0,
                          .activated = (s.b[o.activatedByte] & o.mask) != 0};
}

}  // namespace dialogs
