#include "dialogs/HardwareSetupLogic.h"

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::IsPending;
using lnk::ReadRequestByte;
using lnk::ReadStatusByte;
using lnk::RequestBits;
using lnk::RequestSettingIfChanged;
using lnk::kConfigBitsHardwareChoice;
using lnk::kControllerDisplayFourInchRolls;
using lnk::kDryerLengthCount;
using lnk::kFanHeaterCodeCount;
using lnk::kFanHeaterFour;
using lnk::kFanHeaterOne;
using lnk::kFanHeaterSix;
using lnk::kFanHeaterThree;
using lnk::kFuelCodeCount;
using lnk::kHardwareOptionCycledSampler;
using lnk::kLoadSystemCodeCount;
using lnk::kModuleCodeCount;
using lnk::kModulesOne;
using lnk::kModulesThree;
using lnk::kModulesTwo;
using lnk::kOptionBits2GrainPresent;
using lnk::kOptionBitsDualPlenum;
using lnk::kStatusConfigBits;
using lnk::kStatusControllerDisplayOptions;
using lnk::kStatusDryerLengthIndex;
using lnk::kStatusFanHeaterCount;
using lnk::kStatusFuelType;
using lnk::kStatusHardwareOption137;
using lnk::kStatusLoadSystem;
using lnk::kStatusModuleCount;
using lnk::kStatusMoistureSensorSelection;
using lnk::kStatusOptionBits;
using lnk::kStatusOptionBits2;

