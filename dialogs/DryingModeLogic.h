#pragma once
// The drying mode selection (512), the continuous flow setup (515) and the staged batch setup
// (516) without their windows: the register copies they edit, what each choice does to them
// and what is raised when. Each dialog loads its registers into the request on opening (unless
// a value is still waiting for its echo), edits a copy of them here, and hands them back to the
// request with their flags raised only where they differ from the controller's.
#include <cstddef>
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {
struct DryerStatus;
}

// The registers of these dialogs, as copies.
struct DryingRegisters {
  uint8_t type;      // 0:8
  uint8_t mode;      // 0:187
  uint8_t criteria;  // 0:224
  uint8_t options;   // 1:1
  uint8_t safety;    // 1:10; only the safety bits are ours
};

inline int ModeOf(const DryingRegisters& r) { return r.mode & lnk::kMoistureModeMask; }

// Loads the given registers into the request from the status record (rows still pending keep
// their value) and returns the request's copies.
DryingRegisters OpenDryingRegisters();
// The request's copies as they stand (after a dialog opened over this one has changed them).
DryingRegisters ReadDryingRegisters();

// Raises `row` with `value` when it differs from the controller's byte (or an older value is
// still pending). True when the row is left raised.
bool RaiseByteIfChanged(lnk::CommandRow row, uint8_t value);
// 1:10: raises only a change of the safety bits, loading the other bits from the controller.
bool RaiseSafetyIfChanged(uint8_t safety, const lnk::DryerStatus& s);

// ---- Drying mode selection ----

// A series dryer sizes its unload by model and cannot run a staged batch.
bool StagedBatchAvailable(const lnk::DryerStatus& s);
void ChooseContinuousFlow(DryingRegisters& r);
void ChooseStagedBatch(DryingRegisters& r);
// CONTINUOUS FLOW and STAGED BATCH raise the mode and option registers.
void RaiseDryingModeChoice(const DryingRegisters& r);
// ACCEPT and MOISTURE CONTROL SETUP: type, options and criteria where changed.
void AcceptDryingMode(const DryingRegisters& r);

// ---- Continuous flow setup ----

inline bool TemperatureBased(int mode) { return mode == lnk::kModeTemperature2Speed || mode == lnk::kModeTemperature5Speed; }
inline bool MoistureBased(int mode) { return mode == lnk::kModeMoistureVariable || mode == lnk::kModeMoisture5Speed; }
inline bool FiveSpeed(int mode) { return mode == lnk::kModeTemperature5Speed || mode == lnk::kModeMoisture5Speed; }

// The low three bits of 0:187 become `mode`; the other bits stay.
void SetMoistureMode(DryingRegisters& r, int mode);
void ToggleAutoCentering(DryingRegisters& r);
void ToggleUpperSensor(DryingRegisters& r);
inline bool SafetyEnabled(const DryingRegisters& r) { return (r.safety & lnk::kDisplayOptionsSafetyMaster) != 0; }
// DISABLE / ENABLE: clears the master bit and the grain temperature guard, or sets both.
void ToggleSafety(DryingRegisters& r);
// ACCEPT: mode, criteria and safety where changed.
void AcceptContinuousFlow(const DryingRegisters& r, const lnk::DryerStatus& s);

// The MAX GRAIN TEMP limits, degrees F.
inline constexpr int kMaxGrainTempMinimum = 100;
inline constexpr int kMaxGrainTempMaximum = 200;
inline constexpr int kMaxGrainTempDefault = 150;

// ---- Staged batch setup ----

enum class Criterion : uint8_t { Time, Temperature, Moisture };
enum class HeatSplit : uint8_t { Full, TwoThirds, Half };

// Which safety fields may be used: MAX TIME guards the temperature and moisture criteria, MAX
// GRAIN TEMP the time criterion (and the moisture criterion while the safety is on).
struct SafetyFields {
  bool maxTime;
  bool maxGrainTemp;
};
// What the dialog opens with, read from the copies.
SafetyFields OpeningSafetyFields(const DryingRegisters& r);
void PressCriterion(DryingRegisters& r, SafetyFields& f, Criterion c);
void ChooseHeatSplit(DryingRegisters& r, HeatSplit h);
// DUAL: refused (false, nothing changed) unless the dryer has one fan/heater.
bool ChooseDualPlenum(DryingRegisters& r, const lnk::DryerStatus& s);
void ChooseSinglePlenum(DryingRegisters& r);
void ToggleBatchSafety(DryingRegisters& r, SafetyFields& f);
inline bool HasCriterion(const DryingRegisters& r) { return (r.options & lnk::kOptionBitsCriteria) != 0; }
// ACCEPT: false, raising nothing, when no criterion is chosen; otherwise the options, criteria
// and safety where changed.
bool AcceptStagedBatch(const DryingRegisters& r, const lnk::DryerStatus& s);

// The fields: "%d F" of the limit and "%03d:%02d" of the staged batch maximum time, each from the
// request while its row is pending and from the controller otherwise.
int MaxGrainTempShown(const lnk::DryerStatus& s);
void FormatMaxGrainTemp(char* out, size_t size, int degreesF);
void FormatMaxTime(char* out, size_t size, const lnk::DryerStatus& s);

inline constexpr const char* kDualPlenumRefusal =
    "Dual-Plenum Temperature Mode is only available on single fan/heater models.";
inline constexpr const char* kInvalidSelectionCaption = "INVALID SELECTION";
