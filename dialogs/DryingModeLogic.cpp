#include "dialogs/DryingModeLogic.h"

#include <cstdio>

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

namespace {

constexpr CommandRow kDryingRows[] = {CommandRow::DryerType, CommandRow::MoistureControlMode,
                                      CommandRow::DryingCriteria, CommandRow::OptionBits,
                                      CommandRow::DisplayOptions};

uint8_t Set(uint8_t v, uint8_t mask, bool on) {
  return on ? static_cast<uint8_t>(v | mask) : static_cast<uint8_t>(v & ~mask);
}

uint16_t RequestOrStatus(const DryerStatus& s, CommandRow row, bool highFirst) {
  const int reg = RowRegister(RowInfo(row));
  const bool pending = IsPending(row);
  const uint8_t a = pending ? ReadRequestByte(reg) : s.b[reg];
  const uint8_t b = pending ? ReadRequestByte(reg + 1) : s.b[reg + 1];
  return highFirst ? static_cast<uint16_t>(a << 8 | b) : static_cast<uint16_t>(b << 8 | a);
}

}  // namespace

DryingRegisters OpenDryingRegisters() {
  for (CommandRow row : kDryingRows) LoadRequestFromStatus(row);
  return ReadDryingRegisters();
}

DryingRegisters ReadDryingRegisters() {
  return DryingRegisters{.type = ReadRequestByte(kStatusDryerType),
                         .mode = ReadRequestByte(kRequestMoistureControlMode),
                         .criteria = ReadRequestByte(kRequestDryingCriteria),
                         .options = ReadRequestByte(kStatusOptionBits),
                         .safety = ReadRequestByte(kRequestDisplayOptions)};
}

bool RaiseByteIfChanged(CommandRow row, uint8_t value) { return RequestSettingIfChanged(row, &value); }

bool RaiseSafetyIfChanged(uint8_t safety, const DryerStatus& s) {
  const uint8_t ours = safety & kDisplayOptionsSafetyBits;
  if (ours == (s.b[kStatusDisplayOptions] & kDisplayOptionsSafetyBits) && !IsPending(CommandRow::DisplayOptions))
    return false;
  RequestBits(kRequestDisplayOptions, ours, static_cast<uint8_t>(~ours & kDisplayOptionsSafetyBits),
              CommandRow::DisplayOptions);
  return true;
}

// ---- Drying mode selection ----

bool StagedBatchAvailable(const DryerStatus& s) { return (s.b[kStatusConfigBits] & kConfigBitsSeries) == 0; }

void ChooseContinuousFlow(DryingRegisters& r) {
  r.type = kDryerTypeContinuous;
  r.options = Set(r.options, kOptionBitsDualPlenum | kOptionBitsContinuousClears, false);
  r.mode = kModeTemperature2Speed;
}

void ChooseStagedBatch(DryingRegisters& r) {
  r.type = kDryerTypeStagedBatch;
  r.options = Set(r.options, kOptionBitsContinuousClears, false);
  r.mode = kModeStagedBatch;
}

void RaiseDryingModeChoice(const DryingRegisters& r) {
  RaiseByteIfChanged(CommandRow::MoistureControlMode, r.mode);
  RaiseByteIfChanged(CommandRow::OptionBits, r.options);
}

void AcceptDryingMode(const DryingRegisters& r) {
  RaiseByteIfChanged(CommandRow::DryerType, r.type);
  RaiseByteIfChanged(CommandRow::OptionBits, r.options);
  RaiseByteIfChanged(CommandRow::DryingCriteria, r.criteria);
}

// ---- Continuous flow setup ----

void SetMoistureMode(DryingRegisters& r, int mode) {
  r.mode = static_cast<uint8_t>((r.mode & ~kMoistureModeMask) | (mode & kMoistureModeMask));
}

void ToggleAutoCentering(DryingRegisters& r) { r.criteria ^= kDryingCriteriaAutoCentering; }

void ToggleUpperSensor(DryingRegisters& r) { r.criteria ^= kDryingCriteriaUpperSensor; }

void ToggleSafety(DryingRegisters& r) {
  const bool on = !SafetyEnabled(r);
  r.safety = Set(r.safety, kDisplayOptionsSafetyMaster | kDisplayOptionsMaxGrainTempGuard, on);
}

void AcceptContinuousFlow(const DryingRegisters& r, const DryerStatus& s) {
  RaiseByteIfChanged(CommandRow::MoistureControlMode, r.mode);
  RaiseByteIfChanged(CommandRow::DryingCriteria, r.criteria);
  RaiseSafetyIfChanged(r.safety, s);
}

// ---- Staged batch setup ----

