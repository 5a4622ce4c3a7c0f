#include "dialogs/DryingModeLogic.h"

#include <cstdio>

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

namespace {

constexpr lnk::CommandRow kDryingRows[] = {lnk::CommandRow::DryerType, lnk::CommandRow::MoistureControlMode,
                                      lnk::CommandRow::DryingCriteria, lnk::CommandRow::OptionBits,
                                      lnk::CommandRow::DisplayOptions};

uint8_t Set(uint8_t v, uint8_t mask, bool on) {
  return on ? static_cast<uint8_t>(v | mask) : static_cast<uint8_t>(v & ~mask);
}

uint16_t RequestOrStatus(const lnk::DryerStatus& s, lnk::CommandRow row, bool highFirst) {
  const int reg = lnk::RowRegister(lnk::RowInfo(row));
  const bool pending = lnk::IsPending(row);
  const uint8_t a = pending ? lnk::ReadRequestByte(reg) : s.b[reg];
  const uint8_t b = pending ? lnk::ReadRequestByte(reg + 1) : s.b[reg + 1];
  return highFirst ? static_cast<uint16_t>(a << 8 | b) : static_cast<uint16_t>(b << 8 | a);
}

}  // namespace

DryingRegisters OpenDryingRegisters() {
  for (lnk::CommandRow row : kDryingRows) lnk::LoadRequestFromStatus(row);
  return ReadDryingRegisters();
}

DryingRegisters ReadDryingRegisters() {
  return DryingRegisters{.type = lnk::ReadRequestByte(lnk::kStatusDryerType),
                         .mode = lnk::ReadRequestByte(lnk::kRequestMoistureControlMode),
                         .criteria = lnk::ReadRequestByte(lnk::kRequestDryingCriteria),
                         .options = lnk::ReadRequestByte(lnk::kStatusOptionBits),
                         .safety = lnk::ReadRequestByte(lnk::kRequestDisplayOptions)};
}

bool RaiseByteIfChanged(lnk::CommandRow row, uint8_t value) { return lnk::RequestSettingIfChanged(row, &value); }

bool RaiseSafetyIfChanged(uint8_t safety, const lnk::DryerStatus& s) {
  const uint8_t ours = safety & lnk::kDisplayOptionsSafetyBits;
  if (ours == (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsSafetyBits) && !lnk::IsPending(lnk::CommandRow::DisplayOptions))
    return false;
  lnk::RequestBits(lnk::kRequestDisplayOptions, ours, static_cast<uint8_t>(~ours & lnk::kDisplayOptionsSafetyBits),
              lnk::CommandRow::DisplayOptions);
  return true;
}

// ---- Drying mode selection ----

bool StagedBatchAvailable(const lnk::DryerStatus& s) { return (s.b[lnk::kStatusConfigBits] & lnk::kConfigBitsSeries) == 0; }

void ChooseContinuousFlow(DryingRegisters& r) {
  r.type = lnk::kDryerTypeContinuous;
  r.options = Set(r.options, lnk::kOptionBitsDualPlenum | lnk::kOptionBitsContinuousClears, false);
  r.mode = lnk::kModeTemperature2Speed;
}

void ChooseStagedBatch(DryingRegisters& r) {
  r.type = lnk::kDryerTypeStagedBatch;
  r.options = Set(r.options, lnk::kOptionBitsContinuousClears, false);
  r.mode = lnk::kModeStagedBatch;
}

void RaiseDryingModeChoice(const DryingRegisters& r) {
  RaiseByteIfChanged(lnk::CommandRow::MoistureControlMode, r.mode);
  RaiseByteIfChanged(lnk::CommandRow::OptionBits, r.options);
}

void AcceptDryingMode(const DryingRegisters& r) {
  RaiseByteIfChanged(lnk::CommandRow::DryerType, r.type);
  RaiseByteIfChanged(lnk::CommandRow::OptionBits, r.options);
  RaiseByteIfChanged(lnk::CommandRow::DryingCriteria, r.criteria);
}

// ---- Continuous flow setup ----

void SetMoistureMode(DryingRegisters& r, int mode) {
  r.mode = static_cast<uint8_t>((r.mode & ~lnk::kMoistureModeMask) | (mode & lnk::kMoistureModeMask));
}

void ToggleAutoCentering(DryingRegisters& r) { r.criteria ^= lnk::kDryingCriteriaAutoCentering; }

void ToggleUpperSensor(DryingRegisters& r) { r.criteria ^= lnk::kDryingCriteriaUpperSensor; }

void ToggleSafety(DryingRegisters& r) {
  const bool on = !SafetyEnabled(r);
  r.safety = Set(r.safety, lnk::kDisplayOptionsSafetyMaster | lnk::kDisplayOptionsMaxGrainTempGuard, on);
}

void AcceptContinuousFlow(const DryingRegisters& r, const lnk::DryerStatus& s) {
  RaiseByteIfChanged(lnk::CommandRow::MoistureControlMode, r.mode);
  RaiseByteIfChanged(lnk::CommandRow::DryingCriteria, r.criteria);
  RaiseSafetyIfChanged(r.safety, s);
}