namespace dialogs {
namespace {

struct CodeRange {
  uint8_t first, last;
};
// Fan/heater counts by number of modules, and on a series dryer.
constexpr CodeRange kAllowedByModules[kModuleCodeCount] = {
    {kFanHeaterOne, kFanHeaterThree}, {kFanHeaterThree, kFanHeaterFour}, {kFanHeaterFour, kFanHeaterSix}};

uint8_t WorkingByte(const DryerStatus& s, int reg, CommandRow row) {
  return IsPending(row) ? ReadRequestByte(reg) : s.b[reg];
}

uint8_t Wrap(int value, int count) { return static_cast<uint8_t>(value + 1 < count ? value + 1 : 0); }

// The register with bit `mask` as wanted and the other bits as they stand (or are already
// asked for), sent only when that differs from the controller's value.
bool AcceptBit(int reg, uint8_t mask, bool set, CommandRow row) {
  const uint8_t base = IsPending(row) ? ReadRequestByte(reg) : ReadStatusByte(reg);
  const uint8_t wanted = static_cast<uint8_t>(set ? (base | mask) : (base & ~mask));
  return RequestSettingIfChanged(row, &wanted);
}

}  // namespace

bool SeriesDryer(const DryerStatus& s) { return (s.b[kStatusConfigBits] & kConfigBitsHardwareChoice) != 0; }

HardwareSetup OpenHardwareSetup(const DryerStatus& s) {
  return HardwareSetup{
      .fanHeaters = WorkingByte(s, kStatusFanHeaterCount, CommandRow::FanHeaterCount),
      .modules = WorkingByte(s, kStatusModuleCount, CommandRow::ModuleCount),
      .fuel = WorkingByte(s, kStatusFuelType, CommandRow::FuelType),
      .loadSystem = WorkingByte(s, kStatusLoadSystem, CommandRow::LoadSystem),
      .length = WorkingByte(s, kStatusDryerLengthIndex, CommandRow::DryerLength),
      .grainPresent = (WorkingByte(s, kStatusOptionBits2, CommandRow::OptionBits2) & kOptionBits2GrainPresent) != 0,
      .cycledSampler =
          (WorkingByte(s, kStatusHardwareOption137, CommandRow::HardwareOption137) & kHardwareOptionCycledSampler) != 0,
      .series = SeriesDryer(s),
      .fourInchRolls = (s.b[kStatusControllerDisplayOptions] & kControllerDisplayFourInchRolls) != 0,
  };
}

bool FanHeaterAllowed(const HardwareSetup& h, uint8_t code) {
  if (h.series) return code == kFanHeaterOne || code == kFanHeaterThree;
  const CodeRange r = kAllowedByModules[h.modules < kModuleCodeCount ? h.modules : kModulesOne];
  return code >= r.first && code <= r.last;
}

void ForceFanHeatersIntoRange(HardwareSetup& h) {
  if (h.modules == kModulesThree && h.fanHeaters < kFanHeaterFour) h.fanHeaters = kFanHeaterFour;
  if (h.modules == kModulesTwo && h.fanHeaters != kFanHeaterThree && h.fanHeaters != kFanHeaterFour)
    h.fanHeaters = kFanHeaterThree;
  if (h.modules == kModulesOne && h.fanHeaters > kFanHeaterThree) h.fanHeaters = kFanHeaterThree;
}

void SelectNext(HardwareSetup& h, HardwareGroup group) {
  switch (group) {
    case HardwareGroup::FanHeaters: {
      // The next allowed count above the present one, else the lowest allowed.
      for (int code = h.fanHeaters + 1; code < kFanHeaterCodeCount; ++code)
        if (FanHeaterAllowed(h, static_cast<uint8_t>(code))) {
          h.fanHeaters = static_cast<uint8_t>(code);
          return;
        }
      for (int code = 0; code < kFanHeaterCodeCount; ++code)
        if (FanHeaterAllowed(h, static_cast<uint8_t>(code))) {
          h.fanHeaters = static_cast<uint8_t>(code);
          return;
        }
      return;
    }
    case HardwareGroup::Modules:
      h.modules = Wrap(h.modules, kModuleCodeCount);
      ForceFanHeatersIntoRange(h);
      return;
    case HardwareGroup::Fuel: h.fuel = Wrap(h.fuel, kFuelCodeCount); return;
    case HardwareGroup::LoadSystem: h.loadSystem = Wrap(h.loadSystem, kLoadSystemCodeCount); return;
    case HardwareGroup::Length: h.length = Wrap(h.length, kDryerLengthCount); return;
  }
}

bool GrainPresentOffered(const HardwareSetup& h) { return !h.series && h.modules > kModulesOne; }

int AcceptHardwareSetup(const HardwareSetup& h) {
  int raised = 0;
  if (h.fanHeaters != kFanHeaterOne) {
    const uint8_t options = IsPending(CommandRow::OptionBits) ? ReadRequestByte(kStatusOptionBits)
                                                               : ReadStatusByte(kStatusOptionBits);
    if (options & kOptionBitsDualPlenum) {
      RequestBits(kStatusOptionBits, 0, kOptionBitsDualPlenum, CommandRow::OptionBits);
      ++raised;
    }
  }
  const struct {
    CommandRow row;
    uint8_t value;
  } kBytes[] = {{CommandRow::FanHeaterCount, h.fanHeaters}, {CommandRow::ModuleCount, h.modules},
                {CommandRow::FuelType, h.fuel},             {CommandRow::LoadSystem, h.loadSystem},
                {CommandRow::DryerLength, h.length}};
  for (const auto& b : kBytes) raised += RequestSettingIfChanged(b.row, &b.value) ? 1 : 0;
  raised += AcceptBit(kStatusHardwareOption137, kHardwareOptionCycledSampler, h.cycledSampler,
                      CommandRow::HardwareOption137) ? 1 : 0;
  raised += AcceptBit(kStatusOptionBits2, kOptionBits2GrainPresent, h.grainPresent, CommandRow::OptionBits2) ? 1 : 0;
  return raised;
}

uint8_t OpenSensorSelection(const DryerStatus& s) {
  return WorkingByte(s, kStatusMoistureSensorSelection, CommandRow::MoistureSensorSelection);
}

bool AcceptSensorSelection(uint8_t selection) {
  return RequestSettingIfChanged(CommandRow::MoistureSensorSelection, &selection);
}

}  // namespace dialogs