SafetyFields OpeningSafetyFields(const DryingRegisters& r) {
  const bool time = (r.options & kOptionBitsTimeCriterion) != 0;
  const bool temperature = (r.options & kOptionBitsTemperatureCriterion) != 0;
  const bool moisture = (r.options & kOptionBitsMoistureCriterion) != 0;
  return SafetyFields{.maxTime = temperature || moisture,
                      .maxGrainTemp = SafetyEnabled(r) && (time || moisture)};
}

void PressCriterion(DryingRegisters& r, SafetyFields& f, Criterion c) {
  const bool master = SafetyEnabled(r);
  switch (c) {
    case Criterion::Time: {
      const bool on = (r.options & kOptionBitsTimeCriterion) == 0;
      r.options = Set(r.options, kOptionBitsTimeCriterion, on);
      if (!on || master) r.safety = Set(r.safety, kDisplayOptionsMaxGrainTempGuard, on);
      f.maxGrainTemp = on;
      r.options = Set(r.options, kOptionBitsMoistureCriterion, false);
      r.mode = Set(r.mode, kMoistureModeBit7 | kMoistureModeBits1To2, false);
      return;
    }
    case Criterion::Temperature: {
      const bool on = (r.options & kOptionBitsTemperatureCriterion) == 0;
      r.options = Set(r.options, kOptionBitsTemperatureCriterion, on);
      if (!on || master) r.safety = Set(r.safety, kDisplayOptionsMaxTimeGuard, on);
      f.maxTime = on;
      if (r.options & kOptionBitsMoistureCriterion) {
        r.options = Set(r.options, kOptionBitsMoistureCriterion, false);
        r.safety = Set(r.safety, kDisplayOptionsMaxGrainTempGuard, false);
        f.maxGrainTemp = false;
      }
      r.mode = Set(Set(r.mode, kMoistureModeBits1To2, false), kMoistureModeBit7, true);
      return;
    }
    case Criterion::Moisture:
      r.options = Set(r.options, kOptionBitsDualPlenum | kOptionBitsTimeCriterion | kOptionBitsTemperatureCriterion,
                      false);
      r.options = Set(r.options, kOptionBitsMoistureCriterion, true);
      if (master) r.safety = Set(r.safety, kDisplayOptionsMaxTimeGuard | kDisplayOptionsMaxGrainTempGuard, true);
      f.maxTime = true;
      f.maxGrainTemp = master;
      r.mode = static_cast<uint8_t>((r.mode & ~(kMoistureModeMask | kMoistureModeBit7)) | kModeStagedBatch |
                                    kMoistureModeBit7);
      ChooseHeatSplit(r, HeatSplit::Full);
      return;
  }
}

void ChooseHeatSplit(DryingRegisters& r, HeatSplit h) {
  constexpr uint8_t kBits[] = {kDryingCriteriaFullHeat, kDryingCriteriaTwoThirdsHeat, kDryingCriteriaHalfHeat};
  r.criteria = static_cast<uint8_t>((r.criteria & ~kDryingCriteriaHeatSplit) | kBits[static_cast<int>(h)]);
}

bool ChooseDualPlenum(DryingRegisters& r, const DryerStatus& s) {
  if (s.b[kStatusFanHeaterCount] != 0) return false;
  r.options = Set(r.options, kOptionBitsDualPlenum, true);
  return true;
}

void ChooseSinglePlenum(DryingRegisters& r) { r.options = Set(r.options, kOptionBitsDualPlenum, false); }

void ToggleBatchSafety(DryingRegisters& r, SafetyFields& f) {
  ToggleSafety(r);
  f.maxGrainTemp = SafetyEnabled(r);
}

bool AcceptStagedBatch(const DryingRegisters& r, const DryerStatus& s) {
  if (!HasCriterion(r)) return false;
  RaiseByteIfChanged(CommandRow::OptionBits, r.options);
  RaiseByteIfChanged(CommandRow::DryingCriteria, r.criteria);
  RaiseByteIfChanged(CommandRow::MoistureControlMode, r.mode);
  RaiseSafetyIfChanged(r.safety, s);
  return true;
}

int MaxGrainTempShown(const DryerStatus& s) {
  return static_cast<int16_t>(RequestOrStatus(s, CommandRow::Setting121, false));
}

void FormatMaxGrainTemp(char* out, size_t size, int degreesF) { std::snprintf(out, size, "%d F", degreesF); }

void FormatMaxTime(char* out, size_t size, const DryerStatus& s) {
  const uint16_t v = RequestOrStatus(s, CommandRow::StagedBatchTime, true);
  std::snprintf(out, size, "%03d:%02d", v >> 8, v & 0xFF);
}