// ---- Staged batch setup ----

SafetyFields OpeningSafetyFields(const DryingRegisters& r) {
  const bool time = (r.options & lnk::kOptionBitsTimeCriterion) != 0;
  const bool temperature = (r.options & lnk::kOptionBitsTemperatureCriterion) != 0;
  const bool moisture = (r.options & lnk::kOptionBitsMoistureCriterion) != 0;
  return SafetyFields{.maxTime = temperature || moisture,
                      .maxGrainTemp = SafetyEnabled(r) && (time || moisture)};
}

void PressCriterion(DryingRegisters& r, SafetyFields& f, Criterion c) {
  const bool master = SafetyEnabled(r);
  switch (c) {
    case Criterion::Time: {
      const bool on = (r.options & lnk::kOptionBitsTimeCriterion) == 0;
      r.options = Set(r.options, lnk::kOptionBitsTimeCriterion, on);
      if (!on || master) r.safety = Set(r.safety, lnk::kDisplayOptionsMaxGrainTempGuard, on);
      f.maxGrainTemp = on;
      r.options = Set(r.options, lnk::kOptionBitsMoistureCriterion, false);
      r.mode = Set(r.mode, lnk::kMoistureModeBit7 | lnk::kMoistureModeBits1To2, false);
      return;
    }
    case Criterion::Temperature: {
      const bool on = (r.options & lnk::kOptionBitsTemperatureCriterion) == 0;
      r.options = Set(r.options, lnk::kOptionBitsTemperatureCriterion, on);
      if (!on || master) r.safety = Set(r.safety, lnk::kDisplayOptionsMaxTimeGuard, on);
      f.maxTime = on;
      if (r.options & lnk::kOptionBitsMoistureCriterion) {
        r.options = Set(r.options, lnk::kOptionBitsMoistureCriterion, false);
        r.safety = Set(r.safety, lnk::kDisplayOptionsMaxGrainTempGuard, false);
        f.maxGrainTemp = false;
      }
      r.mode = Set(Set(r.mode, lnk::kMoistureModeBits1To2, false), lnk::kMoistureModeBit7, true);
      return;
    }
    case Criterion::Moisture:
      r.options = Set(r.options, lnk::kOptionBitsDualPlenum | lnk::kOptionBitsTimeCriterion | lnk::kOptionBitsTemperatureCriterion,
                      false);
      r.options = Set(r.options, lnk::kOptionBitsMoistureCriterion, true);
      if (master) r.safety = Set(r.safety, lnk::kDisplayOptionsMaxTimeGuard | lnk::kDisplayOptionsMaxGrainTempGuard, true);
      f.maxTime = true;
      f.maxGrainTemp = master;
      r.mode = static_cast<uint8_t>((r.mode & ~(lnk::kMoistureModeMask | lnk::kMoistureModeBit7)) | lnk::kModeStagedBatch |
                                    lnk::kMoistureModeBit7);
      ChooseHeatSplit(r, HeatSplit::Full);
      return;
  }
}

void ChooseHeatSplit(DryingRegisters& r, HeatSplit h) {
  constexpr uint8_t kBits[] = {lnk::kDryingCriteriaFullHeat, lnk::kDryingCriteriaTwoThirdsHeat, lnk::kDryingCriteriaHalfHeat};
  r.criteria = static_cast<uint8_t>((r.criteria & ~lnk::kDryingCriteriaHeatSplit) | kBits[static_cast<int>(h)]);
}

bool ChooseDualPlenum(DryingRegisters& r, const lnk::DryerStatus& s) {
  if (s.b[lnk::kStatusFanHeaterCount] != 0) return false;
  r.options = Set(r.options, lnk::kOptionBitsDualPlenum, true);
  return true;
}

void ChooseSinglePlenum(DryingRegisters& r) { r.options = Set(r.options, lnk::kOptionBitsDualPlenum, false); }

void ToggleBatchSafety(DryingRegisters& r, SafetyFields& f) {
  ToggleSafety(r);
  f.maxGrainTemp = SafetyEnabled(r);
}

bool AcceptStagedBatch(const DryingRegisters& r, const lnk::DryerStatus& s) {
  if (!HasCriterion(r)) return false;
  RaiseByteIfChanged(lnk::CommandRow::OptionBits, r.options);
  RaiseByteIfChanged(lnk::CommandRow::DryingCriteria, r.criteria);
  RaiseByteIfChanged(lnk::CommandRow::MoistureControlMode, r.mode);
  RaiseSafetyIfChanged(r.safety, s);
  return true;
}

int MaxGrainTempShown(const lnk::DryerStatus& s) {
  return static_cast<int16_t>(RequestOrStatus(s, lnk::CommandRow::Setting121, false));
}

void FormatMaxGrainTemp(char* out, size_t size, int degreesF) { std::snprintf(out, size, "%d F", degreesF); }

void FormatMaxTime(char* out, size_t size, const lnk::DryerStatus& s) {
  const uint16_t v = RequestOrStatus(s, lnk::CommandRow::StagedBatchTime, true);
  std::snprintf(out, size, "%03d:%02d", v >> 8, v & 0xFF);
}
